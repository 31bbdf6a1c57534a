#include "tools/devsim/mouse_device.h"

#include "transport/device_table.h"

namespace devsim {

namespace {

constexpr uint8_t kMacroUnits = 32;  // 4 KB of macro memory
constexpr uint16_t kSensor = kSensor3395;  // 50 dpi per step from 50
constexpr size_t kRecoilSize = 4096;

// Key table positions of the eleven keys. The firmware keeps the two side
// buttons (keys 3 and 4) in swapped positions: the table does not follow key numbers.
constexpr std::array<size_t, kMouseKeyCount> kKeyAtPosition = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10};

struct FactoryStage {
    uint8_t enabled;
    uint16_t code;
    uint8_t red, green, blue;
};

// 400, 800, 1600, 3200 and 6400 dpi enabled; 12800 and 26000 in reserve.
constexpr FactoryStage kDpiStages[kDpiStageCount] = {
    {1, 7, 255, 0, 0},    {1, 15, 0, 255, 0},  {1, 31, 0, 0, 255},    {1, 63, 255, 255, 0},
    {1, 127, 0, 255, 255}, {0, 255, 255, 0, 255}, {0, 519, 255, 255, 255}};

std::vector<std::array<uint8_t, 3>> FactoryKeyPositions()
{
    std::vector<std::array<uint8_t, 3>> positions;
    for (size_t key : kKeyAtPosition)
        positions.push_back(kMouseDefaultKeyCodes[key]);
    return positions;
}

void PutProfileBlock(std::vector<uint8_t>& memory, uint8_t profile)
{
    const size_t start = profile * kMouseProfileSpan;
    memory[start + kBlockProfile] = profile;
    PutLightFields(memory, start, {static_cast<uint8_t>(profile % 11), 3, 2, 1, 255, 0, 0});
    memory[start + kBlockReportRate] = 3;
    memory[start + kBlockActiveDpiStage] = 1;
    for (size_t i = 0; i < kDpiStageCount; ++i) {
        const FactoryStage& stage = kDpiStages[i];
        const size_t at = start + DpiStageOffset(i);
        memory[at + kStageEnabled] = stage.enabled;
        PutU16(memory, at + kStageCodeX, stage.code);
        PutU16(memory, at + kStageCodeY, stage.code);
        memory[at + kStageRed] = stage.red;
        memory[at + kStageGreen] = stage.green;
        memory[at + kStageBlue] = stage.blue;
    }
    memory[start + kBlockBleSleep1] = 2;
    memory[start + kBlockBleSleep2] = 10;
    memory[start + kBlockSleep1] = 2;
    memory[start + kBlockSleep2] = 10;
    memory[start + kBlockDebounce] = 2;
    memory[start + kBlockLiftOff] = 0;
    memory[start + kBlockLogoLightMode] = 1;
}

}  // namespace

FirmwareImage MouseFirmware()
{
    FirmwareImage image;
    image.name = "mouse";
    image.version = kMouseCurrentFirmware;
    image.areas[static_cast<size_t>(MemoryArea::Info)] = BuildInfoBlock(
        {kMouseKeyCount, kMacroUnits, kInfoSetUpNew, kSensor, 50, 519, 50});
    std::vector<uint8_t> settings(kMouseProfileCount * kMouseProfileSpan, 0);
    for (uint8_t p = 0; p < kMouseProfileCount; ++p)
        PutProfileBlock(settings, p);
    settings[kMouseCurrentProfile] = 0;
    image.areas[static_cast<size_t>(MemoryArea::Settings)] = settings;
    image.areas[static_cast<size_t>(MemoryArea::KeyTable)] = BuildKeyTable(FactoryKeyPositions(), kKeyTableSize);
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
    return {"mouse-cable", kMakerVendor, kMouseCableProduct, "sim-mouse-1",
            {{0, 1, CollectionKind::Mouse, InterfaceRole::Passive},
             {0, 2, CollectionKind::Keyboard, InterfaceRole::Passive},
             {0, 3, CollectionKind::Consumer, InterfaceRole::Notification},
             {1, 1, CollectionKind::SystemControl, InterfaceRole::Passive},
             {1, 2, CollectionKind::VendorCommand, InterfaceRole::Command}}};
}

PortModel MouseReceiverPort()
{
    return {"mouse-receiver", kMakerVendor, kMouseReceiverProduct, "sim-receiver-1",
            {{0, -1, CollectionKind::BootMouse, InterfaceRole::Passive},
             {1, 1, CollectionKind::Keyboard, InterfaceRole::Passive},
             {1, 2, CollectionKind::SystemControl, InterfaceRole::Passive},
             {1, 3, CollectionKind::Consumer, InterfaceRole::Notification},
             {1, 4, CollectionKind::VendorCommand, InterfaceRole::Command}}};
}

}  // namespace devsim
