#pragma once
// The mouse page's lighting preview: the mouse's own effects (wave, ripple,
// reactive), the custom-effect player and the thread that steps the current
// effect at its speed. No widgets: the page paints the LED list on the UI
// thread. The thread is stopped by waking it, never killed.

#include "devices/page/light_preview.h"
#include "devices/page/reactive_keys.h"
#include "platform/stop_event.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The mouse's 15 LEDs in the 7 groups the wave and the ripple light together.
constexpr int kMouseLedCount = 15;
constexpr int kMouseLedGroupCount = 7;

// Mouse light effects by number, as the lighting panel numbers them.
constexpr int kEffectStatic = 0;
constexpr int kEffectBreathing = 1;
constexpr int kEffectWave = 2;
constexpr int kEffectSpectrum = 3;
constexpr int kEffectRipple = 4;
constexpr int kEffectColorSteps = 5;
constexpr int kEffectOff = 6;
constexpr int kEffectFourColorFlash = 7;
constexpr int kEffectBlink = 8;
constexpr int kEffectReactive = 9;
constexpr int kEffectColorStepsToo = 10;
// Custom effects, played by the custom-effect player, are numbered from
// kMouseFirstCustomEffect (12) on; effect 11 has no preview of its own and shows dark.

// Ticks (changes of the millisecond clock by 2 or more) between two steps of
// an effect at a speed 0..4.
int EffectInterval(int effect, int speed);

class CMouseLighting {
public:
    // `shouldStep` tells the thread whether to step now (device ready, not
    // synchronised with other devices); it is asked on the thread.
    CMouseLighting(CLightPreview& preview, CReactiveKeys& reactive, std::function<bool()> shouldStep);
    ~CMouseLighting() { Stop(); }
    CMouseLighting(const CMouseLighting&) = delete;
    CMouseLighting& operator=(const CMouseLighting&) = delete;

    // Starts the thread (a running one is stopped first).
    void Start();
    // Wakes the thread and waits for it to end.
    void Stop();
    bool IsRunning() const { return thread_.joinable(); }

    // The custom effect's steps, replaced under the lock; play restarts at step 0.
    void SetCustomSteps(std::vector<LedEffectStep> steps);
    // A new effect: the reactive levels start dark and the ring's first entry is marked.
    void RestartEffect();
    // Every LED lights up at full level in a random colour (a key press in effect 9).
    void StartReactive(uint32_t seed);

    // One step of the current effect (the thread's work; the tests call it).
    void StepEffect(uint32_t nowMs);
    void PreviewWave() { PreviewWave(preview_); }
    void PreviewRipple() { PreviewRipple(preview_); }
    void PreviewReactive() { PreviewReactive(preview_); }
    // Shows the custom step that `nowMs` falls into.
    void PlayCustomEffect(uint32_t nowMs);

private:
    void Run();
    // Counts a tick when the clock moved on; true (and counting anew) once
    // `interval` ticks have passed.
    bool TickDue(uint32_t nowMs, int interval);
    void Generate(CLightPreview& target, int effect, uint32_t nowMs);
    void PreviewWave(CLightPreview& target);
    void PreviewRipple(CLightPreview& target);
    void PreviewReactive(CLightPreview& target);

    CLightPreview& preview_;
    CLightPreview player_;  // the custom-effect player's steps are drawn here first
    CReactiveKeys& reactive_;
    std::function<bool()> shouldStep_;
    CStopEvent stop_;
    std::thread thread_;

    // Per LED: 0 idle, 1 rising, 2 falling; its level and colour index.
    std::array<uint8_t, kMouseLedCount> reactiveStage_{};
    std::array<uint8_t, kMouseLedCount> reactiveLevel_{};
    std::array<uint8_t, kMouseLedCount> reactiveColor_{};

    std::mutex stepsLock_;
    std::vector<LedEffectStep> customSteps_;
    size_t customStep_ = 0;
    uint32_t customStepStart_ = 0;
    bool customStarted_ = false;
    int ticks_ = 0;
    uint32_t lastTickMs_ = 0;
};
