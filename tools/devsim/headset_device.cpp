#include "tools/devsim/headset_device.h"

#include "transport/device_table.h"

namespace devsim {

namespace {

constexpr size_t kSettingsSize = 512;

// Light report bytes and the light area layout: group, plane, light.
constexpr size_t kLightGroupByte = 1;
constexpr size_t kPlaneByte = 2;
constexpr size_t kFirstValue = 4;
constexpr uint8_t kGroupA = 0x22;
constexpr uint8_t kGroupB = 0x44;
constexpr uint8_t kFirstHalfPlane0 = 0xAA;  // 0xAA..0xAC first halves, 0xAD..0xAF second halves
constexpr size_t kLights = 13;
constexpr size_t kFirstHalfLights = 7;
constexpr size_t kPlanes = 3;
constexpr size_t kLightAreaSize = 2 * kPlanes * kLights;

}  // namespace

FirmwareImage HeadsetFirmware()
{
    FirmwareImage image;
    image.name = "headset";
    image.version = 0x0101;
    image.areas[static_cast<size_t>(MemoryArea::Info)] = BuildInfoBlock({0, 0, 0x13, 0, 0, 0, 0});
    std::vector<uint8_t> settings(kSettingsSize, 0);
    PutLightFields(settings, 0, {1, 4, 2, 1, 255, 0, 0});
    image.areas[static_cast<size_t>(MemoryArea::Settings)] = settings;
    image.areas[static_cast<size_t>(MemoryArea::Status)] = BuildStatus(100, kOnBattery);
    image.areas[static_cast<size_t>(MemoryArea::HeadsetLights)].assign(kLightAreaSize, 0);
    image.commands = {kCmdBeginConfig, kCmdEndConfig, kCmdReadInfoBlock, kCmdReadMemory,
                      kCmdWriteMemory, kCmdReadStatus, kCmdCheckLink};
    return image;
}

PortModel HeadsetPort()
{
    return {"headset", kHeadsetVendor, kHeadsetProduct, "sim-headset-1",
            {{3, -1, CollectionKind::HeadsetControl, InterfaceRole::CommandAndNotification}}};
}

bool ApplyHeadsetLightReport(CFirmware& firmware, const std::vector<uint8_t>& report)
{
    if (report.size() < kFirstValue + kFirstHalfLights || report[0] != kHeadsetLightReportId)
        return false;
    const uint8_t group = report[kLightGroupByte];
    const uint8_t planeCode = report[kPlaneByte];
    if ((group != kGroupA && group != kGroupB) || planeCode < kFirstHalfPlane0 || planeCode >= kFirstHalfPlane0 + 2 * kPlanes)
        return false;
    const size_t halfPlane = planeCode - kFirstHalfPlane0;
    const bool secondHalf = halfPlane >= kPlanes;
    const size_t plane = halfPlane % kPlanes;
    const size_t firstLight = secondHalf ? kFirstHalfLights : 0;
    const size_t count = secondHalf ? kLights - kFirstHalfLights : kFirstHalfLights;
    const size_t start = (group == kGroupA ? 0 : kPlanes * kLights) + plane * kLights + firstLight;
    const auto first = report.begin() + kFirstValue;
    return firmware.Write(MemoryArea::HeadsetLights, start,
                          std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(count)));
}

}  // namespace devsim
