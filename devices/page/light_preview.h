#pragma once
// The on-screen lighting preview of a device page, without widgets: the LED
// colour list and the state the preview effects step through. Each Preview
// call computes the whole list once; the page's lighting thread calls them at
// its effect's interval and the page paints the list on the UI thread.
//
// The lighting thread writes the list while the UI thread reads it; entries
// are 32-bit values written whole.

#include "devices/page/light_tables.h"
#include "profiles/records.h"

#include <atomic>
#include <cstdint>
#include <vector>

// One LED: red, green, blue and level (0..255), packed as
// red | green << 8 | blue << 16 | level << 24.
using LedColor = uint32_t;
constexpr LedColor PackLed(Rgb color, uint8_t level)
{
    return static_cast<LedColor>(color.red | color.green << 8 | color.blue << 16) | static_cast<LedColor>(level) << 24;
}
constexpr Rgb LedRgb(LedColor led)
{
    return {static_cast<uint8_t>(led), static_cast<uint8_t>(led >> 8), static_cast<uint8_t>(led >> 16)};
}
constexpr uint8_t LedLevel(LedColor led)
{
    return static_cast<uint8_t>(led >> 24);
}
// A colour component as it is streamed: level x component / 256.
constexpr uint8_t Dimmed(uint8_t component, uint8_t level)
{
    return static_cast<uint8_t>(level * component / 256);
}

class CLightPreview {
public:
    // Resizes the list; every LED becomes dark.
    void SetLightCount(int count);
    int LightCount() const { return static_cast<int>(leds_.size()); }
    bool SetLed(int index, LedColor color);
    LedColor GetLed(int index) const;  // 0 for an index out of range
    std::vector<LedColor> Snapshot() const;

    void SetState(const LightInfoRecord& state) { state_ = state; }
    const LightInfoRecord& State() const { return state_; }

    void PreviewBreathing();
    void PreviewColorSteps();
    void PreviewStatic();
    void PreviewSpectrum();
    // nowMs: a steady clock in milliseconds.
    void PreviewBlink(uint32_t nowMs);
    void PreviewFourColorFlash(uint32_t nowMs);
    void PreviewOff();

    uint8_t Phase() const { return phase_; }
    void SetPhase(uint8_t phase) { phase_ = phase; }
    uint8_t ColorIndex() const { return colorIndex_; }
    void SetColorIndex(uint8_t index) { colorIndex_ = index; }

private:
    void FillAll(Rgb color, uint8_t level);
    Rgb StateColor() const { return {state_.red, state_.green, state_.blue}; }
    uint8_t Brightness() const { return kBrightnessLevels[ClampLevel(state_.light)]; }
    uint8_t BreathingLevel() const;
    bool Toggled(uint32_t nowMs);

    std::vector<std::atomic<LedColor>> leds_;
    LightInfoRecord state_;
    uint8_t phase_ = 0;
    uint8_t colorIndex_ = 0;
    bool on_ = false;
    uint32_t lastToggleMs_ = 0;
};
