#include "transport/device_access.h"

#include "platform/folders.h"
#include "transport/device_table.h"
#include "transport/hid_device.h"
#include "transport/hid_hidraw_backend.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace {

const DeviceRecord* SupportedRow(uint16_t vendorId, uint16_t productId)
{
    const auto row = std::find_if(SupportedDeviceTable.begin(), SupportedDeviceTable.end(),
                                  [&](const DeviceRecord& r) { return r.vendorId == vendorId && r.productId == productId; });
    return row == SupportedDeviceTable.end() ? nullptr : &*row;
}

// "320F:22A9": as the kernel names HID devices ("0003:320F:22A9.0001").
std::string HidId(uint16_t vendorId, uint16_t productId)
{
    char id[10];
    std::snprintf(id, sizeof id, "%04X:%04X", vendorId, productId);
    return id;
}

}  // namespace

std::string DeviceRules()
{
    std::string rules =
        "# Read and write access to the hidraw nodes of the Kestrova devices for\n"
        "# the user at the seat. Made from the program's supported-device table.\n";
    std::vector<std::pair<uint16_t, uint16_t>> done;
    for (const DeviceRecord& row : SupportedDeviceTable) {
        const std::pair<uint16_t, uint16_t> product{row.vendorId, row.productId};
        if (std::find(done.begin(), done.end(), product) != done.end())
            continue;
        done.push_back(product);
        rules += std::string("# ") + DeviceKindName(row.kind) + "\n";
        rules += "SUBSYSTEM==\"hidraw\", KERNELS==\"*:" + HidId(row.vendorId, row.productId) +
                 ".*\", TAG+=\"uaccess\"\n";
    }
    return rules;
}

std::string DeviceRuleFilePath()
{
    return std::filesystem::path(ProgramFolder() + KESTROVA_RULES_FROM_BIN).lexically_normal().string();
}

std::string DeniedDeviceNode(const std::string& path)
{
    if (!SupportedRow(ParseVid(path.c_str()), ParsePid(path.c_str())))
        return {};
    const std::string node = HidrawNodeOf(path);
    if (node.empty() || ::access(node.c_str(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM))
        return {};
    return node;
}

std::string DeviceAccessText(const std::string& path, const std::string& node)
{
    const uint16_t vendorId = ParseVid(path.c_str());
    const uint16_t productId = ParsePid(path.c_str());
    const DeviceRecord* row = SupportedRow(vendorId, productId);
    return std::string("Found the Kestrova ") + DeviceKindName(row ? row->kind : 0) + " (" + HidId(vendorId, productId) +
           ") but cannot open " + node + ": no permission. Access comes from the rule file " +
           DeviceRuleFilePath() + "; install it, then unplug the device and plug it in again.";
}

std::optional<DeniedDevice> FindDeniedDevice()
{
    CHidDevice hid;
    if (!hid.Enumerate())
        return std::nullopt;
    while (const char* path = hid.NextPath()) {
        const std::string node = DeniedDeviceNode(path);
        if (!node.empty())
            return DeniedDevice{path, node, HidId(ParseVid(path), ParsePid(path))};
    }
    return std::nullopt;
}

std::string DeviceAccessAdvice()
{
    const std::optional<DeniedDevice> denied = FindDeniedDevice();
    return denied ? DeviceAccessText(denied->path, denied->node) : std::string();
}
