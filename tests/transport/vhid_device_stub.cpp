#include "transport/vhid_device_stub.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TempBusDirectory::TempBusDirectory()
{
    char pattern[] = "/tmp/kestrova-vhid-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
    ::setenv("KESTROVA_VHID_DIR", path_.c_str(), 1);
}

TempBusDirectory::~TempBusDirectory()
{
    ::unsetenv("KESTROVA_VHID_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

VhidDeviceStub::VhidDeviceStub(const std::string& directory, const std::string& name, const vhid::Hello& hello,
                               Mode mode)
    : socketPath_(directory + "/" + name), hello_(hello), mode_(mode)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listenFd_, 16) != 0)
        std::abort();
    stopFd_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
}

VhidDeviceStub::~VhidDeviceStub()
{
    const uint64_t one = 1;
    if (::write(stopFd_, &one, sizeof one) != sizeof one)
        std::abort();
    thread_.join();
    DropConnections();
    ::close(listenFd_);
    ::close(stopFd_);
    ::unlink(socketPath_.c_str());
}

void VhidDeviceStub::SetGreeting(std::vector<uint8_t> bytes)
{
    std::lock_guard<std::mutex> guard(lock_);
    greeting_ = std::move(bytes);
    greetingSet_ = true;
}

void VhidDeviceStub::SendToAll(const std::vector<uint8_t>& bytes)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (Connection& connection : connections_)
        (void)!::send(connection.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void VhidDeviceStub::SendInputToAll(const std::vector<uint8_t>& report)
{
    SendToAll(vhid::EncodeFrame(vhid::kInput, report));
}

void VhidDeviceStub::DropConnections()
{
    std::lock_guard<std::mutex> guard(lock_);
    for (Connection& connection : connections_) {
        ::shutdown(connection.fd, SHUT_RDWR);  // wakes the host even while our poll holds the socket
        ::close(connection.fd);
    }
    connections_.clear();
}

std::vector<vhid::Frame> VhidDeviceStub::Received()
{
    std::lock_guard<std::mutex> guard(lock_);
    return received_;
}

int VhidDeviceStub::ConnectionCount()
{
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(connections_.size());
}

vhid::Hello VhidDeviceStub::VendorHello()
{
    vhid::Hello hello;
    hello.vendorId = 0x320F;
    hello.productId = 0x22A9;
    hello.version = 0x0105;
    hello.usagePage = 0xFF00;
    hello.usage = 0x0001;
    hello.inputLength = 64;
    hello.outputLength = 64;
    hello.reportDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26,
                              0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x02, 0x81, 0x02, 0x09, 0x03,
                              0x91, 0x02, 0xC0};
    return hello;
}

void VhidDeviceStub::Run()
{
    for (;;) {
        std::vector<pollfd> fds = {{stopFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        {
            std::lock_guard<std::mutex> guard(lock_);
            for (const Connection& connection : connections_)
                fds.push_back({connection.fd, static_cast<short>(mode_ == Mode::kDeaf ? 0 : POLLIN), 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0 || fds[0].revents != 0)
            return;
        if (fds[1].revents != 0)
            Accept();
        std::lock_guard<std::mutex> guard(lock_);
        for (size_t i = 2; i < fds.size(); ++i) {
            for (Connection& connection : connections_) {
                if (fds[i].revents != 0 && connection.fd == fds[i].fd && !Serve(connection)) {
                    ::close(connection.fd);
                    connection.fd = -1;
                }
            }
        }
        std::erase_if(connections_, [](const Connection& connection) { return connection.fd < 0; });
    }
}

void VhidDeviceStub::Accept()
{
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    std::lock_guard<std::mutex> guard(lock_);
    const std::vector<uint8_t> greeting =
        greetingSet_ ? greeting_ : vhid::EncodeFrame(vhid::kHello, vhid::EncodeHello(hello_));
    (void)!::send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL);
    connections_.push_back({fd, {}});
}

bool VhidDeviceStub::Serve(Connection& connection)
{
    uint8_t chunk[8192];
    const ssize_t received = ::recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (received <= 0)
        return false;  // the host closed its handle
    connection.decoder.Feed(chunk, static_cast<size_t>(received));
    while (auto frame = connection.decoder.Next()) {
        received_.push_back(*frame);
        Answer(connection, *frame);
    }
    return true;
}

void VhidDeviceStub::Answer(Connection& connection, const vhid::Frame& frame)
{
    if (mode_ != Mode::kEcho)
        return;
    std::vector<uint8_t> answer;
    if (frame.type == vhid::kOutput)
        answer = vhid::EncodeFrame(vhid::kInput, frame.payload);
    else if (frame.type == vhid::kSetOutput)
        answer = vhid::EncodeFrame(vhid::kAck, std::vector<uint8_t>{1});
    if (!answer.empty())
        (void)!::send(connection.fd, answer.data(), answer.size(), MSG_NOSIGNAL);
}
