#include "devices/page/lighting_sync.h"

#include "transport/device_table.h"

#include <array>

namespace {

constexpr int kEffectCount = 5;
// Family codes by common effect: breathing, static, blinking, colour cycle, off.
constexpr std::array<std::array<uint8_t, kEffectCount>, 3> kFamilyCodes = {{
    {5, 6, 23, 4, 28},  // keyboard
    {1, 0, 8, 3, 6},    // mouse
    {2, 3, 4, 1, 8},    // mouse pad and headset
}};

const std::array<uint8_t, kEffectCount>& CodesOf(SyncFamily family)
{
    return kFamilyCodes[static_cast<size_t>(family)];
}

}  // namespace

std::optional<SyncEffect> CommonEffect(SyncFamily family, uint8_t code)
{
    const auto& codes = CodesOf(family);
    for (int effect = 0; effect < kEffectCount; ++effect) {
        if (codes[static_cast<size_t>(effect)] == code)
            return static_cast<SyncEffect>(effect);
    }
    return std::nullopt;
}

uint8_t FamilyEffectCode(SyncFamily family, SyncEffect effect)
{
    return CodesOf(family)[static_cast<size_t>(effect)];
}

std::optional<SyncFamily> SyncFamilyOfKind(int kind)
{
    switch (kind) {
    case kKindKeyboard:
    case kKindKeyboardSecond:
        return SyncFamily::kKeyboard;
    case kKindMouseCable:
    case kKindMouseReceiver:
        return SyncFamily::kMouse;
    case kKindMousePad:
    case kKindHeadset:
        return SyncFamily::kPadOrHeadset;
    default:
        return std::nullopt;
    }
}

LightInfoRecord SharedLightInfo(LightInfoRecord own, SyncFamily family, const SyncState& state)
{
    own.selectItem = FamilyEffectCode(family, state.effect);
    own.light = state.level;
    own.speed = state.speed;
    own.fx = state.breathingStep;
    own.multiColor = state.colorful ? 1 : 0;
    own.red = state.color.red;
    own.green = state.color.green;
    own.blue = state.color.blue;
    return own;
}

std::optional<SyncState> SyncStateFromRecord(SyncFamily family, const uint8_t* record)
{
    const std::optional<SyncEffect> effect = CommonEffect(family, record[0]);
    if (!effect)
        return std::nullopt;
    SyncState state;
    state.effect = *effect;
    state.level = static_cast<uint8_t>(ClampLevel(record[1]));
    state.speed = static_cast<uint8_t>(ClampLevel(record[2]));
    state.breathingStep = record[3];
    state.colorful = record[4] != 0;
    state.color = {record[5], record[6], record[7]};
    return state;
}

uint32_t CLightingSyncEffect::Pack(Rgb color, uint8_t brightness)
{
    return static_cast<uint32_t>(color.red | color.green << 8 | color.blue << 16) |
           static_cast<uint32_t>(brightness) << 24;
}

void CLightingSyncEffect::AdvanceColor(int by)
{
    const int next = colorIndex_ + by;
    colorIndex_ = next >= kSpectrumLoop ? 0 : static_cast<uint8_t>(next);
}

uint32_t CLightingSyncEffect::Breathe()
{
    // A step of 0 would hold the light still for good: it counts as 1.
    const int step = state_.breathingStep == 0 ? 1 : state_.breathingStep;
    const int next = breathing_ + step;
    breathing_ = next >= kBreathingSize ? 0 : static_cast<uint8_t>(next);
    if (state_.colorful && breathing_ < 2)
        AdvanceColor(16);
    const Rgb color = state_.colorful ? Spectrum()[colorIndex_] : state_.color;
    return Pack(color, static_cast<uint8_t>(Brightness() * BreathingCurve()[breathing_] / 256));
}

uint32_t CLightingSyncEffect::Blink(uint32_t nowMs)
{
    const auto period = static_cast<uint32_t>(IntervalTicks() * kBlinkUnitMs);
    if (nowMs - lastToggleMs_ >= period) {
        lit_ = !lit_;
        lastToggleMs_ = nowMs;
        AdvanceColor(14);
    }
    if (!lit_)
        return 0;
    return Pack(state_.colorful ? Spectrum()[colorIndex_] : state_.color, Brightness());
}

uint32_t CLightingSyncEffect::Step(uint32_t nowMs)
{
    switch (state_.effect) {
    case SyncEffect::kBreathing:
        return Breathe();
    case SyncEffect::kStatic:
        return Pack(state_.color, Brightness());
    case SyncEffect::kBlinking:
        return Blink(nowMs);
    case SyncEffect::kColorCycle:
        AdvanceColor(1);
        return Pack(Spectrum()[colorIndex_], Brightness());
    case SyncEffect::kOff:
        return 0;
    }
    return 0;
}
