#include "transport/command_channel.h"

#include "platform/trace.h"
#include "services/diag_log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr int kCableTimeoutMs = 1000;
constexpr int kReceiverTimeoutMs = 5000;
constexpr int kQuietReceiverTimeoutMs = 500;
// The device needs this pause between a request and the read of its reply.
constexpr std::chrono::milliseconds kReplyPause{10};
constexpr std::chrono::milliseconds kEndConfigPause{10};
constexpr int kKeyTableBlockSpan = 512;
constexpr size_t kTraceLineBytes = 32;
constexpr const char* kLinkLostLogLine = "Hid2_4GDeviceIsLink>0xAA    false";
// The receiver gave no usable answer at all: not the same as "not linked".
constexpr const char* kLinkCheckFailedLogLine = "Hid2_4GDeviceIsLink>0xAA    no answer, result ";

// Counts one running exchange for the lifetime of the scope.
class BusyScope {
public:
    explicit BusyScope(std::atomic<int>& busy) : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    std::atomic<int>& busy_;
};

CommandFrame BuildFrame(uint8_t command, uint8_t length, uint16_t offset, const uint8_t* data)
{
    CommandFrame frame{};
    frame[kFrameReportId] = kCommandReportId;
    frame[kFrameCommand] = command;
    frame[kFrameLength] = length;
    SetFrameOffset(frame, offset);
    if (data != nullptr)
        std::memcpy(frame.data() + kFramePayload, data, length);
    StoreChecksum(frame);
    return frame;
}

CommandFrame PaddedFrame(const uint8_t* bytes, size_t length)
{
    CommandFrame frame{};
    std::memcpy(frame.data(), bytes, std::min(length, kCommandFrameSize));
    return frame;
}

void TraceFrame(const char* title, const CommandFrame& frame)
{
    if (!TraceEnabled())
        return;
    Trace(title);
    Trace(FormatFrameTraceLine(frame.data()));
    Trace(FormatFrameTraceLine(frame.data() + kTraceLineBytes));
}

}  // namespace

std::string FormatFrameTraceLine(const uint8_t* bytes)
{
    std::string line;
    char hex[4];
    for (size_t i = 0; i < kTraceLineBytes; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        line += hex;
        if (i + 1 == kTraceLineBytes)
            break;
        const bool groupEnd = i % 4 == 3;
        line += !groupEnd ? " " : (i < 12 ? "   " : "  ");
    }
    return line;
}

void CCommandChannel::SetConnectionMode(int mode)
{
    receiverMode_ = mode == kReceiverMode;
    maxChunk_ = receiverMode_ ? kReceiverChunk : kCableChunk;
}

bool CCommandChannel::SetBlockSize(uint16_t size)
{
    if (size > kMaxBlockSize)
        return false;
    blockSize_ = size;
    return true;
}

uint8_t CCommandChannel::WideChunk(uint8_t cableChunk) const
{
    // Through the receiver byte 32 of every request carries the receiver's
    // marker, so no data may reach it there.
    return receiverMode_ ? kReceiverChunk : cableChunk;
}

std::recursive_mutex& CCommandChannel::LockFor(FrameLock lock)
{
    return lock == FrameLock::kStream ? streamLock_ : commandLock_;
}

bool CCommandChannel::WriteRequest(CHidDevice& device, CommandFrame& frame, int timeoutMs, bool receiver)
{
    // A late or doubled reply to an earlier request would otherwise be taken
    // for this one's. The control interface carries no notifications, so
    // nothing else is lost.
    if (!device.FlushQueue())
        Trace("input queue flush failed");
    // The checksum stays as it was computed without the marker.
    if (receiver)
        frame[kFrameReceiverMarker] = kReceiverMarkerValue;
    uint32_t written = 0;
    return device.Write(frame.data(), kCommandFrameSize, &written, timeoutMs) != 0 && written == kCommandFrameSize;
}

bool CCommandChannel::ReadReply(CHidDevice& device, uint8_t* reply, size_t replyLength, uint32_t* bytesRead,
                                int timeoutMs)
{
    std::memset(reply, 0, replyLength);
    uint32_t count = 0;
    const bool read = device.Read(reply, static_cast<uint32_t>(replyLength), &count, timeoutMs) != 0;
    if (bytesRead != nullptr)
        *bytesRead = count;
    // A reply shorter than asked for carries no trustworthy header or data.
    return read && count >= std::min(replyLength, kCommandFrameSize);
}

