// The virtual HID bus frame reader on any byte stream, fed in chunks whose
// sizes come from the input: frames never exceed the payload limit, a
// malformed stream stays malformed, HELLO decoding takes any payload.

#include "transport/vhid_bus.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t chunk = 1 + data[0] % 64;
    vhid::FrameDecoder decoder;
    for (size_t at = 1; at < size; at += chunk) {
        decoder.Feed(data + at, std::min(chunk, size - at));
        while (auto frame = decoder.Next()) {
            if (frame->payload.size() > vhid::kMaxPayload || decoder.Malformed())
                std::abort();
            if (frame->type == vhid::kHello) {
                auto hello = vhid::DecodeHello(frame->payload);
                if (hello.has_value() != (frame->payload.size() >= vhid::kHelloFixedSize))
                    std::abort();
            }
        }
    }
    return 0;
}
