#include "profile_test_files.h"

#include "profiles/basic_profiledata.h"
#include "profiles/json_file.h"

namespace fs = std::filesystem;

class ProfiledataTest : public ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        defaultPath = PutProfile("default.Json", R"({"LightInfo": {"SelectItem": 2, "Light": 4}})");
        profile.SetDefaultProfilePath(defaultPath);
        profile.SetProfilePath(PathOf("p.Json"));
    }

    std::string defaultPath;
    CBasicProfiledata profile;
};

TEST_F(ProfiledataTest, MissingProfileIsCreatedFromTheDefaultProfile)
{
    const Json::Value entry = profile.LoadProfile(PathOf("p.Json"));
    EXPECT_EQ(entry["LightInfo"]["SelectItem"].asInt(), 2);
    EXPECT_EQ(ReadJsonFile(PathOf("p.Json")), ReadJsonFile(defaultPath));
    // Another profile falls back the same way, into the secondary entry only.
    EXPECT_EQ(profile.LoadOtherProfile(PathOf("o.Json"))["LightInfo"]["Light"].asInt(), 4);
    EXPECT_EQ(ReadJsonFile(PathOf("o.Json")), ReadJsonFile(defaultPath));
    EXPECT_EQ(profile.Entry(), entry);
}

TEST_F(ProfiledataTest, ProfileWithoutEntryKeepsItsOtherMembers)
{
    const std::string path = Put("p.Json", R"({"profilename": "Profile1", "profileUUID": "2024_01"})");
    profile.LoadProfile(path);
    const Json::Value file = ReadJsonFile(path);
    EXPECT_EQ(file["profilename"].asString(), "Profile1");
    EXPECT_EQ(file["Device"][0]["LightInfo"]["Light"].asInt(), 4);
    EXPECT_FALSE(fs::exists(path + ".damaged"));
}

TEST_F(ProfiledataTest, DamagedProfileIsSetAsideAndReplacedByTheDefault)
{
    const std::string path = Put("p.Json", "{\"Device\": [{\"LightInfo\": ");
    EXPECT_EQ(profile.LoadProfile(path)["LightInfo"]["Light"].asInt(), 4);
    EXPECT_EQ(Bytes(path + ".damaged"), "{\"Device\": [{\"LightInfo\": ");
    EXPECT_EQ(ReadJsonFile(path)["Device"][0]["LightInfo"]["Light"].asInt(), 4);
}

TEST_F(ProfiledataTest, EveryDamagedProfileKeepsACopyOfItsOwn)
{
    const std::string path = Put("p.Json", "first damage");
    profile.LoadProfile(path);
    Put("p.Json", "second damage");
    profile.LoadProfile(path);
    EXPECT_EQ(Bytes(path + ".damaged"), "first damage");
    EXPECT_EQ(Bytes(path + ".damaged2"), "second damage");
    EXPECT_EQ(ReadJsonFile(path)["Device"][0]["LightInfo"]["Light"].asInt(), 4);
}

TEST_F(ProfiledataTest, DamagedProfileThatCantBeSetAsideIsNeverWrittenOver)
{
    // No name longer than the file's own can be made in the folder.
    const std::string path = Put(std::string(250, 'p'), "damaged");
    EXPECT_EQ(profile.LoadProfile(path)["LightInfo"]["Light"].asInt(), 4);
    profile.SetProfilePath(path);
    EXPECT_FALSE(profile.Save());
    EXPECT_FALSE(profile.SaveEntry(profile.Entry(), path));
    EXPECT_EQ(Bytes(path), "damaged");
}

TEST_F(ProfiledataTest, EntryOfTheWrongKindIsReplacedByTheDefault)
{
    for (const char* entry : {"5", "\"text\"", "[1, 2]", "null"}) {
        const std::string path = PutProfile("p.Json", entry);
        EXPECT_EQ(profile.LoadProfile(path)["LightInfo"]["Light"].asInt(), 4) << entry;
    }
}

