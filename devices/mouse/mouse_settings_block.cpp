#include "devices/mouse/mouse_settings_block.h"

#include <algorithm>

namespace {

// Block bytes that carry one of the sixteen settings values.
struct SettingByte {
    size_t byte;
    MouseSettingIndex index;
    bool readBack;  // taken over when the block is read
};
constexpr SettingByte kSettingBytes[] = {
    {kBlockReportRate, kReportRate, true},
    {kBlockBleSleep1, kBleSleep1, true},
    {kBlockBleSleep2, kBleSleep2, true},
    {kBlockSleep1, kDeviceSleep1, true},
    {kBlockSleep2, kDeviceSleep2, true},
    {kBlockDebounce, kKeyDebounceTime, true},
    {kBlockLiftOff, kSilentAltitude, false},
    {kBlockLinearCalibration, kLinearCalibration, true},
    {kBlockRipple, kRipple, true},
    {kBlockLogoLightMode, kLogoLedMode, true},
};

void PutStage(MouseSettingsBlock& block, size_t stage, const DpiStage& values)
{
    uint8_t* at = block.data() + DpiStageOffset(stage);
    at[kStageEnabled] = values.stageActive;
    at[kStageSeparateXY] = values.stageXY;
    SetU16(at, kStageCodeX, values.dpiX);
    SetU16(at, kStageCodeY, values.dpiY);
    at[kStageRed] = values.red;
    at[kStageGreen] = values.green;
    at[kStageBlue] = values.blue;
}

DpiStage StageAt(const MouseSettingsBlock& block, size_t stage)
{
    const uint8_t* at = block.data() + DpiStageOffset(stage);
    return {at[kStageEnabled], at[kStageSeparateXY], GetU16(at, kStageCodeX), GetU16(at, kStageCodeY),
            at[kStageRed],     at[kStageGreen],      at[kStageBlue]};
}

void PutLight(MouseSettingsBlock& block, const LightInfoRecord& light)
{
    block[kBlockLightEffect] = light.selectItem < kMouseFirstCustomEffect ? light.selectItem : 0;
    block[kBlockBrightness] = std::min(light.light, kMouseBrightnessMax);
    block[kBlockSpeed] = static_cast<uint8_t>(kMouseSpeedMax - std::min(light.speed, kMouseSpeedMax));
    block[kBlockDirection] = light.fx;
    block[kBlockMultiColor] = light.multiColor;
    block[kBlockRed] = light.red;
    block[kBlockGreen] = light.green;
    block[kBlockBlue] = light.blue;
}

void TakeLight(const MouseSettingsBlock& block, const DefaultLightNames& lightNames, BlockFields fields,
               LightInfoRecord& light)
{
    light.selectItem = static_cast<uint8_t>(LightModeOfValue(lightNames, block[kBlockLightEffect]));
    light.light = std::min(block[kBlockBrightness], kMouseBrightnessMax);
    light.speed = static_cast<uint8_t>(kMouseSpeedMax - std::min(block[kBlockSpeed], kMouseSpeedMax));
    if (fields == BlockFields::kAll)
        light.fx = block[kBlockDirection];
    light.multiColor = block[kBlockMultiColor] != 0 ? 1 : 0;
    light.red = block[kBlockRed];
    light.green = block[kBlockGreen];
    light.blue = block[kBlockBlue];
}

}  // namespace

uint8_t KeptDpiStage(int stage)
{
    return stage >= 0 && static_cast<size_t>(stage) < kDpiStageCount ? static_cast<uint8_t>(stage) : 0;
}

MouseSettingsBlock BuildSettingsBlock(const MouseBlockValues& values, uint8_t firstByte,
                                      const MouseSettingsBlock& base)
{
    MouseSettingsBlock block = base;
    block[kBlockProfile] = firstByte;
    PutLight(block, values.light);
    for (size_t zero : kBlockZeroBytes)
        block[zero] = 0;
    block[kBlockActiveDpiStage] = KeptDpiStage(values.activeStage);
    for (size_t i = 0; i < std::min(values.stages.size(), kDpiStageCount); ++i)
        PutStage(block, i, values.stages[i]);
    for (const SettingByte& setting : kSettingBytes)
        block[setting.byte] = static_cast<uint8_t>(values.settings[setting.index]);
    return block;
}

void TakeSettingsBlock(const MouseSettingsBlock& block, const DefaultLightNames& lightNames, BlockFields fields,
                       MouseBlockValues& values)
{
    TakeLight(block, lightNames, fields, values.light);
    values.activeStage = KeptDpiStage(block[kBlockActiveDpiStage]);
    for (const SettingByte& setting : kSettingBytes) {
        if (setting.readBack || fields == BlockFields::kAll)
            values.settings[setting.index] = block[setting.byte];
    }
    if (fields != BlockFields::kAll)
        return;
    values.stages.resize(std::max(values.stages.size(), kDpiStageCount));
    for (size_t i = 0; i < kDpiStageCount; ++i)
        values.stages[i] = StageAt(block, i);
}
