// The lighting panel's rules: sections by device kind and mode, what each
// control changes in the light state, colour texts and game events.

#include "panels/light_panel_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Enabled sections as one string in the column order E M C P B S D, then
// the colour row (R on the mouse, L on the keyboard): '1' on, '0' off,
// '-' not named.
std::string Sections(const LightLayoutPlan& plan, const char* colorRow)
{
    std::string out;
    for (const char* section : {kLightEffectSection, kLightMultiColorCheck, kLightColorSection, kLightPaletteSection,
                                kLightBrightnessSection, kLightSpeedSection, kLightDirectionSection, colorRow}) {
        bool named = false;
        for (const auto& [name, on] : plan.enabled)
            named = named || QLatin1String(name) == QLatin1String(section);
        out += named ? (plan.Enabled(section) ? '1' : '0') : '-';
    }
    return out;
}

char SameMode(const LightLayoutPlan& plan)
{
    return plan.sameMode ? (*plan.sameMode ? '1' : '0') : '-';
}

struct LayoutCase {
    int kind;
    int mode;
    const char* sections;  // E M C P B S D and the colour row
    char sameMode;
};

class LightLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LightLayoutTable, EnablesTheSectionsOfTheMode)
{
    const LayoutCase& c = GetParam();
    const LightLayoutPlan plan = LightLayoutFor(c.kind, c.mode);
    const char* colorRow = c.kind == 1 ? kLightColorRow : kLightRgbSection;
    EXPECT_EQ(Sections(plan, colorRow), c.sections);
    EXPECT_EQ(SameMode(plan), c.sameMode);
}

INSTANTIATE_TEST_SUITE_P(Kinds, LightLayoutTable,
                         ::testing::Values(
                             // Mouse: the direction is switched on first, then off in every mode.
                             LayoutCase{2, 0, "10111001", '1'}, LayoutCase{2, 9, "10111101", '1'},
                             LayoutCase{2, 3, "10001100", '1'}, LayoutCase{2, 5, "11001100", '1'},
                             LayoutCase{2, 6, "10000000", '1'}, LayoutCase{2, 7, "1000110-", '0'},
                             LayoutCase{2, 8, "1111110-", '1'}, LayoutCase{2, 10, "10001100", '0'},
                             LayoutCase{2, 11, "1000000-", '0'},
                             // Mouse pad (3, 4 and 7 alike).
                             LayoutCase{3, 0, "1111111-", '0'}, LayoutCase{4, 3, "1011100-", '1'},
                             LayoutCase{7, 8, "1000000-", '1'}, LayoutCase{3, 6, "1000000-", '0'},
                             // Fifth set-up: direction and same-mode button untouched.
                             LayoutCase{5, 2, "111111--", '-'}, LayoutCase{5, 1, "101110--", '-'},
                             LayoutCase{5, 9, "100000--", '-'},
                             // Keyboard: the colour row is switched on first.
                             LayoutCase{1, 4, "10001100", '1'}, LayoutCase{1, 18, "10001010", '0'},
                             LayoutCase{1, 0, "10000001", '0'}, LayoutCase{1, 19, "10000001", '0'},
                             LayoutCase{1, 31, "10000001", '0'}, LayoutCase{1, 29, "11111011", '0'},
                             // Other kinds change nothing.
                             LayoutCase{6, 1, "--------", '-'}, LayoutCase{9, 1, "--------", '-'}));

TEST(LightLayout, KeyboardExtrasComeAndGoWithTheirModes)
{
    const LightLayoutPlan audio = LightLayoutFor(1, 29);
    EXPECT_EQ(audio.Visible(kLightSpeedSection), false);
    EXPECT_EQ(audio.Visible(kLightAudioRow), true);
    EXPECT_EQ(audio.colorTab, 1);
    const LightLayoutPlan plain = LightLayoutFor(1, 1);
    EXPECT_EQ(plain.Visible(kLightSpeedSection), true);
    EXPECT_EQ(plain.Visible(kLightAudioRow), false);
    EXPECT_EQ(plain.colorTab, 0);
    EXPECT_EQ(LightLayoutFor(1, 17).Visible(kLightZzccRow), true);
    EXPECT_EQ(LightLayoutFor(1, 20).Visible(kLightCustomSection), true);
    EXPECT_STREQ(LightLayoutFor(1, 12).directionTexts->first, "light_set_down_to_up_text");
    EXPECT_STREQ(plain.directionTexts->first, "light_set_right_to_left_text");
    EXPECT_FALSE(LightLayoutFor(2, 12).directionTexts);
}

