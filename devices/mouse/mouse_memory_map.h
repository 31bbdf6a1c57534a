#pragma once
// The mouse's settings memory and key table, shared by the program,
// kestrova-ctl and the device simulator. The information block, status bytes
// and notification codes every device shares are in transport/device_memory.h.

#include "transport/device_memory.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Settings memory: byte 0 holds the current device profile number; profile
// p's settings block starts at p x kMouseProfileSpan.
constexpr size_t kMouseCurrentProfile = 0;
constexpr uint16_t kMouseProfileSpan = 128;
constexpr size_t kMouseProfileCount = 16;

// The settings block (MouseSettingsBlock), byte positions.
constexpr size_t kMouseSettingsSize = 87;
constexpr size_t kBlockProfile = 0;
constexpr size_t kBlockLightEffect = 1;  // a device code; custom effects are sent as 0
constexpr size_t kBlockBrightness = 2;   // 0..4
constexpr size_t kBlockSpeed = 3;        // 4 - speed
constexpr size_t kBlockDirection = 4;
constexpr size_t kBlockMultiColor = 5;
constexpr size_t kBlockRed = 6;
constexpr size_t kBlockGreen = 7;
constexpr size_t kBlockBlue = 8;
constexpr size_t kBlockReportRate = 11;  // choice 0..3
constexpr size_t kBlockActiveDpiStage = 12;
constexpr size_t kBlockFirstDpiStage = 14;
constexpr size_t kBlockBleSleep1 = 77;
constexpr size_t kBlockBleSleep2 = 78;
constexpr size_t kBlockSleep1 = 79;
constexpr size_t kBlockSleep2 = 80;
constexpr size_t kBlockDebounce = 81;
constexpr size_t kBlockLiftOff = 82;  // 0..1
constexpr size_t kBlockLinearCalibration = 83;
constexpr size_t kBlockRipple = 84;
constexpr size_t kBlockLogoLightMode = 86;
// Bytes the program always writes as 0.
constexpr std::array<size_t, 4> kBlockZeroBytes = {9, 10, 13, 85};

// DPI stage i lies at kBlockFirstDpiStage + i x kDpiStageSize.
constexpr size_t kDpiStageCount = 7;
constexpr size_t kDpiStageSize = 9;
constexpr size_t kStageEnabled = 0;
constexpr size_t kStageSeparateXY = 1;
constexpr size_t kStageCodeX = 2;  // 16 bits
constexpr size_t kStageCodeY = 4;  // 16 bits
constexpr size_t kStageRed = 6;
constexpr size_t kStageGreen = 7;
constexpr size_t kStageBlue = 8;

constexpr size_t DpiStageOffset(size_t stage)
{
    return kBlockFirstDpiStage + stage * kDpiStageSize;
}

constexpr uint8_t kMouseBrightnessMax = 4;
constexpr uint8_t kMouseSpeedMax = 4;
constexpr uint8_t kMouseReportRateMax = 3;
// Light effects from this number on are custom effects the mouse doesn't know.
constexpr uint8_t kMouseFirstCustomEffect = 12;

// Sensors named in the information block, each with its own DPI step codes.
constexpr uint16_t kSensor3395 = 0x3395;
constexpr uint16_t kSensor8925 = 0x8925;
constexpr uint16_t kSensor3104 = 0x3104;
constexpr uint16_t kSensor3325 = 0x3325;

// The key table: the mouse's keys, each found by its default code.
constexpr size_t kMouseKeyCount = 11;
using KeyCodeBytes = std::array<uint8_t, kKeyCodeSize>;
constexpr std::array<KeyCodeBytes, kMouseKeyCount> kMouseDefaultKeyCodes = {{
    {0x10, 0x01, 0x00},  // left button
    {0x10, 0x02, 0x00},  // right button
    {0x10, 0x04, 0x00},  // middle button
    {0x10, 0x10, 0x00},  // forward
    {0x10, 0x08, 0x00},  // back
    {0x13, 0x01, 0x00},  // DPI up
    {0x13, 0x02, 0x00},  // DPI down
    {0x13, 0x03, 0x00},  // DPI cycle
    {0xA0, 0x1B, 0x00},  // game mode
    {0x16, 0x90, 0x01},  // DPI shift
    {0x14, 0x78, 0x02},  // fire key
}};
// Key-map value of a key whose place in the key table is unknown.
constexpr uint8_t kKeyNotFound = 170;
// Key codes whose first byte says they name a macro (value 1 is its number).
constexpr uint8_t kKeyTypeMacroRepeatMode = 0x70;
constexpr uint8_t kKeyTypeMacroRepeatCount = 0x71;

// Firmware of the mouse on its cable below this version is offered an update.
constexpr uint16_t kMouseCurrentFirmware = 0x0106;
