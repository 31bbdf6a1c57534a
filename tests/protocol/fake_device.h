#pragma once
// A scripted device on the virtual HID bus for channel tests: one interface
// socket whose answers a test decides frame by frame, and which records every
// output report it receives.

#include "transport/vhid_bus.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using Report = std::vector<uint8_t>;

class FakeDevice {
public:
    // Gets each output report with its index (0 first) and returns the input
    // reports to send back on the same connection.
    using Responder = std::function<std::vector<Report>(const Report& request, size_t index)>;

    FakeDevice(const std::string& busDirectory, const std::string& interfaceName, const vhid::Hello& hello);
    ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    void SetResponder(Responder responder);
    // Sends an input report to every open connection; returns once it is sent.
    void Notify(const Report& report);
    // Every output report so far.
    std::vector<Report> Requests() const;
    // The path the program's HID layer lists for this interface.
    std::string HidPath() const;
    // Closes every connection and removes the socket, as an unplugged device.
    void Unplug();
    // Connections accepted so far, and those still open.
    size_t AcceptedCount() const;
    // True once no more than `count` connections are open (the host's closes
    // reach the device a moment later); false when a second passes first.
    bool WaitForOpenCount(size_t count) const;

private:
    void Run();
    void Accept();
    void Receive(size_t connection);
    void Wake();

    std::string socketPath_;
    std::string name_;
    vhid::Hello hello_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    Responder responder_;
    std::vector<Report> requests_;
    std::vector<Report> pendingNotifications_;
    std::condition_variable notificationsSent_;
    mutable std::condition_variable connectionsChanged_;
    std::vector<int> connections_;
    size_t accepted_ = 0;
    std::vector<vhid::FrameDecoder> decoders_;
    std::thread thread_;
};

// A 64-byte control interface (report id included both ways) or a
// notification interface of the given input length.
vhid::Hello ControlHello(uint16_t vid, uint16_t pid);
vhid::Hello NotificationHello(uint16_t vid, uint16_t pid, uint16_t inputLength);
