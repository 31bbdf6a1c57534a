#include "profile_test_files.h"

#include "profiles/hs6533_profiledata.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"

template <typename Profile>
class FamilyProfileTest : public ProfileFolderTest {
protected:
    const Json::Value& Load(const std::string& entry)
    {
        path = PutProfile("p.Json", entry);
        profile.SetProfilePath(path);
        return profile.LoadProfile(path);
    }
    Json::Value Saved() const { return ReadJsonFile(path)["Device"][0]; }

    std::string path;
    Profile profile;
};

using MouseProfileTest = FamilyProfileTest<CMouseProfiledata>;
using KeyboardProfileTest = FamilyProfileTest<CKeyboardProfiledata>;
using HeadsetProfileTest = FamilyProfileTest<CHs6533Profiledata>;

static DpiStage Stage(uint16_t dpi)
{
    return DpiStage{1, 0, dpi, dpi, 1, 2, 3};
}

TEST_F(MouseProfileTest, FewerStagesInTheFileKeepTheLaterKeptStages)
{
    Load(R"({"DPIStages": {"StageActive": 2, "StageDPIs": [{"StageDPIX": 10}, {}, {}, {}, {}, {"StageDPIX": 60}]}})");
    ASSERT_EQ(profile.ReadDpiStages().size(), 6u);
    Load(R"({"DPIStages": {"StageActive": 1, "StageDPIs": [{"StageDPIX": 11}, {}, {}, {"StageDPIX": 41}]}})");
    const std::vector<DpiStage> stages = profile.ReadDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    EXPECT_EQ(stages[0].dpiX, 11);
    EXPECT_EQ(stages[3].dpiX, 41);
    EXPECT_EQ(stages[5].dpiX, 60);
    EXPECT_EQ(profile.GetActiveDpiStage(), 1);
}

TEST_F(MouseProfileTest, MissingDpiSectionKeepsTheActiveStage)
{
    Load(R"({"DPIStages": {"StageActive": 4}})");
    profile.ReadDpiStages();
    Load(R"({"LightInfo": {}})");
    profile.ReadDpiStages();
    EXPECT_EQ(profile.GetActiveDpiStage(), 4);
}

TEST_F(MouseProfileTest, WrittenStagesNeverShortenTheList)
{
    Load(R"({"DPIStages": {"StageDPIs": [{}, {}, {}]}})");
    profile.WriteDpiStages({Stage(100)});
    profile.WriteActiveDpiStage(0);
    ASSERT_TRUE(profile.Save());
    const Json::Value dpi = Saved()["DPIStages"];
    ASSERT_EQ(dpi["StageDPIs"].size(), 3u);
    EXPECT_EQ(dpi["StageDPIs"][0]["StageDPIX"].asInt(), 100);
    EXPECT_EQ(dpi["StageDPIs"][0]["StageColorB"].asInt(), 3);
    EXPECT_EQ(dpi["StageActive"].asInt(), 0);
}

TEST_F(MouseProfileTest, SettingsComeFromBothSectionsCutTo16Bits)
{
    Load(R"({"SystemStages": {"MouseSpeed": 65546, "Logoledmode": 2},
             "ReportStages": {"StageActive": 3, "key_debounce_time": 4}})");
    MouseSettings settings = profile.ReadMouseSettings();
    EXPECT_EQ(settings[kMouseSpeed], 10);
    EXPECT_EQ(settings[kLogoLedMode], 2);
    EXPECT_EQ(settings[kReportRate], 3);
    EXPECT_EQ(settings[kKeyDebounceTime], 4);

    Load(R"({"ReportStages": {"StageActive": 3}})");
    EXPECT_EQ(profile.ReadMouseSettings(), MouseSettings{});
    Load(R"({"SystemStages": {"MouseSpeed": 5}})");
    EXPECT_EQ(profile.ReadMouseSettings()[kReportRate], 0);
}

TEST_F(MouseProfileTest, ReservedValueIsNeverStored)
{
    Load("{}");
    MouseSettings settings;
    for (size_t i = 0; i < kMouseSettingCount; ++i)
        settings[i] = static_cast<uint16_t>(i + 1);
    profile.WriteMouseSettings(settings);
    MouseSettings expected = settings;
    expected[kMouseSettingReserved] = 0;
    EXPECT_EQ(profile.ReadMouseSettings(), expected);
    EXPECT_EQ(profile.Entry()["SystemStages"].size() + profile.Entry()["ReportStages"].size(), 15u);
}

TEST_F(KeyboardProfileTest, SettingsRoundTrip)
{
    Load(R"({"SystemStages": {"RepeatDelay": 2}})");
    KeyboardSettings settings = profile.ReadKeyboardSettings();
    EXPECT_EQ(settings.repeatDelay, 2);
    settings.winFlag = 1;
    profile.WriteKeyboardSettings(settings);
    EXPECT_EQ(profile.ReadKeyboardSettings(), settings);
}

TEST_F(KeyboardProfileTest, MissingColourGroupIsAddedAsZeros)
{
    Load(R"({"CustomLightMode": {"LightColorInfo": [[{"Red": 9, "Alpha": 300}, null]]}})");
    std::vector<LightColor> colors = profile.ReadCustomLightColors(0, 3);
    ASSERT_EQ(colors.size(), 3u);
    EXPECT_EQ(colors[0], (LightColor{9, 0, 0, 300 % 256}));
    EXPECT_EQ(colors[1], LightColor{});
    EXPECT_EQ(profile.Entry()["CustomLightMode"]["LightColorInfo"][0].size(), 3u);
    EXPECT_EQ(profile.ReadCustomLightColors(2, 170).size(), 170u);
    EXPECT_EQ(profile.Entry()["CustomLightMode"]["LightColorInfo"][2].size(), 170u);
    colors[2] = {1, 2, 3, 4};
    profile.WriteCustomLightColors(colors, 0);
    EXPECT_EQ(profile.ReadCustomLightColors(0, 3), colors);
}

