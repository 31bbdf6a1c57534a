#pragma once
// What CHidDevice needs of a backend: the paths of its present interfaces and
// one open interface. Every blocking call ends at its deadline or when the
// cancel descriptor is raised, and has fully ended when it returns.

#include "transport/hid_device.h"
#include "transport/hid_wait.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HidIoResult {
    bool ok = false;
    uint32_t count = 0;
    bool gone = false;  // the device left (unplugged, connection closed): no later call will succeed
};

struct HidAccess {
    bool read = false;
    bool write = false;
    bool exclusive = false;
};

// What an open interface tells about itself.
struct HidInterfaceInfo {
    HidAttributes attributes;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t reportByteLength[3] = {0, 0, 0};  // per HidReportKind, report id byte included
    std::vector<uint8_t> reportDescriptor;
    // Which top-level collection of the descriptor this interface is; -1: the
    // one with the usage page and usage above.
    int collectionIndex = -1;
};

// Bytes of a report set through the control pipe: the report as given (it may
// be shorter than the longest output report), cut to that length; 0 refuses.
inline uint32_t ControlPipeReportLength(uint32_t length, uint16_t outputReportLength)
{
    return length < outputReportLength ? length : outputReportLength;
}

class HidBackendHandle {
public:
    virtual ~HidBackendHandle() = default;
    virtual const HidInterfaceInfo& Info() const = 0;
    // One input report, report id first; a shorter buffer takes its first bytes.
    virtual HidIoResult ReadReport(uint8_t* buffer, uint32_t length, const HidDeadline& deadline,
                                   int cancelFd) = 0;
    // One output report on the interrupt pipe.
    virtual HidIoResult WriteReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                    int cancelFd) = 0;
    // One output report on the control pipe (ControlPipeReportLength), accepted by the device.
    virtual bool SetOutputReport(const uint8_t* report, uint32_t length, const HidDeadline& deadline,
                                 int cancelFd) = 0;
    // Drops the input reports kept for this handle.
    virtual bool FlushQueue(const HidDeadline& deadline) = 0;
    // The handle is about to be released: wakes for good a call blocked in
    // another thread that the cancel descriptor does not reach.
    virtual void Abort() {}
};

// The virtual HID bus.
constexpr const char* kVirtualHidPathPrefix = "vhid:";
void AppendVirtualHidPaths(std::vector<std::string>& paths);
std::unique_ptr<HidBackendHandle> OpenVirtualHid(const std::string& path, const HidAccess& access);
// The interface's socket takes connections (nothing waits for its HELLO).
bool VirtualHidPresent(const std::string& path);

// Real devices through Linux hidraw.
constexpr const char* kHidrawPathPrefix = "hidraw:";
void AppendHidrawPaths(std::vector<std::string>& paths);
std::unique_ptr<HidBackendHandle> OpenHidraw(const std::string& path, const HidAccess& access);
// The node is still there and still belongs to the path's vendor and product.
bool HidrawPresent(const std::string& path);
