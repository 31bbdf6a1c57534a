#pragma once
// The device side of the virtual HID bus: one listening Unix socket per
// interface in the bus directory, any number of connections to each, one
// I/O thread for all of them. Frames from hosts go to a handler on that
// thread; the device's frames are queued, optionally with a delay, and keep
// their order per interface.

#include "transport/vhid_bus.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace devsim {

using InterfaceId = uint32_t;
using ConnectionId = uint64_t;
constexpr ConnectionId kAllConnections = 0;

enum class Direction { HostToDevice, DeviceToHost };

class CBusServer {
public:
    using FrameHandler = std::function<void(InterfaceId, ConnectionId, const vhid::Frame&)>;
    // Sees every frame once: host frames as they arrive, device frames as they leave.
    using FrameObserver = std::function<void(const std::string& interfaceName, Direction, const vhid::Frame&)>;

    explicit CBusServer(std::string directory);
    ~CBusServer();
    CBusServer(const CBusServer&) = delete;
    CBusServer& operator=(const CBusServer&) = delete;

    // Creates the bus directory when missing and starts the I/O thread.
    bool Start(FrameHandler handler, FrameObserver observer);
    // Closes every interface (removing its socket file) and joins the thread.
    void Stop();
    const std::string& Directory() const { return directory_; }

    // Starts listening on <directory>/<socketName>; 0 on failure.
    InterfaceId Open(const std::string& socketName, const vhid::Hello& hello);
    void Close(InterfaceId id);
    void SetHello(InterfaceId id, const vhid::Hello& hello);

    // Queues a frame for one connection, or for every connection open when
    // it leaves (kAllConnections), after delayMs.
    void Send(InterfaceId id, ConnectionId connection, uint8_t type, std::vector<uint8_t> payload, int delayMs);
    void Disconnect(InterfaceId id, ConnectionId connection);
    size_t ConnectionCount(InterfaceId id) const;

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;
    struct Interface;
    struct Pending {
        InterfaceId interfaceId;
        ConnectionId connection;
        vhid::Frame frame;
    };
    struct Received {
        InterfaceId interfaceId;
        ConnectionId connection;
        std::string interfaceName;
        vhid::Frame frame;
    };
    struct PollTarget {
        InterfaceId interfaceId;
        ConnectionId connection;  // kAllConnections: the listening socket
    };

    void Run();
    void Wake();
    int MillisecondsToNextDue() const;
    void SendDueFrames();
    void Deliver(Interface& iface, ConnectionId connection, const vhid::Frame& frame);
    void Enqueue(Connection& connection, const vhid::Frame& frame);
    void Accept(InterfaceId id, Interface& iface);
    void ReadFrom(InterfaceId id, Interface& iface, ConnectionId connectionId, std::vector<Received>& received);
    void Flush(Interface& iface, ConnectionId connectionId);
    void Drop(Interface& iface, ConnectionId connectionId);
    void CloseInterface(Interface& iface);

    std::string directory_;
    FrameHandler handler_;
    FrameObserver observer_;
    mutable std::mutex mutex_;
    std::map<InterfaceId, Interface> interfaces_;
    std::multimap<Clock::time_point, Pending> pending_;
    std::map<InterfaceId, Clock::time_point> lastDue_;
    InterfaceId nextInterface_ = 1;
    ConnectionId nextConnection_ = 1;
    int wakeFd_ = -1;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace devsim
