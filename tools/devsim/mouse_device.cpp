#include "tools/devsim/mouse_device.h"

namespace devsim {

namespace {

constexpr uint16_t kVendor = 0x320F;
constexpr uint16_t kCableProduct = 0x22A9;
constexpr uint16_t kReceiverProduct = 0x22AA;

constexpr uint8_t kKeyCount = 11;
constexpr uint8_t kMacroUnits = 32;  // 4 KB of macro memory
constexpr uint16_t kSensor = 0x3395;  // 50 dpi per step from 50
constexpr size_t kRecoilSize = 4096;

// Default codes of the eleven keys. The firmware keeps the two side buttons
// in swapped positions, as the real table does not follow key numbers.
const std::vector<std::array<uint8_t, 3>> kKeyPositions = {
    {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x08, 0x00},
    {0x10, 0x10, 0x00}, {0x13, 0x01, 0x00}, {0x13, 0x02, 0x00}, {0x13, 0x03, 0x00},
    {0xA0, 0x1B, 0x00}, {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02}};

struct DpiStage {
    uint8_t enabled;
    uint16_t code;
    uint8_t red, green, blue;
};

// 400, 800, 1600, 3200 and 6400 dpi enabled; 12800 and 26000 in reserve.
constexpr DpiStage kDpiStages[7] = {
    {1, 7, 255, 0, 0},    {1, 15, 0, 255, 0},  {1, 31, 0, 0, 255},    {1, 63, 255, 255, 0},
    {1, 127, 0, 255, 255}, {0, 255, 255, 0, 255}, {0, 519, 255, 255, 255}};

// Profile block bytes.
constexpr size_t kReportRate = 11;
constexpr size_t kFirstStage = 14;
constexpr size_t kStageSize = 9;
constexpr size_t kBleSleep1 = 77;
constexpr size_t kBleSleep2 = 78;
constexpr size_t kSleep1 = 79;
constexpr size_t kSleep2 = 80;
constexpr size_t kDebounce = 81;
constexpr size_t kLiftOff = 82;
constexpr size_t kLogoMode = 86;

void PutProfileBlock(std::vector<uint8_t>& memory, uint8_t profile)
{
    const size_t start = profile * kMouseProfileStride;
    memory[start] = profile;
    PutLightFields(memory, start, {static_cast<uint8_t>(profile % 11), 3, 2, 1, 255, 0, 0});
    memory[start + kReportRate] = 3;
    memory[start + kMouseBlockActiveDpi] = 1;
    for (size_t i = 0; i < 7; ++i) {
        const DpiStage& stage = kDpiStages[i];
        const size_t at = start + kFirstStage + i * kStageSize;
        memory[at] = stage.enabled;
        PutU16(memory, at + 2, stage.code);
        PutU16(memory, at + 4, stage.code);
        memory[at + 6] = stage.red;
        memory[at + 7] = stage.green;
        memory[at + 8] = stage.blue;
    }
    memory[start + kBleSleep1] = 2;
    memory[start + kBleSleep2] = 10;
    memory[start + kSleep1] = 2;
    memory[start + kSleep2] = 10;
    memory[start + kDebounce] = 2;
    memory[start + kLiftOff] = 0;
    memory[start + kLogoMode] = 1;
}

}  // namespace

FirmwareImage MouseFirmware()
{
    FirmwareImage image;
    image.name = "mouse";
    image.version = kMouseCurrentFirmware;
    image.areas[static_cast<size_t>(MemoryArea::Info)] = BuildInfoBlock(
        {kKeyCount, kMacroUnits, 0, kSensor, 50, 519, 50});
    std::vector<uint8_t> settings(kMouseProfileCount * kMouseProfileStride, 0);
    for (uint8_t p = 0; p < kMouseProfileCount; ++p)
        PutProfileBlock(settings, p);
    settings[0] = 0;  // current profile
    image.areas[static_cast<size_t>(MemoryArea::Settings)] = settings;
    image.areas[static_cast<size_t>(MemoryArea::KeyTable)] = BuildKeyTable(kKeyPositions, kKeyTableSize);
    image.areas[static_cast<size_t>(MemoryArea::Macro)].assign(kMacroAreaSize, 0);
    image.areas[static_cast<size_t>(MemoryArea::Recoil)].assign(kRecoilSize, 0);
    std::vector<uint8_t> status = BuildStatus(80, kOnBattery);
    status[kStatusWireless] = 1;  // on radio until its cable goes in
    image.areas[static_cast<size_t>(MemoryArea::Status)] = status;
    image.commands = {kCmdBeginConfig, kCmdEndConfig, kCmdReadInfoBlock, kCmdWriteInfoBlock,
                      kCmdReadMemory, kCmdWriteMemory, kCmdReadKeyTable, kCmdWriteKeyTable,
                      kCmdWriteMacroData, kCmdWriteRecoilData, kCmdReadStatus, kCmdCheckLink};
    return image;
}

PortModel MouseCablePort()
{
    return {"mouse-cable", kVendor, kCableProduct, "sim-mouse-1",
            {{0, 1, CollectionKind::Mouse, InterfaceRole::Passive},
             {0, 2, CollectionKind::Keyboard, InterfaceRole::Passive},
             {0, 3, CollectionKind::Consumer, InterfaceRole::Notification},
             {1, 1, CollectionKind::SystemControl, InterfaceRole::Passive},
             {1, 2, CollectionKind::VendorCommand, InterfaceRole::Command}}};
}

PortModel MouseReceiverPort()
{
    return {"mouse-receiver", kVendor, kReceiverProduct, "sim-receiver-1",
            {{0, -1, CollectionKind::BootMouse, InterfaceRole::Passive},
             {1, 1, CollectionKind::Keyboard, InterfaceRole::Passive},
             {1, 2, CollectionKind::SystemControl, InterfaceRole::Passive},
             {1, 3, CollectionKind::Consumer, InterfaceRole::Notification},
             {1, 4, CollectionKind::VendorCommand, InterfaceRole::Command}}};
}

}  // namespace devsim