TEST(LightLayout, PagesAreLaidOutAndNamedByTheirDevice)
{
    struct Case {
        int pageKind, setupKind, familySlot;
    };
    for (const Case& c : {Case{6, 2, kMouseSlot}, Case{2, 2, kMouseSlot}, Case{9, 1, kKeyboardSlot},
                          Case{3, 3, kMousePadSlot}, Case{7, 7, kHeadsetSlot}, Case{0, 0, -1}}) {
        EXPECT_EQ(LightSetupKind(c.pageKind), c.setupKind) << c.pageKind;
        EXPECT_EQ(LightFamilySlot(c.pageKind), c.familySlot) << c.pageKind;
    }
}

TEST(LightLayout, SameModeButtonStaysHiddenInModeZero)
{
    EXPECT_FALSE(SameModeShown(true, 0));
    EXPECT_TRUE(SameModeShown(true, 6));
    EXPECT_FALSE(SameModeShown(false, 6));
}

TEST(LightChanges, EachControlSetsItsBytes)
{
    LightInfoRecord record;
    record.selectItem = 2;
    record.multiColor = 1;
    const LightInfoRecord mode = ApplyLightChange(record, LightChange::Mode, 5);
    EXPECT_EQ(mode.selectItem, 5);
    EXPECT_EQ(mode.oldLedMode, 2);
    EXPECT_EQ(ApplyLightChange(record, LightChange::Brightness, 3).light, 3);
    EXPECT_EQ(ApplyLightChange(record, LightChange::Speed, 4).speed, 4);
    EXPECT_EQ(ApplyLightChange(record, LightChange::Direction, 1).fx, 1);
    EXPECT_EQ(ApplyLightChange(record, LightChange::ZzccMode, 7).zzccLedMode, 7);
    EXPECT_EQ(ApplyLightChange(record, LightChange::CustomGroup, 3).customGroup, 3);

    const LightInfoRecord colour = ApplyLightChange(record, LightChange::Color, 0xFF102030);
    EXPECT_EQ((std::array{colour.red, colour.green, colour.blue}), (std::array<uint8_t, 3>{0x10, 0x20, 0x30}));
    EXPECT_EQ(colour.multiColor, 0);
    const LightInfoRecord green = ApplyLightChange(record, LightChange::Green, 300);
    EXPECT_EQ(green.green, 255);
    EXPECT_EQ(green.multiColor, 0);
}

TEST(LightChanges, ColourChoicesKeepSynchronisation)
{
    EXPECT_TRUE(LightChangeEndsSync(LightChange::Brightness));
    EXPECT_TRUE(LightChangeEndsSync(LightChange::Green));
    EXPECT_FALSE(LightChangeEndsSync(LightChange::Color));
}

TEST(LightChanges, PackedStateMatchesTheRecordBytes)
{
    LightInfoRecord record;
    record.selectItem = 1;
    record.light = 2;
    record.speed = 3;
    record.fx = 4;
    record.customGroup = 0xCC;
    record.oldLedMode = 0xDD;
    EXPECT_EQ(PackLightOptions(record), (std::array<uint32_t, 4>{0x04030201, 0, 0, 0xDDCC}));
}

TEST(ColorText, TypedComponentsAreHeldToARange)
{
    struct Case {
        const char* typed;
        int value;
        const char* shown;  // nullptr: the edit keeps what was typed
    };
    for (const Case& c : {Case{"300", 255, "255"}, Case{"", 0, "0"}, Case{"12", 12, nullptr},
                          Case{"12abc", 12, "12"}, Case{"abc", 0, "0"}, Case{"-5", 0, "0"},
                          Case{"99999999999999999999999", 255, "255"}, Case{"007", 7, "7"}}) {
        const ColorComponentText result = ColorComponentFromText(QString::fromLatin1(c.typed));
        EXPECT_EQ(result.value, c.value) << c.typed;
        EXPECT_EQ(result.shown, c.shown ? std::optional(QString::fromLatin1(c.shown)) : std::nullopt) << c.typed;
    }
}

TEST(AudioLight, ColourTargetFollowsTheChecks)
{
    EXPECT_EQ(AudioColorTarget(1, true, true), 0);
    EXPECT_EQ(AudioColorTarget(0, true, false), 0);
    EXPECT_EQ(AudioColorTarget(0, true, true), 1);
    EXPECT_EQ(AudioColorTarget(1, false, false), 1);
}

TEST(GameEvents, ChangeTheModeOrTheFirstFourBytes)
{
    LightInfoRecord record;
    record.selectItem = 1;
    record.red = 9;
    EXPECT_EQ(ApplyGameEvent(record, 1, 0x103).selectItem, 3);
    EXPECT_EQ(ApplyGameEvent(record, 2, 4).selectItem, 4);
    const LightInfoRecord whole = ApplyGameEvent(record, 0, 0x01020306);
    EXPECT_EQ((std::array{whole.selectItem, whole.light, whole.speed, whole.fx}), (std::array<uint8_t, 4>{6, 3, 2, 1}));
    EXPECT_EQ(whole.red, 9);
    EXPECT_EQ(ApplyGameEvent(record, 7, 3), record);
}

}  // namespace
