#include "tools/devsim/command_names.h"

#include "transport/command_frame.h"

#include <algorithm>
#include <cctype>

namespace devsim {

namespace {

struct CommandLabel {
    uint8_t code;
    const char* name;
};

constexpr CommandLabel kCommandLabels[] = {
    {kCmdBeginConfig, "BeginConfig"},       {kCmdEndConfig, "EndConfig"},
    {kCmdReadInfoBlock, "ReadInfoBlock"},   {kCmdWriteInfoBlock, "WriteInfoBlock"},
    {kCmdReadMemory, "ReadMemory"},         {kCmdWriteMemory, "WriteMemory"},
    {kCmdReadKeyTable, "ReadKeyTable"},     {kCmdWriteKeyTable, "WriteKeyTable"},
    {kCmdReadKeyColors, "ReadKeyColors"},   {kCmdWriteKeyColors, "WriteKeyColors"},
    {kCmdStreamLightFrame, "StreamLightFrame"}, {kCmdWriteMacroData, "WriteMacroData"},
    {kCmdWriteRecoilData, "WriteRecoilData"},   {kCmdReadStatus, "ReadStatus"},
    {kCmdReadKeyAttributes, "ReadKeyAttributes"}, {kCmdResumeLighting, "ResumeLighting"},
    {kCmdCheckLink, "CheckLink"},
};

}  // namespace

const char* CommandName(uint8_t command)
{
    for (const CommandLabel& label : kCommandLabels)
        if (label.code == command)
            return label.name;
    return "Unknown";
}

std::optional<uint8_t> CommandByName(std::string_view name)
{
    for (const CommandLabel& label : kCommandLabels) {
        const std::string_view known = label.name;
        if (known.size() == name.size() &&
            std::equal(known.begin(), known.end(), name.begin(),
                       [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); }))
            return label.code;
    }
    return std::nullopt;
}

}  // namespace devsim
