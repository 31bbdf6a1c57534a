// A 64-byte request/reply round trip through CHidDevice on the virtual HID
// bus against an echo device, next to a bare Unix-socket round trip with the
// same device in the same run. Goal: a ratio of at most 1.5.

#include "transport/hid_device.h"
#include "transport/vhid_bus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Short batches, alternating between the two ways, so that load from other
// programs weighs on both alike; the best batch of each counts.
constexpr int kRoundTrips = 4000;
constexpr int kWarmUp = 1000;
constexpr int kRuns = 10;
constexpr double kGoal = 1.5;
constexpr size_t kReportSize = 64;
const char* const kInterfaceName = "hid#vid_320f&pid_22a9&mi_01&col02#bench-echo";

sockaddr_un SocketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

bool SendAll(int fd, const std::vector<uint8_t>& bytes)
{
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// Answers every OUTPUT frame with the same bytes as INPUT, one thread per connection.
class EchoDevice {
public:
    explicit EchoDevice(const std::string& socketPath) : path_(socketPath)
    {
        listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = SocketAddress(path_);
        if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listenFd_, 4) != 0) {
            std::perror("echo device");
            std::exit(1);
        }
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~EchoDevice()
    {
        ::shutdown(listenFd_, SHUT_RDWR);
        acceptor_.join();
        for (std::thread& connection : connections_)
            connection.join();
        ::close(listenFd_);
        ::unlink(path_.c_str());
    }

private:
    void AcceptLoop()
    {
        for (;;) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                return;
            connections_.emplace_back([fd] { Serve(fd); });
        }
    }

    static void Serve(int fd)
    {
        vhid::Hello hello;
        hello.vendorId = 0x320F;
        hello.productId = 0x22A9;
        hello.usagePage = 0xFF00;
        hello.usage = 1;
        hello.inputLength = hello.outputLength = kReportSize;
        SendAll(fd, vhid::EncodeFrame(vhid::kHello, vhid::EncodeHello(hello)));
        vhid::FrameDecoder decoder;
        uint8_t chunk[4096];
        ssize_t received;
        while ((received = ::recv(fd, chunk, sizeof chunk, 0)) > 0) {
            decoder.Feed(chunk, static_cast<size_t>(received));
            while (auto frame = decoder.Next()) {
                if (frame->type == vhid::kOutput)
                    SendAll(fd, vhid::EncodeFrame(vhid::kInput, frame->payload));
            }
        }
        ::close(fd);
    }

    std::string path_;
    int listenFd_ = -1;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};

bool ReadExactly(int fd, uint8_t* buffer, size_t length)
{
    for (size_t done = 0; done < length;) {
        const ssize_t received = ::recv(fd, buffer + done, length - done, 0);
        if (received <= 0)
            return false;
        done += static_cast<size_t>(received);
    }
    return true;
}

// A client that speaks the bus framing on a plain blocking socket.
class BareClient {
public:
    explicit BareClient(const std::string& socketPath)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = SocketAddress(socketPath);
        uint8_t hello[vhid::kHeaderSize + vhid::kHelloFixedSize];
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            !ReadExactly(fd_, hello, sizeof hello)) {
            std::perror("bare client");
            std::exit(1);
        }
    }
    ~BareClient() { ::close(fd_); }

    bool RoundTrip(const std::vector<uint8_t>& request, uint8_t* reply)
    {
        return SendAll(fd_, vhid::EncodeFrame(vhid::kOutput, request)) &&
               ReadExactly(fd_, reply, vhid::kHeaderSize + kReportSize);
    }

private:
    int fd_ = -1;
};

double MicrosecondsPerRoundTrip(const std::function<bool()>& roundTrip)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRoundTrips; ++i) {
        if (!roundTrip()) {
            std::fprintf(stderr, "round trip failed\n");
            std::exit(1);
        }
    }
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / kRoundTrips;
}

}  // namespace

int main()
{
    const std::filesystem::path bus =
        std::filesystem::temp_directory_path() / ("kestrova-bench-vhid-" + std::to_string(::getpid()));
    std::filesystem::create_directories(bus);
    ::setenv("KESTROVA_VHID_DIR", bus.c_str(), 1);
    const std::string socketPath = (bus / kInterfaceName).string();
    double bare = 0;
    double hid = 0;
    {
        EchoDevice device(socketPath);
        std::vector<uint8_t> request(kReportSize, 0x5A);
        request[0] = 4;
        uint8_t reply[vhid::kHeaderSize + kReportSize];

        BareClient client(socketPath);
        const auto bareRoundTrip = [&] { return client.RoundTrip(request, reply); };
        CHidDevice channel;
        const std::string path = std::string("vhid:") + kInterfaceName;
        if (!channel.Open(path.c_str(), true, true, true, false)) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        const auto hidRoundTrip = [&] {
            uint32_t count = 0;
            return channel.Write(request.data(), kReportSize, &count, 1000) &&
                   channel.Read(reply, kReportSize, &count, 1000) && count == kReportSize;
        };
        for (int i = 0; i < kWarmUp; ++i) {
            bareRoundTrip();
            hidRoundTrip();
        }
        bare = hid = 1e30;
        for (int run = 0; run < kRuns; ++run) {
            bare = std::min(bare, MicrosecondsPerRoundTrip(bareRoundTrip));
            hid = std::min(hid, MicrosecondsPerRoundTrip(hidRoundTrip));
        }
    }
    std::filesystem::remove_all(bus);
    const double ratio = hid / bare;
    std::printf("bare Unix-socket round trip: %.2f us\n", bare);
    std::printf("CHidDevice round trip on the virtual bus: %.2f us\n", hid);
    std::printf("ratio %.2f (goal: at most %.1f) %s\n", ratio, kGoal, ratio <= kGoal ? "met" : "NOT met");
    return 0;
}
