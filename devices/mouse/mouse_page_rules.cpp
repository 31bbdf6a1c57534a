#include "devices/mouse/mouse_page_rules.h"

#include "devices/mouse/mouse_key_table.h"

#include <algorithm>
#include <charconv>

namespace {

using K = SettingControlKind;

constexpr MouseSettingControl kControls[] = {
    {"polling_rate_option_", kReportRate, K::Options, 5, 3, true},
    {"Silent_Altitude_option_", kSilentAltitude, K::Options, 2, 1, true},
    {"Linear_Calibration_option_", kLinearCalibration, K::Options, 2, 1, true},
    {"Ripple_option_", kRipple, K::Options, 2, 1, true},
    {"Anti_Shake_combo_timeSelect", kKeyDebounceTime, K::ComboIndex, 0, 0, true},
    {"ble_sleep1_combo", kBleSleep1, K::ComboUserData, 0, 0, true},
    {"ble_sleep2_combo", kBleSleep2, K::ComboUserData, 0, 0, true},
    {"device_sleep1_combo", kDeviceSleep1, K::ComboUserData, 0, 0, true},
    {"device_sleep2_combo", kDeviceSleep2, K::ComboUserData, 0, 0, true},
    {"logo_led_mode_combo", kLogoLedMode, K::ComboIndex, 0, 0, true},
    {"pointer_precision_check", kPointerPrecision, K::Check, 0, 0, false},
    {"scrolls_page_check", kScrollPage, K::Check, 0, 0, false},
    {"scroll_speed_slider", kWheelScrollLines, K::Slider, 0, 0, false},
    {"pointer_speed_slider", kMouseSpeed, K::Slider, 0, 0, false},
    {"double_click_slider", kDoubleClickTime, K::Slider, 0, 0, false},
};

// "prefix" + a decimal number.
bool IsNumberedName(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix) || name.size() == prefix.size())
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

uint16_t Stored(int value)
{
    return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF));
}

}  // namespace

std::span<const MouseSettingControl> MouseSettingControls()
{
    return kControls;
}

const MouseSettingControl* FindMouseSettingControl(std::string_view senderName)
{
    for (const MouseSettingControl& control : kControls) {
        const bool matches = control.kind == K::Options ? IsNumberedName(senderName, control.name)
                                                        : senderName == control.name;
        if (matches)
            return &control;
    }
    return nullptr;
}

int ShownOption(const MouseSettingControl& control, int value)
{
    return value >= 0 && value <= control.highestShown ? value : 0;
}

std::optional<MouseSettings> ChangedSettings(const MouseSettings& settings, const MouseSettingControl& control,
                                             int value)
{
    if (control.kind == K::Options && (value < 0 || value >= control.optionCount))
        return std::nullopt;
    if (control.kind == K::ComboUserData && value < 0)
        return std::nullopt;
    MouseSettings changed = settings;
    changed[control.field] = Stored(control.kind == K::Check ? (value != 0) : value);
    if (control.field == kWheelScrollLines)
        changed[kScrollPage] = 0;
    return changed;
}

bool DpiEnableCheckLocked(const std::vector<DpiStage>& stages, int activeStage, int stage)
{
    if (stage == activeStage)
        return true;
    const auto shown = stages.begin() + std::min<std::ptrdiff_t>(kShownDpiStages, std::ssize(stages));
    const auto enabled = std::count_if(stages.begin(), shown, [](const DpiStage& s) { return s.stageActive != 0; });
    return enabled == 1 && stage >= 0 && stage < std::ssize(stages) && stages[static_cast<size_t>(stage)].stageActive;
}

namespace {

DpiStage* GrownTo(std::vector<DpiStage>& stages, int stage)
{
    if (stage < 0 || stage >= kShownDpiStages)
        return nullptr;
    if (std::ssize(stages) <= stage)
        stages.resize(static_cast<size_t>(stage) + 1);
    return &stages[static_cast<size_t>(stage)];
}

}  // namespace

bool PutStageCode(std::vector<DpiStage>& stages, int stage, int code, const CDpiMapping& dpi)
{
    DpiStage* kept = GrownTo(stages, stage);
    if (kept)
        dpi.StoreCode(*kept, code);
    return kept != nullptr;
}

bool PutStageEnabled(std::vector<DpiStage>& stages, int stage, bool enabled)
{
    DpiStage* kept = GrownTo(stages, stage);
    if (kept)
        kept->stageActive = enabled ? 1 : 0;
    return kept != nullptr;
}

bool PutStageColor(std::vector<DpiStage>& stages, int stage, uint8_t red, uint8_t green, uint8_t blue)
{
    DpiStage* kept = GrownTo(stages, stage);
    if (kept) {
        kept->red = red;
        kept->green = green;
        kept->blue = blue;
    }
    return kept != nullptr;
}

bool ResetMissingMacroKeys(std::vector<KeyListEntry>& keys, size_t macroCount)
{
    bool changed = false;
    for (KeyListEntry& key : keys) {
        if (NamesMacro(key.assigned) && key.assigned.value1 >= macroCount) {
            key.assigned = key.defaultCode;
            changed = true;
        }
    }
    return changed;
}

int TypedDpiCode(std::string_view text, const CDpiMapping& dpi, int currentCode)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        value = error == std::errc::result_out_of_range ? dpi.HighestValue() : 0;
    return dpi.ValueToCode(value, currentCode);
}
