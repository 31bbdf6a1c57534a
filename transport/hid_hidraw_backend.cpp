// Real HID devices through Linux hidraw and sysfs.

#include "transport/hid_hidraw_backend.h"

#include "transport/hid_backend.h"
#include "transport/hid_report_descriptor.h"
#include "transport/vhid_bus.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <linux/hidraw.h>
#include <poll.h>
#include <regex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The largest report the kernel hands over.
constexpr size_t kMaxRawReport = 16384;

struct NodeIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> ReadBinary(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    if (bytes.size() > HID_MAX_DESCRIPTOR_SIZE)
        bytes.clear();
    return bytes;
}

// "HID_ID=0003:0000046D:0000C077" in the HID device's uevent.
bool ReadIdentity(const fs::path& hidDevice, NodeIdentity& identity)
{
    static const std::regex idLine("HID_ID=[0-9A-Fa-f]+:([0-9A-Fa-f]+):([0-9A-Fa-f]+)");
    const std::string uevent = ReadText(hidDevice / "uevent");
    std::smatch match;
    if (!std::regex_search(uevent, match, idLine))
        return false;
    identity.vendorId = static_cast<uint16_t>(std::strtoul(match[1].str().c_str(), nullptr, 16) & 0xFFFF);
    identity.productId = static_cast<uint16_t>(std::strtoul(match[2].str().c_str(), nullptr, 16) & 0xFFFF);
    return true;
}

// A hex or decimal number in a sysfs attribute file; -1 when missing.
long ReadNumber(const fs::path& file, int base)
{
    const std::string text = ReadText(file);
    if (text.empty())
        return -1;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, base);
    return end == text.c_str() ? -1 : value;
}

// The USB interface number, only for a device of several interfaces, as the
// system names only those with "&mi_".
int CompositeInterfaceNumber(const fs::path& hidDevice)
{
    const fs::path usbInterface = hidDevice.parent_path();
    if (ReadNumber(usbInterface.parent_path() / "bNumInterfaces", 10) <= 1)
        return -1;
    return static_cast<int>(ReadNumber(usbInterface / "bInterfaceNumber", 16));
}

uint16_t ReadVersion(const fs::path& hidDevice)
{
    const long version = ReadNumber(hidDevice.parent_path().parent_path() / "bcdDevice", 16);
    return version < 0 ? 0 : static_cast<uint16_t>(version);
}

std::string InterfacePath(const NodeIdentity& identity, int interfaceNumber, int collection, const std::string& node)
{
    return kHidrawPathPrefix + vhid::InterfaceName(identity.vendorId, identity.productId, interfaceNumber, collection, node);
}

size_t CollectionCount(const std::vector<uint8_t>& descriptor)
{
    auto collections = ParseReportDescriptor(descriptor.data(), descriptor.size());
    return collections ? collections->size() : 0;
}

unsigned NodeNumber(const std::string& node)
{
    return static_cast<unsigned>(std::strtoul(node.c_str() + std::strlen("hidraw"), nullptr, 10));
}

// "hidrawN" after the path's last '#'.
std::string NodeOf(const std::string& path)
{
    return path.substr(path.rfind('#') + 1);
}

bool IsNodeName(const std::string& node)
{
    static const std::regex shape("hidraw[0-9]+");
    return std::regex_match(node, shape);
}

class HidrawInterface final : public HidBackendHandle {
public:
    HidrawInterface(int fd, const HidAccess& access, HidInterfaceInfo info, HidPreparsedData collection)
        : fd_(fd), access_(access), info_(std::move(info)), collection_(std::move(collection))
    {
    }
    ~HidrawInterface() override { ::close(fd_); }

    const HidInterfaceInfo& Info() const override { return info_; }
    HidIoResult ReadReport(uint8_t* buffer, uint32_t length, const HidDeadline& deadline, int cancelFd) override;
    HidIoResult WriteReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                            int cancelFd) override;
    bool SetOutputReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline, int cancelFd) override;
    bool FlushQueue(const HidDeadline& deadline) override;

private:
    // Reports of the node's other collections are not this interface's.
    bool IsOwnReport(const uint8_t* report) const
    {
        return !collection_.UsesReportIds() || collection_.HasReportId(HidP_Input, report[0]);
    }

    const int fd_;
    const HidAccess access_;
    const HidInterfaceInfo info_;
    const HidPreparsedData collection_;
};

HidIoResult HidrawInterface::ReadReport(uint8_t* buffer, uint32_t length, const HidDeadline& deadline, int cancelFd)
{
    if (!access_.read)
        return {};
    // Without report ids the system puts a 0 before the data; hidraw doesn't.
    const size_t idByte = collection_.UsesReportIds() ? 0 : 1;
    uint8_t report[kMaxRawReport + 1] = {0};
    for (;;) {
        const ssize_t received = ::read(fd_, report + idByte, kMaxRawReport);
        if (received > 0 && IsOwnReport(report)) {
            const uint32_t count = std::min<uint32_t>(length, static_cast<uint32_t>(received + idByte));
            std::memcpy(buffer, report, count);
            return {true, count};
        }
        if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR))
            return {.gone = true};  // unplugged
        if (received < 0 && WaitForFd(fd_, POLLIN, cancelFd, deadline) != HidWaitResult::kReady)
            return {};
    }
}

HidIoResult HidrawInterface::WriteReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                         int cancelFd)
{
    const uint16_t reportLength = info_.reportByteLength[HidP_Output];
    if (!access_.write || reportLength == 0 || length < reportLength)
        return {};
    for (;;) {
        const ssize_t written = ::write(fd_, report, reportLength);
        if (written >= 0)
            return {written == reportLength, static_cast<uint32_t>(written)};
        if ((errno != EAGAIN && errno != EINTR) || WaitForFd(fd_, POLLOUT, cancelFd, deadline) != HidWaitResult::kReady)
            return {};
    }
}

