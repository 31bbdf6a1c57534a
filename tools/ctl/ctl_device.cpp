#include "tools/ctl/ctl_device.h"

#include "tools/ctl/ctl_decode.h"
#include "transport/device_access.h"
#include "transport/device_discovery.h"
#include "transport/vhid_bus.h"

#include <array>
#include <cstdio>
#include <vector>

namespace {

struct Connection {
    CtlFamily family;
    bool receiver;
    uint16_t kind;
    const char* name;
};

constexpr std::array<Connection, 4> kConnections = {{
    {CtlFamily::kMouse, false, kKindMouseCable, "mouse on its cable"},
    {CtlFamily::kMouse, true, kKindMouseReceiver, "mouse through its receiver"},
    {CtlFamily::kKeyboard, false, kKindKeyboard, "keyboard"},
    {CtlFamily::kMousePad, false, kKindMousePad, "mouse pad"},
}};

// Discovery reports are not needed here: the slot list tells the outcome.
class QuietSink : public CDiscoverySink {
public:
    void OnSlotArrived(int) override {}
    void OnSlotReleased(int) override {}
    void OnFirstPass() override {}
};

int FirstRow(uint16_t kind, uint16_t role)
{
    for (size_t row = 0; row < SupportedDeviceTable.size(); ++row) {
        if (SupportedDeviceTable[row].kind == kind && SupportedDeviceTable[row].role == role)
            return static_cast<int>(row);
    }
    return -1;
}

bool Wanted(const Connection& connection, const CtlOptions& options)
{
    if (connection.family != options.family)
        return false;
    return options.via == CtlVia::kAny || (options.via == CtlVia::kReceiver) == connection.receiver;
}

}  // namespace

const char* FamilyName(CtlFamily family)
{
    switch (family) {
    case CtlFamily::kMouse:
        return "mouse";
    case CtlFamily::kKeyboard:
        return "keyboard";
    case CtlFamily::kMousePad:
        return "mouse pad";
    }
    return "device";
}

std::optional<CtlDevice> LocateDevice(const CtlOptions& options)
{
    CSlotList slots;
    QuietSink sink;
    CDeviceDiscovery discovery(slots, sink);
    discovery.RunPass();
    for (const Connection& connection : kConnections) {
        if (!Wanted(connection, options))
            continue;
        const DeviceRecord control = slots.Slot(FirstRow(connection.kind, kRoleControl));
        if (control.connected == 0)
            continue;
        CtlDevice device;
        device.name = connection.name;
        device.controlPath = control.path;
        device.notificationPath = slots.Slot(FirstRow(connection.kind, kRoleNotification)).path;
        device.receiver = connection.receiver;
        return device;
    }
    const char* where = options.via == CtlVia::kCable      ? " on its cable"
                        : options.via == CtlVia::kReceiver ? " behind its receiver"
                                                           : "";
    const std::string accessProblem = DeviceAccessAdvice();
    if (!accessProblem.empty())
        std::fprintf(stderr, "error: %s\n", accessProblem.c_str());
    std::fprintf(stderr,
                 "error: no %s found%s. Is it plugged in? (\"kestrova-ctl list\" shows every HID interface; "
                 "simulated devices are looked for in %s)\n",
                 FamilyName(options.family), where, vhid::BusDirectory().c_str());
    return std::nullopt;
}

int OpenChannel(CCommandChannel& channel, const CtlDevice& device)
{
    CHidDevice& control = device.receiver ? channel.ReceiverInterface() : channel.CableInterface();
    if (!control.Open(device.controlPath.c_str(), true, true, true, false)) {
        std::fprintf(stderr, "error: the %s's control interface could not be opened (%s)\n", device.name.c_str(),
                     device.controlPath.c_str());
        return kExitNoDevice;
    }
    channel.SetConnectionMode(device.receiver ? kReceiverMode : kCableMode);
    channel.SetOpen(true);
    const int link = channel.LinkState();
    if (link == kResultNotLinked) {
        std::fprintf(stderr,
                     "error: the receiver is plugged in but reports no linked mouse: switch the mouse on, "
                     "or set it to its 2.4 GHz mode\n");
        return kExitNoDevice;
    }
    if (link != kResultSuccess)
        return ReportFailure("the receiver did not answer the link check", link);
    return kExitOk;
}

int OpenDevice(const CtlOptions& options, CCommandChannel& channel, CtlDevice& device)
{
    std::optional<CtlDevice> located = LocateDevice(options);
    if (!located)
        return kExitNoDevice;
    device = *located;
    std::printf("%s: %s\n", device.name.c_str(), device.controlPath.c_str());
    return OpenChannel(channel, device);
}

int ReportFailure(const std::string& what, int result)
{
    std::fprintf(stderr, "error: %s: result %d (%s)\n", what.c_str(), result, ResultText(result));
    return kExitExchangeFailed;
}
