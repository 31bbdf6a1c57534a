#include "tools/devsim/simulator.h"

#include "tools/devsim/device_model.h"
#include "tools/devsim/headset_device.h"
#include "tools/devsim/keyboard_device.h"
#include "tools/devsim/mouse_device.h"
#include "tools/devsim/mousepad_device.h"

#include <algorithm>
#include <cstdio>

namespace devsim {

namespace {

constexpr const char* kPortNames[kPortCount] = {"mouse-cable", "mouse-receiver", "keyboard", "mousepad", "headset"};
constexpr const char* kDeviceNames[kDeviceCount] = {"mouse", "keyboard", "mousepad", "headset"};
constexpr Device kPortDevices[kPortCount] = {Device::Mouse, Device::Mouse, Device::Keyboard, Device::MousePad,
                                             Device::Headset};

// Flipping the top bit turns any command code into one no request carries.
constexpr uint8_t kGarbledCommandBit = 0x80;

struct ProfileButton {
    Device device;
    uint8_t profiles;
    bool sendsProfileCode;  // else it asks the program to re-read (sync request)
};
constexpr ProfileButton kProfileButtons[] = {
    {Device::Mouse, kMouseProfileCount, true},
    {Device::Keyboard, kKeyboardProfileCount, true},
    {Device::MousePad, 8, false},
    {Device::Headset, 8, false},
};

// A receiver whose mouse is out of reach answers every request itself,
// with the link-check code and no link.
CommandFrame ReceiverReply(bool linked)
{
    CommandFrame reply{};
    reply[kFrameReportId] = kCommandReportId;
    reply[kFrameCommand] = kCmdCheckLink;
    reply[kFrameLinkState] = linked ? kLinkedValue : 0;
    StoreChecksum(reply);
    return reply;
}

// Through the receiver the program overwrites byte 32 with its marker after
// the checksum was taken; the receiver puts the original byte back, so data
// that reaches byte 32 (34-byte info block, 56-byte chunks) arrives intact.
void RestoreMarkedByte(CommandFrame& frame)
{
    if (frame[kFrameReceiverMarker] != kReceiverMarkerValue)
        return;
    const int others = FrameChecksum(frame) - frame[kFrameReceiverMarker];
    const int original = StoredChecksum(frame) - others;
    if (original >= 0 && original <= 0xFF)
        frame[kFrameReceiverMarker] = static_cast<uint8_t>(original);
}

CommandFrame FailedReply(const CommandFrame& request, uint8_t status)
{
    CommandFrame reply = request;
    reply[kFrameStatus] = status;
    StoreChecksum(reply);
    return reply;
}

std::string HexLines(const std::vector<uint8_t>& bytes)
{
    std::string text;
    bool skipping = false;
    char cell[32];
    for (size_t line = 0; line < bytes.size(); line += 16) {
        const size_t end = std::min(bytes.size(), line + 16);
        const bool zero = std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(line),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(end), [](uint8_t b) { return b == 0; });
        if (zero && line > 0 && end < bytes.size()) {
            if (!skipping)
                text += "  *\n";
            skipping = true;
            continue;
        }
        skipping = false;
        std::snprintf(cell, sizeof cell, "  %04zx:", line);
        text += cell;
        for (size_t i = line; i < end; ++i) {
            std::snprintf(cell, sizeof cell, " %02x", bytes[i]);
            text += cell;
        }
        text += '\n';
    }
    return text;
}

}  // namespace

struct CDeviceSimulator::DeviceState {
    explicit DeviceState(FirmwareImage image) : firmware(std::move(image)) {}
    CFirmware firmware;
    CFaultInjector faults;
    int latencyMs = kDefaultLatencyMs;
};

struct CDeviceSimulator::PortState {
    explicit PortState(PortModel portModel) : model(std::move(portModel)) {}
    PortModel model;
    bool plugged = false;
    std::vector<InterfaceId> ids;  // parallel to model.interfaces while plugged
};

Device DeviceOf(Port port)
{
    return kPortDevices[static_cast<size_t>(port)];
}

const char* PortName(Port port)
{
    return kPortNames[static_cast<size_t>(port)];
}

const char* DeviceName(Device device)
{
    return kDeviceNames[static_cast<size_t>(device)];
}

std::optional<Port> PortByName(std::string_view name)
{
    if (name == "receiver")
        return Port::MouseReceiver;
    for (size_t i = 0; i < kPortCount; ++i)
        if (name == kPortNames[i])
            return static_cast<Port>(i);
    return std::nullopt;
}