int CCommandChannel::Transfer(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                              uint32_t* bytesRead)
{
    if (suspended_)
        return kResultSuccess;
    BusyScope busy(busy_);
    if (bytesRead != nullptr)
        *bytesRead = 0;
    if (!open_ || replyLength <= kFrameStatus)
        return kResultNoReply;

    CommandFrame frame = PaddedFrame(request, requestLength);
    TraceFrame("命令", frame);
    const bool receiver = receiverMode_;
    CHidDevice& device = receiver ? receiver_ : cable_;
    const int timeoutMs = receiver ? kReceiverTimeoutMs : kCableTimeoutMs;

    int result = kResultNoReply;
    for (int attempt = 1;; ++attempt) {
        {
            std::lock_guard transfer(transferLock_);
            if (!WriteRequest(device, frame, timeoutMs, receiver))
                return kResultWriteFailed;
        }
        std::lock_guard transfer(transferLock_);
        std::this_thread::sleep_for(kReplyPause);
        if (!ReadReply(device, reply, replyLength, bytesRead, timeoutMs)) {
            result = kResultNoReply;
            break;
        }
        if (reply[kFrameCommand] == frame[kFrameCommand]) {
            result = kResultSuccess;
            break;
        }
        if (receiver && reply[kFrameCommand] == kCmdCheckLink) {
            result = kResultNotLinked;
            break;
        }
        // Two mismatching replies in a row: nothing valid was read.
        if (attempt == 2) {
            result = kResultNoReply;
            break;
        }
    }
    TraceFrame("返回", PaddedFrame(reply, replyLength));
    return result;
}

int CCommandChannel::TransferQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                   size_t replyLength, uint32_t* bytesRead)
{
    if (suspended_)
        return kResultSuccess;
    BusyScope busy(busy_);
    if (bytesRead != nullptr)
        *bytesRead = 0;
    if (!open_ || replyLength <= kFrameStatus)
        return kResultNoReply;

    CommandFrame frame = PaddedFrame(request, requestLength);
    const bool receiver = receiverMode_;
    CHidDevice& device = receiver ? receiver_ : cable_;
    const int timeoutMs = receiver ? kQuietReceiverTimeoutMs : kCableTimeoutMs;
    {
        std::lock_guard transfer(transferLock_);
        uint32_t written = 0;
        if (device.Write(frame.data(), kCommandFrameSize, &written, timeoutMs) == 0 || written != kCommandFrameSize)
            return kResultWriteFailed;
    }
    std::lock_guard transfer(transferLock_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!ReadReply(device, reply, replyLength, bytesRead, timeoutMs))
            return kResultNoReply;
        if (reply[kFrameCommand] == frame[kFrameCommand])
            return kResultSuccess;
        if (receiver && reply[kFrameCommand] == kCmdCheckLink)
            return kResultNotLinked;
    }
    return kResultNoReply;
}

int CCommandChannel::ExchangeFrame(const CommandFrame& request, CommandFrame& reply, FrameLock lock,
                                   Direction direction, bool quiet)
{
    reply.fill(0);
    // A suspended channel sends nothing; a read then has nothing to hand back.
    if (suspended_ && direction == Direction::kRead)
        return kResultNoReply;
    std::unique_lock<std::recursive_mutex> frameLock;
    if (lock != FrameLock::kNone)
        frameLock = std::unique_lock(LockFor(lock));
    const int result = quiet ? TransferQuiet(request.data(), request.size(), reply.data(), reply.size(), nullptr)
                             : Transfer(request.data(), request.size(), reply.data(), reply.size(), nullptr);
    if (result != kResultSuccess)
        return result;
    if (reply[kFrameStatus] == kStatusFailed)
        return kResultStatusFailed;
    if (reply[kFrameStatus] == kStatusRefused)
        return kResultStatusRefused;
    return kResultSuccess;
}

int CCommandChannel::SingleFrame(uint8_t command)
{
    CommandFrame reply;
    return ExchangeFrame(BuildFrame(command, 0, 0, nullptr), reply, FrameLock::kCommand, Direction::kWrite);
}

int CCommandChannel::ReadChunked(const Chunking& how, uint8_t* destination)
{
    for (int position = 0; position < how.total; position += how.chunk) {
        const auto length = static_cast<uint8_t>(std::min<int>(how.chunk, how.total - position));
        CommandFrame reply;
        const int result =
            ExchangeFrame(BuildFrame(how.command, length, static_cast<uint16_t>(how.base + position), nullptr), reply,
                          how.lock, Direction::kRead);
        if (result != kResultSuccess)
            return result;
        std::memcpy(destination + position, reply.data() + kFramePayload, length);
    }
    return kResultSuccess;
}

int CCommandChannel::WriteChunked(const Chunking& how, const uint8_t* source)
{
    for (int position = 0; position < how.total; position += how.chunk) {
        const auto length = static_cast<uint8_t>(std::min<int>(how.chunk, how.total - position));
        if (how.streaming && IsBusy()) {
            Trace("放弃灯光数据");
            continue;
        }
        CommandFrame reply;
        const CommandFrame request =
            BuildFrame(how.command, length, static_cast<uint16_t>(how.base + position), source + position);
        const int result = ExchangeFrame(request, reply, how.lock, Direction::kWrite, how.streaming);
        if (result != kResultSuccess)
            return result;
    }
    return kResultSuccess;
}

int CCommandChannel::BeginConfig()
{
    return SingleFrame(kCmdBeginConfig);
}

