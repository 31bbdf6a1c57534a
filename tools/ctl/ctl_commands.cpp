#include "tools/ctl/ctl_commands.h"

#include "devices/mouse/mouse_device_core.h"
#include "tools/ctl/ctl_decode.h"
#include "transport/device_access.h"
#include "transport/device_discovery.h"
#include "transport/vhid_bus.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintFields(const Fields& fields)
{
    for (const auto& [label, value] : fields)
        std::printf("  %-28s %s\n", (label + ":").c_str(), value.c_str());
}

const char* RoleText(uint16_t role)
{
    return role == kRoleNotification ? "notification interface" : "control interface";
}

int RowWithFourIdentifiers(const DeviceRecord& probe)
{
    for (size_t row = 0; row < SupportedDeviceTable.size(); ++row) {
        const DeviceRecord& r = SupportedDeviceTable[row];
        if (r.vendorId == probe.vendorId && r.productId == probe.productId &&
            r.interfaceNumber == probe.interfaceNumber && r.collectionNumber == probe.collectionNumber)
            return static_cast<int>(row);
    }
    return -1;
}

// What discovery makes of one interface, claiming its slot as the first pass would.
void DescribeInterface(const char* path, CSlotList& slots, CHidDevice& probeDevice)
{
    DeviceRecord probe = ProbeFromPath(path);
    std::printf("%s\n    vendor %04X, product %04X, interface %u, collection %u\n", path, probe.vendorId,
                probe.productId, probe.interfaceNumber, probe.collectionNumber);
    const int row = RowWithFourIdentifiers(probe);
    if (row < 0) {
        std::printf("    not a supported interface: no table row has these four numbers\n");
        return;
    }
    if (!slots.SlotMatchesFree(probe)) {
        std::printf("    row %d, but every slot for it is already held by an interface listed above\n", row);
        return;
    }
    if (!probeDevice.Open(path, true, false, true, false)) {
        std::printf("    row %d, but the interface could not be opened\n", row);
        const std::string deniedNode = DeniedDeviceNode(path);
        if (!deniedNode.empty())
            std::fprintf(stderr, "error: %s\n", DeviceAccessText(path, deniedNode).c_str());
        return;
    }
    probe.vendorId = probeDevice.Attributes().vendorId;
    probe.productId = probeDevice.Attributes().productId;
    probe.usagePage = probeDevice.Caps().usagePage;
    probe.usage = probeDevice.Caps().usage;
    probeDevice.Close();
    int slot = -1;
    if (slots.ClaimSlot(probe, &slot)) {
        std::printf("    usage page %04X, usage %04X: %s, %s -> slot %d\n", probe.usagePage, probe.usage,
                    DeviceKindName(probe.kind), RoleText(probe.role), slot);
        return;
    }
    const DeviceRecord& expected = SupportedDeviceTable[static_cast<size_t>(row)];
    std::printf("    not claimed: usage page %04X, usage %04X, where row %d expects %04X, %04X\n", probe.usagePage,
                probe.usage, row, expected.usagePage, expected.usage);
}

// BeginConfig, the read, EndConfig; the first failure is reported.
template <typename Read>
int ConfigRead(CCommandChannel& channel, const char* what, Read read)
{
    int result = channel.BeginConfig();
    if (result != kResultSuccess)
        return ReportFailure("starting the configuration exchange", result);
    result = read();
    if (result != kResultSuccess)
        return ReportFailure(what, result);
    result = channel.EndConfig();
    if (result != kResultSuccess)
        return ReportFailure("ending the configuration exchange", result);
    return kExitOk;
}

void PrintKeys(const uint8_t* table, unsigned keyCount, bool mouse)
{
    for (unsigned position = 0; position < keyCount; ++position) {
        const uint8_t* code = table + position * kKeyCodeSize;
        std::string line = "  position " + std::to_string(position) + ": " + HexBytes(code, kKeyCodeSize) + "  " +
                           DescribeKeyFunction(code[0], code[1], code[2]);
        const int key = mouse ? MouseKeyWithDefault(code) : -1;
        if (key >= 0)
            line += "  (default of mouse key " + std::to_string(key) + ")";
        std::printf("%s\n", line.c_str());
    }
}

}  // namespace

int RunList()
{
    CHidDevice hid;
    if (!hid.Enumerate()) {
        std::fprintf(stderr, "error: the HID interfaces could not be listed\n");
        return kExitNoDevice;
    }
    CSlotList slots;
    CHidDevice probe;
    size_t count = 0;
    while (const char* path = hid.NextPath()) {
        ++count;
        DescribeInterface(path, slots, probe);
    }
    if (count == 0)
        std::printf("no HID interfaces found (simulated devices are looked for in %s)\n",
                    vhid::BusDirectory().c_str());
    return kExitOk;
}

int RunInfo(const CtlOptions& options)
{
    CCommandChannel channel;
    CtlDevice device;
    if (int failed = OpenDevice(options, channel, device))
        return failed;
    uint8_t block[kInfoBlockSize] = {};
    if (int failed = ConfigRead(channel, "reading the information block", [&] { return channel.ReadInfoBlock(block); }))
        return failed;
    std::printf("information block:\n");
    PrintFields(DecodeInfoBlock(block));
    return kExitOk;
}

int RunSettings(const CtlOptions& options)
{
    if (options.family != CtlFamily::kMouse) {
        std::fprintf(stderr, "error: \"settings\" decodes the mouse's settings block only\n");
        return kExitUsage;
    }
    CCommandChannel channel;
    CtlDevice device;
    if (int failed = OpenDevice(options, channel, device))
        return failed;
    CMouseDeviceCore mouse(channel);
    const int result = mouse.ReadBlock();
    if (result != kResultSuccess)
        return ReportFailure("reading the settings block", result);
    std::printf("settings of device profile %u:\n", mouse.CurrentProfile());
    PrintFields(DecodeMouseSettings(mouse.Block().data()));
    return kExitOk;
}

int RunKeys(const CtlOptions& options)
{
    CCommandChannel channel;
    CtlDevice device;
    if (int failed = OpenDevice(options, channel, device))
        return failed;
    uint8_t info[kInfoBlockSize] = {};
    uint8_t table[kMaxBlockSize] = {};
    unsigned keyCount = 0;
    const int failed = ConfigRead(channel, "reading the key table", [&] {
        const int result = channel.ReadInfoBlock(info);
        if (result != kResultSuccess)
            return result;
        keyCount = info[kInfoKeyCount];
        if (!channel.SetBlockSize(static_cast<uint16_t>(keyCount * kKeyCodeSize))) {
            std::fprintf(stderr, "error: the device reports %u keys, more than its key table can hold\n", keyCount);
            return static_cast<int>(kResultNoReply);
        }
        return channel.ReadKeyTable(table);
    });
    if (failed)
        return failed;
    std::printf("key table, %u keys:\n", keyCount);
    PrintKeys(table, keyCount, options.family == CtlFamily::kMouse);
    return kExitOk;
}