std::optional<Device> DeviceByName(std::string_view name)
{
    for (size_t i = 0; i < kDeviceCount; ++i)
        if (name == kDeviceNames[i])
            return static_cast<Device>(i);
    if (const auto port = PortByName(name))
        return DeviceOf(*port);
    return std::nullopt;
}

CDeviceSimulator::CDeviceSimulator(std::string busDirectory)
    : server_(std::move(busDirectory)),
      devices_{std::make_unique<DeviceState>(MouseFirmware()), std::make_unique<DeviceState>(KeyboardFirmware()),
               std::make_unique<DeviceState>(MousePadFirmware()), std::make_unique<DeviceState>(HeadsetFirmware())},
      ports_{std::make_unique<PortState>(MouseCablePort()), std::make_unique<PortState>(MouseReceiverPort()),
             std::make_unique<PortState>(KeyboardPort()), std::make_unique<PortState>(MousePadPort()),
             std::make_unique<PortState>(HeadsetPort())}
{
}

CDeviceSimulator::~CDeviceSimulator()
{
    Stop();
}

bool CDeviceSimulator::Start()
{
    return server_.Start(
        [this](InterfaceId id, ConnectionId connection, const vhid::Frame& frame) { OnFrame(id, connection, frame); },
        [this](const std::string& name, Direction direction, const vhid::Frame& frame) {
            log_.Record(name, direction, frame);
        });
}

void CDeviceSimulator::Stop()
{
    {
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < kPortCount; ++i)
            UnplugLocked(static_cast<Port>(i));
    }
    // Outside the lock: the bus thread may be waiting for it in OnFrame.
    server_.Stop();
}

const std::string& CDeviceSimulator::BusDirectory() const
{
    return server_.Directory();
}

bool CDeviceSimulator::Plug(Port port)
{
    std::lock_guard lock(mutex_);
    return PlugLocked(port);
}

void CDeviceSimulator::Unplug(Port port)
{
    std::lock_guard lock(mutex_);
    UnplugLocked(port);
}

bool CDeviceSimulator::IsPlugged(Port port) const
{
    std::lock_guard lock(mutex_);
    return PortOf(port).plugged;
}

bool CDeviceSimulator::PlugLocked(Port port)
{
    PortState& state = PortOf(port);
    if (state.plugged)
        return true;
    for (size_t i = 0; i < state.model.interfaces.size(); ++i) {
        const InterfaceSpec& iface = state.model.interfaces[i];
        const std::string name = vhid::InterfaceName(state.model.vendorId, state.model.productId,
                                                     iface.interfaceNumber, iface.collection, state.model.instance);
        const InterfaceId id = server_.Open(name, HelloFor(port, i));
        if (id == 0) {
            state.plugged = true;  // let the unplug below close what was opened
            UnplugLocked(port);
            return false;
        }
        state.ids.push_back(id);
        routes_.push_back({id, {port, i}});
    }
    state.plugged = true;
    if (port == Port::MouseCable)
        UpdateMouseConnection();
    log_.Note(std::string("plug ") + PortName(port));
    return true;
}

void CDeviceSimulator::UnplugLocked(Port port)
{
    PortState& state = PortOf(port);
    if (!state.plugged)
        return;
    for (InterfaceId id : state.ids) {
        server_.Close(id);
        std::erase_if(routes_, [id](const auto& route) { return route.first == id; });
    }
    state.ids.clear();
    state.plugged = false;
    log_.Note(std::string("unplug ") + PortName(port));
    bool devicePresent = false;
    for (size_t i = 0; i < kPortCount; ++i)
        devicePresent = devicePresent || (ports_[i]->plugged && kPortDevices[i] == DeviceOf(port));
    if (!devicePresent)
        State(DeviceOf(port)).firmware.PowerCycle();
    if (port == Port::MouseCable)
        UpdateMouseConnection();
}

// The mouse charges on its cable and says in its status whether it runs on radio.
void CDeviceSimulator::UpdateMouseConnection()
{
    CFirmware& mouse = State(Device::Mouse).firmware;
    const bool onCable = PortOf(Port::MouseCable).plugged;
    const uint8_t battery = mouse.Area(MemoryArea::Status)[kStatusBattery];
    const PowerState power = !onCable ? kOnBattery : battery >= 100 ? kFullyCharged : kCharging;
    mouse.Write(MemoryArea::Status, kStatusPower, {power});
    mouse.Write(MemoryArea::Status, kStatusWireless, {static_cast<uint8_t>(onCable ? 0 : 1)});
}

