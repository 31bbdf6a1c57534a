#include "transport/vhid_bus.h"

#include "platform/folder_safety.h"

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <unistd.h>

namespace vhid {

static void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

static uint16_t GetU16(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

static std::string FallbackBusDirectory()
{
    return "/tmp/kestrova-vhid-" + std::to_string(getuid());
}

std::string BusDirectory()
{
    const char* own = std::getenv("KESTROVA_VHID_DIR");
    if (own != nullptr && *own != '\0')
        return own;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr)
        return std::string(runtime) + "/kestrova-vhid";
    return FallbackBusDirectory();
}

std::string BusDirectoryProblem(const std::string& directory)
{
    return directory == FallbackBusDirectory() ? UnsafeFolderReason(directory) : std::string();
}

std::string InterfaceName(uint16_t vid, uint16_t pid, int interfaceNumber, int collection,
                          const std::string& instance)
{
    char name[64];
    std::snprintf(name, sizeof name, "hid#vid_%04x&pid_%04x", vid, pid);
    std::string result = name;
    if (interfaceNumber >= 0) {
        std::snprintf(name, sizeof name, "&mi_%02x", interfaceNumber & 0xFF);
        result += name;
    }
    if (collection >= 0) {
        std::snprintf(name, sizeof name, "&col%02x", collection & 0xFF);
        result += name;
    }
    return result + '#' + instance;
}

bool IsInterfaceName(const std::string& name)
{
    static const std::regex shape("hid#vid_[0-9a-f]{4}&pid_[0-9a-f]{4}(&mi_[0-9a-f]{2})?(&col[0-9a-f]{2})?#[a-z0-9_.-]*");
    return std::regex_match(name, shape);
}

bool IsWellFormed(const Frame& frame)
{
    switch (frame.type) {
    case kHello:
        return frame.payload.size() >= kHelloFixedSize;
    case kAck:
    case kGetFeature:
        return frame.payload.size() == 1;  // accepted flag / report id
    case kInput:
    case kOutput:
    case kSetOutput:
    case kSetFeature:
        return !frame.payload.empty();  // a report, report id first
    default:
        return true;  // FEATURE may be empty (refused); unknown types are the receiver's to ignore
    }
}

std::vector<uint8_t> EncodeFrame(uint8_t type, const uint8_t* payload, size_t length)
{
    std::vector<uint8_t> frame;
    frame.reserve(kHeaderSize + length);
    frame.push_back(type);
    PutU16(frame, static_cast<uint16_t>(length));
    frame.insert(frame.end(), payload, payload + length);
    return frame;
}

std::vector<uint8_t> EncodeHello(const Hello& hello)
{
    std::vector<uint8_t> payload;
    for (uint16_t value : {hello.vendorId, hello.productId, hello.version, hello.usagePage, hello.usage,
                           hello.inputLength, hello.outputLength, hello.featureLength})
        PutU16(payload, value);
    payload.insert(payload.end(), hello.reportDescriptor.begin(), hello.reportDescriptor.end());
    return payload;
}

std::optional<Hello> DecodeHello(const std::vector<uint8_t>& payload)
{
    if (payload.size() < kHelloFixedSize)
        return std::nullopt;
    Hello hello;
    hello.vendorId = GetU16(payload, 0);
    hello.productId = GetU16(payload, 2);
    hello.version = GetU16(payload, 4);
    hello.usagePage = GetU16(payload, 6);
    hello.usage = GetU16(payload, 8);
    hello.inputLength = GetU16(payload, 10);
    hello.outputLength = GetU16(payload, 12);
    hello.featureLength = GetU16(payload, 14);
    hello.reportDescriptor.assign(payload.begin() + kHelloFixedSize, payload.end());
    return hello;
}

void FrameDecoder::Feed(const uint8_t* data, size_t length)
{
    if (malformed_)
        return;
    // Drop what earlier frames consumed before the buffer grows again.
    if (start_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + length);
}

std::optional<Frame> FrameDecoder::Next()
{
    if (malformed_ || buffer_.size() - start_ < kHeaderSize)
        return std::nullopt;
    const size_t length = buffer_[start_ + 1] | (buffer_[start_ + 2] << 8);
    if (length > kMaxPayload) {
        malformed_ = true;
        buffer_.clear();
        start_ = 0;
        return std::nullopt;
    }
    if (buffer_.size() - start_ < kHeaderSize + length)
        return std::nullopt;
    Frame frame;
    frame.type = buffer_[start_];
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + kHeaderSize);
    frame.payload.assign(first, first + static_cast<std::ptrdiff_t>(length));
    start_ += kHeaderSize + length;
    return frame;
}

}  // namespace vhid
