#pragma once
// What the lighting panel decides, without widgets: which of its sections a
// device kind enables (or shows) in each light mode, and how each of its
// controls changes the page's light state.

#include "profiles/records.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// Sections and controls of the panel's layout.
inline constexpr const char* kLightEffectSection = "lighteffect_layout";
inline constexpr const char* kLightMultiColorCheck = "deng_7color_check";
inline constexpr const char* kLightColorSection = "deng_color_layout";
inline constexpr const char* kLightPaletteSection = "colorpallet_layout";
inline constexpr const char* kLightBrightnessSection = "deng_light_layout";
inline constexpr const char* kLightSpeedSection = "deng_speed_layout";
inline constexpr const char* kLightDirectionSection = "deng_fx_layout";
inline constexpr const char* kLightRgbSection = "deng_rgb_layout";
inline constexpr const char* kLightColorRow = "light_color_layout";
inline constexpr const char* kLightCustomSection = "lightcustom_layout";
inline constexpr const char* kLightZzccRow = "light_combo_ZZCCmodeSelectLayout";
inline constexpr const char* kLightAudioRow = "light_combo_AudiomodeSelectLayout";

// What a device kind's set-up does to the panel in one mode. Controls not
// named keep their state; so does the same-mode button when `sameMode` is
// unset. Later entries of a list win over earlier ones.
struct LightLayoutPlan {
    std::vector<std::pair<const char*, bool>> enabled;
    std::vector<std::pair<const char*, bool>> visible;
    std::optional<bool> sameMode;        // asked visibility of "deng_same_mode"
    std::optional<int> colorTab;         // page of "light_color_tablayout"
    std::optional<std::pair<const char*, const char*>> directionTexts;  // "deng_FXL_check", "deng_FXR_check"

    bool Enabled(const char* section) const;  // the last word on it, false when none
    std::optional<bool> Visible(const char* section) const;
};

// Kinds 1 keyboard, 2 mouse, 3, 4 and 7 mouse pad, 5 the fifth set-up; any
// other kind gets an empty plan.
LightLayoutPlan LightLayoutFor(int kind, int mode);
// The set-up kind of a device page: a mouse on its receiver is laid out as
// on its cable, the keyboard's second interface as the keyboard.
int LightSetupKind(int pageKind);
// The family slot of "default_light.json" that names a page's light modes;
// -1 for a kind without one.
int LightFamilySlot(int pageKind);

// The same-mode button shows only when asked and the current mode is not 0.
constexpr bool SameModeShown(bool asked, int currentMode)
{
    return asked && currentMode != 0;
}

// A change one of the panel's controls makes to the light state.
enum class LightChange {
    Mode,         // the mode combo's selection
    Brightness,   // slider value
    Speed,        // slider value
    Direction,    // 1 "deng_FXL_check", 0 "deng_FXR_check"
    MultiColor,   // 0 or 1
    Color,        // 0xAARRGGBB from the palette or a colour option
    Red,          // 0..255 from an edit
    Green,
    Blue,
    ZzccMode,     // keyboards
    CustomGroup,  // keyboards
};

// The light state after the change. A new mode keeps the one it replaces;
// a colour, whole or one component, ends multi-colour.
LightInfoRecord ApplyLightChange(LightInfoRecord record, LightChange change, uint32_t value);
// Whether the change first takes the page out of lighting synchronisation.
bool LightChangeEndsSync(LightChange change);

// A colour component typed into an edit: the leading decimal digits (none
// give 0), at most 255. `shown` is what the edit should show instead of
// what was typed, when that differs from the value.
struct ColorComponentText {
    int value = 0;
    std::optional<QString> shown;
};
ColorComponentText ColorComponentFromText(const QString& text);

// 0xFF000000 | red << 16 | green << 8 | blue.
constexpr uint32_t OpaqueColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
}
constexpr uint32_t RecordColor(const LightInfoRecord& record)
{
    return OpaqueColor(record.red, record.green, record.blue);
}

// The light state as the four packed little-endian values the pages take
// (bytes 0..3, 4..7, 8..11 and 12..13).
std::array<uint32_t, 4> PackLightOptions(const LightInfoRecord& record);

// The colour the audio style edits show: 0 background when the background
// check is selected and either the foreground was shown or its check is not
// selected; 1 foreground otherwise.
uint8_t AudioColorTarget(uint8_t currentTarget, bool backgroundChecked, bool foregroundChecked);

// A game event's change to the light state: 0 replaces its first four bytes
// by `value`, 1 and 2 its mode by the low byte; other changes keep it.
LightInfoRecord ApplyGameEvent(LightInfoRecord record, int64_t change, int64_t value);
