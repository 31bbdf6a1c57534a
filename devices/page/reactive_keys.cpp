#include "devices/page/reactive_keys.h"

#include <algorithm>
#include <span>

namespace {

struct DecayStep {
    uint8_t from;  // the rule applies to levels at or above this
    uint8_t drop;
};

constexpr DecayStep kPlainDecay[] = {{128, 40}, {64, 30}, {32, 15}, {17, 8}, {1, 1}};
constexpr DecayStep kAudioDecay[] = {{144, 45}, {128, 40}, {112, 35}, {96, 30}, {80, 25},
                                     {64, 20},  {32, 10},  {17, 5},   {1, 1}};
constexpr DecayStep kOtherDecay[] = {{128, 40}, {64, 30}, {32, 10}, {17, 8}, {1, 1}};

std::span<const DecayStep> DecayFor(int mode)
{
    if (mode == 0)
        return kPlainDecay;
    return mode == CReactiveKeys::kAudioMode ? std::span<const DecayStep>(kAudioDecay) : kOtherDecay;
}

bool ValidKey(int key)
{
    return key >= 0 && key < CReactiveKeys::kKeyCount;
}

}  // namespace

void CReactiveKeys::StepReactiveLevel(int key, int mode)
{
    if (!ValidKey(key))
        return;
    uint8_t& level = levels_[static_cast<size_t>(key)];
    for (const DecayStep& step : DecayFor(mode)) {
        if (level >= step.from) {
            level = static_cast<uint8_t>(level - step.drop);
            return;
        }
    }
}

void CReactiveKeys::MarkPressedKeys()
{
    for (int key = 0; key < kMarkedKeys; ++key) {
        if (ring_[static_cast<size_t>(key)] != 0)
            levels_[static_cast<size_t>(key)] = 255;
    }
}

void CReactiveKeys::RotateRing(int direction)
{
    if (direction != 0)
        std::rotate(ring_.rbegin(), ring_.rbegin() + 1, ring_.rend());
    else
        std::rotate(ring_.begin(), ring_.begin() + 1, ring_.end());
}

void CReactiveKeys::ClearReactiveLevels()
{
    levels_.fill(0);
    ring_.fill(0);
}

uint8_t CReactiveKeys::Level(int key) const
{
    return ValidKey(key) ? levels_[static_cast<size_t>(key)] : 0;
}

void CReactiveKeys::SetLevel(int key, uint8_t level)
{
    if (ValidKey(key))
        levels_[static_cast<size_t>(key)] = level;
}
