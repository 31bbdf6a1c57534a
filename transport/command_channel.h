#pragma once
// The request/reply channel to a device's control interface: one 64-byte
// frame out, one 64-byte reply back, on the cable or through the receiver,
// and the command operations built on it. Every operation returns a
// CommandResult (transport/command_frame.h).
//
// Any thread may call any operation. Three recursive locks order the
// traffic: the command or stream lock around each frame's exchange, then the
// transfer lock around each write and each read.

#include "transport/command_frame.h"
#include "transport/device_memory.h"
#include "transport/hid_device.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

constexpr uint16_t kMaxBlockSize = 512;
constexpr int kCableMode = 1;
constexpr int kReceiverMode = 2;

class CCommandChannel {
public:
    CCommandChannel() = default;
    CCommandChannel(const CCommandChannel&) = delete;
    CCommandChannel& operator=(const CCommandChannel&) = delete;

    // The page opens and closes these itself (read, write, overlapped, shared).
    CHidDevice& CableInterface() { return cable_; }
    CHidDevice& ReceiverInterface() { return receiver_; }

    void SetOpen(bool open) { open_ = open; }
    bool IsOpen() const { return open_; }
    // While suspended nothing is sent: writes report success, reads report 0.
    void SetSuspended(bool suspended) { suspended_ = suspended; }
    bool IsSuspended() const { return suspended_; }
    bool IsBusy() const { return busy_ > 0; }

    // kReceiverMode selects the receiver; anything else the cable.
    void SetConnectionMode(int mode);
    bool InReceiverMode() const { return receiverMode_; }
    uint8_t MaxChunk() const { return maxChunk_; }

    // The key table's length; sizes over 512 are refused and change nothing.
    bool SetBlockSize(uint16_t size);
    uint16_t BlockSize() const { return blockSize_; }

    // One exchange, traced. The request is padded with zeros to 64 bytes.
    int Transfer(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                 uint32_t* bytesRead);
    // One exchange without traces and with the shorter receiver time-out.
    int TransferQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                      uint32_t* bytesRead);

    int BeginConfig();
    int EndConfig();
    // The destination is written only when every chunk succeeded.
    int ReadInfoBlock(uint8_t* block);  // kInfoBlockSize bytes
    int WriteInfoBlock(const uint8_t* block);
    int ReadMemory(uint8_t* data, uint16_t length, uint16_t baseOffset);
    int WriteMemory(const uint8_t* data, uint16_t length, uint16_t baseOffset);
    int ReadKeyTable(uint8_t* table);  // BlockSize() bytes
    int WriteKeyTable(const uint8_t* table, int blockIndex);
    int ReadKeyColors(uint8_t* data, uint16_t length, int slot, int stride);
    int WriteKeyColors(const uint8_t* data, uint16_t length, int slot, int stride);
    // Real-time lighting: a chunk is dropped (and counted as sent) while
    // another exchange is running.
    int StreamLightFrame(const uint8_t* data, uint16_t length);
    int WriteMacroData(const uint8_t* data, uint16_t length);
    int WriteRecoilData(const uint8_t* data, uint16_t length);
    int ReadStatus(uint8_t* data, uint16_t length, uint16_t offset);  // length at most 56
    int ReadKeyAttributes(uint8_t* data);  // BlockSize() / 3 bytes
    int ResumeLighting();
    // True on the cable without traffic; through the receiver, true when the
    // receiver reports its mouse linked.
    bool CheckLink();
    // The same check with its reason: kResultSuccess linked, kResultNotLinked
    // when the receiver answers that its mouse is not linked, otherwise the
    // failed exchange's result (kResultNoReply: the receiver stayed silent).
    int LinkState();

private:
    enum class FrameLock { kCommand, kStream, kNone };
    enum class Direction { kRead, kWrite };
    struct Chunking {
        uint8_t command;
        uint16_t total;
        uint16_t base;
        uint8_t chunk;
        FrameLock lock;
        bool streaming = false;  // quiet exchanges, dropped while busy
    };

    std::recursive_mutex& LockFor(FrameLock lock);
    CHidDevice& ActiveInterface() { return receiverMode_ ? receiver_ : cable_; }
    uint8_t WideChunk(uint8_t cableChunk) const;

    int ExchangeFrame(const CommandFrame& request, CommandFrame& reply, FrameLock lock, Direction direction,
                      bool quiet = false);
    int SingleFrame(uint8_t command);
    int ReadChunked(const Chunking& how, uint8_t* destination);
    int WriteChunked(const Chunking& how, const uint8_t* source);

    static bool WriteRequest(CHidDevice& device, CommandFrame& frame, int timeoutMs, bool receiver);
    static bool ReadReply(CHidDevice& device, uint8_t* reply, size_t replyLength, uint32_t* bytesRead,
                          int timeoutMs);

    uint16_t blockSize_ = kMaxBlockSize;
    std::atomic<int> busy_{0};  // exchanges running right now
    std::atomic<bool> open_{false};
    CHidDevice cable_;
    CHidDevice receiver_;
    std::recursive_mutex transferLock_;
    std::recursive_mutex commandLock_;
    std::recursive_mutex streamLock_;
    std::atomic<bool> receiverMode_{false};
    std::atomic<uint8_t> maxChunk_{kReceiverChunk};
    std::atomic<bool> suspended_{false};
};

// One 32-byte half of a frame as the channel traces it: eight groups of four
// bytes in hexadecimal, three blanks after each of the first three groups and
// two after the others.
std::string FormatFrameTraceLine(const uint8_t* bytes);