bool CDeviceSimulator::MoveMouse(Port to)
{
    std::lock_guard lock(mutex_);
    if (to == Port::MouseCable) {
        SetLinkedLocked(false);
        return PlugLocked(Port::MouseCable);
    }
    if (to != Port::MouseReceiver)
        return false;
    UnplugLocked(Port::MouseCable);
    SetLinkedLocked(true);
    return PlugLocked(Port::MouseReceiver);
}

void CDeviceSimulator::SetLinked(bool linked)
{
    std::lock_guard lock(mutex_);
    SetLinkedLocked(linked);
}

void CDeviceSimulator::SetLinkedLocked(bool linked)
{
    if (linked != linked_)
        log_.Note(linked ? "receiver link up" : "receiver link down");
    linked_ = linked;
}

bool CDeviceSimulator::IsLinked() const
{
    std::lock_guard lock(mutex_);
    return linked_;
}

void CDeviceSimulator::SetBattery(Device device, uint8_t level, PowerState power)
{
    std::lock_guard lock(mutex_);
    State(device).firmware.Write(MemoryArea::Status, kStatusBattery, {level, power});
}

vhid::Hello CDeviceSimulator::HelloFor(Port port, size_t index) const
{
    const PortState& state = PortOf(port);
    const CollectionShape shape = ShapeOf(state.model.interfaces[index].kind);
    vhid::Hello hello;
    hello.vendorId = state.model.vendorId;
    hello.productId = state.model.productId;
    hello.version = State(DeviceOf(port)).firmware.Version();
    hello.usagePage = shape.usagePage;
    hello.usage = shape.usage;
    hello.inputLength = shape.inputLength;
    hello.outputLength = shape.outputLength;
    hello.featureLength = shape.featureLength;
    hello.reportDescriptor = shape.descriptor;
    return hello;
}

void CDeviceSimulator::SendReport(InterfaceId id, std::vector<uint8_t> report, uint16_t inputLength, int delayMs)
{
    report.resize(inputLength, 0);
    server_.Send(id, kAllConnections, vhid::kInput, std::move(report), delayMs);
}

bool CDeviceSimulator::Notify(Device device, uint16_t code)
{
    std::lock_guard lock(mutex_);
    return NotifyLocked(device, code);
}

bool CDeviceSimulator::NotifyLocked(Device device, uint16_t code)
{
    // The mouse speaks through its cable while plugged, else through a linked receiver.
    for (size_t p = 0; p < kPortCount; ++p) {
        const PortState& state = *ports_[p];
        const bool unreachable = static_cast<Port>(p) == Port::MouseReceiver && !linked_;
        if (kPortDevices[p] != device || !state.plugged || unreachable)
            continue;
        for (size_t i = 0; i < state.model.interfaces.size(); ++i) {
            if (!CarriesNotifications(state.model.interfaces[i].role))
                continue;
            const uint16_t length = ShapeOf(state.model.interfaces[i].kind).inputLength;
            SendReport(state.ids[i], {kNotificationReportId, static_cast<uint8_t>(code & 0xFF),
                                      static_cast<uint8_t>(code >> 8)}, length, 0);
            return true;
        }
    }
    return false;
}

bool CDeviceSimulator::PressProfileButton(Device device, uint8_t profile)
{
    std::lock_guard lock(mutex_);
    const ProfileButton* button = nullptr;
    for (const ProfileButton& candidate : kProfileButtons)
        if (candidate.device == device)
            button = &candidate;
    if (button == nullptr || profile >= button->profiles)
        return false;
    State(device).firmware.Write(MemoryArea::Settings, 0, {profile});
    return NotifyLocked(device, button->sendsProfileCode ? ProfileNotification(profile) : kNotifySyncRequest);
}

bool CDeviceSimulator::PressDpiButton(uint8_t stage)
{
    std::lock_guard lock(mutex_);
    if (stage >= kDpiStageCount)
        return false;
    CFirmware& mouse = State(Device::Mouse).firmware;
    const uint8_t profile = mouse.Area(MemoryArea::Settings)[kMouseCurrentProfile] % kMouseProfileCount;
    mouse.Write(MemoryArea::Settings, profile * kMouseProfileSpan + kBlockActiveDpiStage, {stage});
    return NotifyLocked(Device::Mouse, DpiStageNotification(stage, profile));
}

