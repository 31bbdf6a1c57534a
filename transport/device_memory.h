#pragma once
// What every device of the family keeps where: the information block each
// page reads first, the status bytes and the notification codes. Shared by
// the program, kestrova-ctl and the device simulator, like the command frame
// (transport/command_frame.h). All multi-byte numbers are little-endian.

#include <cstddef>
#include <cstdint>

// The information block (ReadInfoBlock / WriteInfoBlock). Bytes not named
// here are carried back unchanged when the block is written.
constexpr size_t kInfoBlockSize = 34;
constexpr size_t kInfoMagic = 0;  // 16 bits
constexpr uint16_t kInfoMagicValue = 0x55AA;
constexpr size_t kInfoKeyCount = 5;     // the key table holds three bytes per key
constexpr size_t kInfoMacroUnits = 6;   // macro memory in units of kMacroUnitSize
constexpr size_t kInfoSetUpMarker = 7;  // kInfoSetUpDone once the program set the device up
constexpr uint8_t kInfoSetUpDone = 0x13;
constexpr uint8_t kInfoSetUpNew = 0x00;  // a new device, to be set up
constexpr size_t kInfoSensor = 9;    // 16 bits, mouse
constexpr size_t kInfoDpiStep = 11;  // mouse
constexpr size_t kInfoDpiMax = 12;   // 16 bits: the highest DPI position (mouse)
constexpr size_t kInfoDpiBase = 14;  // 16 bits (mouse)
constexpr size_t kMacroUnitSize = 128;

// A key-function code in the key table: type, then two values.
constexpr size_t kKeyCodeSize = 3;

// Status bytes (ReadStatus at offset 0).
constexpr size_t kStatusBattery = 0;  // percent
constexpr size_t kStatusPower = 1;    // PowerState
constexpr uint16_t kStatusReadLength = 2;
enum PowerState : uint8_t { kOnBattery = 0, kCharging = 1, kFullyCharged = 2 };

// Notification codes: the 16-bit consumer usage of a notification report.
constexpr uint16_t kNotifySyncRequest = 0x0401;
constexpr uint16_t kNotifyProfileReload = 0x0402;
constexpr uint16_t kNotifyKeyPressed = 0x0403;
// High byte kNotifyProfileHigh: profile (code & 0x0F) selected on the device;
// kNotifyDpiStageHigh: the same, and DPI stage (code >> 4) & 0x0F.
constexpr uint8_t kNotifyProfileHigh = 0x10;
constexpr uint8_t kNotifyDpiStageHigh = 0x11;

constexpr uint16_t ProfileNotification(uint8_t profile)
{
    return static_cast<uint16_t>(kNotifyProfileHigh << 8 | (profile & 0x0F));
}
constexpr uint16_t DpiStageNotification(uint8_t stage, uint8_t profile)
{
    return static_cast<uint16_t>(kNotifyDpiStageHigh << 8 | (stage & 0x0F) << 4 | (profile & 0x0F));
}
constexpr uint8_t NotifiedProfile(uint16_t code)
{
    return static_cast<uint8_t>(code & 0x0F);
}
constexpr uint8_t NotifiedDpiStage(uint16_t code)
{
    return static_cast<uint8_t>((code >> 4) & 0x0F);
}

inline uint16_t GetU16(const uint8_t* bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline void SetU16(uint8_t* bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
