#include "devices/page/light_tables.h"

namespace {

constexpr int kSegment = 32;
constexpr std::array<uint8_t, kSegment> kRisingRamp = {1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                                      44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                                      140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, kSegment> kFallingRamp = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                                       114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                                       29,  24,  20,  16,  12,  8,   6,   4,   2,   0};
// The breathing curve's rising half; the falling half mirrors it.
constexpr std::array<uint8_t, kBreathingSize / 2> kBreathingRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,  22,  24,  27,  30,  33,  36,
    39,  42,  45,  49,  53,  57,  61,  65,  69,  73,  77,  82,  87,  92,  97,  102, 107, 112, 117, 123, 129, 135,
    141, 147, 153, 159, 165, 171, 177, 183, 189, 195, 201, 207, 213, 219, 225, 231, 237, 243, 249, 255};

std::array<Rgb, kSpectrumSize> BuildSpectrum()
{
    std::array<Rgb, kSpectrumSize> table{};
    for (int i = 0; i < kSegment; ++i) {
        const uint8_t r = kRisingRamp[i];
        const uint8_t f = kFallingRamp[i];
        table[i] = {255, r, 0};
        table[kSegment + i] = {f, 255, 0};
        table[2 * kSegment + i] = {0, 255, r};
        table[3 * kSegment + i] = {0, f, 255};
        table[4 * kSegment + i] = {r, 0, 255};
        table[5 * kSegment + i] = {255, 0, f};
    }
    table[kSpectrumLoop] = {255, 1, 0};
    return table;
}

std::array<uint8_t, kBreathingSize> BuildBreathing()
{
    std::array<uint8_t, kBreathingSize> curve{};
    for (int i = 0; i < kBreathingSize / 2; ++i) {
        curve[i] = kBreathingRise[i];
        curve[kBreathingSize - 1 - i] = kBreathingRise[i];
    }
    return curve;
}

}  // namespace

const std::array<Rgb, kBasicColorCount + kFlashColorCount> kBasicColors = {{
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 255, 255}, {255, 255, 0}, {255, 0, 255}, {255, 255, 255}, {0, 0, 0},
    {0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0},
}};

const std::array<Rgb, kSpectrumSize>& Spectrum()
{
    static const std::array<Rgb, kSpectrumSize> table = BuildSpectrum();
    return table;
}

const std::array<uint8_t, kBreathingSize>& BreathingCurve()
{
    static const std::array<uint8_t, kBreathingSize> curve = BuildBreathing();
    return curve;
}

uint8_t StepPhase(bool up, uint8_t limit, uint8_t phase, uint8_t step)
{
    if (up) {
        const int next = phase + step;
        return next >= limit ? 0 : static_cast<uint8_t>(next);
    }
    const auto next = static_cast<uint8_t>(phase - step);
    return next < limit ? next : static_cast<uint8_t>(limit - step);
}
