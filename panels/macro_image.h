#pragma once
// The event-list image the mouse and the keyboard keep macros in (and the
// mouse its recoil patterns), little-endian:
//
//   0  magic 0x55AA          2  total length        4  block count n
//   6  reserved (zero)      16  n block offsets from the image start
//   then per block: event count (16 bits), 2 reserved bytes, 4 bytes a step
//
// A step is its delay (16 bits), Type | 0x80 when it goes down, and Button.

#include "panels/macro_event.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr uint16_t kMacroImageMagic = 0x55AA;
constexpr size_t kImageLengthAt = 2;
constexpr size_t kImageCountAt = 4;
constexpr size_t kImageHeaderSize = 16;
constexpr size_t kImageOffsetSize = 2;
constexpr size_t kBlockHeaderSize = 4;
constexpr size_t kDeviceEventSize = 4;
constexpr uint8_t kDeviceEventDown = 0x80;
constexpr size_t kMaxImageSize = 65535;  // the length and offset fields are 16 bits

// The four bytes of one step; the delay is held to 0..65535 and Button to
// 0..255 rather than cut to their low bits.
std::array<uint8_t, kDeviceEventSize> EncodeDeviceEvent(const MacroEvent& event);

// Bytes of an image holding these blocks.
size_t MacroImageSize(const std::vector<std::vector<MacroEvent>>& blocks);
// The image, or nothing when it would exceed kMaxImageSize.
std::optional<std::vector<uint8_t>> PackMacroImage(const std::vector<std::vector<MacroEvent>>& blocks);

// One step as the device holds it.
struct DeviceMacroEvent {
    uint16_t delay = 0;
    uint8_t kind = 0;  // Type | 0x80 when down
    uint8_t button = 0;
    friend bool operator==(const DeviceMacroEvent&, const DeviceMacroEvent&) = default;
};

struct MacroImage {
    uint16_t length = 0;
    std::vector<uint16_t> offsets;
    std::vector<std::vector<DeviceMacroEvent>> blocks;
};

// Reads an image back from device memory; nothing when the magic is wrong or
// a length, offset or count points outside the bytes given. `why` says which.
std::optional<MacroImage> UnpackMacroImage(const std::vector<uint8_t>& bytes, std::string* why = nullptr);

