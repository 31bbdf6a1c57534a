#include "devices/mouse/mouse_lighting.h"

#include "devices/mouse/mouse_memory_map.h"

#include "platform/trace.h"

#include <chrono>
#include <random>

namespace {

// The LEDs of each group, from the front of the mouse to its back.
constexpr std::array<std::array<int, 3>, kMouseLedGroupCount> kLedGroups = {{
    {0, 13, -1},
    {1, 12, -1},
    {2, 11, -1},
    {3, 10, -1},
    {4, 9, -1},
    {5, 8, -1},
    {6, 14, 7},
}};

constexpr std::array<int, 5> kCommonIntervals = {15, 11, 8, 5, 2};
constexpr std::array<int, 5> kRippleIntervals = {28, 23, 18, 13, 7};

constexpr uint8_t kWaveGroupStep = 7;
constexpr uint8_t kWaveWrapStep = 71;  // skips the spectrum's end and wraps to its start
constexpr uint8_t kRippleColorStep = 15;
constexpr uint8_t kReactiveStep = 15;
constexpr uint8_t kFullLevel = 255;
constexpr auto kIdleWait = std::chrono::milliseconds(100);
constexpr auto kTurnWait = std::chrono::milliseconds(1);

uint32_t SteadyMs()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Rgb SpectrumAt(int index)
{
    return Spectrum()[static_cast<size_t>(index % kSpectrumSize)];
}

uint8_t Scaled(uint8_t level, uint8_t by)
{
    return static_cast<uint8_t>(level * by / 256);
}

}  // namespace

int EffectInterval(int effect, int speed)
{
    if (effect >= kMouseFirstCustomEffect)
        return 0;
    const auto& intervals = effect == kEffectRipple ? kRippleIntervals : kCommonIntervals;
    return intervals[static_cast<size_t>(ClampLevel(speed))];
}

CMouseLighting::CMouseLighting(CLightPreview& preview, CReactiveKeys& reactive, std::function<bool()> shouldStep)
    : preview_(preview), reactive_(reactive), shouldStep_(std::move(shouldStep))
{
    player_.SetLightCount(kMouseLedCount);
}

void CMouseLighting::Start()
{
    Stop();
    stop_.Reset();
    thread_ = std::thread([this] { Run(); });
}

void CMouseLighting::Stop()
{
    if (!thread_.joinable())
        return;
    stop_.Set();
    thread_.join();
}

void CMouseLighting::Run()
{
    while (!stop_.Wait(kTurnWait)) {
        if (!shouldStep_()) {
            stop_.Wait(kIdleWait);
            continue;
        }
        StepEffect(SteadyMs());
    }
    Trace("MS灯光线程设定退出");
}

void CMouseLighting::StepEffect(uint32_t nowMs)
{
    const LightInfoRecord& state = preview_.State();
    const int effect = state.selectItem;
    if (effect >= kMouseFirstCustomEffect) {
        PlayCustomEffect(nowMs);
        return;
    }
    if (TickDue(nowMs, EffectInterval(effect, state.speed)))
        Generate(preview_, effect, nowMs);
}

bool CMouseLighting::TickDue(uint32_t nowMs, int interval)
{
    if (nowMs - lastTickMs_ > 1) {
        lastTickMs_ = nowMs;
        ++ticks_;
    }
    if (ticks_ < interval)
        return false;
    ticks_ = 0;
    return true;
}

void CMouseLighting::Generate(CLightPreview& target, int effect, uint32_t nowMs)
{
    switch (effect) {
    case kEffectStatic:
        return target.PreviewStatic();
    case kEffectBreathing:
        return target.PreviewBreathing();
    case kEffectWave:
        return PreviewWave(target);
    case kEffectSpectrum:
        return target.PreviewSpectrum();
    case kEffectRipple:
        return PreviewRipple(target);
    case kEffectColorSteps:
    case kEffectColorStepsToo:
        return target.PreviewColorSteps();
    case kEffectFourColorFlash:
        return target.PreviewFourColorFlash(nowMs);
    case kEffectBlink:
        return target.PreviewBlink(nowMs);
    case kEffectReactive:
        return PreviewReactive(target);
    default:
        return target.PreviewOff();
    }
}

namespace {

uint8_t BrightnessOf(const CLightPreview& target)
{
    return kBrightnessLevels[static_cast<size_t>(ClampLevel(target.State().light))];
}

void FillGroup(CLightPreview& target, int group, Rgb color, uint8_t level)
{
    for (int led : kLedGroups[static_cast<size_t>(group)]) {
        if (led >= 0)
            target.SetLed(led, PackLed(color, level));
    }
}

}  // namespace

