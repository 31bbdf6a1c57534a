#include "tools/ctl/ctl_decode.h"

#include "transport/command_frame.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

std::string Format(const char* format, unsigned value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct NamedCode {
    uint8_t type;
    uint8_t value1;
    uint8_t value2;
    const char* name;
};

// Functions known by their full code.
constexpr std::array<NamedCode, 18> kNamedFunctions = {{
    {0x00, 0x00, 0x00, "none"},
    {0x10, 0x01, 0x00, "left button"},
    {0x10, 0x02, 0x00, "right button"},
    {0x10, 0x04, 0x00, "middle button"},
    {0x10, 0x08, 0x00, "back button"},
    {0x10, 0x10, 0x00, "forward button"},
    {0x13, 0x01, 0x00, "DPI up"},
    {0x13, 0x02, 0x00, "DPI down"},
    {0x13, 0x03, 0x00, "DPI cycle"},
    {0x16, 0x00, 0x00, "DPI shift"},
    {0x23, 0x00, 0x00, "show window"},
    {0x40, 0x01, 0x00, "system power"},
    {0x40, 0x02, 0x00, "system sleep"},
    {0x40, 0x04, 0x00, "system wake-up"},
    {0xA0, 0x00, 0x00, "off"},
    {0xA0, 0x01, 0x00, "Fn"},
    {0xA0, 0x02, 0x00, "smart key"},
    {0xA0, 0x1B, 0x00, "game mode"},
}};

constexpr std::array<const char*, 8> kModifierNames = {"LCtrl", "LShift", "LAlt", "LWin",
                                                        "RCtrl", "RShift", "RAlt", "RWin"};
constexpr std::array<const char*, 9> kShortcutNames = {"cut",        "copy", "paste", "undo", "select all",
                                                        "find",       "new",  "save",  "open"};

std::string KeyboardKey(uint8_t modifiers, uint8_t usage)
{
    std::string text;
    for (size_t bit = 0; bit < kModifierNames.size(); ++bit) {
        if ((modifiers & (1u << bit)) != 0)
            text += std::string(text.empty() ? "" : "+") + kModifierNames[bit];
    }
    if (usage != 0) {
        if (!text.empty())
            text += '+';
        text += Format("key usage 0x%02X", usage);
    }
    return text.empty() ? "keyboard key (none)" : "keyboard " + text;
}

std::string DescribeByType(uint8_t type, uint8_t value1, uint8_t value2)
{
    const unsigned count = value1 >> 4;
    const unsigned delay = value1 & 0x0F;
    switch (type) {
    case 0x11:
        return std::string("horizontal swing ") + ((value2 & 0x80) ? "right" : "left") +
               Format(", %u times", count) + Format(", delay %u", delay);
    case 0x12:
        return std::string("wheel ") + ((value2 & 0x80) ? "down" : "up") + Format(", %u times", count) +
               Format(", delay %u", delay);
    case 0x14:
        return Format("fire key, interval %u", value1) + Format(", %u shots", value2);
    case 0x16:
        return "DPI shift";
    case 0x20:
        return KeyboardKey(value1, value2);
    case 0x22:
        return value2 < kShortcutNames.size() ? std::string("shortcut ") + kShortcutNames[value2]
                                              : Format("shortcut %u (unknown)", value2);
    case 0x30:
        return Format("media / consumer usage 0x%04X", static_cast<unsigned>(value1 | (value2 << 8)));
    case 0x70:
        return Format("macro %u", value1) + Format(", repeat mode %u", value2);
    case 0x71:
        return Format("macro %u", value1) + Format(", repeated %u times", value2);
    case 0x72:
        return Format("recoil pattern %u", value1 + 1u);
    case 0xB0:
        return "key combination";
    case 0xD0:
        return Format("keyboard macro key M%u", value2);
    default:
        return "unknown function";
    }
}

// Red, green and blue as "#RRGGBB".
std::string Colour(const uint8_t* rgb)
{
    return Format("#%02X", rgb[0]) + Format("%02X", rgb[1]) + Format("%02X", rgb[2]);
}

const char* YesNo(uint8_t value)
{
    return value != 0 ? "on" : "off";
}

}  // namespace

const char* ResultText(int result)
{
    switch (result) {
    case kResultSuccess:
        return "success";
    case kResultNoReply:
        return "no reply from the device (or the channel is not open)";
    case kResultWriteFailed:
        return "sending the request failed or timed out";
    case kResultNotLinked:
        return "the mouse is not linked to its receiver";
    case kResultStatusFailed:
        return "the device reported a failure (status 0xFF)";
    case kResultStatusRefused:
        return "the device refused the request (status 0xFE)";
    case kResultBadBlockIndex:
        return "bad block index";
    default:
        return "unknown result";
    }
}

std::string HexBytes(const uint8_t* bytes, size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += Format(i == 0 ? "%02x" : " %02x", bytes[i]);
    return text;
}

