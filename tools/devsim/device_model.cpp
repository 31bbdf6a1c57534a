#include "tools/devsim/device_model.h"

namespace devsim {

std::vector<uint8_t> BuildInfoBlock(const InfoFields& fields)
{
    std::vector<uint8_t> info(kInfoBlockSize, 0);
    PutU16(info, kInfoMagic, kInfoMagicValue);
    info[kInfoKeyCount] = fields.keyCount;
    info[kInfoMacroUnits] = fields.macroUnits;
    info[kInfoSetUpMarker] = fields.marker;
    PutU16(info, kInfoSensor, fields.sensor);
    info[kInfoDpiStep] = fields.dpiStep;
    PutU16(info, kInfoDpiMax, fields.dpiMax);
    PutU16(info, kInfoDpiBase, fields.dpiBase);
    return info;
}

void PutLightFields(std::vector<uint8_t>& memory, size_t blockStart, const LightFields& light)
{
    const uint8_t bytes[] = {light.effect, light.brightness, static_cast<uint8_t>(4 - light.speed), 0,
                             light.multiColor, light.red, light.green, light.blue};
    for (size_t i = 0; i < sizeof bytes; ++i)
        memory.at(blockStart + 1 + i) = bytes[i];
}

std::vector<InterfaceSpec> KeyboardStyleInterfaces()
{
    return {{0, 1, CollectionKind::Keyboard, InterfaceRole::Passive},
            {0, 2, CollectionKind::SystemControl, InterfaceRole::Passive},
            {0, 3, CollectionKind::Consumer, InterfaceRole::Notification},
            {1, 1, CollectionKind::Keyboard, InterfaceRole::Passive},
            {1, 2, CollectionKind::Mouse, InterfaceRole::Passive},
            {1, 3, CollectionKind::SystemControl, InterfaceRole::Passive},
            {1, 4, CollectionKind::VendorCommand, InterfaceRole::Command}};
}

std::vector<uint8_t> BuildKeyTable(const std::vector<std::array<uint8_t, 3>>& codes, size_t tableSize)
{
    std::vector<uint8_t> table(tableSize, 0);
    for (size_t position = 0; position < codes.size() && position * 3 + 2 < tableSize; ++position)
        for (size_t b = 0; b < 3; ++b)
            table[position * 3 + b] = codes[position][b];
    return table;
}

std::vector<uint8_t> BuildStatus(uint8_t battery, PowerState power)
{
    std::vector<uint8_t> status(kStatusAreaSize, 0);
    status[kStatusBattery] = battery;
    status[kStatusPower] = power;
    return status;
}

}  // namespace devsim
