#pragma once
// The device simulator: every device of the family on the virtual HID bus,
// controlled through this API (tests, benchmarks) or by text commands
// (the kestrova-devsim program).
//
//   devsim::CDeviceSimulator sim(tempDir);
//   sim.Start();
//   sim.Plug(devsim::Port::MouseCable);
//   sim.FailNth(devsim::Device::Mouse, kCmdWriteMemory, 2, kStatusRefused);
//   ... run the host against tempDir ...
//   sim.Stop();

#include "tools/devsim/bus_server.h"
#include "tools/devsim/fault_injector.h"
#include "tools/devsim/firmware.h"
#include "tools/devsim/traffic_log.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

// What can be plugged in: the mouse's cable and its receiver are separate.
enum class Port { MouseCable, MouseReceiver, Keyboard, MousePad, Headset };
constexpr size_t kPortCount = 5;
// Physical devices, each with its own firmware and memories.
enum class Device { Mouse, Keyboard, MousePad, Headset };
constexpr size_t kDeviceCount = 4;

Device DeviceOf(Port port);
const char* PortName(Port port);
const char* DeviceName(Device device);
std::optional<Port> PortByName(std::string_view name);
// Accepts device names and port names ("mouse-cable" names the mouse).
std::optional<Device> DeviceByName(std::string_view name);

// Answer times: the device's own, plus the radio hop through the receiver.
constexpr int kDefaultLatencyMs = 1;
constexpr int kReceiverHopMs = 2;

class CDeviceSimulator {
public:
    explicit CDeviceSimulator(std::string busDirectory = vhid::BusDirectory());
    ~CDeviceSimulator();
    CDeviceSimulator(const CDeviceSimulator&) = delete;
    CDeviceSimulator& operator=(const CDeviceSimulator&) = delete;

    bool Start();
    // Unplugs everything (socket files removed, connections closed) and ends the I/O thread.
    void Stop();
    const std::string& BusDirectory() const;

    bool Plug(Port port);
    void Unplug(Port port);
    bool IsPlugged(Port port) const;
    // Cable: the cable goes in and the radio link drops. Receiver: the cable
    // comes out, the receiver is plugged if it was not, and the link comes up.
    bool MoveMouse(Port to);
    // The mouse's 2.4 GHz link to its receiver (on by default).
    void SetLinked(bool linked);
    bool IsLinked() const;

    void SetBattery(Device device, uint8_t level, PowerState power);
    // Sends a notification code on the device's notification interface.
    bool Notify(Device device, uint16_t code);
    // The device's own buttons: memory changes, then the matching notification.
    bool PressProfileButton(Device device, uint8_t profile);
    bool PressDpiButton(uint8_t stage);

    void DropRequests(Device device, int count);
    void FailNth(Device device, uint8_t command, int nth, uint8_t status);
    void WrongCommandOnce(Device device);
    void AnswerTwiceOnce(Device device);
    void CloseOnNth(Device device, int nth);
    void ClearFaults(Device device);
    std::string DescribeFaults(Device device) const;
    void SetLatency(Device device, int milliseconds);

    // Takes effect on the next connection (it travels in HELLO).
    void SetFirmwareVersion(Device device, uint16_t version);
    uint16_t FirmwareVersion(Device device) const;
    std::optional<std::vector<uint8_t>> ReadArea(Device device, MemoryArea area, size_t offset, size_t length) const;
    bool WriteArea(Device device, MemoryArea area, size_t offset, const std::vector<uint8_t>& bytes);
    size_t AreaSize(Device device, MemoryArea area) const;
    void FactoryReset(Device device);
    bool HostDrivesLighting(Device device) const;

    // Hex dump of one area, or of every non-empty area when none is given.
    std::string Dump(Device device, std::optional<MemoryArea> area = std::nullopt) const;
    std::string DescribeState() const;

    // Traffic log: a file path, "-" for standard error, "" for none.
    bool SetTrafficLog(const std::string& path);
    void SetTrafficLogStream(std::ostream* stream);

private:
    struct DeviceState;
    struct PortState;
    struct Route {
        Port port;
        size_t index;  // into the port's interfaces
    };

    DeviceState& State(Device device) { return *devices_[static_cast<size_t>(device)]; }
    const DeviceState& State(Device device) const { return *devices_[static_cast<size_t>(device)]; }
    PortState& PortOf(Port port) { return *ports_[static_cast<size_t>(port)]; }
    const PortState& PortOf(Port port) const { return *ports_[static_cast<size_t>(port)]; }

    bool PlugLocked(Port port);
    void UnplugLocked(Port port);
    void UpdateMouseConnection();
    void SetLinkedLocked(bool linked);
    bool NotifyLocked(Device device, uint16_t code);
    vhid::Hello HelloFor(Port port, size_t index) const;
    void OnFrame(InterfaceId id, ConnectionId connection, const vhid::Frame& frame);
    enum class ReportUse { Refused, Command, HeadsetLight, Ignored };
    ReportUse Classify(const Route& route, const std::vector<uint8_t>& report) const;
    void UseReport(const Route& route, InterfaceId id, ConnectionId connection, const std::vector<uint8_t>& report);
    void OnCommand(Port port, InterfaceId id, ConnectionId connection, CommandFrame request);
    bool AnswerForReceiver(CommandFrame& request);
    void SendReport(InterfaceId id, std::vector<uint8_t> report, uint16_t inputLength, int delayMs);

    mutable std::mutex mutex_;
    CBusServer server_;
    CTrafficLog log_;
    std::array<std::unique_ptr<DeviceState>, kDeviceCount> devices_;
    std::array<std::unique_ptr<PortState>, kPortCount> ports_;
    std::vector<std::pair<InterfaceId, Route>> routes_;
    bool linked_ = true;
};

}  // namespace devsim