Fields DecodeInfoBlock(const uint8_t* block)
{
    const unsigned magic = GetU16(block, kInfoMagic);
    const uint8_t marker = block[kInfoSetUpMarker];
    std::string setUp = marker == kInfoSetUpDone  ? Format("yes (0x%02X)", marker)
                        : marker == kInfoSetUpNew ? Format("no, a new device (0x%02X)", marker)
                                                  : Format("unknown marker 0x%02X", marker);
    return {
        {"magic", Format("0x%04X", magic) + (magic == kInfoMagicValue ? " (valid)" : " (INVALID: expected 0x55AA)")},
        {"keys", Format("%u", block[kInfoKeyCount])},
        {"key table", Format("%u bytes", static_cast<unsigned>(block[kInfoKeyCount] * kKeyCodeSize))},
        {"macro memory", Format("%u bytes", static_cast<unsigned>(block[kInfoMacroUnits] * kMacroUnitSize))},
        {"set up by the program", setUp},
        {"sensor", Format("0x%04X", GetU16(block, kInfoSensor))},
        {"DPI step", Format("%u", block[kInfoDpiStep])},
        {"highest DPI position", Format("%u", GetU16(block, kInfoDpiMax))},
        {"DPI base", Format("%u", GetU16(block, kInfoDpiBase))},
        {"raw", HexBytes(block, kInfoBlockSize)},
    };
}

Fields DecodeMouseSettings(const uint8_t* block)
{
    Fields fields = {
        {"profile", Format("%u", block[kBlockProfile])},
        {"light effect (device code)", Format("%u", block[kBlockLightEffect])},
        {"brightness (0..4)", Format("%u", block[kBlockBrightness])},
        {"speed (0..4)", Format("%d", kMouseSpeedMax - block[kBlockSpeed])},
        {"direction", Format("%u", block[kBlockDirection])},
        {"multi-colour", YesNo(block[kBlockMultiColor])},
        {"light colour", Colour(block + kBlockRed)},
        {"report rate choice (0..3)", Format("%u", block[kBlockReportRate])},
        {"active DPI stage", Format("%u", block[kBlockActiveDpiStage])},
    };
    for (unsigned stage = 0; stage < kDpiStageCount; ++stage) {
        const uint8_t* s = block + DpiStageOffset(stage);
        std::string value = std::string(s[kStageEnabled] != 0 ? "enabled" : "disabled") +
                            Format(", X code %u", GetU16(s, kStageCodeX)) + Format(", Y code %u", GetU16(s, kStageCodeY)) +
                            (s[kStageSeparateXY] != 0 ? " (separate X/Y)" : "") + ", colour " + Colour(s + kStageRed);
        fields.emplace_back(Format("DPI stage %u", stage), value);
    }
    const std::array<std::pair<const char*, size_t>, 9> choices = {{
        {"Bluetooth sleep time 1", kBlockBleSleep1},
        {"Bluetooth sleep time 2", kBlockBleSleep2},
        {"sleep time 1", kBlockSleep1},
        {"sleep time 2", kBlockSleep2},
        {"key debounce choice", kBlockDebounce},
        {"lift-off distance choice", kBlockLiftOff},
        {"linear calibration", kBlockLinearCalibration},
        {"ripple control", kBlockRipple},
        {"logo light mode", kBlockLogoLightMode},
    }};
    for (const auto& [label, at] : choices)
        fields.emplace_back(label, Format("%u", block[at]));
    return fields;
}

std::string DescribeKeyFunction(uint8_t type, uint8_t value1, uint8_t value2)
{
    for (const NamedCode& named : kNamedFunctions) {
        if (named.type == type && named.value1 == value1 && named.value2 == value2)
            return named.name;
    }
    return DescribeByType(type, value1, value2);
}

int MouseKeyWithDefault(const uint8_t* code)
{
    for (size_t key = 0; key < kMouseDefaultKeyCodes.size(); ++key) {
        const auto& candidate = kMouseDefaultKeyCodes[key];
        if (candidate[0] == code[0] && candidate[1] == code[1] && candidate[2] == code[2])
            return static_cast<int>(key);
    }
    return -1;
}

std::string DescribeNotification(uint16_t code)
{
    if (code == kNotifySyncRequest)
        return "sync request: the device's settings changed";
    if (code == kNotifyProfileReload)
        return "profile reload request";
    if (code == kNotifyKeyPressed)
        return "key pressed (reactive lighting)";
    if ((code >> 8) == kNotifyProfileHigh)
        return Format("device profile %u selected", NotifiedProfile(code));
    if ((code >> 8) == kNotifyDpiStageHigh)
        return Format("device profile %u", NotifiedProfile(code)) + Format(", DPI stage %u", NotifiedDpiStage(code));
    return "not a known notification";
}