TEST_F(ProfiledataTest, MissingDefaultProfileGivesANullEntryAndZeroRecords)
{
    CBasicProfiledata bare;
    bare.SetDefaultProfilePath(PathOf("none.Json"));
    EXPECT_TRUE(bare.LoadProfile(PathOf("p.Json")).isNull());
    EXPECT_TRUE(ReadJsonFile(PathOf("p.Json"))["Device"][0].isNull());
    EXPECT_EQ(bare.ReadLightInfo(), LightInfoRecord{});
    EXPECT_TRUE(bare.ReadKeyList().empty());
}

TEST_F(ProfiledataTest, SaveKeepsOtherEntriesAndMembers)
{
    const std::string path = Put("p.Json", R"({"profilename": "A", "Device": [{"LightInfo": {"Light": 1}}, {"x": 1}]})");
    profile.LoadProfile(path);
    LightInfoRecord light = profile.ReadLightInfo();
    light.light = 2;
    profile.WriteLightInfo(light);
    ASSERT_TRUE(profile.Save());
    const Json::Value file = ReadJsonFile(path);
    EXPECT_EQ(file["profilename"].asString(), "A");
    EXPECT_EQ(file["Device"][1]["x"].asInt(), 1);
    EXPECT_EQ(file["Device"][0]["LightInfo"]["Light"].asInt(), 2);
}

TEST_F(ProfiledataTest, SaveTakesInChangesOtherWritersMadeMeanwhile)
{
    const std::string path = PutProfile("p.Json", R"({"LightInfo": {"Light": 1}})");
    profile.LoadProfile(path);
    ASSERT_TRUE(profile.Save());
    Json::Value file = ReadJsonFile(path);
    file["profilename"] = "Renamed";
    ASSERT_EQ(WriteJsonFile(path, file), 0);
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(ReadJsonFile(path)["profilename"].asString(), "Renamed");
}

TEST_F(ProfiledataTest, ReloadingTheSameFileKeepsItsEntry)
{
    const std::string path = PutProfile("p.Json", R"({"LightInfo": {"Light": 1}})");
    profile.LoadProfile(path);
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(profile.LoadOtherProfile(path)["LightInfo"]["Light"].asInt(), 1);
    EXPECT_EQ(profile.LoadProfile(path)["LightInfo"]["Light"].asInt(), 1);
    EXPECT_EQ(profile.LoadProfile(path)["LightInfo"]["Light"].asInt(), 1);
    EXPECT_EQ(ReadJsonFile(path)["Device"][0]["LightInfo"]["Light"].asInt(), 1);
}

TEST_F(ProfiledataTest, FailedSaveReportsItAndKeepsTheFile)
{
    const std::string path = PutProfile("p.Json", R"({"LightInfo": {"Light": 1}})");
    profile.LoadProfile(path);
    profile.WriteLightInfo(LightInfoRecord{});
    {
        FileSizeLimit full(16);
        EXPECT_FALSE(profile.Save());
    }
    EXPECT_EQ(ReadJsonFile(path)["Device"][0]["LightInfo"]["Light"].asInt(), 1);
    EXPECT_TRUE(profile.Save());
    EXPECT_EQ(ReadJsonFile(path)["Device"][0]["LightInfo"]["Light"].asInt(), 0);
}

TEST_F(ProfiledataTest, EmptyPathsKeepThePreviousOnes)
{
    profile.SetProfilePath("");
    profile.SetDefaultProfilePath("");
    EXPECT_EQ(profile.GetProfilePath(), PathOf("p.Json"));
    EXPECT_EQ(profile.GetDefaultProfilePath(), defaultPath);
}

TEST_F(ProfiledataTest, OtherProfileIsChangedWithoutTouchingTheCurrentOne)
{
    const std::string current = PutProfile("p.Json", R"({"KeyList": [{"Assignment": 1}]})");
    const std::string other = PutProfile("o.Json", R"({"KeyList": [{"Assignment": 2}, {"Assignment": 3}]})");
    profile.LoadProfile(current);
    profile.LoadOtherProfile(other);
    std::vector<KeyListEntry> keys = profile.ReadOtherKeyList();
    ASSERT_EQ(keys.size(), 2u);
    keys[1].assigned = {0x70, 0, 0};
    profile.WriteOtherKeyList(keys);
    ASSERT_TRUE(profile.SaveOther(other));
    EXPECT_EQ(ReadJsonFile(other)["Device"][0]["KeyList"][1]["Assignment"].asInt(), 0x700000);
    EXPECT_EQ(profile.ReadKeyList()[0].assigned.value2, 1);
    EXPECT_EQ(ReadJsonFile(current)["Device"][0]["KeyList"][0]["Assignment"].asInt(), 1);
}

