#pragma once
// The battery display's input: the first bytes of a device's status block.

#include <cstddef>
#include <cstdint>

constexpr size_t kPowerLevelByte = 0;     // percent; above 100 counts as 100
constexpr size_t kPowerStateByte = 1;     // PowerState
constexpr size_t kPowerPhoneByte = 2;     // mouse pad: the phone on its charging pad
constexpr size_t kPowerWirelessByte = 3;  // non-zero: running on its radio
constexpr uint16_t kPowerBlockLength = 4;

enum PowerStateValue : uint8_t { kPowerOnBattery = 0, kPowerCharging = 1, kPowerFull = 2 };
enum PhoneOnPad : uint8_t { kPhoneNone = 0, kPhoneIphone = 1, kPhoneSamsung = 2, kPhoneOther = 3 };

struct PowerStatus {
    uint8_t level = 0;
    uint8_t power = kPowerOnBattery;
    uint8_t phone = kPhoneNone;
    bool wireless = false;
    bool operator==(const PowerStatus&) const = default;
};

// Missing bytes read as 0; the level is kept to 0..100.
constexpr PowerStatus PowerStatusFromBlock(const uint8_t* block, size_t length)
{
    const auto byteAt = [&](size_t at) -> uint8_t { return at < length ? block[at] : 0; };
    PowerStatus status;
    status.level = byteAt(kPowerLevelByte) > 100 ? 100 : byteAt(kPowerLevelByte);
    status.power = byteAt(kPowerStateByte);
    status.phone = byteAt(kPowerPhoneByte);
    status.wireless = byteAt(kPowerWirelessByte) != 0;
    return status;
}
