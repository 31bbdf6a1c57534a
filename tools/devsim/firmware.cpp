#include "tools/devsim/firmware.h"

#include <algorithm>

namespace devsim {

namespace {

enum class Access { Control, Read, Write };

struct CommandRule {
    uint8_t code;
    Access access;
    MemoryArea area;  // unused by control commands
};

constexpr CommandRule kCommandRules[] = {
    {kCmdBeginConfig, Access::Control, MemoryArea::Info},
    {kCmdEndConfig, Access::Control, MemoryArea::Info},
    {kCmdReadInfoBlock, Access::Read, MemoryArea::Info},
    {kCmdWriteInfoBlock, Access::Write, MemoryArea::Info},
    {kCmdReadMemory, Access::Read, MemoryArea::Settings},
    {kCmdWriteMemory, Access::Write, MemoryArea::Settings},
    {kCmdReadKeyTable, Access::Read, MemoryArea::KeyTable},
    {kCmdWriteKeyTable, Access::Write, MemoryArea::KeyTable},
    {kCmdReadKeyColors, Access::Read, MemoryArea::KeyColors},
    {kCmdWriteKeyColors, Access::Write, MemoryArea::KeyColors},
    {kCmdStreamLightFrame, Access::Write, MemoryArea::LightStream},
    {kCmdWriteMacroData, Access::Write, MemoryArea::Macro},
    {kCmdWriteRecoilData, Access::Write, MemoryArea::Recoil},
    {kCmdReadStatus, Access::Read, MemoryArea::Status},
    {kCmdReadKeyAttributes, Access::Read, MemoryArea::KeyAttributes},
    {kCmdResumeLighting, Access::Control, MemoryArea::Info},
    {kCmdCheckLink, Access::Control, MemoryArea::Info},
};

const CommandRule* FindRule(uint8_t code)
{
    for (const CommandRule& rule : kCommandRules)
        if (rule.code == code)
            return &rule;
    return nullptr;
}

constexpr const char* kAreaNames[kMemoryAreaCount] = {
    "info", "settings", "keys", "key-attributes", "key-colors",
    "macro", "recoil", "stream", "status", "headset-lights"};

}  // namespace

const char* AreaName(MemoryArea area)
{
    return kAreaNames[static_cast<size_t>(area)];
}

std::optional<MemoryArea> AreaByName(std::string_view name)
{
    for (size_t i = 0; i < kMemoryAreaCount; ++i)
        if (name == kAreaNames[i])
            return static_cast<MemoryArea>(i);
    return std::nullopt;
}

void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes.at(at) = static_cast<uint8_t>(value & 0xFF);
    bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

CFirmware::CFirmware(FirmwareImage factory)
    : factory_(std::move(factory)), version_(factory_.version), areas_(factory_.areas)
{
}

void CFirmware::FactoryReset()
{
    areas_ = factory_.areas;
    PowerCycle();
}

void CFirmware::PowerCycle()
{
    inConfig_ = false;
    hostLighting_ = false;
}

size_t CFirmware::UsableSize(MemoryArea area) const
{
    const size_t size = Area(area).size();
    if (area != MemoryArea::Macro)
        return size;
    const std::vector<uint8_t>& info = Area(MemoryArea::Info);
    const size_t units = info.size() > kInfoMacroUnits ? info[kInfoMacroUnits] : 0;
    return std::min(size, units * kMacroUnitSize);
}

std::optional<std::vector<uint8_t>> CFirmware::Read(MemoryArea area, size_t offset, size_t length) const
{
    const std::vector<uint8_t>& bytes = Area(area);
    if (offset > UsableSize(area) || length > UsableSize(area) - offset)
        return std::nullopt;
    return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

bool CFirmware::Write(MemoryArea area, size_t offset, const std::vector<uint8_t>& bytes)
{
    if (offset > UsableSize(area) || bytes.size() > UsableSize(area) - offset)
        return false;
    std::copy(bytes.begin(), bytes.end(), areas_[Index(area)].begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

bool CFirmware::Supports(uint8_t command) const
{
    return std::find(factory_.commands.begin(), factory_.commands.end(), command) != factory_.commands.end();
}

CommandFrame CFirmware::Execute(const CommandFrame& request)
{
    // The reply echoes the request's header; data of reads replaces the payload.
    CommandFrame reply = request;
    reply[kFrameReportId] = kCommandReportId;
    if (StoredChecksum(request) != FrameChecksum(request))
        reply[kFrameStatus] = kStatusFailed;
    else
        reply[kFrameStatus] = RunCommand(request, reply);
    StoreChecksum(reply);
    return reply;
}

uint8_t CFirmware::RunCommand(const CommandFrame& request, CommandFrame& reply)
{
    const uint8_t command = request[kFrameCommand];
    const CommandRule* rule = FindRule(command);
    if (rule == nullptr || !Supports(command))
        return kStatusRefused;
    if (rule->access == Access::Control)
        return RunControl(command, reply);

    const size_t length = request[kFrameLength];
    const size_t offset = FrameOffset(request);
    if (length > kFramePayloadSize)
        return kStatusRefused;
    if (rule->access == Access::Read) {
        const auto data = Read(rule->area, offset, length);
        if (!data)
            return kStatusRefused;
        std::fill(reply.begin() + kFramePayload, reply.end(), 0);
        std::copy(data->begin(), data->end(), reply.begin() + kFramePayload);
        return 0;
    }
    const auto first = request.begin() + kFramePayload;
    if (!Write(rule->area, offset, std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(length))))
        return kStatusRefused;
    if (rule->area == MemoryArea::LightStream) {
        hostLighting_ = true;
        ++streamedChunks_;
    }
    return 0;
}

uint8_t CFirmware::RunControl(uint8_t command, CommandFrame& reply)
{
    switch (command) {
    case kCmdBeginConfig:
        inConfig_ = true;
        break;
    case kCmdEndConfig:
        inConfig_ = false;
        break;
    case kCmdResumeLighting:
        hostLighting_ = false;
        break;
    case kCmdCheckLink:
        // A device reached directly is always "linked".
        reply[kFrameLinkState] = kLinkedValue;
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace devsim
