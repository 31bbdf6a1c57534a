// Host side of the virtual HID bus: one connection per open interface.

#include "platform/trace.h"
#include "transport/hid_backend.h"
#include "transport/vhid_bus.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <cstdio>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A device answers the connection with HELLO at once; one that doesn't is not
// a usable interface.
constexpr int kHelloTimeoutMs = 1000;
// Reports kept for a handle nobody reads; the oldest go first, as the system
// HID driver's ring buffer does.
constexpr size_t kMaxQueuedInputReports = 512;
constexpr size_t kMaxQueuedAcks = 64;
constexpr uint8_t kAckAccepted = 1;

enum class PumpResult { kData, kEmpty, kClosed };

class VirtualHidConnection final : public HidBackendHandle {
public:
    VirtualHidConnection(int fd, const HidAccess& access) : fd_(fd), access_(access) {}
    ~VirtualHidConnection() override { ::close(fd_); }

    bool ReceiveHello();
    const HidInterfaceInfo& Info() const override { return info_; }
    HidIoResult ReadReport(uint8_t* buffer, uint32_t length, const HidDeadline& deadline, int cancelFd) override;
    HidIoResult WriteReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                            int cancelFd) override;
    bool SetOutputReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                         int cancelFd) override;
    bool FlushQueue(const HidDeadline& deadline) override;
    void Abort() override { Disconnect(); }

private:
    // These need receiveLock_ held.
    PumpResult Pump(int flags = MSG_DONTWAIT);
    bool PumpArrived();
    bool WaitAndPump(const HidDeadline& deadline);
    bool SetReceiveTimeout(int timeoutMs);
    void Dispatch(vhid::Frame& frame);
    bool SendFrame(uint8_t type, const uint8_t* payload, size_t length, const HidDeadline& deadline, int cancelFd);
    void Disconnect();

    const int fd_;
    const HidAccess access_;
    HidInterfaceInfo info_;
    std::atomic<bool> closed_{false};

    HidTimedLock receiveLock_;  // decoder and queues
    int receiveTimeoutMs_ = -1;  // what the socket's receive time-out is set to; -1 none
    bool helloReceived_ = false;
    vhid::FrameDecoder decoder_;
    std::deque<std::vector<uint8_t>> inputReports_;
    std::deque<bool> acks_;

    HidTimedLock sendLock_;  // keeps frames of two writers apart
};

void VirtualHidConnection::Disconnect()
{
    closed_ = true;
    ::shutdown(fd_, SHUT_RDWR);
}

PumpResult VirtualHidConnection::Pump(int flags)
{
    uint8_t chunk[vhid::kHeaderSize + vhid::kMaxPayload];
    const ssize_t received = ::recv(fd_, chunk, sizeof chunk, flags);
    if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return PumpResult::kEmpty;
    if (received <= 0) {
        Disconnect();
        return PumpResult::kClosed;
    }
    decoder_.Feed(chunk, static_cast<size_t>(received));
    while (auto frame = decoder_.Next())
        Dispatch(*frame);
    if (decoder_.Malformed()) {
        Trace("vhid: malformed frame, connection closed");
        Disconnect();
        return PumpResult::kClosed;
    }
    return PumpResult::kData;
}

void VirtualHidConnection::Dispatch(vhid::Frame& frame)
{
    if (!helloReceived_) {
        auto hello = frame.type == vhid::kHello ? vhid::DecodeHello(frame.payload) : std::nullopt;
        if (!hello) {
            Trace("vhid: first frame is no valid HELLO");
            Disconnect();
            return;
        }
        info_.attributes = {hello->vendorId, hello->productId, hello->version};
        info_.usagePage = hello->usagePage;
        info_.usage = hello->usage;
        info_.reportByteLength[HidP_Input] = hello->inputLength;
        info_.reportByteLength[HidP_Output] = hello->outputLength;
        info_.reportByteLength[HidP_Feature] = hello->featureLength;
        info_.reportDescriptor = std::move(hello->reportDescriptor);
        helloReceived_ = true;
        return;
    }
    if (!vhid::IsWellFormed(frame))
        return;
    switch (frame.type) {
    case vhid::kInput:
        inputReports_.push_back(std::move(frame.payload));
        if (inputReports_.size() > kMaxQueuedInputReports)
            inputReports_.pop_front();
        return;
    case vhid::kAck:
        acks_.push_back(frame.payload[0] == kAckAccepted);
        if (acks_.size() > kMaxQueuedAcks)
            acks_.pop_front();
        return;
    default:
        return;  // HELLO again, FEATURE never asked for, unknown types
    }
}

