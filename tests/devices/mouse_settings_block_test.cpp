// The settings block built from profile values and taken back from the mouse.

#include "devices/mouse/mouse_settings_block.h"

#include <gtest/gtest.h>

namespace {

MouseBlockValues SampleValues()
{
    MouseBlockValues values;
    values.light.selectItem = 4;
    values.light.light = 3;
    values.light.speed = 1;
    values.light.fx = 1;
    values.light.multiColor = 1;
    values.light.red = 10;
    values.light.green = 20;
    values.light.blue = 30;
    values.activeStage = 2;
    values.stages = {{1, 0, 7, 7, 255, 0, 0}, {0, 1, 0x0102, 0x0304, 1, 2, 3}};
    values.settings[kReportRate] = 2;
    values.settings[kSilentAltitude] = 1;
    values.settings[kBleSleep1] = 3;
    values.settings[kDeviceSleep2] = 30;
    values.settings[kKeyDebounceTime] = 4;
    values.settings[kLogoLedMode] = 2;
    return values;
}

TEST(MouseSettingsBlockTest, BlockCarriesEveryValueWhereTheLayoutSays)
{
    MouseSettingsBlock base{};
    base.fill(0xEE);
    const MouseSettingsBlock block = BuildSettingsBlock(SampleValues(), 5, base);
    const std::pair<size_t, uint8_t> expected[] = {
        {kBlockProfile, 5},     {kBlockLightEffect, 4}, {kBlockBrightness, 3},     {kBlockSpeed, 3},
        {kBlockDirection, 1},   {kBlockMultiColor, 1},  {kBlockRed, 10},           {kBlockGreen, 20},
        {kBlockBlue, 30},       {9, 0},                 {10, 0},                   {13, 0},
        {85, 0},                {kBlockReportRate, 2},  {kBlockActiveDpiStage, 2}, {kBlockBleSleep1, 3},
        {kBlockSleep2, 30},     {kBlockDebounce, 4},    {kBlockLiftOff, 1},        {kBlockLogoLightMode, 2},
        {DpiStageOffset(0), 1}, {DpiStageOffset(0) + kStageCodeX, 7}, {DpiStageOffset(1) + kStageSeparateXY, 1},
        {DpiStageOffset(1) + kStageCodeX, 2}, {DpiStageOffset(1) + kStageCodeX + 1, 1},
        {DpiStageOffset(1) + kStageCodeY, 4}, {DpiStageOffset(1) + kStageBlue, 3},
        {DpiStageOffset(2), 0xEE},  // stages the profile lacks keep the block as read
    };
    for (const auto& [at, value] : expected)
        EXPECT_EQ(block[at], value) << "byte " << at;
}

TEST(MouseSettingsBlockTest, OutOfRangeValuesAreKeptInRangeWhenWritten)
{
    struct Case {
        const char* what;
        void (*change)(MouseBlockValues&);
        size_t byte;
        uint8_t sent;
    };
    const Case cases[] = {
        {"custom effect 13 is sent as 0", [](MouseBlockValues& v) { v.light.selectItem = 13; }, kBlockLightEffect, 0},
        {"custom effect 12 is sent as 0", [](MouseBlockValues& v) { v.light.selectItem = 12; }, kBlockLightEffect, 0},
        {"effect 11 is built in", [](MouseBlockValues& v) { v.light.selectItem = 11; }, kBlockLightEffect, 11},
        {"speed 1 is sent as 3", [](MouseBlockValues& v) { v.light.speed = 1; }, kBlockSpeed, 3},
        {"speed 9 is sent as speed 4", [](MouseBlockValues& v) { v.light.speed = 9; }, kBlockSpeed, 0},
        {"brightness 7 is sent as 4", [](MouseBlockValues& v) { v.light.light = 7; }, kBlockBrightness, 4},
        {"active stage 7 is sent as 0", [](MouseBlockValues& v) { v.activeStage = 7; }, kBlockActiveDpiStage, 0},
        {"active stage -1 is sent as 0", [](MouseBlockValues& v) { v.activeStage = -1; }, kBlockActiveDpiStage, 0},
    };
    for (const Case& c : cases) {
        MouseBlockValues values = SampleValues();
        c.change(values);
        EXPECT_EQ(BuildSettingsBlock(values, 0, {})[c.byte], c.sent) << c.what;
    }
}

TEST(MouseSettingsBlockTest, ReadingTakesWhatTheMouseMayChangeAndClampsIndices)
{
    const DefaultLightNames names{{L"a", L"b", L"c"}, {true, true, true}, {0, 7, 2}, {}};
    MouseSettingsBlock block = BuildSettingsBlock(SampleValues(), 0, {});
    block[kBlockLightEffect] = 7;  // the device code of mode 1
    block[kBlockSpeed] = 0;
    block[kBlockActiveDpiStage] = 9;
    block[kBlockBrightness] = 200;
    block[kBlockLiftOff] = 0;
    block[kBlockDirection] = 0;

    MouseBlockValues kept = SampleValues();
    TakeSettingsBlock(block, names, BlockFields::kReadBack, kept);
    EXPECT_EQ(kept.light.selectItem, 1);
    EXPECT_EQ(kept.light.speed, 4);
    EXPECT_EQ(kept.activeStage, 0);
    EXPECT_EQ(kept.light.light, kMouseBrightnessMax);
    EXPECT_EQ(kept.settings[kSilentAltitude], 1) << "lift-off is written only";
    EXPECT_EQ(kept.light.fx, 1) << "direction is written only";
    EXPECT_EQ(kept.stages.size(), 2u) << "stages are written only";

    MouseBlockValues all = SampleValues();
    TakeSettingsBlock(block, names, BlockFields::kAll, all);
    EXPECT_EQ(all.settings[kSilentAltitude], 0);
    EXPECT_EQ(all.light.fx, 0);
    ASSERT_EQ(all.stages.size(), kDpiStageCount);
    EXPECT_EQ(all.stages[1], SampleValues().stages[1]);
}

}  // namespace
