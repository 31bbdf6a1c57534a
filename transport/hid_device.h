#pragma once
// One HID interface (one top-level collection): enumeration of every present
// interface, open with access options, attributes and report capabilities,
// reads and writes with time-out and cancel, and unpacking of input reports.
//
// Two backends sit behind it and Enumerate lists both on every call: the
// virtual HID bus (simulated devices, one Unix socket per interface) and real
// devices through Linux hidraw. Paths look like Windows device-interface
// paths, so the Parse functions read vid, pid, "&mi_" and "&col" from both:
// "vhid:hid#vid_320f&pid_22a9&mi_01&col02#sim-mouse-1" (the socket name) and
// "hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw3".

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class HidBackendHandle;  // one open interface of one backend
class HidPreparsedData;  // our parsed report descriptor (hid_report_descriptor.h)

// How a read ended: a report, nothing within the time-out (or cancelled),
// or the device is gone (unplugged, closed) and no later read can succeed.
enum class HidReadOutcome { kReport, kTimedOut, kGone };

enum HidReportKind : int { HidP_Input = 0, HidP_Output = 1, HidP_Feature = 2 };

// What HidP_GetCaps reports of a top-level collection.
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;   // report id byte included
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberButtonCaps[3] = {0, 0, 0};  // per HidReportKind
    uint16_t numberValueCaps[3] = {0, 0, 0};
};

// What HidD_GetAttributes reports.
struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// One element of a report, filled by UnpackReport.
struct HidDataItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    int32_t status = 0;  // HidParserStatus (hid_report_descriptor.h); 0 is success
    uint32_t reportId = 0;
    bool dataSet = false;
    // Button item
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint32_t maxUsageListLength = 0;
    std::vector<uint16_t> usages;  // pressed usages, 0-terminated when shorter
    // Value item
    uint16_t usage = 0;
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
};

class CHidDevice {
public:
    static constexpr size_t kMaxPathUnits = 260;  // terminator included

    CHidDevice();
    ~CHidDevice();
    CHidDevice(const CHidDevice&) = delete;
    CHidDevice& operator=(const CHidDevice&) = delete;

    // Path list
    bool Enumerate();
    const char* NextPath();  // null when empty or exhausted
    void ClearPaths();
    size_t PathCount() const;

    // Open state. A closing thread wakes a Read or Write blocked in another
    // thread and waits until it has left before releasing anything.
    bool Open(const char* path, bool read, bool write, bool overlapped, bool exclusive);
    void Close();
    bool IsOpen() const;

    // One report each; timeoutMs -1 waits without limit. bytesRead/bytesWritten
    // may be null; when given they are 0 first and the transferred count after.
    int Read(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, int timeoutMs);
    int Write(const uint8_t* buffer, uint32_t length, uint32_t* bytesWritten, int timeoutMs);
    // Read, telling a time-out from a device that left; a closed interface counts as gone.
    HidReadOutcome ReadInput(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, int timeoutMs);

    // HidD_SetOutputReport: an output report through the control pipe.
    bool SetOutputReport(const uint8_t* report, uint32_t length);
    // HidD_FlushQueue: drop the input reports kept for this handle.
    bool FlushQueue();

    bool UnpackReport(const uint8_t* report, uint32_t reportLength, HidReportKind kind,
                      HidDataItem* items, uint32_t itemCount,
                      const HidPreparsedData* preparsed) const;

    const std::string& OpenPath() const;
    const HidAttributes& Attributes() const;
    const HidCaps& Caps() const;
    uint32_t InterfaceNumber() const;
    uint32_t CollectionNumber() const;
    const HidPreparsedData* PreparsedData() const;
    uint8_t* ReportBuffer(HidReportKind kind);
    HidDataItem* DataItems(HidReportKind kind);
    uint32_t DataItemCount(HidReportKind kind) const;

private:
    struct State;
    class Operation;
    std::unique_ptr<State> d;
};

// Whether the interface of a listed path is still there, told without opening
// it and without any device I/O: a slow device counts as present.
bool HidInterfacePresent(const char* path);

// Path functions: case-insensitive token search, hexadecimal after the token,
// low 16 bits; 0 when the token is absent or no digits follow.
uint16_t ParseVid(const char* path);
uint16_t ParsePid(const char* path);
uint16_t ParseInterfaceNumber(const char* path);
uint16_t ParseCollectionNumber(const char* path);
