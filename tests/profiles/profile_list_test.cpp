#include "profile_test_files.h"

#include "profiles/profile_list.h"

namespace fs = std::filesystem;

class ProfileListTest : public ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        ASSERT_TRUE(fs::create_directory(PathOf("defaults")));
        defaultPath = PutProfile("defaults/mouse.Json", R"({"Light": 4})");
        list.SetPaths(PathOf(""), defaultPath);
        list.SetCurrentChangedHandler([this] { ++changes; });
    }

    // A list file of these names, identifiers "id0", "id1", ..., each with a
    // profile file whose "Device" entry names it.
    void PutList(const std::vector<std::string>& names, const std::string& select = "0")
    {
        std::string entries;
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string id = "id" + std::to_string(i);
            entries += (i ? "," : "") + std::string(R"({"profilename": ")") + names[i] +
                       R"(", "profileUUID": ")" + id + "\"}";
            PutProfile(id + ".Json", R"({"Owner": ")" + names[i] + "\"}");
        }
        Put("ProfileList.ini", R"({"profilelist": [)" + entries + R"(], "profileselect": )" + select + "}");
        list.InitProfiles();
    }

    Json::Value ListFile() const { return ReadJsonFile(PathOf("ProfileList.ini")); }
    Json::Value CurrentFile() const { return ReadJsonFile(list.GetCurrentProfilePath()); }

    size_t FileCount() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder.path().toStdString()), {}));
    }

    std::string defaultPath;
    CProfileList list;
    int changes = 0;
};

TEST_F(ProfileListTest, MissingListStartsWithProfile1)
{
    list.InitProfiles();
    ASSERT_EQ(list.GetProfileCount(), 1);
    EXPECT_EQ(list.GetCurrentIndex(), 0);
    const Json::Value entry = ListFile()["profilelist"][0];
    EXPECT_EQ(entry["profilename"].asString(), "Profile1");
    EXPECT_EQ(entry["profileUUID"].asString(), list.GetCurrentProfileId());
    EXPECT_EQ(entry["profileislink"].asInt(), 0);
    EXPECT_EQ(entry["profilelinkmame"].asString(), "");
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
    EXPECT_EQ(CurrentFile()["profilename"].asString(), "Profile1");
    EXPECT_EQ(CurrentFile()["profileUUID"].asString(), list.GetCurrentProfileId());
}

TEST_F(ProfileListTest, DamagedListIsSetAsideAndStartsAgain)
{
    Put("ProfileList.ini", "{\"profilelist\": [");
    list.InitProfiles();
    EXPECT_EQ(Bytes(PathOf("ProfileList.ini.damaged")), "{\"profilelist\": [");
    EXPECT_EQ(list.Names(), std::vector<std::string>{"Profile1"});
}

TEST_F(ProfileListTest, StoredSelectionIsClampedToTheList)
{
    const struct {
        const char* stored;
        int expected;
    } cases[] = {{"1", 1}, {"7", 2}, {"-3", 0}, {"\"2\"", 0}, {"null", 0}};
    for (const auto& c : cases) {
        PutList({"A", "B", "C"}, c.stored);
        EXPECT_EQ(list.GetCurrentIndex(), c.expected) << c.stored;
        EXPECT_EQ(ListFile()["profileselect"].asInt(), c.expected) << c.stored;
    }
}

TEST_F(ProfileListTest, EntriesThatCouldLeadElsewhereAreMended)
{
    Put("ProfileList.ini", R"({"profilelist": [5, {"profilename": "A", "profileUUID": "../../outside"},
        {"profilename": "B", "profileUUID": "same"}, {"profilename": "C", "profileUUID": "same"},
        {"profileUUID": "x"}], "profileselect": 0})");
    list.InitProfiles();
    ASSERT_EQ(list.Names(), (std::vector<std::string>{"A", "B", "C", "Profile1"}));
    EXPECT_NE(list.Entries()[0].id, "../../outside");
    EXPECT_EQ(list.Entries()[0].id.find('/'), std::string::npos);
    EXPECT_EQ(list.Entries()[1].id, "same");
    EXPECT_NE(list.Entries()[2].id, "same");
    EXPECT_EQ(ListFile()["profilelist"][0]["profileUUID"].asString(), list.Entries()[0].id);
}

