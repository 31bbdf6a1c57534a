#pragma once
// A tiny device side of the virtual HID bus for tests: a temporary bus
// directory, and interfaces that greet with HELLO and then echo, stay silent
// or send what the test asks for.

#include "transport/vhid_bus.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Points KESTROVA_VHID_DIR at a fresh directory for the lifetime of the object.
class TempBusDirectory {
public:
    TempBusDirectory();
    ~TempBusDirectory();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

class VhidDeviceStub {
public:
    enum class Mode {
        kEcho,    // OUTPUT comes back as INPUT, SET_OUTPUT is accepted
        kSilent,  // HELLO, then nothing
        kDeaf,    // HELLO, then reads nothing: the host's writes back up
    };

    VhidDeviceStub(const std::string& directory, const std::string& name, const vhid::Hello& hello,
                   Mode mode = Mode::kEcho);
    ~VhidDeviceStub();

    // Raw bytes sent first instead of HELLO (a broken greeting), or nothing at all.
    void SetGreeting(std::vector<uint8_t> bytes);
    // Sends raw bytes to every connection open now.
    void SendToAll(const std::vector<uint8_t>& bytes);
    void SendInputToAll(const std::vector<uint8_t>& report);
    // Closes every connection, as a device that leaves.
    void DropConnections();
    // Frames received, of every connection, in arrival order.
    std::vector<vhid::Frame> Received();
    int ConnectionCount();
    std::string SocketPath() const { return socketPath_; }

    // A 64-byte vendor interface with report id 4 and its descriptor.
    static vhid::Hello VendorHello();

private:
    struct Connection {
        int fd;
        vhid::FrameDecoder decoder;
    };

    void Run();
    void Accept();
    bool Serve(Connection& connection);  // false when the host closed it
    void Answer(Connection& connection, const vhid::Frame& frame);

    std::string socketPath_;
    vhid::Hello hello_;
    Mode mode_;
    std::vector<uint8_t> greeting_;
    bool greetingSet_ = false;
    int listenFd_ = -1;
    int stopFd_ = -1;
    std::mutex lock_;
    std::vector<Connection> connections_;
    std::vector<vhid::Frame> received_;
    std::thread thread_;
};
