// The mouse page's lighting preview: its own effects, the custom-effect
// player and the thread that steps them.

#include "devices/mouse/mouse_lighting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class MouseLightingTest : public ::testing::Test {
protected:
    void SetUp() override { preview_.SetLightCount(kMouseLedCount); }

    void SetState(int effect, uint8_t brightness, uint8_t speed, Rgb color = {}, uint8_t direction = 1)
    {
        LightInfoRecord state;
        state.selectItem = static_cast<uint8_t>(effect);
        state.light = brightness;
        state.speed = speed;
        state.fx = direction;
        state.red = color.red;
        state.green = color.green;
        state.blue = color.blue;
        preview_.SetState(state);
    }

    CLightPreview preview_;
    CReactiveKeys reactive_;
    std::atomic<bool> step_{true};
    CMouseLighting lighting_{preview_, reactive_, [this] { return step_.load(); }};
};

LedEffectStep Step(uint8_t mode, Rgb color, int32_t ms)
{
    LedEffectStep step;
    step.regMode = mode;
    step.brightness = 4;
    step.speed = 4;
    step.red = color.red;
    step.green = color.green;
    step.blue = color.blue;
    step.time = ms;
    return step;
}

}  // namespace

TEST(MouseLightingIntervals, EachEffectStepsAtItsSpeed)
{
    const std::array<std::array<int, 3>, 8> cases = {{
        // effect, speed, ticks
        {kEffectStatic, 0, 15}, {kEffectStatic, 4, 2}, {kEffectRipple, 0, 28}, {kEffectRipple, 4, 7},
        {kEffectReactive, 2, 8}, {kEffectBlink, 9, 15}, {11, 0, 15}, {12, 4, 0},
    }};
    for (const auto& [effect, speed, ticks] : cases)
        EXPECT_EQ(EffectInterval(effect, speed), ticks) << effect << " at speed " << speed;
}

TEST_F(MouseLightingTest, TheWaveRunsAlongTheGroups)
{
    SetState(kEffectWave, 4, 0);
    lighting_.PreviewWave();
    // Phase 1: the first group shows spectrum entry 2, each next group 7 further on.
    EXPECT_EQ(preview_.GetLed(0), PackLed(Spectrum()[2], 192));
    EXPECT_EQ(preview_.GetLed(13), PackLed(Spectrum()[2], 192));
    EXPECT_EQ(preview_.GetLed(1), PackLed(Spectrum()[9], 192));
    for (int led : {6, 14, 7})
        EXPECT_EQ(preview_.GetLed(led), PackLed(Spectrum()[44], 192)) << led;
}

TEST_F(MouseLightingTest, AKeyPressLightsEveryLedThatThenFades)
{
    SetState(kEffectReactive, 4, 0, {255, 0, 0});
    lighting_.StartReactive(7);
    lighting_.PreviewReactive();
    EXPECT_EQ(preview_.GetLed(3), PackLed({255, 0, 0}, 191));
    lighting_.PreviewReactive();
    EXPECT_EQ(preview_.GetLed(3), PackLed({255, 0, 0}, 180));
    for (int i = 0; i < 20; ++i)
        lighting_.PreviewReactive();
    EXPECT_EQ(LedLevel(preview_.GetLed(3)), 0);
}

TEST_F(MouseLightingTest, TheCustomPlayerShowsEachStepForItsTime)
{
    SetState(12, 4, 4);
    lighting_.PlayCustomEffect(0);
    EXPECT_EQ(preview_.GetLed(0), PackLed({}, 0)) << "no steps: dark";

    lighting_.SetCustomSteps({Step(kEffectStatic, {255, 0, 0}, 100), Step(kEffectStatic, {0, 0, 255}, 100)});
    for (uint32_t ms = 1000; ms <= 1010; ms += 2)
        lighting_.PlayCustomEffect(ms);
    EXPECT_EQ(preview_.GetLed(0), PackLed({255, 0, 0}, 192));
    for (uint32_t ms = 1100; ms <= 1110; ms += 2)
        lighting_.PlayCustomEffect(ms);
    EXPECT_EQ(preview_.GetLed(0), PackLed({0, 0, 255}, 192));
    EXPECT_EQ(preview_.State().selectItem, 12) << "the page's state stays the custom effect";
}

TEST_F(MouseLightingTest, TheThreadStepsTheEffectAndEndsWhenWoken)
{
    SetState(kEffectStatic, 4, 4, {0, 255, 0});
    lighting_.Start();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (preview_.GetLed(14) != PackLed({0, 255, 0}, 192) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::yield();
    EXPECT_EQ(preview_.GetLed(14), PackLed({0, 255, 0}, 192));
    step_ = false;  // an idle thread still ends at once
    lighting_.Stop();
    EXPECT_FALSE(lighting_.IsRunning());
    lighting_.Start();  // and can run again
    EXPECT_TRUE(lighting_.IsRunning());
}