TEST_F(ProfileListTest, AddMakesTheFirstFreeNameAndSelectsIt)
{
    PutList({"Profile1", "profile2"});
    ASSERT_EQ(list.AddProfile(), ProfileResult::Done);
    EXPECT_EQ(list.Names().back(), "Profile3");
    EXPECT_EQ(list.GetCurrentIndex(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 2);
    Json::Value expected;
    expected["profilename"] = "Profile3";
    expected["profileUUID"] = list.GetCurrentProfileId();
    EXPECT_EQ(CurrentFile(), expected);
}

TEST_F(ProfileListTest, CopyTakesTheCurrentSettingsUnderANewName)
{
    PutList({"A", "B", "A copy"}, "0");
    ASSERT_EQ(list.CopyProfile(), ProfileResult::Done);
    EXPECT_EQ(list.Names().back(), "A copy copy");
    EXPECT_EQ(list.GetCurrentIndex(), 0);
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
    const Json::Value copy = ReadJsonFile(list.GetProfilePathAt(3));
    EXPECT_EQ(copy["Device"][0]["Owner"].asString(), "A");
    EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
    EXPECT_EQ(copy["profileUUID"].asString(), list.Entries()[3].id);
}

TEST_F(ProfileListTest, ImportKeepsTheFileUnderAFreeNameAndANewIdentifier)
{
    PutList({"A", "A(1)"}, "1");
    const std::string path = Put("A.json", R"({"profilename": "x", "profileUUID": "../../../etc/x",
        "Device": [{"Light": 9}], "Extra": true})");
    ASSERT_EQ(list.ImportProfile(path), ProfileResult::Done);
    EXPECT_EQ(list.Names().back(), "A(1)(2)");
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 1);
    const std::string newPath = list.GetProfilePathAt(2);
    EXPECT_EQ(newPath.rfind(PathOf(""), 0), 0u);
    const Json::Value imported = ReadJsonFile(newPath);
    EXPECT_EQ(imported["profileUUID"].asString(), list.Entries()[2].id);
    EXPECT_EQ(imported["profilename"].asString(), "A(1)(2)");
    EXPECT_EQ(imported["Device"][0]["Light"].asInt(), 9);
    EXPECT_TRUE(imported["Extra"].asBool());
}

TEST_F(ProfileListTest, RefusedImportChangesNothingAndSaysWhy)
{
    PutList({"A"});
    const std::string big = PathOf("big.json");
    fs::resize_file(Put("big.json", "{"), kMaxJsonFileSize + 1);
    const struct {
        std::string path;
        ProfileResult expected;
    } cases[] = {
        {Put("text.json", "not json"), ProfileResult::NotAProfile},
        {Put("array.json", R"([{"profilename": "a", "profileUUID": "b"}])"), ProfileResult::NotAProfile},
        {Put("half.json", R"({"profilename": "a"})"), ProfileResult::NotAProfile},
        {PathOf("missing.json"), ProfileResult::NotAProfile},
        {PathOf("defaults"), ProfileResult::NotAProfile},
        {big, ProfileResult::FileTooLarge},
        {Put("abcdefghijklmnopq.json", R"({"profilename": "a", "profileUUID": "b"})"), ProfileResult::NameTooLong},
        {Put(".json", R"({"profilename": "a", "profileUUID": "b"})"), ProfileResult::NameEmpty},
    };
    const std::string listBytes = Bytes(PathOf("ProfileList.ini"));
    const size_t files = FileCount();
    for (const auto& c : cases) {
        EXPECT_EQ(list.ImportProfile(c.path), c.expected) << c.path;
        EXPECT_STRNE(ProfileResultMessageId(c.expected), "");
    }
    EXPECT_EQ(Bytes(PathOf("ProfileList.ini")), listBytes);
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(list.GetProfileCount(), 1);
}

