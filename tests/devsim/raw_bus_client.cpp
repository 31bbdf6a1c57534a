#include "raw_bus_client.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

CRawBusClient::CRawBusClient(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return;
    if (connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd_);
        fd_ = -1;
        return;
    }
    const auto first = Next();
    if (first && first->type == vhid::kHello)
        hello_ = vhid::DecodeHello(first->payload);
}

CRawBusClient::~CRawBusClient()
{
    if (fd_ >= 0)
        close(fd_);
}

bool CRawBusClient::SendRaw(const std::vector<uint8_t>& bytes)
{
    return fd_ >= 0 && send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool CRawBusClient::Send(uint8_t type, const std::vector<uint8_t>& payload)
{
    return SendRaw(vhid::EncodeFrame(type, payload));
}

std::optional<vhid::Frame> CRawBusClient::Next(int timeoutMs)
{
    while (fd_ >= 0) {
        if (auto frame = decoder_.Next())
            return frame;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return std::nullopt;
        uint8_t buffer[4096];
        const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return std::nullopt;
        decoder_.Feed(buffer, static_cast<size_t>(n));
    }
    return std::nullopt;
}

bool CRawBusClient::ClosedByDevice(int timeoutMs)
{
    pollfd p{fd_, POLLIN, 0};
    while (poll(&p, 1, timeoutMs) > 0) {
        uint8_t buffer[4096];
        const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return true;
    }
    return false;
}

std::optional<CommandFrame> CRawBusClient::Exchange(const CommandFrame& request, int timeoutMs)
{
    if (!Send(vhid::kOutput, std::vector<uint8_t>(request.begin(), request.end())))
        return std::nullopt;
    while (auto frame = Next(timeoutMs)) {
        if (frame->type != vhid::kInput || frame->payload.size() != kCommandFrameSize ||
            frame->payload[0] != kCommandReportId)
            continue;
        CommandFrame reply;
        std::copy(frame->payload.begin(), frame->payload.end(), reply.begin());
        return reply;
    }
    return std::nullopt;
}

CommandFrame MakeRequest(uint8_t command, uint8_t length, uint16_t offset, const std::vector<uint8_t>& data)
{
    CommandFrame frame{};
    frame[kFrameReportId] = kCommandReportId;
    frame[kFrameCommand] = command;
    frame[kFrameLength] = length;
    SetFrameOffset(frame, offset);
    std::copy(data.begin(), data.end(), frame.begin() + kFramePayload);
    StoreChecksum(frame);
    return frame;
}

std::vector<uint8_t> ReplyData(const CommandFrame& reply)
{
    return std::vector<uint8_t>(reply.begin() + kFramePayload, reply.begin() + kFramePayload + reply[kFrameLength]);
}
