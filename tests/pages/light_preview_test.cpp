#include "devices/page/function_panel.h"
#include "devices/page/lighting_sync.h"
#include "devices/page/light_preview.h"
#include "devices/page/power_status.h"
#include "devices/page/reactive_keys.h"
#include "transport/device_table.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StepPhase, WrapsAtTheLimitBothWays)
{
    struct Case {
        bool up;
        uint8_t limit, phase, step, expected;
    };
    const Case cases[] = {
        {true, 128, 126, 2, 0},    // reaching the limit starts again
        {true, 128, 125, 2, 127},
        {true, 192, 191, 1, 0},
        {false, 192, 0, 1, 191},   // stepping down from 0
        {false, 192, 5, 1, 4},
        {false, 128, 1, 2, 126},   // 1 - 2 is 255 in 8 bits: not below the limit
        {true, 255, 254, 14, 0},   // no 8-bit overflow past the limit
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepPhase(c.up, c.limit, c.phase, c.step), c.expected)
            << c.up << " " << int(c.limit) << " " << int(c.phase) << " " << int(c.step);
}

TEST(LightTables, SpectrumAndBreathingCurveKeepTheirShape)
{
    const auto& spectrum = Spectrum();
    EXPECT_EQ(spectrum[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(spectrum[31], (Rgb{255, 255, 0}));
    EXPECT_EQ(spectrum[32], (Rgb{248, 255, 0}));
    EXPECT_EQ(spectrum[64], (Rgb{0, 255, 1}));
    EXPECT_EQ(spectrum[96], (Rgb{0, 248, 255}));
    EXPECT_EQ(spectrum[128], (Rgb{1, 0, 255}));
    EXPECT_EQ(spectrum[160], (Rgb{255, 0, 248}));
    EXPECT_EQ(spectrum[191], (Rgb{255, 0, 0}));
    EXPECT_EQ(spectrum[192], (Rgb{255, 1, 0}));

    const auto& curve = BreathingCurve();
    const std::vector<uint8_t> start(curve.begin(), curve.begin() + 21);
    EXPECT_EQ(start, (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27, 30, 33}));
    EXPECT_EQ(curve[63], 255);
    for (int i = 0; i < kBreathingSize; ++i)
        EXPECT_EQ(curve[i], curve[kBreathingSize - 1 - i]) << i;
}

TEST(LightPreview, BreathingAtBrightnessZeroStaysDark)
{
    CLightPreview preview;
    preview.SetLightCount(3);
    LightInfoRecord state;
    state.light = 0;
    state.red = 255;
    preview.SetState(state);
    for (int step = 0; step < 200; ++step) {
        preview.PreviewBreathing();
        for (int led = 0; led < 3; ++led)
            ASSERT_EQ(LedLevel(preview.GetLed(led)), 0) << step;
    }
}

TEST(LightPreview, OutOfRangeLevelsAndIndicesAreHarmless)
{
    CLightPreview preview;
    preview.SetLightCount(2);
    LightInfoRecord state;
    state.light = 200;  // from a damaged profile
    state.speed = 77;
    state.multiColor = 1;
    preview.SetState(state);
    preview.SetColorIndex(250);
    preview.SetPhase(250);
    preview.PreviewStatic();
    EXPECT_EQ(LedLevel(preview.GetLed(0)), 0);
    preview.PreviewBreathing();
    preview.PreviewSpectrum();
    preview.PreviewBlink(100000);
    preview.PreviewFourColorFlash(200000);
    preview.PreviewColorSteps();
    EXPECT_FALSE(preview.SetLed(2, 1));
    EXPECT_EQ(preview.GetLed(-1), 0u);
}

TEST(LightPreview, SpectrumStepsDownThroughTheWheel)
{
    CLightPreview preview;
    preview.SetLightCount(1);
    LightInfoRecord state;
    state.light = 4;
    state.fx = 0;  // direction down
    preview.SetState(state);
    preview.PreviewSpectrum();
    EXPECT_EQ(preview.Phase(), 191);
    EXPECT_EQ(LedRgb(preview.GetLed(0)), Spectrum()[191]);
    EXPECT_EQ(LedLevel(preview.GetLed(0)), 192);
}

TEST(LightPreview, BlinkTogglesAfterItsPeriod)
{
    CLightPreview preview;
    preview.SetLightCount(1);
    LightInfoRecord state;
    state.light = 2;
    state.speed = 4;  // 7 x 200 ms
    state.green = 200;
    preview.SetState(state);
    preview.PreviewBlink(1400);
    EXPECT_EQ(LedRgb(preview.GetLed(0)), (Rgb{0, 200, 0}));
    preview.PreviewBlink(2000);  // too early: still on
    EXPECT_EQ(LedLevel(preview.GetLed(0)), 128);
    preview.PreviewBlink(2800);
    EXPECT_EQ(preview.GetLed(0), 0u);
}

TEST(ReactiveKeys, LevelsDecayByTheModesSteps)
{
    CReactiveKeys keys;
    keys.SetLevel(5, 255);
    std::vector<int> seen;
    for (int i = 0; i < 9; ++i) {
        keys.StepReactiveLevel(5, 0);
        seen.push_back(keys.Level(5));
    }
    EXPECT_EQ(seen, (std::vector<int>{215, 175, 135, 95, 65, 35, 20, 12, 11}));

    keys.SetLevel(6, 150);
    keys.StepReactiveLevel(6, CReactiveKeys::kAudioMode);
    EXPECT_EQ(keys.Level(6), 105);
    keys.SetLevel(7, 40);
    keys.StepReactiveLevel(7, 3);
    EXPECT_EQ(keys.Level(7), 30);
    keys.StepReactiveLevel(8, 0);
    EXPECT_EQ(keys.Level(8), 0);
    keys.StepReactiveLevel(CReactiveKeys::kKeyCount, 0);  // out of range: ignored
    keys.StepReactiveLevel(-1, 0);
}

TEST(ReactiveKeys, RingRotatesAndMarksTheFirstNineKeys)
{
    CReactiveKeys keys;
    keys.Ring()[0] = 1;
    keys.Ring()[22] = 2;
    keys.RotateRing(1);
    EXPECT_EQ(keys.Ring()[0], 2);
    EXPECT_EQ(keys.Ring()[1], 1);
    keys.RotateRing(0);
    keys.RotateRing(0);
    EXPECT_EQ(keys.Ring()[0], 0);
    EXPECT_EQ(keys.Ring()[21], 2);
    EXPECT_EQ(keys.Ring()[22], 1);

    keys.ClearReactiveLevels();
    keys.Ring()[3] = 1;
    keys.Ring()[9] = 1;  // beyond the marked keys
    keys.MarkPressedKeys();
    EXPECT_EQ(keys.Level(3), 255);
    EXPECT_EQ(keys.Level(9), 0);
}

TEST(FunctionPanel, TypesSelectTheirTabs)
{
    struct Case {
        int type;
        bool keyboardOrMouse;
        FunctionPanelTabs tabs;
    };
    const Case cases[] = {
        {2, true, {0, 1}},  {6, false, {0, 1}}, {3, true, {1, kTabUnchanged}}, {8, false, {1, kTabUnchanged}},
        {4, true, {3, kTabUnchanged}}, {4, false, {0, 2}}, {7, true, {0, 2}}, {5, true, {2, kTabUnchanged}},
        {9, false, {4, kTabUnchanged}}, {1, true, {0, 0}}, {-5, false, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FunctionPanelTabsFor(c.type, c.keyboardOrMouse), c.tabs) << c.type << " " << c.keyboardOrMouse;
}

TEST(PowerStatus, BlockBytesAreReadWithinLimits)
{
    const uint8_t full[] = {150, kPowerCharging, kPhoneSamsung, 1};
    EXPECT_EQ(PowerStatusFromBlock(full, sizeof full), (PowerStatus{100, kPowerCharging, kPhoneSamsung, true}));
    const uint8_t shortBlock[] = {42};
    EXPECT_EQ(PowerStatusFromBlock(shortBlock, sizeof shortBlock), (PowerStatus{42, 0, 0, false}));
    EXPECT_EQ(PowerStatusFromBlock(nullptr, 0), PowerStatus{});
}

TEST(LightingSync, EffectCodesTranslateBetweenFamilies)
{
    struct Case {
        SyncFamily family;
        uint8_t code;
        std::optional<SyncEffect> effect;
    };
    const Case cases[] = {
        {SyncFamily::kKeyboard, 5, SyncEffect::kBreathing}, {SyncFamily::kKeyboard, 28, SyncEffect::kOff},
        {SyncFamily::kMouse, 8, SyncEffect::kBlinking},     {SyncFamily::kMouse, 2, std::nullopt},
        {SyncFamily::kPadOrHeadset, 1, SyncEffect::kColorCycle}, {SyncFamily::kPadOrHeadset, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommonEffect(c.family, c.code), c.effect) << int(c.code);
    EXPECT_EQ(FamilyEffectCode(SyncFamily::kKeyboard, SyncEffect::kStatic), 6);
    EXPECT_EQ(FamilyEffectCode(SyncFamily::kPadOrHeadset, SyncEffect::kBlinking), 4);
}

TEST(LightingSync, RecordsOutOfRangeAreClampedOrRefused)
{
    const uint8_t unknown[kSyncRecordSize] = {99, 1, 1, 1, 0, 1, 2, 3};
    EXPECT_FALSE(SyncStateFromRecord(SyncFamily::kMouse, unknown).has_value());
    const uint8_t wild[kSyncRecordSize] = {0, 9, 200, 0, 1, 1, 2, 3};
    const std::optional<SyncState> state = SyncStateFromRecord(SyncFamily::kMouse, wild);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->level, 0);
    EXPECT_EQ(state->speed, 0);
    EXPECT_EQ(CLightingSyncEffect(*state).IntervalTicks(), 28);
}

TEST(LightingSync, CountersWrapAtOrPastTheirEnds)
{
    SyncState blink;
    blink.effect = SyncEffect::kBlinking;
    blink.colorful = true;
    blink.level = 4;
    CLightingSyncEffect blinking(blink);
    uint32_t now = 0;
    for (int i = 0; i < 100; ++i) {
        now += 28 * 200;
        blinking.Step(now);
        ASSERT_LT(blinking.ColorIndex(), kSpectrumLoop) << i;  // steps of 14 never land on 192
    }

    SyncState breathe;
    breathe.effect = SyncEffect::kBreathing;
    breathe.breathingStep = 0;  // counts as 1: the light still moves
    breathe.level = 4;
    breathe.color = {255, 0, 0};
    CLightingSyncEffect breathing(breathe);
    const uint32_t first = breathing.Step(0);
    const uint32_t later = breathing.Step(0);
    EXPECT_NE(first, later);
}

TEST(LightingSync, SharedLightingTakesEachFamilysOwnEffectCode)
{
    SyncState state;
    state.effect = SyncEffect::kBlinking;
    state.level = 2;
    state.speed = 1;
    state.colorful = true;
    state.color = {1, 2, 3};
    LightInfoRecord own;
    own.customGroup = 4;  // what the shared state doesn't name stays
    struct Case {
        int kind;
        uint8_t code;
    };
    for (const Case& c : {Case{kKindKeyboard, 23}, Case{kKindMouseReceiver, 8}, Case{kKindHeadset, 4}}) {
        const std::optional<SyncFamily> family = SyncFamilyOfKind(c.kind);
        ASSERT_TRUE(family) << c.kind;
        const LightInfoRecord shared = SharedLightInfo(own, *family, state);
        EXPECT_EQ(shared.selectItem, c.code) << c.kind;
        EXPECT_EQ(shared.light, 2);
        EXPECT_EQ(shared.multiColor, 1);
        EXPECT_EQ(shared.blue, 3);
        EXPECT_EQ(shared.customGroup, 4);
    }
    EXPECT_FALSE(SyncFamilyOfKind(0));
}
