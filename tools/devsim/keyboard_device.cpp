#include "tools/devsim/keyboard_device.h"

#include "transport/device_table.h"

namespace devsim {

namespace {

constexpr uint8_t kKeyPositions = 126;
constexpr uint8_t kMacroUnits = 64;  // 8 KB of macro memory
constexpr size_t kColorGroups = 5;
constexpr size_t kSettingsSize = 512;
constexpr uint8_t kNoLight = 0xFF;

// Default codes of key numbers 0..125, in the keyboard's position order;
// numbers 126..169 are unused (20 00 00).
const std::vector<std::array<uint8_t, 3>> kDefaultCodes = {
    {0x20, 0, 0x29}, {0x20, 0, 0x3A}, {0x20, 0, 0x3B}, {0x20, 0, 0x3C}, {0x20, 0, 0x3D}, {0x20, 0, 0x3E},
    {0x20, 0, 0x3F}, {0x20, 0, 0x40}, {0x20, 0, 0x41}, {0x20, 0, 0x42}, {0x20, 0, 0x43}, {0x20, 0, 0x44},
    {0x20, 0, 0x45}, {0x20, 0, 0x46}, {0x20, 0, 0x47}, {0x20, 0, 0x48}, {0xA0, 0x1B, 0}, {0xA0, 0x24, 0},
    {0x20, 0, 0}, {0x20, 0, 0}, {0x20, 0, 0}, {0x20, 0, 0x35}, {0x20, 0, 0x1E}, {0x20, 0, 0x1F},
    {0x20, 0, 0x20}, {0x20, 0, 0x21}, {0x20, 0, 0x22}, {0x20, 0, 0x23}, {0x20, 0, 0x24}, {0x20, 0, 0x25},
    {0x20, 0, 0x26}, {0x20, 0, 0x27}, {0x20, 0, 0x2D}, {0x20, 0, 0x2E}, {0x20, 0, 0x2A}, {0x20, 0, 0x49},
    {0x20, 0, 0x4A}, {0x20, 0, 0x4B}, {0x20, 0, 0x53}, {0x20, 0, 0x54}, {0x20, 0, 0x55}, {0x20, 0, 0x56},
    {0x20, 0, 0x2B}, {0x20, 0, 0x14}, {0x20, 0, 0x1A}, {0x20, 0, 0x08}, {0x20, 0, 0x15}, {0x20, 0, 0x17},
    {0x20, 0, 0x1C}, {0x20, 0, 0x18}, {0x20, 0, 0x0C}, {0x20, 0, 0x12}, {0x20, 0, 0x13}, {0x20, 0, 0x2F},
    {0x20, 0, 0x30}, {0x20, 0, 0x31}, {0x20, 0, 0x4C}, {0x20, 0, 0x4D}, {0x20, 0, 0x4E}, {0x20, 0, 0x5F},
    {0x20, 0, 0x60}, {0x20, 0, 0x61}, {0x20, 0, 0x32}, {0x20, 0, 0x39}, {0x20, 0, 0x04}, {0x20, 0, 0x16},
    {0x20, 0, 0x07}, {0x20, 0, 0x09}, {0x20, 0, 0x0A}, {0x20, 0, 0x0B}, {0x20, 0, 0x0D}, {0x20, 0, 0x0E},
    {0x20, 0, 0x0F}, {0x20, 0, 0x33}, {0x20, 0, 0x34}, {0x20, 0, 0x28}, {0x20, 0, 0x5C}, {0x20, 0, 0x5D},
    {0x20, 0, 0x5E}, {0x20, 0, 0x8A}, {0x20, 0, 0x8B}, {0x20, 0, 0x90}, {0x20, 0, 0x91}, {0x20, 0, 0x88},
    {0x20, 0x02, 0}, {0x20, 0, 0x1D}, {0x20, 0, 0x1B}, {0x20, 0, 0x06}, {0x20, 0, 0x19}, {0x20, 0, 0x05},
    {0x20, 0, 0x11}, {0x20, 0, 0x10}, {0x20, 0, 0x36}, {0x20, 0, 0x37}, {0x20, 0, 0x38}, {0x20, 0x20, 0},
    {0x20, 0, 0x52}, {0x20, 0, 0x59}, {0x20, 0, 0x5A}, {0x20, 0, 0x5B}, {0x20, 0, 0x87}, {0x20, 0, 0x89},
    {0x20, 0, 0x64}, {0x20, 0, 0x85}, {0x20, 0, 0}, {0x20, 0x01, 0}, {0x20, 0x08, 0}, {0x20, 0x04, 0},
    {0x20, 0, 0x2C}, {0x20, 0x40, 0}, {0xA0, 0x01, 0}, {0x20, 0, 0x65}, {0x20, 0x10, 0}, {0x20, 0, 0x50},
    {0x20, 0, 0x51}, {0x20, 0, 0x4F}, {0x20, 0, 0x62}, {0x20, 0, 0x63}, {0x20, 0, 0x58}, {0x20, 0, 0x57},
    {0xD0, 0xA2, 0x01}, {0xD0, 0xA2, 0x02}, {0xD0, 0xA2, 0x03}, {0xD0, 0xA2, 0x04}, {0xD0, 0xA2, 0x05},
    {0x20, 0x80, 0}};

bool IsEmptyCode(const std::array<uint8_t, 3>& code)
{
    return code[0] == 0x20 && code[1] == 0 && code[2] == 0;
}

// Each position with a key lights the LED of the same number.
std::vector<uint8_t> KeyAttributes()
{
    std::vector<uint8_t> attributes(kKeyTableSize, kNoLight);
    for (size_t position = 0; position < kDefaultCodes.size(); ++position)
        if (!IsEmptyCode(kDefaultCodes[position]))
            attributes[position] = static_cast<uint8_t>(position);
    return attributes;
}

// Group g starts as one colour for every key: red, green, blue, white, amber.
std::vector<uint8_t> KeyColorGroups()
{
    constexpr uint8_t kGroupColors[kColorGroups][3] = {
        {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {255, 160, 0}};
    std::vector<uint8_t> colors(kColorGroups * kKeyColorGroupStride, 0);
    for (size_t g = 0; g < kColorGroups; ++g)
        for (size_t light = 0; light < kKeyPositions; ++light)
            for (size_t c = 0; c < 3; ++c)
                colors[g * kKeyColorGroupStride + light * 3 + c] = kGroupColors[g][c];
    return colors;
}

// Profile block bytes beyond the light fields.
constexpr size_t kFamilyCode = 18;
constexpr size_t kSixKeyFlag = 20;
constexpr size_t kReportRate = 22;

std::vector<uint8_t> Settings()
{
    std::vector<uint8_t> memory(kSettingsSize, 0);
    for (uint8_t p = 0; p < kKeyboardProfileCount; ++p) {
        const size_t start = p * kKeyboardProfileStride;
        memory[start] = p;
        PutLightFields(memory, start, {static_cast<uint8_t>(4 + p), 4, 2, 1, 0, 160, 255});
        memory[start + kFamilyCode] = 1;
        memory[start + kSixKeyFlag] = 0;
        memory[start + kReportRate] = 3;
    }
    memory[0] = 0;  // current profile
    return memory;
}

}  // namespace

FirmwareImage KeyboardFirmware()
{
    FirmwareImage image;
    image.name = "keyboard";
    image.version = 0x0103;
    image.areas[static_cast<size_t>(MemoryArea::Info)] = BuildInfoBlock({kKeyPositions, kMacroUnits, 0x13, 0, 0, 0, 0});
    image.areas[static_cast<size_t>(MemoryArea::Settings)] = Settings();
    image.areas[static_cast<size_t>(MemoryArea::KeyTable)] = BuildKeyTable(kDefaultCodes, kKeyTableSize);
    image.areas[static_cast<size_t>(MemoryArea::KeyAttributes)] = KeyAttributes();
    image.areas[static_cast<size_t>(MemoryArea::KeyColors)] = KeyColorGroups();
    image.areas[static_cast<size_t>(MemoryArea::Macro)].assign(kMacroAreaSize, 0);
    image.areas[static_cast<size_t>(MemoryArea::LightStream)].assign(kKeyTableSize, 0);
    image.areas[static_cast<size_t>(MemoryArea::Status)] = BuildStatus(100, kFullyCharged);
    image.commands = {kCmdBeginConfig, kCmdEndConfig, kCmdReadInfoBlock, kCmdWriteInfoBlock, kCmdReadMemory,
                      kCmdWriteMemory, kCmdReadKeyTable, kCmdWriteKeyTable, kCmdReadKeyColors,
                      kCmdWriteKeyColors, kCmdStreamLightFrame, kCmdWriteMacroData, kCmdReadStatus,
                      kCmdReadKeyAttributes, kCmdResumeLighting, kCmdCheckLink};
    return image;
}

PortModel KeyboardPort()
{
    return {"keyboard", kMakerVendor, kKeyboardProduct, "sim-keyboard-1", KeyboardStyleInterfaces()};
}

}  // namespace devsim