int CCommandChannel::EndConfig()
{
    std::this_thread::sleep_for(kEndConfigPause);
    return SingleFrame(kCmdEndConfig);
}

int CCommandChannel::ResumeLighting()
{
    return SingleFrame(kCmdResumeLighting);
}

int CCommandChannel::ReadInfoBlock(uint8_t* block)
{
    uint8_t collected[kInfoBlockSize] = {};
    const int result =
        ReadChunked({kCmdReadInfoBlock, kInfoBlockSize, 0, maxChunk_, FrameLock::kCommand}, collected);
    if (result == kResultSuccess)
        std::memcpy(block, collected, kInfoBlockSize);
    return result;
}

int CCommandChannel::WriteInfoBlock(const uint8_t* block)
{
    return WriteChunked({kCmdWriteInfoBlock, kInfoBlockSize, 0, WideChunk(kInfoBlockSize), FrameLock::kCommand},
                        block);
}

int CCommandChannel::ReadMemory(uint8_t* data, uint16_t length, uint16_t baseOffset)
{
    return ReadChunked({kCmdReadMemory, length, baseOffset, maxChunk_, FrameLock::kCommand}, data);
}

int CCommandChannel::WriteMemory(const uint8_t* data, uint16_t length, uint16_t baseOffset)
{
    return WriteChunked({kCmdWriteMemory, length, baseOffset, maxChunk_, FrameLock::kCommand}, data);
}

int CCommandChannel::ReadKeyTable(uint8_t* table)
{
    return ReadChunked({kCmdReadKeyTable, blockSize_, 0, maxChunk_, FrameLock::kCommand}, table);
}

int CCommandChannel::WriteKeyTable(const uint8_t* table, int blockIndex)
{
    if (blockIndex != 0)
        return kResultBadBlockIndex;
    const auto base = static_cast<uint16_t>(blockIndex * kKeyTableBlockSpan);
    return WriteChunked({kCmdWriteKeyTable, blockSize_, base, maxChunk_, FrameLock::kCommand}, table);
}

int CCommandChannel::ReadKeyColors(uint8_t* data, uint16_t length, int slot, int stride)
{
    const auto base = static_cast<uint16_t>(slot * stride);
    return ReadChunked({kCmdReadKeyColors, length, base, maxChunk_, FrameLock::kCommand}, data);
}

int CCommandChannel::WriteKeyColors(const uint8_t* data, uint16_t length, int slot, int stride)
{
    const auto base = static_cast<uint16_t>(slot * stride);
    return WriteChunked({kCmdWriteKeyColors, length, base, maxChunk_, FrameLock::kStream}, data);
}

int CCommandChannel::StreamLightFrame(const uint8_t* data, uint16_t length)
{
    return WriteChunked({kCmdStreamLightFrame, length, 0, maxChunk_, FrameLock::kStream, true}, data);
}

int CCommandChannel::WriteMacroData(const uint8_t* data, uint16_t length)
{
    return WriteChunked({kCmdWriteMacroData, length, 0, maxChunk_, FrameLock::kCommand}, data);
}

int CCommandChannel::WriteRecoilData(const uint8_t* data, uint16_t length)
{
    // Under the command lock like every other chunked write, so its frames
    // never land between another thread's write and read.
    return WriteChunked({kCmdWriteRecoilData, length, 0, WideChunk(kCableChunk), FrameLock::kCommand}, data);
}

int CCommandChannel::ReadStatus(uint8_t* data, uint16_t length, uint16_t offset)
{
    if (length > kFramePayloadSize)
        return kResultNoReply;
    CommandFrame reply;
    const int result = ExchangeFrame(BuildFrame(kCmdReadStatus, static_cast<uint8_t>(length), offset, nullptr),
                                     reply, FrameLock::kCommand, Direction::kRead);
    if (result == kResultSuccess)
        std::memcpy(data, reply.data() + kFramePayload, length);
    return result;
}

int CCommandChannel::ReadKeyAttributes(uint8_t* data)
{
    const auto length = static_cast<uint16_t>(blockSize_ / 3);
    return ReadChunked({kCmdReadKeyAttributes, length, 0, maxChunk_, FrameLock::kCommand}, data);
}

int CCommandChannel::LinkState()
{
    if (!receiverMode_)
        return kResultSuccess;
    CommandFrame reply;
    const int result = ExchangeFrame(BuildFrame(kCmdCheckLink, 0, 0, nullptr), reply, FrameLock::kCommand,
                                     Direction::kRead);
    if (result != kResultSuccess) {
        WriteLogLine(kLinkCheckFailedLogLine + std::to_string(result));
        return result;
    }
    if (reply[kFrameLinkState] != kLinkedValue) {
        WriteLogLine(kLinkLostLogLine);
        return kResultNotLinked;
    }
    return kResultSuccess;
}

bool CCommandChannel::CheckLink()
{
    return LinkState() == kResultSuccess;
}