void CDeviceSimulator::DropRequests(Device device, int count)
{
    std::lock_guard lock(mutex_);
    State(device).faults.DropRequests(count);
}

void CDeviceSimulator::FailNth(Device device, uint8_t command, int nth, uint8_t status)
{
    std::lock_guard lock(mutex_);
    State(device).faults.FailNth(command, nth, status);
}

void CDeviceSimulator::WrongCommandOnce(Device device)
{
    std::lock_guard lock(mutex_);
    State(device).faults.WrongCommandOnce();
}

void CDeviceSimulator::AnswerTwiceOnce(Device device)
{
    std::lock_guard lock(mutex_);
    State(device).faults.AnswerTwiceOnce();
}

void CDeviceSimulator::CloseOnNth(Device device, int nth)
{
    std::lock_guard lock(mutex_);
    State(device).faults.CloseOnNth(nth);
}

void CDeviceSimulator::ClearFaults(Device device)
{
    std::lock_guard lock(mutex_);
    State(device).faults.Clear();
}

std::string CDeviceSimulator::DescribeFaults(Device device) const
{
    std::lock_guard lock(mutex_);
    return State(device).faults.Describe();
}

void CDeviceSimulator::SetLatency(Device device, int milliseconds)
{
    std::lock_guard lock(mutex_);
    State(device).latencyMs = std::max(0, milliseconds);
}

void CDeviceSimulator::SetFirmwareVersion(Device device, uint16_t version)
{
    std::lock_guard lock(mutex_);
    State(device).firmware.SetVersion(version);
    for (const auto& [id, route] : routes_)
        if (DeviceOf(route.port) == device)
            server_.SetHello(id, HelloFor(route.port, route.index));
}

uint16_t CDeviceSimulator::FirmwareVersion(Device device) const
{
    std::lock_guard lock(mutex_);
    return State(device).firmware.Version();
}