bool HidrawInterface::SetOutputReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                      int cancelFd)
{
    const uint32_t reportLength = ControlPipeReportLength(length, info_.reportByteLength[HidP_Output]);
    if (!access_.write || reportLength == 0)
        return false;
#ifdef HIDIOCSOUTPUT
    (void)deadline;
    (void)cancelFd;
    std::vector<uint8_t> copy(report, report + reportLength);
    return ::ioctl(fd_, HIDIOCSOUTPUT(reportLength), copy.data()) >= 0;
#else
    return WriteReport(report, length, deadline, cancelFd).ok;
#endif
}

bool HidrawInterface::FlushQueue(const HidDeadline&)
{
    uint8_t report[kMaxRawReport];
    for (;;) {
        const ssize_t received = ::read(fd_, report, sizeof report);
        if (received > 0)
            continue;
        return received < 0 && errno == EAGAIN;
    }
}

int OpenFlags(const HidAccess& access)
{
    const int mode = access.write ? (access.read ? O_RDWR : O_WRONLY) : O_RDONLY;
    return mode | O_NONBLOCK | O_CLOEXEC;
}

std::vector<uint8_t> ReadDescriptor(int fd)
{
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size <= 0 || size > HID_MAX_DESCRIPTOR_SIZE)
        return {};
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<uint32_t>(size);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0)
        return {};
    return std::vector<uint8_t>(descriptor.value, descriptor.value + size);
}

}  // namespace

void AppendHidrawPathsFrom(const std::string& classRoot, std::vector<std::string>& paths)
{
    std::error_code error;
    std::vector<std::string> nodes;
    for (const fs::directory_entry& entry : fs::directory_iterator(classRoot, error)) {
        if (IsNodeName(entry.path().filename().string()))
            nodes.push_back(entry.path().filename().string());
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const std::string& a, const std::string& b) { return NodeNumber(a) < NodeNumber(b); });
    for (const std::string& node : nodes) {
        const fs::path hidDevice = fs::canonical(fs::path(classRoot) / node / "device", error);
        NodeIdentity identity;
        if (error || !ReadIdentity(hidDevice, identity))
            continue;
        const int interfaceNumber = CompositeInterfaceNumber(hidDevice);
        const size_t collections = CollectionCount(ReadBinary(hidDevice / "report_descriptor"));
        if (collections <= 1) {
            paths.push_back(InterfacePath(identity, interfaceNumber, -1, node));
            continue;
        }
        for (size_t collection = 1; collection <= collections; ++collection)
            paths.push_back(InterfacePath(identity, interfaceNumber, static_cast<int>(collection), node));
    }
}

void AppendHidrawPaths(std::vector<std::string>& paths)
{
    AppendHidrawPathsFrom(kHidrawClassRoot, paths);
}

bool HidrawPresentIn(const std::string& classRoot, const std::string& path)
{
    const std::string node = NodeOf(path);
    if (!IsNodeName(node))
        return false;
    std::error_code error;
    const fs::path hidDevice = fs::canonical(fs::path(classRoot) / node / "device", error);
    NodeIdentity identity;
    // The node number may belong to another device since the path was listed.
    return !error && ReadIdentity(hidDevice, identity) &&
           identity.vendorId == ParseVid(path.c_str()) && identity.productId == ParsePid(path.c_str());
}

bool HidrawPresent(const std::string& path)
{
    return HidrawPresentIn(kHidrawClassRoot, path);
}

std::string HidrawNodeOf(const std::string& path)
{
    const std::string node = NodeOf(path);
    if (path.rfind(kHidrawPathPrefix, 0) != 0 || !IsNodeName(node))
        return {};
    return std::string(kHidrawDeviceDirectory) + "/" + node;
}

std::unique_ptr<HidBackendHandle> OpenHidraw(const std::string& path, const HidAccess& access)
{
    const std::string nodePath = HidrawNodeOf(path);
    if (nodePath.empty())
        return nullptr;
    const std::string node = nodePath.substr(nodePath.rfind('/') + 1);
    const int fd = ::open(nodePath.c_str(), OpenFlags(access));
    if (fd < 0)
        return nullptr;
    hidraw_devinfo device{};
    HidInterfaceInfo info;
    info.reportDescriptor = ReadDescriptor(fd);
    auto collections = ParseReportDescriptor(info.reportDescriptor.data(), info.reportDescriptor.size());
    const uint16_t collection = ParseCollectionNumber(path.c_str());
    const size_t index = collection == 0 ? 0 : collection - 1u;
    // The node number may belong to another device since the path was listed.
    if (::ioctl(fd, HIDIOCGRAWINFO, &device) < 0 || static_cast<uint16_t>(device.vendor) != ParseVid(path.c_str()) ||
        static_cast<uint16_t>(device.product) != ParsePid(path.c_str()) || !collections ||
        index >= collections->size()) {
        ::close(fd);
        return nullptr;
    }
    HidPreparsedData& chosen = (*collections)[index];
    info.attributes.vendorId = static_cast<uint16_t>(device.vendor);
    info.attributes.productId = static_cast<uint16_t>(device.product);
    std::error_code error;
    info.attributes.versionNumber =
        ReadVersion(fs::canonical(fs::path(kHidrawClassRoot) / node / "device", error));
    info.usagePage = chosen.UsagePage();
    info.usage = chosen.Usage();
    for (HidReportKind kind : {HidP_Input, HidP_Output, HidP_Feature})
        info.reportByteLength[kind] = chosen.ReportByteLength(kind);
    info.collectionIndex = static_cast<int>(index);
    return std::make_unique<HidrawInterface>(fd, access, std::move(info), std::move(chosen));
}