TEST_F(ProfileListTest, The51stProfileIsRefusedByAddCopyAndImport)
{
    list.InitProfiles();
    while (list.GetProfileCount() < kMaxProfileCount)
        ASSERT_EQ(list.AddProfile(), ProfileResult::Done);
    const std::string importable = Put("new.json", R"({"profilename": "a", "profileUUID": "b"})");
    const std::string listBytes = Bytes(PathOf("ProfileList.ini"));
    const size_t files = FileCount();
    EXPECT_EQ(files, kMaxProfileCount + 3u);  // every profile its own file, beside list, defaults, new.json

    EXPECT_EQ(list.AddProfile(), ProfileResult::ListFull);
    EXPECT_EQ(list.CopyProfile(), ProfileResult::ListFull);
    EXPECT_EQ(list.ImportProfile(importable), ProfileResult::ListFull);
    EXPECT_STREQ(ProfileResultMessageId(ProfileResult::ListFull), "message_profile_list_full");
    EXPECT_EQ(Bytes(PathOf("ProfileList.ini")), listBytes);
    EXPECT_EQ(FileCount(), files);
}

TEST_F(ProfileListTest, RenameChecksTheOtherNamesWithoutCase)
{
    PutList({"Alpha", "Beta"});
    EXPECT_EQ(list.RenameProfile("BETA"), ProfileResult::NameInUse);
    EXPECT_EQ(list.RenameProfile("\t"), ProfileResult::NameBlank);
    EXPECT_EQ(list.Names()[0], "Alpha");
    EXPECT_EQ(list.RenameProfile("ALPHA"), ProfileResult::Done);
    EXPECT_EQ(ListFile()["profilelist"][0]["profilename"].asString(), "ALPHA");
    EXPECT_EQ(CurrentFile()["profilename"].asString(), "ALPHA");
    EXPECT_EQ(CurrentFile()["Device"][0]["Owner"].asString(), "Alpha");
}

TEST_F(ProfileListTest, RenameNeverWritesOverADamagedProfile)
{
    PutList({"Alpha"});
    Put("id0.Json", "damaged");
    EXPECT_EQ(list.RenameProfile("Gamma"), ProfileResult::Done);
    EXPECT_EQ(Bytes(PathOf("id0.Json.damaged")), "damaged");
    EXPECT_EQ(CurrentFile()["profilename"].asString(), "Gamma");
}

TEST_F(ProfileListTest, DeleteSelectsThePreviousProfile)
{
    PutList({"A"});
    EXPECT_EQ(list.DeleteProfile(), ProfileResult::LastProfile);
    EXPECT_TRUE(fs::exists(PathOf("id0.Json")));

    const struct {
        const char* select;
        int expected;
    } cases[] = {{"0", 0}, {"2", 1}, {"1", 0}};
    for (const auto& c : cases) {
        PutList({"A", "B", "C"}, c.select);
        const std::string deleted = list.GetCurrentProfilePath();
        changes = 0;
        ASSERT_EQ(list.DeleteProfile(), ProfileResult::Done);
        EXPECT_EQ(list.GetCurrentIndex(), c.expected) << c.select;
        EXPECT_EQ(ListFile()["profileselect"].asInt(), c.expected) << c.select;
        EXPECT_EQ(changes, 1) << "the page must reload";
        EXPECT_NE(list.GetCurrentProfilePath(), deleted);
        EXPECT_FALSE(fs::exists(deleted));
        EXPECT_EQ(list.GetProfileCount(), 2);
    }
}