std::optional<std::vector<uint8_t>> CDeviceSimulator::ReadArea(Device device, MemoryArea area, size_t offset,
                                                                size_t length) const
{
    std::lock_guard lock(mutex_);
    const std::vector<uint8_t>& bytes = State(device).firmware.Area(area);
    if (offset > bytes.size() || length > bytes.size() - offset)
        return std::nullopt;
    return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

bool CDeviceSimulator::WriteArea(Device device, MemoryArea area, size_t offset, const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(mutex_);
    return State(device).firmware.Write(area, offset, bytes);
}

size_t CDeviceSimulator::AreaSize(Device device, MemoryArea area) const
{
    std::lock_guard lock(mutex_);
    return State(device).firmware.Area(area).size();
}

void CDeviceSimulator::FactoryReset(Device device)
{
    std::lock_guard lock(mutex_);
    State(device).firmware.FactoryReset();
    if (device == Device::Mouse)
        UpdateMouseConnection();
}

bool CDeviceSimulator::HostDrivesLighting(Device device) const
{
    std::lock_guard lock(mutex_);
    return State(device).firmware.HostDrivesLighting();
}

std::string CDeviceSimulator::Dump(Device device, std::optional<MemoryArea> area) const
{
    std::lock_guard lock(mutex_);
    const CFirmware& firmware = State(device).firmware;
    std::string text;
    for (size_t i = 0; i < kMemoryAreaCount; ++i) {
        const MemoryArea each = static_cast<MemoryArea>(i);
        if ((area && *area != each) || (!area && firmware.Area(each).empty()))
            continue;
        text += std::string(DeviceName(device)) + " " + AreaName(each) + " (" +
                std::to_string(firmware.Area(each).size()) + " bytes)\n" + HexLines(firmware.Area(each));
    }
    return text;
}

std::string CDeviceSimulator::DescribeState() const
{
    std::lock_guard lock(mutex_);
    std::string text = "bus " + server_.Directory() + "\n";
    for (size_t i = 0; i < kPortCount; ++i)
        text += std::string(kPortNames[i]) + (ports_[i]->plugged ? " plugged\n" : " unplugged\n");
    text += std::string("receiver link ") + (linked_ ? "up\n" : "down\n");
    char line[160];
    for (size_t i = 0; i < kDeviceCount; ++i) {
        const DeviceState& state = *devices_[i];
        const std::vector<uint8_t>& status = state.firmware.Area(MemoryArea::Status);
        std::snprintf(line, sizeof line, "%s: firmware %04x, latency %d ms, battery %u%%, power %u, faults: ",
                      kDeviceNames[i], state.firmware.Version(), state.latencyMs, status[kStatusBattery],
                      status[kStatusPower]);
        text += line + state.faults.Describe() + "\n";
    }
    return text;
}

bool CDeviceSimulator::SetTrafficLog(const std::string& path)
{
    return log_.SetTarget(path);
}

void CDeviceSimulator::SetTrafficLogStream(std::ostream* stream)
{
    log_.SetStream(stream);
}

void CDeviceSimulator::OnFrame(InterfaceId id, ConnectionId connection, const vhid::Frame& frame)
{
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(routes_.begin(), routes_.end(), [id](const auto& r) { return r.first == id; });
    if (found == routes_.end())
        return;  // unplugged meanwhile
    const Route route = found->second;
    switch (frame.type) {
    case vhid::kOutput:
        UseReport(route, id, connection, frame.payload);
        break;
    case vhid::kSetOutput: {
        // The control transfer completes before the device works on the report.
        const bool accepted = Classify(route, frame.payload) != ReportUse::Refused;
        server_.Send(id, connection, vhid::kAck, {static_cast<uint8_t>(accepted ? 1 : 0)}, 0);
        UseReport(route, id, connection, frame.payload);
        break;
    }
    case vhid::kSetFeature:
        server_.Send(id, connection, vhid::kAck, {0}, 0);  // no feature reports
        break;
    case vhid::kGetFeature:
        server_.Send(id, connection, vhid::kFeature, {}, 0);
        break;
    default:
        break;  // unknown frame types are ignored
    }
}

CDeviceSimulator::ReportUse CDeviceSimulator::Classify(const Route& route, const std::vector<uint8_t>& report) const
{
    const InterfaceSpec& iface = PortOf(route.port).model.interfaces[route.index];
    if (report.empty() || report.size() > ShapeOf(iface.kind).outputLength)
        return ReportUse::Refused;
    if (CarriesCommands(iface.role) && report[0] == kCommandReportId)
        return report.size() == kCommandFrameSize ? ReportUse::Command : ReportUse::Refused;
    if (route.port == Port::Headset)
        return report[0] == kHeadsetLightReportId ? ReportUse::HeadsetLight : ReportUse::Refused;
    return iface.role == InterfaceRole::Passive ? ReportUse::Ignored : ReportUse::Refused;  // keyboard LEDs and the like
}

void CDeviceSimulator::UseReport(const Route& route, InterfaceId id, ConnectionId connection,
                                 const std::vector<uint8_t>& report)
{
    switch (Classify(route, report)) {
    case ReportUse::Command: {
        CommandFrame request;
        std::copy(report.begin(), report.end(), request.begin());
        OnCommand(route.port, id, connection, request);
        break;
    }
    case ReportUse::HeadsetLight:
        ApplyHeadsetLightReport(State(Device::Headset).firmware, report);
        break;
    default:
        break;
    }
}

void CDeviceSimulator::OnCommand(Port port, InterfaceId id, ConnectionId connection, CommandFrame request)
{
    DeviceState& device = State(DeviceOf(port));
    const CFaultInjector::Decision decision = device.faults.OnRequest(request[kFrameCommand]);
    if (decision.action == CFaultInjector::Action::Drop)
        return;
    if (decision.action == CFaultInjector::Action::Close) {
        server_.Disconnect(id, connection);
        return;
    }
    int delay = device.latencyMs;
    CommandFrame reply;
    if (decision.action == CFaultInjector::Action::Fail) {
        reply = FailedReply(request, decision.status);
    } else if (port == Port::MouseReceiver && AnswerForReceiver(request)) {
        reply = ReceiverReply(linked_);
    } else {
        reply = device.firmware.Execute(request);
    }
    if (port == Port::MouseReceiver)
        delay += kReceiverHopMs;
    if (decision.wrongCommand) {
        reply[kFrameCommand] ^= kGarbledCommandBit;
        StoreChecksum(reply);
    }
    const std::vector<uint8_t> report(reply.begin(), reply.end());
    SendReport(id, report, kCommandFrameSize, delay);
    if (decision.twice)
        SendReport(id, report, kCommandFrameSize, delay);
}

// True when the receiver answers the request itself: link checks, and
// everything while the mouse is out of reach. Otherwise readies the
// request for the mouse.
bool CDeviceSimulator::AnswerForReceiver(CommandFrame& request)
{
    if (request[kFrameCommand] == kCmdCheckLink || !linked_)
        return true;
    RestoreMarkedByte(request);
    return false;
}

}  // namespace devsim
