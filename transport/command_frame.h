#pragma once
// The 64-byte command frame shared by the program's command channel and the
// device simulator. All multi-byte numbers are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint8_t kCommandReportId = 4;
constexpr size_t kCommandFrameSize = 64;

// Byte positions in a request or reply.
constexpr size_t kFrameReportId = 0;
constexpr size_t kFrameChecksum = 1;  // 16 bits: sum of bytes 3..63
constexpr size_t kFrameCommand = 3;
constexpr size_t kFrameLength = 4;
constexpr size_t kFrameOffset = 5;  // 16 bits
constexpr size_t kFrameStatus = 7;
constexpr size_t kFramePayload = 8;
constexpr size_t kFramePayloadSize = kCommandFrameSize - kFramePayload;  // 56
// Through the receiver the program marks every request with 2 in this byte.
constexpr size_t kFrameReceiverMarker = 32;
constexpr uint8_t kReceiverMarkerValue = 2;
// A link-check reply carries 0xFF here when the mouse is linked.
constexpr size_t kFrameLinkState = 9;
constexpr uint8_t kLinkedValue = 0xFF;

// Device status in reply byte 7.
constexpr uint8_t kStatusFailed = 0xFF;
constexpr uint8_t kStatusRefused = 0xFE;

// Data bytes per frame for chunked commands.
constexpr uint8_t kCableChunk = 56;
constexpr uint8_t kReceiverChunk = 24;

enum CommandCode : uint8_t {
    kCmdBeginConfig = 0x01,
    kCmdEndConfig = 0x02,
    kCmdReadInfoBlock = 0x03,
    kCmdWriteInfoBlock = 0x04,
    kCmdReadMemory = 0x05,
    kCmdWriteMemory = 0x06,
    kCmdReadKeyTable = 0x07,
    kCmdWriteKeyTable = 0x09,
    kCmdReadKeyColors = 0x0A,
    kCmdWriteKeyColors = 0x0B,
    kCmdStreamLightFrame = 0x12,
    kCmdWriteMacroData = 0x15,
    kCmdWriteRecoilData = 0x17,
    kCmdReadStatus = 0x1A,
    kCmdReadKeyAttributes = 0x1B,
    kCmdResumeLighting = 0x1C,
    kCmdCheckLink = 0xAA,
};

// Result codes of every command operation.
enum CommandResult : int {
    kResultSuccess = 1,
    kResultNoReply = 0,  // channel not open, or no reply read
    kResultWriteFailed = -1,
    kResultNotLinked = -101,
    kResultStatusFailed = -102,  // status 0xFF
    kResultStatusRefused = -103,  // status 0xFE
    kResultBadBlockIndex = -201,
};

using CommandFrame = std::array<uint8_t, kCommandFrameSize>;

// 16-bit sum of bytes 3..63 (it never exceeds 16 bits).
inline uint16_t FrameChecksum(const CommandFrame& frame)
{
    uint16_t sum = 0;
    for (size_t i = kFrameCommand; i < kCommandFrameSize; ++i)
        sum = static_cast<uint16_t>(sum + frame[i]);
    return sum;
}

inline void StoreChecksum(CommandFrame& frame)
{
    const uint16_t sum = FrameChecksum(frame);
    frame[kFrameChecksum] = static_cast<uint8_t>(sum & 0xFF);
    frame[kFrameChecksum + 1] = static_cast<uint8_t>(sum >> 8);
}

inline uint16_t StoredChecksum(const CommandFrame& frame)
{
    return static_cast<uint16_t>(frame[kFrameChecksum] | (frame[kFrameChecksum + 1] << 8));
}

inline uint16_t FrameOffset(const CommandFrame& frame)
{
    return static_cast<uint16_t>(frame[kFrameOffset] | (frame[kFrameOffset + 1] << 8));
}

inline void SetFrameOffset(CommandFrame& frame, uint16_t offset)
{
    frame[kFrameOffset] = static_cast<uint8_t>(offset & 0xFF);
    frame[kFrameOffset + 1] = static_cast<uint8_t>(offset >> 8);
}
