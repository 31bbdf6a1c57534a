#pragma once
// A bare host for the simulator tests: one connection to one interface
// socket, frames in and out, command frames built by hand.

#include "transport/command_frame.h"
#include "transport/vhid_bus.h"

#include <optional>
#include <string>

class CRawBusClient {
public:
    explicit CRawBusClient(const std::string& socketPath);
    ~CRawBusClient();
    CRawBusClient(const CRawBusClient&) = delete;
    CRawBusClient& operator=(const CRawBusClient&) = delete;

    bool Connected() const { return fd_ >= 0; }
    const std::optional<vhid::Hello>& Hello() const { return hello_; }

    bool Send(uint8_t type, const std::vector<uint8_t>& payload);
    bool SendRaw(const std::vector<uint8_t>& bytes);
    // The next frame, or nothing when none arrives in time or the device closed.
    std::optional<vhid::Frame> Next(int timeoutMs = 2000);
    // True when the device closed the connection within the time.
    bool ClosedByDevice(int timeoutMs = 2000);

    // Sends a request as an OUTPUT report and waits for the INPUT reply.
    std::optional<CommandFrame> Exchange(const CommandFrame& request, int timeoutMs = 2000);

private:
    int fd_ = -1;
    vhid::FrameDecoder decoder_;
    std::optional<vhid::Hello> hello_;
};

CommandFrame MakeRequest(uint8_t command, uint8_t length = 0, uint16_t offset = 0,
                         const std::vector<uint8_t>& data = {});
std::vector<uint8_t> ReplyData(const CommandFrame& reply);
