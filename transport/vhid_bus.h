#pragma once
// The virtual HID bus: one Unix-domain stream socket per HID interface in one
// directory, and the framing both sides speak over each connection. Shared by
// the program's HID layer (host side) and the device simulator (device side).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vhid {

enum FrameType : uint8_t {
    kHello = 0x00,       // device -> host, once, first
    kInput = 0x01,       // device -> host
    kOutput = 0x02,      // host -> device, interrupt pipe, no answer
    kSetOutput = 0x03,   // host -> device, control pipe, answered by ACK
    kAck = 0x04,         // device -> host, 1 accepted, 0 refused
    kSetFeature = 0x05,  // host -> device, answered by ACK
    kFeature = 0x06,     // device -> host, answer to GET_FEATURE
    kGetFeature = 0x07,  // host -> device, payload: report id
};

constexpr size_t kHeaderSize = 3;
constexpr size_t kMaxPayload = 4096;  // longer frames are malformed
constexpr size_t kHelloFixedSize = 16;

struct Frame {
    uint8_t type = 0;
    std::vector<uint8_t> payload;
};

struct Hello {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputLength = 0;  // report id byte included; 0: no input reports
    uint16_t outputLength = 0;
    uint16_t featureLength = 0;
    std::vector<uint8_t> reportDescriptor;
};

// The bus directory: $KESTROVA_VHID_DIR, else $XDG_RUNTIME_DIR/kestrova-vhid,
// else /tmp/kestrova-vhid-<uid>.
std::string BusDirectory();
// Why `directory` must not serve as the bus, or empty when it may. Only the
// shared /tmp fallback is checked: it must be this user's own folder and
// writable by nobody else (platform/folder_safety.h).
std::string BusDirectoryProblem(const std::string& directory);

// Socket file name of an interface, e.g. hid#vid_320f&pid_22a9&mi_01&col02#sim-mouse-1.
// interfaceNumber / collection < 0 leave "&mi_" / "&col" out.
std::string InterfaceName(uint16_t vid, uint16_t pid, int interfaceNumber, int collection,
                          const std::string& instance);
// True when a file name has the form above.
bool IsInterfaceName(const std::string& name);

// False for a frame of a known type whose payload has the wrong size for it
// (a receiver ignores such a frame); frames of unknown types pass.
bool IsWellFormed(const Frame& frame);

std::vector<uint8_t> EncodeFrame(uint8_t type, const uint8_t* payload, size_t length);
inline std::vector<uint8_t> EncodeFrame(uint8_t type, const std::vector<uint8_t>& payload)
{
    return EncodeFrame(type, payload.data(), payload.size());
}

std::vector<uint8_t> EncodeHello(const Hello& hello);
// Nothing when the payload is shorter than the fixed 16 bytes.
std::optional<Hello> DecodeHello(const std::vector<uint8_t>& payload);

// Splits a byte stream into frames. After a malformed frame (payload over
// kMaxPayload) it stays malformed and the connection must be closed.
class FrameDecoder {
public:
    void Feed(const uint8_t* data, size_t length);
    std::optional<Frame> Next();
    bool Malformed() const { return malformed_; }

private:
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;
    bool malformed_ = false;
};

}  // namespace vhid
