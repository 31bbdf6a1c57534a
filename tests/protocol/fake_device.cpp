#include "protocol/fake_device.h"

#include "transport/command_frame.h"

#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void SendFrame(int fd, uint8_t type, const Report& payload)
{
    const std::vector<uint8_t> frame = vhid::EncodeFrame(type, payload);
    size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t done = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (done <= 0)
            return;  // the host went away; its connection is dropped on the next poll
        sent += static_cast<size_t>(done);
    }
}

}  // namespace

vhid::Hello ControlHello(uint16_t vid, uint16_t pid)
{
    vhid::Hello hello;
    hello.vendorId = vid;
    hello.productId = pid;
    hello.version = 0x0106;
    hello.usagePage = 0xFF1C;
    hello.usage = 0x0092;
    hello.inputLength = kCommandFrameSize;
    hello.outputLength = kCommandFrameSize;
    return hello;
}

vhid::Hello NotificationHello(uint16_t vid, uint16_t pid, uint16_t inputLength)
{
    vhid::Hello hello;
    hello.vendorId = vid;
    hello.productId = pid;
    hello.usagePage = 0x000C;
    hello.usage = 0x0001;
    hello.inputLength = inputLength;
    return hello;
}

FakeDevice::FakeDevice(const std::string& busDirectory, const std::string& interfaceName, const vhid::Hello& hello)
    : socketPath_(busDirectory + "/" + interfaceName), name_(interfaceName), hello_(hello)
{
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
    ::unlink(socketPath_.c_str());
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 16) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
    thread_ = std::thread([this] { Run(); });
}

FakeDevice::~FakeDevice()
{
    Unplug();
    ::close(wakeFd_);
}

void FakeDevice::SetResponder(Responder responder)
{
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

void FakeDevice::Notify(const Report& report)
{
    std::unique_lock lock(mutex_);
    pendingNotifications_.push_back(report);
    Wake();
    notificationsSent_.wait(lock, [this] { return pendingNotifications_.empty() || stopping_; });
}

std::vector<Report> FakeDevice::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t FakeDevice::AcceptedCount() const
{
    std::lock_guard lock(mutex_);
    return accepted_;
}

bool FakeDevice::WaitForOpenCount(size_t count) const
{
    std::unique_lock lock(mutex_);
    return connectionsChanged_.wait_for(lock, std::chrono::seconds(1),
                                        [&] { return connections_.size() <= count; });
}

std::string FakeDevice::HidPath() const
{
    return "vhid:" + name_;
}

void FakeDevice::Unplug()
{
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            notificationsSent_.notify_all();
        }
        Wake();
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    for (int fd : connections_)
        ::close(fd);
    connections_.clear();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());
        listenFd_ = -1;
    }
}

void FakeDevice::Wake()
{
    const uint64_t one = 1;
    ssize_t written = ::write(wakeFd_, &one, sizeof one);
    (void)written;
}

void FakeDevice::Run()
{
    while (!stopping_) {
        std::vector<pollfd> fds = {{wakeFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        for (int fd : connections_)
            fds.push_back({fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents != 0) {
            uint64_t value = 0;
            ssize_t read = ::read(wakeFd_, &value, sizeof value);
            (void)read;
            std::lock_guard lock(mutex_);
            for (const Report& report : pendingNotifications_)
                for (int fd : connections_)
                    SendFrame(fd, vhid::kInput, report);
            pendingNotifications_.clear();
            notificationsSent_.notify_all();
        }
        if (fds[1].revents != 0)
            Accept();
        for (size_t i = fds.size(); i-- > 2;) {
            if (fds[i].revents != 0)
                Receive(i - 2);
        }
    }
}

void FakeDevice::Accept()
{
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    {
        std::lock_guard lock(mutex_);
        connections_.push_back(fd);
        decoders_.emplace_back();
        ++accepted_;
    }
    SendFrame(fd, vhid::kHello, vhid::EncodeHello(hello_));
}

void FakeDevice::Receive(size_t connection)
{
    uint8_t buffer[4096];
    const ssize_t count = ::recv(connections_[connection], buffer, sizeof buffer, 0);
    if (count <= 0) {
        std::lock_guard lock(mutex_);
        ::close(connections_[connection]);
        connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(connection));
        decoders_.erase(decoders_.begin() + static_cast<std::ptrdiff_t>(connection));
        connectionsChanged_.notify_all();
        return;
    }
    vhid::FrameDecoder& decoder = decoders_[connection];
    decoder.Feed(buffer, static_cast<size_t>(count));
    while (std::optional<vhid::Frame> frame = decoder.Next()) {
        if (frame->type != vhid::kOutput)
            continue;
        std::vector<Report> replies;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(frame->payload);
            if (responder_)
                replies = responder_(frame->payload, requests_.size() - 1);
        }
        for (const Report& reply : replies)
            SendFrame(connections_[connection], vhid::kInput, reply);
    }
}
