#pragma once
// What the mouse page's settings controls show and change, without widgets:
// one table says which profile value each control stands for and how, and
// the DPI stage rules say which stage checks may change. The page binds its
// controls by these names; the tests drive the rules directly.

#include "devices/mouse/mouse_dpi.h"
#include "profiles/records.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// How a control holds its value.
enum class SettingControlKind {
    Options,        // numbered options "prefix" + N, one selected
    ComboIndex,     // the selected item's position
    ComboUserData,  // the selected item's user data, a decimal number
    Check,          // selected or not
    Slider,         // the slider's value
};

struct MouseSettingControl {
    std::string_view name;  // a full name, or the prefix of numbered options
    MouseSettingIndex field;
    SettingControlKind kind;
    int optionCount;        // options in the layout
    int highestShown;       // options: stored values above it show option 0
    bool sentToMouse;       // false: kept in the profile only
};

std::span<const MouseSettingControl> MouseSettingControls();
// The control a sender name belongs to: the full name, or for options the
// prefix of "prefix" + N.
const MouseSettingControl* FindMouseSettingControl(std::string_view senderName);

// The option a stored value selects.
int ShownOption(const MouseSettingControl& control, int value);

// The settings as they change when `control` reports `value` (an option's
// number, a combo's index or user data, a check's state, a slider's value);
// nothing when the report changes no setting (an option losing its
// selection, an item without a number). Scrolling by pages and lines belong
// together: a new line count ends scrolling by pages.
std::optional<MouseSettings> ChangedSettings(const MouseSettings& settings, const MouseSettingControl& control,
                                             int value);

// The DPI stages: a stage's enable check can't switch off the active stage,
// nor the last enabled one.
constexpr int kShownDpiStages = 7;
bool DpiEnableCheckLocked(const std::vector<DpiStage>& stages, int activeStage, int stage);

// Stage `stage` takes a new slider code (stored as the sensor keeps it); a
// shorter list grows to hold it. False when the stage number is out of range.
bool PutStageCode(std::vector<DpiStage>& stages, int stage, int code, const CDpiMapping& dpi);
// Stage `stage` is switched on or off; a shorter list grows to hold it.
bool PutStageEnabled(std::vector<DpiStage>& stages, int stage, bool enabled);
bool PutStageColor(std::vector<DpiStage>& stages, int stage, uint8_t red, uint8_t green, uint8_t blue);
// Keys bound to a macro at or past `macroCount` get their default code back;
// true when any did.
bool ResetMissingMacroKeys(std::vector<KeyListEntry>& keys, size_t macroCount);

// The code a typed text stands for (empty or not a number counts as 0).
int TypedDpiCode(std::string_view text, const CDpiMapping& dpi, int currentCode);