// Takes in everything that has arrived so far; false when the device is gone.
bool VirtualHidConnection::PumpArrived()
{
    PumpResult result;
    do
        result = Pump();
    while (result == PumpResult::kData);
    return result != PumpResult::kClosed;
}

bool VirtualHidConnection::SetReceiveTimeout(int timeoutMs)
{
    if (timeoutMs == receiveTimeoutMs_)
        return true;
    timeval limit{};  // zero: no limit
    if (timeoutMs > 0) {
        limit.tv_sec = timeoutMs / 1000;
        limit.tv_usec = (timeoutMs % 1000) * 1000;
    }
    if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0)
        return false;
    receiveTimeoutMs_ = timeoutMs;
    return true;
}

// Waits in the receive itself, not in poll: waking a blocked receive costs a
// few microseconds less per report, which is most of a request/reply round
// trip. The socket's receive time-out ends the wait at the deadline, and a
// closing thread wakes it with Abort.
bool VirtualHidConnection::WaitAndPump(const HidDeadline& deadline)
{
    while (!closed_) {
        const int remainingMs = deadline.RemainingMs();
        if (remainingMs == 0)
            return Pump() == PumpResult::kData;
        if (!SetReceiveTimeout(remainingMs))
            return false;
        const PumpResult result = Pump(0);
        if (result != PumpResult::kEmpty)
            return result == PumpResult::kData;
        // The receive time-out ran out or a signal came: look at the deadline again.
    }
    return false;
}

bool VirtualHidConnection::ReceiveHello()
{
    const HidDeadline deadline(kHelloTimeoutMs);
    HidTimedLockGuard receive(receiveLock_, deadline);
    while (receive.Owns() && !helloReceived_) {
        if (!WaitAndPump(deadline))
            return false;
    }
    return helloReceived_ && !closed_;
}

HidIoResult VirtualHidConnection::ReadReport(uint8_t* buffer, uint32_t length, const HidDeadline& deadline,
                                             int /*cancelFd: Abort wakes a blocked receive*/)
{
    if (!access_.read)
        return {};
    HidTimedLockGuard receive(receiveLock_, deadline);
    if (!receive.Owns())
        return {};
    // Reports that arrived before the device left are still delivered.
    while (inputReports_.empty()) {
        if (!WaitAndPump(deadline) && inputReports_.empty())
            return {.gone = closed_.load()};
    }
    const std::vector<uint8_t> report = std::move(inputReports_.front());
    inputReports_.pop_front();
    const uint32_t count = std::min<uint32_t>(length, static_cast<uint32_t>(report.size()));
    std::memcpy(buffer, report.data(), count);
    return {true, count};
}

bool VirtualHidConnection::SendFrame(uint8_t type, const uint8_t* payload, size_t length,
                                     const HidDeadline& deadline, int cancelFd)
{
    HidTimedLockGuard send(sendLock_, deadline);
    if (!send.Owns())
        return false;
    const std::vector<uint8_t> frame = vhid::EncodeFrame(type, payload, length);
    size_t sent = 0;
    while (sent < frame.size() && !closed_) {
        const ssize_t done = ::send(fd_, frame.data() + sent, frame.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (done > 0) {
            sent += static_cast<size_t>(done);
            continue;
        }
        if (done < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (WaitForFd(fd_, POLLOUT, cancelFd, deadline) == HidWaitResult::kReady)
                continue;
            // Half a frame on the stream would garble every later one.
            if (sent > 0)
                Disconnect();
            return false;
        }
        Disconnect();  // the device is gone
        return false;
    }
    return sent == frame.size();
}

HidIoResult VirtualHidConnection::WriteReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                              int cancelFd)
{
    const uint16_t reportLength = info_.reportByteLength[HidP_Output];
    if (!access_.write || reportLength == 0 || length < reportLength)
        return {};
    if (!SendFrame(vhid::kOutput, report, reportLength, deadline, cancelFd))
        return {};
    return {true, reportLength};
}