TEST_F(ProfiledataTest, MultiColorIsAFlag)
{
    profile.LoadProfile(PutProfile("p.Json", R"({"LightInfo": {"MultiColor": 7, "Red": 300}})"));
    const LightInfoRecord light = profile.ReadLightInfo();
    EXPECT_EQ(light.multiColor, 1);
    EXPECT_EQ(light.red, 300 % 256);
    profile.WriteLightInfo(light);
    EXPECT_EQ(profile.Entry()["LightInfo"]["MultiColor"].asInt(), 1);
    EXPECT_EQ(profile.Entry()["LightInfo"].size(), 11u);
}

TEST_F(ProfiledataTest, AudioLightStartsOnTheForegroundColour)
{
    profile.LoadProfile(PutProfile("p.Json", R"({"AudioLightInfo": {"ColorTypeFlags": 0, "7ColorFlags": 5, "FgColorG": 9}})"));
    AudioLightRecord audio = profile.ReadAudioLightInfo();
    EXPECT_EQ(audio.colorTypeFlags, 1);
    EXPECT_EQ(audio.sevenColorFlags, 1);
    EXPECT_EQ(audio.fgColorG, 9);
    audio.colorTypeFlags = 0;
    profile.WriteAudioLightInfo(audio);
    EXPECT_EQ(profile.Entry()["AudioLightInfo"]["ColorTypeFlags"].asInt(), 0);
    EXPECT_EQ(profile.Entry()["AudioLightInfo"].size(), 9u);

    profile.LoadProfile(PutProfile("q.Json", R"({"LightInfo": {}})"));
    EXPECT_EQ(profile.ReadAudioLightInfo(), AudioLightRecord{});
}

TEST_F(ProfiledataTest, LightListMarksPresentEntries)
{
    profile.LoadProfile(PutProfile("p.Json", R"({"LightList": [null, {"LEDDirection": 3, "blue": 7}, 5]})"));
    const std::vector<LightListEntry> list = profile.ReadLightList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], LightListEntry{});
    EXPECT_EQ(list[1].present, 1);
    EXPECT_EQ(list[1].direction, 1);
    EXPECT_EQ(list[1].blue, 7);
    EXPECT_EQ(list[2].present, 1);
}

TEST_F(ProfiledataTest, KeyCodesPackIntoOneInteger)
{
    profile.LoadProfile(PutProfile("p.Json", R"({"KeyList": [{"Assignment": 66051, "DefaultAssignment": 16909060}]})"));
    std::vector<KeyListEntry> keys = profile.ReadKeyList();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].assigned, (KeyFunctionCode{1, 2, 3}));
    EXPECT_EQ(keys[0].defaultCode, (KeyFunctionCode{2, 3, 4}));  // 0x01020304: the top byte is dropped
    profile.WriteKeyList(keys);
    EXPECT_EQ(profile.Entry()["KeyList"][0]["Assignment"].asInt(), 66051);
    EXPECT_EQ(profile.Entry()["KeyList"][0]["DefaultAssignment"].asInt(), 16909060);
}

TEST_F(ProfiledataTest, KeyListIsNeverShortened)
{
    profile.LoadProfile(PutProfile("p.Json", R"({"KeyList": [{"Assignment": 1}, {"Assignment": 2}, {"Assignment": 3}]})"));
    profile.WriteKeyList({KeyListEntry{0, {0, 0, 9}, 0, {}}});
    const Json::Value& keys = profile.Entry()["KeyList"];
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0]["Assignment"].asInt(), 9);
    EXPECT_EQ(keys[2]["Assignment"].asInt(), 3);
}

