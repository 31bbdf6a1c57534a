// What the mouse page's settings controls mean, without widgets.

#include "devices/mouse/mouse_memory_map.h"
#include "devices/mouse/mouse_page_rules.h"
#include "transport/device_memory.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::array<uint8_t, kInfoBlockSize> InfoOfSensor(uint16_t sensor)
{
    std::array<uint8_t, kInfoBlockSize> info{};
    info[kInfoSensor] = static_cast<uint8_t>(sensor);
    info[kInfoSensor + 1] = static_cast<uint8_t>(sensor >> 8);
    return info;
}

DpiStage Enabled(bool on)
{
    DpiStage stage;
    stage.stageActive = on ? 1 : 0;
    return stage;
}

}  // namespace

TEST(MousePageRules, ControlsChangeTheirSettingAsTheyReport)
{
    struct Case {
        const char* sender;
        int reported;
        MouseSettingIndex field;
        std::optional<int> stored;  // nothing: the report changes nothing
    };
    const Case cases[] = {
        {"polling_rate_option_2", 2, kReportRate, 2},
        {"polling_rate_option_4", 4, kReportRate, 4},  // stored as chosen; shown as option 0
        {"polling_rate_option_5", 5, kReportRate, std::nullopt},
        {"Silent_Altitude_option_1", 1, kSilentAltitude, 1},
        {"Ripple_option_1", 1, kRipple, 1},
        {"Anti_Shake_combo_timeSelect", 3, kKeyDebounceTime, 3},
        {"device_sleep2_combo", 30, kDeviceSleep2, 30},
        {"ble_sleep1_combo", -1, kBleSleep1, std::nullopt},
        {"logo_led_mode_combo", 2, kLogoLedMode, 2},
        {"pointer_precision_check", 1, kPointerPrecision, 1},
        {"double_click_slider", 70000, kDoubleClickTime, 0xFFFF},
    };
    MouseSettings settings;
    for (const Case& c : cases) {
        const MouseSettingControl* control = FindMouseSettingControl(c.sender);
        ASSERT_NE(control, nullptr) << c.sender;
        EXPECT_EQ(control->field, c.field) << c.sender;
        const std::optional<MouseSettings> changed = ChangedSettings(settings, *control, c.reported);
        ASSERT_EQ(changed.has_value(), c.stored.has_value()) << c.sender;
        if (changed) {
            EXPECT_EQ((*changed)[c.field], *c.stored) << c.sender;
        }
    }
    for (const char* unknown : {"polling_rate_option_", "polling_rate_option_x", "Ripple_option", "mouse_title"})
        EXPECT_EQ(FindMouseSettingControl(unknown), nullptr) << unknown;
}

TEST(MousePageRules, OnlyDeviceSettingsAreSentToTheMouse)
{
    for (const MouseSettingControl& control : MouseSettingControls())
        EXPECT_EQ(control.sentToMouse, control.field >= kReportRate) << control.name;
}

TEST(MousePageRules, ANewLineCountEndsScrollingByPages)
{
    MouseSettings settings;
    settings[kScrollPage] = 1;
    const std::optional<MouseSettings> changed =
        ChangedSettings(settings, *FindMouseSettingControl("scroll_speed_slider"), 7);
    ASSERT_TRUE(changed);
    EXPECT_EQ((*changed)[kWheelScrollLines], 7);
    EXPECT_EQ((*changed)[kScrollPage], 0);
}

TEST(MousePageRules, StoredValuesOutsideTheShownOptionsShowTheFirst)
{
    const MouseSettingControl& rate = *FindMouseSettingControl("polling_rate_option_0");
    const MouseSettingControl& lift = *FindMouseSettingControl("Silent_Altitude_option_0");
    const std::array<std::array<int, 3>, 6> cases = {{
        // control (0 rate, 1 lift-off), value, option shown
        {0, 3, 3}, {0, 4, 0}, {0, 65535, 0}, {1, 1, 1}, {1, 2, 0}, {1, -1, 0},
    }};
    for (const auto& [which, value, shown] : cases)
        EXPECT_EQ(ShownOption(which == 0 ? rate : lift, value), shown) << which << " " << value;
}

