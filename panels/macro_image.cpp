#include "panels/macro_image.h"

#include <algorithm>

namespace {

void PutU16(std::vector<uint8_t>& bytes, size_t at, size_t value)
{
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

uint16_t GetU16(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

}  // namespace

std::array<uint8_t, kDeviceEventSize> EncodeDeviceEvent(const MacroEvent& event)
{
    const auto delay = static_cast<uint16_t>(std::clamp<long long>(event.delay, 0, kMaxMacroDelay));
    const auto kind = static_cast<uint8_t>((event.type & 0x7F) | (event.down ? kDeviceEventDown : 0));
    return {static_cast<uint8_t>(delay & 0xFF), static_cast<uint8_t>(delay >> 8), kind,
            static_cast<uint8_t>(std::clamp(event.button, 0, 255))};
}

size_t MacroImageSize(const std::vector<std::vector<MacroEvent>>& blocks)
{
    size_t size = kImageHeaderSize;
    for (const std::vector<MacroEvent>& block : blocks)
        size += kImageOffsetSize + kBlockHeaderSize + kDeviceEventSize * block.size();
    return size;
}

std::optional<std::vector<uint8_t>> PackMacroImage(const std::vector<std::vector<MacroEvent>>& blocks)
{
    const size_t size = MacroImageSize(blocks);
    if (size > kMaxImageSize)
        return std::nullopt;
    std::vector<uint8_t> image(size, 0);
    PutU16(image, 0, kMacroImageMagic);
    PutU16(image, kImageLengthAt, size);
    PutU16(image, kImageCountAt, blocks.size());
    size_t next = kImageHeaderSize + kImageOffsetSize * blocks.size();
    for (size_t i = 0; i < blocks.size(); ++i) {
        PutU16(image, kImageHeaderSize + kImageOffsetSize * i, next);
        PutU16(image, next, blocks[i].size());
        next += kBlockHeaderSize;
        for (const MacroEvent& event : blocks[i]) {
            const auto bytes = EncodeDeviceEvent(event);
            std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(next));
            next += kDeviceEventSize;
        }
    }
    return image;
}

std::optional<MacroImage> UnpackMacroImage(const std::vector<uint8_t>& bytes, std::string* why)
{
    auto refuse = [why](const char* reason) -> std::optional<MacroImage> {
        if (why != nullptr)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.size() < kImageHeaderSize || GetU16(bytes, 0) != kMacroImageMagic)
        return refuse("no image: the magic number is missing");
    MacroImage image;
    image.length = GetU16(bytes, kImageLengthAt);
    const size_t count = GetU16(bytes, kImageCountAt);
    if (image.length > bytes.size() || kImageHeaderSize + kImageOffsetSize * count > image.length)
        return refuse("the image's length does not cover its block offsets");
    for (size_t i = 0; i < count; ++i) {
        const size_t offset = GetU16(bytes, kImageHeaderSize + kImageOffsetSize * i);
        if (offset + kBlockHeaderSize > image.length)
            return refuse("a block offset points past the image's length");
        const size_t events = GetU16(bytes, offset);
        if (offset + kBlockHeaderSize + kDeviceEventSize * events > image.length)
            return refuse("a block's events run past the image's length");
        std::vector<DeviceMacroEvent> block;
        for (size_t at = offset + kBlockHeaderSize; block.size() < events; at += kDeviceEventSize)
            block.push_back({GetU16(bytes, at), bytes[at + 2], bytes[at + 3]});
        image.offsets.push_back(static_cast<uint16_t>(offset));
        image.blocks.push_back(std::move(block));
    }
    return image;
}
