#include "profile_test_files.h"

#include "profiles/default_light.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"
#include "profiles/profile_paths.h"

// The default data shipped beside the program, read by fresh profiles in a
// temporary user data folder.
class DefaultDataTest : public ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        SetProfileFolders(PathOf("user"), "");
    }
    void TearDown() override { SetProfileFolders("", ""); }

    // Loads a new profile of the family from its default profile.
    void LoadNew(CBasicProfiledata& profile, const char* family)
    {
        profile.SetDefaultProfilePath(DefaultProfilePath(family));
        profile.SetProfilePath(GetProfileDirectory(family) + "2024_01_01_00_00_00_000" + kProfileExtension);
        ASSERT_TRUE(profile.LoadProfile(profile.GetProfilePath()).isObject()) << family;
        original = profile.Entry();
    }

    // Every section read and written back leaves the entry as it was.
    void ExpectUnchangedAfterSave(CBasicProfiledata& profile)
    {
        EXPECT_EQ(profile.Entry(), original);
        ASSERT_TRUE(profile.Save());
        EXPECT_EQ(ReadJsonFile(profile.GetProfilePath())["Device"][0], original);
    }

    void ReadAndWriteCommonSections(CBasicProfiledata& profile)
    {
        profile.WriteLightInfo(profile.ReadLightInfo());
        EXPECT_FALSE(profile.ReadLightList().empty());
    }

    Json::Value original;
};

TEST_F(DefaultDataTest, MouseProfileLoadsAndWritesBackUnchanged)
{
    CMouseProfiledata mouse;
    LoadNew(mouse, kMouseFamilyName);
    const std::vector<KeyListEntry> keys = mouse.ReadKeyList();
    ASSERT_EQ(keys.size(), 11u);
    EXPECT_EQ(keys[0].assigned, (KeyFunctionCode{0x10, 0x01, 0}));
    EXPECT_EQ(keys[10].defaultCode, (KeyFunctionCode{0x14, 0x78, 0x02}));
    mouse.WriteKeyList(keys);
    ReadAndWriteCommonSections(mouse);
    const std::vector<DpiStage> stages = mouse.ReadDpiStages();
    ASSERT_EQ(stages.size(), 7u);
    mouse.WriteDpiStages(stages);
    mouse.WriteActiveDpiStage(mouse.GetActiveDpiStage());
    const MouseSettings settings = mouse.ReadMouseSettings();
    EXPECT_GE(std::min(settings[kDeviceSleep1], settings[kDeviceSleep2]), 1);
    mouse.WriteMouseSettings(settings);
    ExpectUnchangedAfterSave(mouse);
}

TEST_F(DefaultDataTest, KeyboardProfileLoadsAndWritesBackUnchanged)
{
    CKeyboardProfiledata keyboard;
    LoadNew(keyboard, kKeyboardFamilyName);
    const std::vector<KeyListEntry> keys = keyboard.ReadKeyList();
    ASSERT_EQ(keys.size(), 170u);
    EXPECT_EQ(keys[0].defaultCode, (KeyFunctionCode{0x20, 0x00, 0x29}));
    EXPECT_EQ(keys[120].defaultCode, (KeyFunctionCode{0xD0, 0xA2, 0x01}));
    keyboard.WriteKeyList(keys);
    ReadAndWriteCommonSections(keyboard);
    keyboard.WriteAudioLightInfo(keyboard.ReadAudioLightInfo());
    keyboard.WriteKeyboardSettings(keyboard.ReadKeyboardSettings());
    keyboard.WriteCustomLightGroup(keyboard.ReadCustomLightGroup());
    for (int group = 0; group < kCustomColorGroupCount; ++group)
        keyboard.WriteCustomLightColors(keyboard.ReadCustomLightColors(group, kMaxCustomLightColors), group);
    ExpectUnchangedAfterSave(keyboard);
}

TEST_F(DefaultDataTest, MousePadProfileLoadsAndWritesBackUnchanged)
{
    CBasicProfiledata pad;
    LoadNew(pad, kMousePadFamilyName);
    ReadAndWriteCommonSections(pad);
    ExpectUnchangedAfterSave(pad);
}

TEST_F(DefaultDataTest, HeadsetProfileLoadsAndWritesBackUnchanged)
{
    CHs6533Profiledata headset;
    LoadNew(headset, kHeadsetFamilyName);
    ReadAndWriteCommonSections(headset);
    headset.WriteHeadsetSettings(headset.ReadHeadsetSettings());
    for (int type = 1; type <= 12; ++type)
        headset.WriteEqValues(type, headset.ReadEqValues(type));
    headset.WriteCustomEqNames(headset.ReadCustomEqNames());
    EXPECT_EQ(headset.ReadEqValues(6)[2], -13);
    ExpectUnchangedAfterSave(headset);
}

TEST_F(DefaultDataTest, EveryFamilyHasModesAndZones)
{
    struct Case {
        int slot;
        size_t modeCount;  // the modes the family's page and device know
    };
    for (const Case c : {Case{kKeyboardSlot, 31}, Case{kMouseSlot, 12}, Case{kMousePadSlot, 9}, Case{kHeadsetSlot, 9}}) {
        const DefaultLightNames names = ReadDefaultLightNames(DefaultLightNamesPath(), c.slot);
        EXPECT_EQ(names.modeNames.size(), c.modeCount) << c.slot;
        EXPECT_EQ(names.modeVisible.size(), c.modeCount) << c.slot;
        EXPECT_EQ(names.modeValues.size(), c.modeCount) << c.slot;
        EXPECT_FALSE(names.zoneNames.empty()) << c.slot;
        for (size_t mode = 0; mode < c.modeCount; ++mode)
            EXPECT_EQ(LightModeOfValue(names, LightValueOfMode(names, int(mode))), int(mode)) << c.slot;
    }
    EXPECT_TRUE(ReadDefaultLightNames(DefaultLightNamesPath(), 4).modeNames.empty());
    EXPECT_TRUE(ReadDefaultLightNames(PathOf("missing.json"), 0).modeNames.empty());
}

TEST_F(DefaultDataTest, UnknownValuesAndModesMapToThemselves)
{
    const DefaultLightNames names = ReadDefaultLightNames(DefaultLightNamesPath(), kMouseSlot);
    EXPECT_EQ(LightModeOfValue(names, 200), 200);
    EXPECT_EQ(LightValueOfMode(names, 40), 40);
    EXPECT_EQ(LightValueOfMode(names, -1), -1);
}