TEST_F(KeyboardProfileTest, GroupNumbersFromTheFileAreRangeChecked)
{
    Load(R"({"LightInfo": {"CustomGroup": 200}, "CustomLightMode": {"CustomLightModeGroupIndex": 2000000000}})");
    EXPECT_EQ(profile.ReadCustomLightGroup(), 0);
    const int group = profile.ReadLightInfo().customGroup;
    EXPECT_EQ(profile.ReadCustomLightColors(group, 170), std::vector<LightColor>(170));
    profile.WriteCustomLightColors(std::vector<LightColor>(170, {1, 1, 1, 1}), group);
    EXPECT_EQ(profile.ReadCustomLightColors(-1, 1000000).size(), 170u);
    ASSERT_TRUE(profile.Save());
    EXPECT_TRUE(Saved()["CustomLightMode"]["LightColorInfo"].isNull());
    EXPECT_LT(Bytes(path).size(), 1000u);
}

TEST_F(KeyboardProfileTest, SelectedGroupIsStored)
{
    Load("{}");
    profile.WriteCustomLightGroup(3);
    EXPECT_EQ(profile.ReadCustomLightGroup(), 3);
}

TEST_F(HeadsetProfileTest, EqualizerTypesMapToSlots)
{
    Json::Value presets(Json::arrayValue);
    for (int slot = 0; slot <= 12; ++slot)
        for (int band = 0; band < kEqBandCount; ++band)
            presets[slot][band]["value"] = slot * 100 + band;
    Load("{\"EQHzValueInfo\": " + StyledJsonText(presets) + "}");
    struct Case {
        int type;
        int slot;
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{12, 12}, Case{14, 1}, Case{20, 1}, Case{-3, 1}}) {
        const std::vector<int> values = profile.ReadEqValues(c.type);
        ASSERT_EQ(values.size(), 10u) << c.type;
        EXPECT_EQ(values[9], c.slot * 100 + 9) << c.type;
    }
    EXPECT_TRUE(profile.ReadEqValues(kCustomEqType).empty());
    const Json::Value before = profile.Entry();
    profile.WriteEqValues(kCustomEqType, std::vector<int>(10, 5));
    EXPECT_EQ(profile.Entry(), before);
}

TEST_F(HeadsetProfileTest, MissingEqualizerSlotAddsTenZeros)
{
    Load(R"({"EQHzValueInfo": [[], [{"value": 3}]]})");
    EXPECT_EQ(profile.ReadEqValues(4), std::vector<int>(10, 0));
    EXPECT_EQ(profile.ReadEqValues(1)[0], 3);
    ASSERT_TRUE(profile.Save());
    const Json::Value slot = Saved()["EQHzValueInfo"][4];
    ASSERT_EQ(slot.size(), 10u);
    EXPECT_EQ(slot[9]["value"].asInt(), 0);
}

TEST_F(HeadsetProfileTest, WritersStoreExactlyTenBands)
{
    Load("{}");
    profile.WriteEqValues(2, {1, 2, 3});
    EXPECT_EQ(profile.ReadEqValues(2), (std::vector<int>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));
    profile.WriteCustomEqValues(1, std::vector<int>(12, 7));
    EXPECT_EQ(profile.ReadCustomEqValues(1), std::vector<int>(10, 7));
    EXPECT_EQ(profile.Entry()["CustomEQHzValueInfo"][1].size(), 10u);
}

TEST_F(HeadsetProfileTest, UserEqualizerNumbersAreRangeChecked)
{
    Load(R"({"SystemSetStages": {"CustomEqSeletIndex": 1999999999, "EqType": 13}})");
    const HeadsetSettings settings = profile.ReadHeadsetSettings();
    EXPECT_EQ(profile.ReadCustomEqValues(settings.customEqSelectIndex), std::vector<int>(10, 0));
    profile.WriteCustomEqValues(settings.customEqSelectIndex, std::vector<int>(10, 1));
    profile.WriteCustomEqValues(-1, std::vector<int>(10, 1));
    ASSERT_TRUE(profile.Save());
    EXPECT_LT(Bytes(path).size(), 1000u);
}

TEST_F(HeadsetProfileTest, UserEqualizerNamesRoundTripAsUtf8)
{
    Load(R"({"CustomEQNameInfo": [{"Name": "Bass"}, {"Name": 5}, 3]})");
    EXPECT_EQ(profile.ReadCustomEqNames(), (std::vector<std::wstring>{L"Bass", L"", L""}));
    profile.WriteCustomEqNames({L"Rock", L"Классика"});
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(Saved()["CustomEQNameInfo"][1]["Name"].asString(), "Классика");
    EXPECT_EQ(profile.ReadCustomEqNames(), (std::vector<std::wstring>{L"Rock", L"Классика"}));
}

TEST_F(HeadsetProfileTest, SettingsRoundTrip)
{
    Load(R"({"SystemSetStages": {"MicInValue": 80, "EqType": "13"}})");
    HeadsetSettings settings = profile.ReadHeadsetSettings();
    EXPECT_EQ(settings.micInValue, 80);
    EXPECT_EQ(settings.eqType, 0);
    settings.magicType = 4;
    profile.WriteHeadsetSettings(settings);
    EXPECT_EQ(profile.ReadHeadsetSettings(), settings);
    EXPECT_EQ(profile.Entry()["SystemSetStages"].size(), 8u);
}
