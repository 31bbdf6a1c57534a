#include "devices/page/light_preview.h"

void CLightPreview::SetLightCount(int count)
{
    leds_ = std::vector<std::atomic<LedColor>>(static_cast<size_t>(count > 0 ? count : 0));
}

bool CLightPreview::SetLed(int index, LedColor color)
{
    if (index < 0 || index >= LightCount())
        return false;
    leds_[static_cast<size_t>(index)] = color;
    return true;
}

LedColor CLightPreview::GetLed(int index) const
{
    return index >= 0 && index < LightCount() ? leds_[static_cast<size_t>(index)].load() : 0;
}

std::vector<LedColor> CLightPreview::Snapshot() const
{
    std::vector<LedColor> copy;
    copy.reserve(leds_.size());
    for (const std::atomic<LedColor>& led : leds_)
        copy.push_back(led.load());
    return copy;
}

void CLightPreview::FillAll(Rgb color, uint8_t level)
{
    const LedColor packed = PackLed(color, level);
    for (std::atomic<LedColor>& led : leds_)
        led = packed;
}

uint8_t CLightPreview::BreathingLevel() const
{
    return static_cast<uint8_t>(BreathingCurve()[phase_ % kBreathingSize] * Brightness() / 256);
}

void CLightPreview::PreviewBreathing()
{
    phase_ = StepPhase(true, kBreathingSize, phase_, 2);
    if (phase_ == 0) {
        colorIndex_ = static_cast<uint8_t>(colorIndex_ + 16);
        if (colorIndex_ > kSpectrumLoop)
            colorIndex_ = 0;
    }
    const Rgb color = state_.multiColor ? Spectrum()[colorIndex_] : StateColor();
    FillAll(color, BreathingLevel());
}

void CLightPreview::PreviewColorSteps()
{
    phase_ = StepPhase(state_.fx != 0, kBreathingSize, phase_, 2);
    if (phase_ == 0) {
        if (colorIndex_ > 5)
            colorIndex_ = 0;
        ++colorIndex_;
    }
    FillAll(kBasicColors[colorIndex_ % kBasicColorCount], BreathingLevel());
}

void CLightPreview::PreviewStatic()
{
    FillAll(StateColor(), Brightness());
}

void CLightPreview::PreviewSpectrum()
{
    phase_ = StepPhase(state_.fx != 0, kSpectrumLoop, phase_, 1);
    FillAll(Spectrum()[phase_ % kSpectrumSize], Brightness());
}

bool CLightPreview::Toggled(uint32_t nowMs)
{
    const uint32_t period = static_cast<uint32_t>(kBlinkPeriods[ClampLevel(state_.speed)] * kBlinkUnitMs);
    if (nowMs - lastToggleMs_ < period)
        return false;
    on_ = !on_;
    lastToggleMs_ = nowMs;
    return true;
}

void CLightPreview::PreviewBlink(uint32_t nowMs)
{
    if (Toggled(nowMs)) {
        const int next = phase_ + 16;
        phase_ = next >= kSpectrumLoop ? 0 : static_cast<uint8_t>(next);
    }
    if (!on_) {
        FillAll({}, 0);
        return;
    }
    FillAll(state_.multiColor ? Spectrum()[phase_ % kSpectrumSize] : StateColor(), Brightness());
}

void CLightPreview::PreviewFourColorFlash(uint32_t nowMs)
{
    if (Toggled(nowMs))
        phase_ = static_cast<uint8_t>((phase_ + 1) % kFlashColorCount);
    if (!on_) {
        FillAll({}, 0);
        return;
    }
    FillAll(kBasicColors[kFlashColorFirst + phase_ % kFlashColorCount], Brightness());
}

void CLightPreview::PreviewOff()
{
    FillAll({}, 0);
}