void CMouseLighting::PreviewWave(CLightPreview& target)
{
    const uint8_t phase = StepPhase(target.State().fx != 0, kSpectrumLoop, target.Phase(), 1);
    target.SetPhase(phase);
    uint8_t index = static_cast<uint8_t>((phase + 65) % 256 >= 64 ? phase + 1 : phase + 65);
    for (int group = 0; group < kMouseLedGroupCount; ++group) {
        FillGroup(target, group, SpectrumAt(index), BrightnessOf(target));
        const bool nearEnd = index >= 185 && index <= 248;
        index = static_cast<uint8_t>(index + (nearEnd ? kWaveWrapStep : kWaveGroupStep));
    }
}

void CMouseLighting::PreviewRipple(CLightPreview& target)
{
    const uint8_t phase = StepPhase(true, kSpectrumLoop, target.Phase(), 8);
    target.SetPhase(phase);
    reactive_.MarkPressedKeys();
    reactive_.RotateRing(1);
    if (phase == 0) {
        const int next = target.ColorIndex() + kRippleColorStep;
        target.SetColorIndex(static_cast<uint8_t>(next > kSpectrumLoop - 1 ? 0 : next));
    }
    const Rgb color = SpectrumAt(target.ColorIndex());
    for (int group = 0; group < kMouseLedGroupCount; ++group) {
        reactive_.StepReactiveLevel(group, 0);
        FillGroup(target, group, color, Scaled(BrightnessOf(target), reactive_.Level(group)));
    }
}

void CMouseLighting::PreviewReactive(CLightPreview& target)
{
    const LightInfoRecord& state = target.State();
    for (size_t led = 0; led < kMouseLedCount; ++led) {
        uint8_t& level = reactiveLevel_[led];
        if (reactiveStage_[led] == 1) {
            level = static_cast<uint8_t>(std::min(level + kReactiveStep, int{kFullLevel}));
            if (level == kFullLevel)
                reactiveStage_[led] = 2;
        } else if (reactiveStage_[led] == 2) {
            level = static_cast<uint8_t>(std::max(level - kReactiveStep, 0));
            if (level == 0)
                reactiveStage_[led] = 0;
        }
        const Rgb color = state.multiColor ? SpectrumAt(reactiveColor_[led]) : Rgb{state.red, state.green, state.blue};
        target.SetLed(static_cast<int>(led), PackLed(color, Scaled(BrightnessOf(target), level)));
    }
}

void CMouseLighting::StartReactive(uint32_t seed)
{
    std::minstd_rand random(seed);
    for (size_t led = 0; led < kMouseLedCount; ++led) {
        reactiveStage_[led] = 1;
        reactiveLevel_[led] = kFullLevel;
        reactiveColor_[led] = static_cast<uint8_t>(random() % kSpectrumLoop);
    }
}

void CMouseLighting::RestartEffect()
{
    reactive_.ClearReactiveLevels();
    reactive_.Ring()[0] = 1;
}

void CMouseLighting::SetCustomSteps(std::vector<LedEffectStep> steps)
{
    std::lock_guard lock(stepsLock_);
    customSteps_ = std::move(steps);
    customStep_ = 0;
    customStarted_ = false;
}

void CMouseLighting::PlayCustomEffect(uint32_t nowMs)
{
    LedEffectStep step;
    {
        std::lock_guard lock(stepsLock_);
        if (customSteps_.empty()) {
            preview_.PreviewOff();
            return;
        }
        if (!customStarted_) {
            customStarted_ = true;
            customStepStart_ = nowMs;
        }
        if (nowMs - customStepStart_ >= static_cast<uint32_t>(std::max(customSteps_[customStep_].time, 0))) {
            customStep_ = (customStep_ + 1) % customSteps_.size();
            customStepStart_ = nowMs;
        }
        step = customSteps_[customStep_];
    }
    // The step is shown as the built-in effect of its mode, in its own
    // colours, on the player's own preview; its LEDs are then the page's.
    LightInfoRecord played = preview_.State();
    played.selectItem = step.regMode < kMouseFirstCustomEffect ? step.regMode : kEffectOff;
    played.light = step.brightness;
    played.speed = step.speed;
    played.fx = step.direction;
    played.multiColor = step.multiColor;
    played.red = step.red;
    played.green = step.green;
    played.blue = step.blue;
    player_.SetState(played);
    if (!TickDue(nowMs, EffectInterval(played.selectItem, played.speed)))
        return;
    Generate(player_, played.selectItem, nowMs);
    const std::vector<LedColor> leds = player_.Snapshot();
    for (size_t led = 0; led < leds.size(); ++led)
        preview_.SetLed(static_cast<int>(led), leds[led]);
}
