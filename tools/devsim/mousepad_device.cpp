#include "tools/devsim/mousepad_device.h"

#include "transport/device_table.h"

namespace devsim {

namespace {

constexpr size_t kSettingsSize = 512;
constexpr size_t kLedCount = 15;
constexpr size_t kLedCountByte = 9;

}  // namespace

FirmwareImage MousePadFirmware()
{
    FirmwareImage image;
    image.name = "mousepad";
    image.version = 0x0102;
    image.areas[static_cast<size_t>(MemoryArea::Info)] = BuildInfoBlock({0, 0, 0x13, 0, 0, 0, 0});
    std::vector<uint8_t> settings(kSettingsSize, 0);
    PutLightFields(settings, 0, {0, 4, 2, 1, 0, 255, 180});
    settings[kLedCountByte] = kLedCount;
    image.areas[static_cast<size_t>(MemoryArea::Settings)] = settings;
    image.areas[static_cast<size_t>(MemoryArea::Status)] = BuildStatus(0, kOnBattery);
    image.commands = {kCmdBeginConfig, kCmdEndConfig, kCmdReadInfoBlock, kCmdWriteInfoBlock, kCmdReadMemory,
                      kCmdWriteMemory, kCmdReadStatus, kCmdResumeLighting, kCmdCheckLink};
    return image;
}

PortModel MousePadPort()
{
    return {"mousepad", kMakerVendor, kMousePadProduct, "sim-mousepad-1", KeyboardStyleInterfaces()};
}

}  // namespace devsim
