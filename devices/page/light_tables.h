#pragma once
// The colour tables and index rules the page previews and the cross-device
// lighting synchronisation share. Every index that comes from a device, a
// profile or another program goes through the Clamp functions before it
// reaches a table.

#include <array>
#include <cstdint>

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr int kLevelCount = 5;  // brightness and speed levels 0..4
constexpr int kSpectrumSize = 193;
constexpr int kSpectrumLoop = 192;  // the entries of one turn round the hue circle
constexpr int kBreathingSize = 128;

// Brightness for brightness level 0..4.
constexpr std::array<uint8_t, kLevelCount> kBrightnessLevels = {0, 64, 128, 150, 192};
// Blink periods for speed 0..4, in units of 200 ms; also the synchronisation
// thread's step interval in ticks.
constexpr std::array<int, kLevelCount> kBlinkPeriods = {28, 23, 18, 13, 7};
constexpr int kBlinkUnitMs = 200;

// Red, green, blue, cyan, yellow, magenta, white, black, then the four flash colours.
constexpr int kBasicColorCount = 8;
constexpr int kFlashColorFirst = 8;
constexpr int kFlashColorCount = 4;
extern const std::array<Rgb, kBasicColorCount + kFlashColorCount> kBasicColors;

// Red -> yellow -> green -> cyan -> blue -> magenta -> red in six segments of
// 32, and entry 192 back at the start.
const std::array<Rgb, kSpectrumSize>& Spectrum();
// Rises from 0 to 255 and falls back symmetrically (entry i == entry 127 - i).
const std::array<uint8_t, kBreathingSize>& BreathingCurve();

// Brightness or speed level from anywhere, kept to 0..4 (out of range -> 0).
constexpr int ClampLevel(int level)
{
    return level >= 0 && level < kLevelCount ? level : 0;
}

// Phase stepping in 8-bit arithmetic. Up: phase + step, or 0 once that
// reaches the limit. Down: phase - step (mod 256) while that is below the
// limit, otherwise limit - step.
uint8_t StepPhase(bool up, uint8_t limit, uint8_t phase, uint8_t step);