TEST(MousePageRules, TheActiveAndTheLastEnabledStageCantBeSwitchedOff)
{
    const std::vector<DpiStage> three = {Enabled(true), Enabled(true), Enabled(false)};
    EXPECT_TRUE(DpiEnableCheckLocked(three, 1, 1));
    EXPECT_FALSE(DpiEnableCheckLocked(three, 1, 0));
    EXPECT_FALSE(DpiEnableCheckLocked(three, 1, 2));
    const std::vector<DpiStage> one = {Enabled(false), Enabled(true), Enabled(false)};
    EXPECT_TRUE(DpiEnableCheckLocked(one, 0, 1)) << "the only enabled stage";
    EXPECT_FALSE(DpiEnableCheckLocked(one, 0, 2));
}

TEST(MousePageRules, StageChangesGrowAShortListAndKeepTheSensorsForm)
{
    const auto info3395 = InfoOfSensor(kSensor3395);
    const auto info8925 = InfoOfSensor(kSensor8925);
    const auto infoOther = InfoOfSensor(0x1234);
    const CDpiMapping dpi3395(info3395.data());
    const CDpiMapping dpi8925(info8925.data());
    const CDpiMapping dpiOther(infoOther.data());

    std::vector<DpiStage> stages(2);
    ASSERT_TRUE(PutStageCode(stages, 4, 31, dpi3395));
    ASSERT_EQ(stages.size(), 5u);
    EXPECT_EQ(stages[4].dpiX, 31);
    EXPECT_EQ(stages[4].dpiY, 0) << "Y is not touched";
    ASSERT_TRUE(PutStageCode(stages, 1, 120, dpi8925));
    EXPECT_EQ(stages[1].dpiX, 120 * 0x0101) << "0x8925 keeps the code in both bytes";
    ASSERT_TRUE(PutStageCode(stages, 0, 99, dpiOther));
    EXPECT_EQ(stages[0].dpiX, 0) << "other sensors keep X";

    ASSERT_TRUE(PutStageEnabled(stages, 6, true));
    EXPECT_EQ(stages.size(), 7u);
    EXPECT_EQ(stages[6].stageActive, 1);
    ASSERT_TRUE(PutStageColor(stages, 6, 1, 2, 3));
    EXPECT_EQ(stages[6].blue, 3);
    for (int outside : {-1, 7})
        EXPECT_FALSE(PutStageCode(stages, outside, 1, dpi3395)) << outside;
    EXPECT_EQ(stages.size(), 7u);
}

TEST(MousePageRules, TypedTextsBecomeCodes)
{
    const auto info = InfoOfSensor(kSensor3395);
    const CDpiMapping dpi(info.data());
    const std::pair<const char*, int> cases[] = {
        {"1600", 31}, {"", 0}, {"12", 0}, {"abc", 0}, {"16x", 0}, {"-400", 0},
        {"99999999999999", 519}, {"10000", 199}, {"26000", 519},  // up to the slider's end
    };
    for (const auto& [typed, code] : cases)
        EXPECT_EQ(TypedDpiCode(typed, dpi, 5), code) << typed;
}

TEST(MousePageRules, KeysOfMissingMacrosGetTheirDefaultBack)
{
    const KeyFunctionCode left{0x10, 0x01, 0x00};
    std::vector<KeyListEntry> keys(4);
    for (KeyListEntry& key : keys)
        key.defaultCode = left;
    keys[0].assigned = {kKeyTypeMacroRepeatMode, 1, 0};   // macro 1 of 2: kept
    keys[1].assigned = {kKeyTypeMacroRepeatCount, 2, 3};  // macro 2 of 2: gone
    keys[2].assigned = {0x20, 0x00, 0x04};                // a keyboard key: kept
    keys[3].assigned = {kKeyTypeMacroRepeatMode, 9, 0};
    std::vector<KeyListEntry> expected = keys;
    expected[1].assigned = left;
    expected[3].assigned = left;
    EXPECT_TRUE(ResetMissingMacroKeys(keys, 2));
    EXPECT_EQ(keys, expected);
    EXPECT_FALSE(ResetMissingMacroKeys(keys, 2)) << "nothing left to reset";
}
