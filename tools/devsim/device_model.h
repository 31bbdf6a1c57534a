#pragma once
// What a device file describes: the interfaces a device shows on the bus
// and helpers for building factory memories.

#include "tools/devsim/firmware.h"
#include "tools/devsim/report_descriptors.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace devsim {

enum class InterfaceRole {
    Command,       // answers 64-byte command frames
    Notification,  // carries the device's consumer-page notifications
    Passive,       // an ordinary collection the program skips
    CommandAndNotification,  // the headset's single collection does both
};
inline bool CarriesCommands(InterfaceRole role)
{
    return role == InterfaceRole::Command || role == InterfaceRole::CommandAndNotification;
}
inline bool CarriesNotifications(InterfaceRole role)
{
    return role == InterfaceRole::Notification || role == InterfaceRole::CommandAndNotification;
}

struct InterfaceSpec {
    int interfaceNumber;  // -1: the device has one interface ("&mi_" left out)
    int collection;       // -1: the interface has one collection ("&col" left out)
    CollectionKind kind;
    InterfaceRole role;
};

// One USB device on the bus: the mouse's cable and its receiver are two.
struct PortModel {
    std::string name;
    uint16_t vendorId;
    uint16_t productId;
    std::string instance;
    std::vector<InterfaceSpec> interfaces;
};

struct InfoFields {
    uint8_t keyCount = 0;
    uint8_t macroUnits = 0;
    uint8_t marker = 0;
    uint16_t sensor = 0;
    uint8_t dpiStep = 0;
    uint16_t dpiMax = 0;
    uint16_t dpiBase = 0;
};
std::vector<uint8_t> BuildInfoBlock(const InfoFields& fields);

// The lighting part shared by the profile blocks of every lit device:
// effect, brightness, 4 - speed, direction, multi-colour, red, green, blue.
struct LightFields {
    uint8_t effect;
    uint8_t brightness;
    uint8_t speed;
    uint8_t multiColor;
    uint8_t red, green, blue;
};
void PutLightFields(std::vector<uint8_t>& memory, size_t blockStart, const LightFields& light);

// The two-interface layout of the keyboard and the mouse pad: keyboard,
// system and consumer collections on interface 0, the command collection
// as collection 4 of interface 1.
std::vector<InterfaceSpec> KeyboardStyleInterfaces();

std::vector<uint8_t> BuildKeyTable(const std::vector<std::array<uint8_t, 3>>& codes, size_t tableSize);
std::vector<uint8_t> BuildStatus(uint8_t battery, PowerState power);

// Sizes shared by several devices.
constexpr size_t kKeyTableSize = 512;
constexpr size_t kKeyColorGroupStride = 512;
constexpr size_t kMacroAreaSize = 255 * kMacroUnitSize;

}  // namespace devsim