bool VirtualHidConnection::SetOutputReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                           int cancelFd)
{
    const uint32_t reportLength = ControlPipeReportLength(length, info_.reportByteLength[HidP_Output]);
    if (!access_.write || reportLength == 0)
        return false;
    HidTimedLockGuard receive(receiveLock_, deadline);
    if (!receive.Owns())
        return false;
    // Answers to requests that timed out earlier, also those not read yet.
    if (!PumpArrived())
        return false;
    acks_.clear();
    if (!SendFrame(vhid::kSetOutput, report, reportLength, deadline, cancelFd))
        return false;
    while (acks_.empty()) {
        if (!WaitAndPump(deadline))
            return false;
    }
    const bool accepted = acks_.front();
    acks_.pop_front();
    return accepted;
}

bool VirtualHidConnection::FlushQueue(const HidDeadline& deadline)
{
    HidTimedLockGuard receive(receiveLock_, deadline);
    if (!receive.Owns())
        return false;
    const bool connected = PumpArrived();
    inputReports_.clear();
    return connected;
}

// A non-blocking socket connected to an interface, or -1 with errno set.
int ConnectSocket(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int ConnectBlocking(const std::string& socketPath)
{
    const int fd = ConnectSocket(socketPath);
    if (fd < 0)
        return -1;
    // Connected, the socket blocks again: receives wait in the kernel (sends
    // never block, they pass MSG_DONTWAIT).
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The bus directory, or empty when it is refused (said once per process).
std::string UsableBusDirectory()
{
    const std::string directory = vhid::BusDirectory();
    const std::string problem = vhid::BusDirectoryProblem(directory);
    if (problem.empty())
        return directory;
    static std::once_flag said;
    std::call_once(said, [&problem] {
        std::fprintf(stderr, "%s: refusing the bus folder, simulated devices are not looked for: %s (remove "
                             "it, or choose another folder with KESTROVA_VHID_DIR)\n",
                     program_invocation_short_name, problem.c_str());
    });
    return {};
}

std::string SocketPathOf(const std::string& path)
{
    const std::string name = path.substr(std::strlen(kVirtualHidPathPrefix));
    const std::string directory = vhid::IsInterfaceName(name) ? UsableBusDirectory() : std::string();
    return directory.empty() ? directory : directory + "/" + name;
}

}  // namespace

void AppendVirtualHidPaths(std::vector<std::string>& paths)
{
    const std::string directory = UsableBusDirectory();
    DIR* dir = directory.empty() ? nullptr : ::opendir(directory.c_str());
    if (dir == nullptr)
        return;  // no bus: no virtual interface
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (vhid::IsInterfaceName(entry->d_name) && ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 &&
            S_ISSOCK(info.st_mode))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        paths.push_back(kVirtualHidPathPrefix + name);
}

std::unique_ptr<HidBackendHandle> OpenVirtualHid(const std::string& path, const HidAccess& access)
{
    const std::string socketPath = SocketPathOf(path);
    const int fd = socketPath.empty() ? -1 : ConnectBlocking(socketPath);
    if (fd < 0)
        return nullptr;
    auto connection = std::make_unique<VirtualHidConnection>(fd, access);
    if (!connection->ReceiveHello())
        return nullptr;
    return connection;
}

bool VirtualHidPresent(const std::string& path)
{
    const std::string socketPath = SocketPathOf(path);
    if (socketPath.empty())
        return false;
    const int fd = ConnectSocket(socketPath);
    // A full backlog still means a device listens there, only a busy one.
    const bool present = fd >= 0 || errno == EAGAIN;
    if (fd >= 0)
        ::close(fd);
    return present;
}