TEST_F(ProfileListTest, ListThatCantBeWrittenLeavesEverythingAsItWas)
{
    PutList({"A", "B"});
    // A folder where the list file was: every write of the list fails.
    fs::remove(PathOf("ProfileList.ini"));
    fs::create_directory(PathOf("ProfileList.ini"));
    const size_t files = FileCount();
    EXPECT_EQ(list.AddProfile(), ProfileResult::NotSaved);
    EXPECT_EQ(list.ImportProfile(Put("C.json", R"({"profilename": "a", "profileUUID": "b"})")),
              ProfileResult::NotSaved);
    EXPECT_EQ(list.RenameProfile("Z"), ProfileResult::NotSaved);
    EXPECT_EQ(list.DeleteProfile(), ProfileResult::NotSaved);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(FileCount(), files + 1);  // C.json
    EXPECT_TRUE(fs::exists(PathOf("id0.Json")));
}

TEST_F(ProfileListTest, ExportWritesTheProfileAsItIs)
{
    PutList({"A"});
    const std::string bytes = Bytes(PathOf("id0.Json"));
    EXPECT_EQ(list.ExportProfile(PathOf("out.json")), ProfileResult::Done);
    EXPECT_EQ(Bytes(PathOf("out.json")), bytes);

    Put("id0.Json", "damaged");
    EXPECT_EQ(list.ExportProfile(PathOf("bad.json")), ProfileResult::NotAProfile);
    EXPECT_FALSE(fs::exists(PathOf("bad.json")));
}

TEST_F(ProfileListTest, ResetTakesTheDefaultsAndKeepsTheHeadsetsEqualizers)
{
    PutProfile("defaults/mouse.Json", R"({"Light": 4, "CustomEQNameInfo": "default"})");
    PutList({"A"});
    PutProfile("id0.Json", R"({"Light": 1, "CustomEQNameInfo": ["mine"], "CustomEQHzValueInfo": [3]})");
    ASSERT_EQ(list.ResetProfile(), ProfileResult::Done);
    EXPECT_EQ(CurrentFile()["Device"][0]["CustomEQNameInfo"].asString(), "default");
    EXPECT_EQ(CurrentFile()["Device"][0]["Light"].asInt(), 4);
    EXPECT_EQ(CurrentFile()["profilename"].asString(), "A");
    EXPECT_EQ(CurrentFile()["profileUUID"].asString(), "id0");
    EXPECT_EQ(changes, 1);

    list.SetDeviceKind(kHeadsetDeviceKind);
    PutProfile("id0.Json", R"({"Light": 1, "CustomEQNameInfo": ["mine"], "CustomEQHzValueInfo": [3]})");
    ASSERT_EQ(list.ResetProfile(), ProfileResult::Done);
    const Json::Value entry = CurrentFile()["Device"][0];
    EXPECT_EQ(entry["Light"].asInt(), 4);
    EXPECT_EQ(entry["CustomEQNameInfo"][0].asString(), "mine");
    EXPECT_EQ(entry["CustomEQHzValueInfo"][0].asInt(), 3);
}

TEST_F(ProfileListTest, ResetWithoutDefaultsKeepsTheProfile)
{
    PutList({"A"});
    fs::remove(defaultPath);
    const std::string bytes = Bytes(PathOf("id0.Json"));
    EXPECT_EQ(list.ResetProfile(), ProfileResult::NotSaved);
    EXPECT_EQ(Bytes(PathOf("id0.Json")), bytes);
}

TEST_F(ProfileListTest, SelectionFromOutsideIsNotRemembered)
{
    PutList({"A", "B", "C"});
    EXPECT_EQ(list.SelectProfile(2, false), ProfileResult::Done);
    EXPECT_EQ(list.GetCurrentIndex(), 2);
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
    EXPECT_EQ(list.SelectProfile(1), ProfileResult::Done);
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 1);
    EXPECT_EQ(list.SelectProfile(3), ProfileResult::NoCurrentProfile);
    EXPECT_EQ(list.GetCurrentIndex(), 1);
    EXPECT_EQ(changes, 2);
}
