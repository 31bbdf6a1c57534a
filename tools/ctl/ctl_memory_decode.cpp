#include "tools/ctl/ctl_memory.h"

#include "panels/macro_image.h"
#include "panels/macro_recorder.h"
#include "panels/recoil_patterns.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string DescribeStep(const DeviceMacroEvent& step)
{
    MacroEvent event;
    event.down = (step.kind & kDeviceEventDown) != 0;
    event.type = step.kind & 0x7F;
    event.button = step.button;
    const MacroRowLabel label = LabelOfStep(event);
    std::string name = *label.textId != '\0' ? label.textId : Format("type %u, button %u", event.type, step.button);
    if (label.isMovement)
        name += Format(" %u", step.button);
    else
        name += event.down ? " down" : " up";
    return name + Format(", then %u ms", step.delay);
}

std::optional<MacroImage> Unpack(const std::vector<uint8_t>& memory, std::vector<std::string>& lines)
{
    std::string why;
    std::optional<MacroImage> image = UnpackMacroImage(memory, &why);
    if (!image)
        lines.push_back(why);
    return image;
}

// A block in the recoil pattern shape, as bullets; other blocks step by step.
void DescribePattern(const std::vector<DeviceMacroEvent>& steps, std::vector<std::string>& lines)
{
    const bool bullets = steps.size() % kRecoilStepsPerBullet == 0;
    for (size_t i = 0; bullets && i < steps.size(); i += kRecoilStepsPerBullet) {
        const DeviceMacroEvent& across = steps[i + 2];
        const DeviceMacroEvent& down = steps[i + 3];
        const std::string bullet = Format("    bullet %u: %u ", static_cast<unsigned>(i / kRecoilStepsPerBullet + 1),
                                          across.button);
        lines.push_back(bullet + ((across.kind & kDeviceEventDown) ? "left" : "right") + Format(", %u ", down.button) +
                        ((down.kind & kDeviceEventDown) ? "up" : "down") + Format(", then %u ms", down.delay));
    }
    if (!bullets)
        for (const DeviceMacroEvent& step : steps)
            lines.push_back("    " + DescribeStep(step));
}

}  // namespace

std::optional<std::vector<uint8_t>> ParseAreaDump(const std::string& dump)
{
    const size_t open = dump.find('(');
    if (open == std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const unsigned long size = std::strtoul(dump.c_str() + open + 1, &end, 10);
    if (end == dump.c_str() + open + 1 || std::string_view(end).rfind(" bytes)", 0) != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes(size, 0);
    std::istringstream lines(dump.substr(dump.find('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;  // "*": zero lines left out
        size_t at = std::strtoul(line.c_str(), nullptr, 16);
        std::istringstream cells(line.substr(colon + 1));
        for (std::string cell; cells >> cell; ++at) {
            if (at >= bytes.size())
                return std::nullopt;
            bytes[at] = static_cast<uint8_t>(std::strtoul(cell.c_str(), nullptr, 16));
        }
    }
    return bytes;
}

std::vector<std::string> DescribeMacroMemory(const std::vector<uint8_t>& memory)
{
    std::vector<std::string> lines;
    const std::optional<MacroImage> image = Unpack(memory, lines);
    if (!image)
        return lines;
    lines.push_back(Format("image of %u bytes, macros: %u", image->length, static_cast<unsigned>(image->blocks.size())));
    for (size_t i = 0; i < image->blocks.size(); ++i) {
        const auto& steps = image->blocks[i];
        lines.push_back(Format("macro %u (image position), at offset %u, %u steps:", static_cast<unsigned>(i),
                               image->offsets[i], static_cast<unsigned>(steps.size())));
        for (const DeviceMacroEvent& step : steps)
            lines.push_back("    " + DescribeStep(step));
    }
    return lines;
}

std::vector<std::string> DescribeRecoilMemory(const std::vector<uint8_t>& memory)
{
    std::vector<std::string> lines;
    const std::optional<MacroImage> image = Unpack(memory, lines);
    if (!image)
        return lines;
    lines.push_back(Format("image of %u bytes, patterns: %u", image->length, static_cast<unsigned>(image->blocks.size())));
    for (size_t i = 0; i < image->blocks.size(); ++i) {
        lines.push_back(Format("pattern %u, at offset %u, %u steps:", static_cast<unsigned>(i + 1), image->offsets[i],
                               static_cast<unsigned>(image->blocks[i].size())));
        DescribePattern(image->blocks[i], lines);
    }
    return lines;
}