TEST_F(ProfiledataTest, ValuesOfTheWrongKindReadAsDefaults)
{
    const char* entries[] = {
        R"({"LightInfo": "bright", "AudioLightInfo": [1], "LightList": {"a": 1}, "KeyList": 7})",
        R"({"LightInfo": {"Light": "x", "MultiColor": {}, "Red": 1e300}, "KeyList": ["x", [1], {"Assignment": "1"}]})",
        R"({"LightInfo": {"Light": 4294967296, "Speed": -1.5}, "LightList": [{"red": [1, 2]}]})",
    };
    for (const char* entry : entries) {
        profile.LoadProfile(PutProfile("p.Json", entry));
        const LightInfoRecord light = profile.ReadLightInfo();
        EXPECT_EQ(light.light, 0) << entry;
        EXPECT_EQ(light.red, 0) << entry;
        profile.ReadAudioLightInfo();
        profile.ReadLightList();
        for (const KeyListEntry& key : profile.ReadKeyList())
            EXPECT_EQ(key.assigned, KeyFunctionCode{}) << entry;
        profile.WriteLightInfo(light);
        profile.WriteKeyList({KeyListEntry{}, KeyListEntry{}});
        profile.WriteAudioLightInfo({});
        EXPECT_TRUE(profile.Save()) << entry;
    }
}

class CustomEffectTest : public ProfiledataTest {
protected:
    void SetUp() override
    {
        ProfiledataTest::SetUp();
        Put("wave.light", R"({"LEDEffectList": [{"LEDREGMode": 3, "red": 255, "Time": 500, "Cyle": 2}, {"Time": 100}]})");
        profile.SetFamilySlot(kMousePadSlot);
        profile.SetBuiltInLightModeCount(9);
    }
    void UseConfig(const std::string& padEffects)
    {
        profile.LoadProfile(PutProfile("p.Json", R"({"LightInfo": {"SelectItem": 9}})"));
        profile.ReadLightInfo();
        profile.LoadLightConfig(Put("kelvo_light.config",
                                    R"({"LightInfo": [[{"LightName": "kb", "Guid": "nothere"}], [], )" + padEffects + "]}"));
    }
};

TEST_F(CustomEffectTest, EffectIsFoundAtTheFamilySlotInTheProfileFolder)
{
    UseConfig(R"([{"LightName": "Wave", "Guid": "wave"}])");
    EXPECT_EQ(profile.ReadCustomLightNames(), std::vector<std::wstring>{L"Wave"});
    const std::vector<LedEffectStep> steps = profile.ReadCustomLightEffect();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].regMode, 3);
    EXPECT_EQ(steps[0].red, 255);
    EXPECT_EQ(steps[0].time, 500);
    EXPECT_EQ(steps[0].cycle, 2);
    EXPECT_EQ(steps[1].time, 100);
}

TEST_F(CustomEffectTest, EffectNamesLeadingOutOfTheFolderAreRefused)
{
    fs::create_directory(PathOf("sub"));
    Put("sub/wave.light", R"({"LEDEffectList": [{}]})");
    for (const char* guid : {"sub/wave", "../wave", "..", "", "/etc/passwd", "sub\\\\wave"}) {
        UseConfig(std::string(R"([{"LightName": "x", "Guid": ")") + guid + "\"}]");
        EXPECT_TRUE(profile.ReadCustomLightEffect().empty()) << guid;
    }
}

TEST_F(CustomEffectTest, BuiltInModesAndMissingFilesGiveNoSteps)
{
    UseConfig(R"([{"LightName": "Wave", "Guid": "wave"}, {"LightName": "Gone", "Guid": "gone"}])");
    LightInfoRecord light;
    for (const uint8_t mode : {0, 8, 10, 11}) {
        light.selectItem = mode;
        profile.WriteLightInfo(light);
        EXPECT_TRUE(profile.ReadCustomLightEffect().empty()) << int(mode);
    }
    profile.LoadLightConfig(PathOf("missing.config"));
    light.selectItem = 9;
    profile.WriteLightInfo(light);
    EXPECT_TRUE(profile.ReadCustomLightEffect().empty());
}
