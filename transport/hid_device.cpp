#include "transport/hid_device.h"

#include "transport/hid_backend.h"
#include "transport/hid_capabilities.h"
#include "transport/hid_share_table.h"

#include <cstdio>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <strings.h>

namespace {

// HidD_SetOutputReport and HidD_FlushQueue take no time-out; the device gets this long.
constexpr int kControlTimeoutMs = 1000;

// Length of a UTF-8 path in UTF-16 units, terminator excluded.
size_t Utf16Units(const char* path)
{
    size_t units = 0;
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(path); *at != 0; ++at) {
        if ((*at & 0xC0) != 0x80)
            units += (*at >= 0xF0) ? 2 : 1;  // four-byte sequences need a surrogate pair
    }
    return units;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

// Everything that exists only while an interface is open.
struct HidOpenInterface {
    HidAccess access;
    bool overlapped = false;
    std::string path;
    std::unique_ptr<HidBackendHandle> handle;
    std::unique_ptr<HidShareClaim> shareClaim;
    HidCapabilitySet capabilities;
    HidAttributes attributes;
    uint32_t interfaceNumber = 0;
    uint32_t collectionNumber = 0;
};

struct CHidDevice::State {
    std::vector<std::string> paths;
    size_t cursor = 0;

    HidOpenInterface open;

    // Reads and writes in progress; whoever replaces the open interface
    // wakes them and waits for them to leave.
    HidCancelSignal cancel;
    std::mutex lock;
    std::condition_variable idle;
    int activeOperations = 0;
    int closers = 0;

    // Swaps in another open interface (an empty one closes) once no read or
    // write uses the current one; gives the old one back for release.
    HidOpenInterface Replace(HidOpenInterface next)
    {
        std::unique_lock<std::mutex> guard(lock);
        ++closers;
        if (activeOperations > 0) {
            cancel.Raise();
            if (open.handle != nullptr)
                open.handle->Abort();
            idle.wait(guard, [this] { return activeOperations == 0; });
        }
        cancel.Lower();
        --closers;
        std::swap(open, next);
        return next;
    }
};

// Keeps the open interface alive for one read or write.
class CHidDevice::Operation {
public:
    explicit Operation(State& state) : state_(state)
    {
        std::lock_guard<std::mutex> guard(state_.lock);
        if (state_.open.handle == nullptr || state_.closers > 0)
            return;
        handle_ = state_.open.handle.get();
        ++state_.activeOperations;
    }
    ~Operation()
    {
        if (handle_ == nullptr)
            return;
        std::lock_guard<std::mutex> guard(state_.lock);
        if (--state_.activeOperations == 0)
            state_.idle.notify_all();
    }
    HidBackendHandle* Handle() const { return handle_; }

private:
    State& state_;
    HidBackendHandle* handle_ = nullptr;
};

CHidDevice::CHidDevice() : d(std::make_unique<State>()) {}

CHidDevice::~CHidDevice()
{
    Close();
}

bool CHidDevice::Enumerate()
{
    d->paths.clear();
    d->cursor = 0;
    AppendVirtualHidPaths(d->paths);
    AppendHidrawPaths(d->paths);
    return true;
}

const char* CHidDevice::NextPath()
{
    if (d->cursor >= d->paths.size())
        return nullptr;
    return d->paths[d->cursor++].c_str();
}

void CHidDevice::ClearPaths()
{
    d->paths.clear();
    d->cursor = 0;
}

size_t CHidDevice::PathCount() const
{
    return d->paths.size();
}

bool CHidDevice::Open(const char* path, bool read, bool write, bool overlapped, bool exclusive)
{
    Close();
    // Without its cancel signal a blocked read could never be woken.
    if (path == nullptr || Utf16Units(path) >= kMaxPathUnits || d->cancel.Fd() < 0)
        return false;
    HidAccess access{read, write, exclusive};
    std::string openPath(path);
    auto shareClaim = HidShareClaim::Take(openPath, access);
    if (!shareClaim)
        return false;
    HidOpenInterface next;
    if (StartsWith(openPath, kVirtualHidPathPrefix))
        next.handle = OpenVirtualHid(openPath, access);
    else if (StartsWith(openPath, kHidrawPathPrefix))
        next.handle = OpenHidraw(openPath, access);
    if (!next.handle)
        return false;
    next.access = access;
    next.overlapped = overlapped;
    next.path = std::move(openPath);
    next.shareClaim = std::move(shareClaim);
    next.capabilities = BuildCapabilities(next.handle->Info());
    next.attributes = next.handle->Info().attributes;
    next.interfaceNumber = ParseInterfaceNumber(path);
    next.collectionNumber = ParseCollectionNumber(path);
    // The interface replaced (another Open may have raced this one) is released outside the lock.
    d->Replace(std::move(next));
    return true;
}

void CHidDevice::Close()
{
    d->Replace(HidOpenInterface{});
}

bool CHidDevice::IsOpen() const
{
    std::lock_guard<std::mutex> guard(d->lock);
    return d->open.handle != nullptr;
}

int CHidDevice::Read(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, int timeoutMs)
{
    return ReadInput(buffer, length, bytesRead, timeoutMs) == HidReadOutcome::kReport ? 1 : 0;
}

HidReadOutcome CHidDevice::ReadInput(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, int timeoutMs)
{
    if (bytesRead != nullptr)
        *bytesRead = 0;
    Operation operation(*d);
    if (operation.Handle() == nullptr)
        return HidReadOutcome::kGone;
    if (buffer == nullptr || length == 0)
        return HidReadOutcome::kTimedOut;
    const HidIoResult result = operation.Handle()->ReadReport(buffer, length, HidDeadline(timeoutMs), d->cancel.Fd());
    if (bytesRead != nullptr)
        *bytesRead = result.count;
    if (result.ok)
        return HidReadOutcome::kReport;
    return result.gone ? HidReadOutcome::kGone : HidReadOutcome::kTimedOut;
}

int CHidDevice::Write(const uint8_t* buffer, uint32_t length, uint32_t* bytesWritten, int timeoutMs)
{
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    Operation operation(*d);
    if (operation.Handle() == nullptr || buffer == nullptr)
        return 0;
    const HidIoResult result =
        operation.Handle()->WriteReport(buffer, length, HidDeadline(timeoutMs), d->cancel.Fd());
    if (bytesWritten != nullptr)
        *bytesWritten = result.count;
    return result.ok ? 1 : 0;
}

bool CHidDevice::SetOutputReport(const uint8_t* report, uint32_t length)
{
    Operation operation(*d);
    if (operation.Handle() == nullptr || report == nullptr)
        return false;
    return operation.Handle()->SetOutputReport(report, length, HidDeadline(kControlTimeoutMs), d->cancel.Fd());
}

bool CHidDevice::FlushQueue()
{
    Operation operation(*d);
    return operation.Handle() != nullptr && operation.Handle()->FlushQueue(HidDeadline(kControlTimeoutMs));
}

bool CHidDevice::UnpackReport(const uint8_t* report, uint32_t reportLength, HidReportKind kind, HidDataItem* items,
                              uint32_t itemCount, const HidPreparsedData* preparsed) const
{
    return UnpackReportItems(report, reportLength, kind, items, itemCount, preparsed);
}

const std::string& CHidDevice::OpenPath() const
{
    return d->open.path;
}

const HidAttributes& CHidDevice::Attributes() const
{
    return d->open.attributes;
}

const HidCaps& CHidDevice::Caps() const
{
    return d->open.capabilities.caps;
}

uint32_t CHidDevice::InterfaceNumber() const
{
    return d->open.interfaceNumber;
}

uint32_t CHidDevice::CollectionNumber() const
{
    return d->open.collectionNumber;
}

const HidPreparsedData* CHidDevice::PreparsedData() const
{
    return d->open.capabilities.preparsed.get();
}

uint8_t* CHidDevice::ReportBuffer(HidReportKind kind)
{
    std::vector<uint8_t>& buffer = d->open.capabilities.kinds[kind].reportBuffer;
    return buffer.empty() ? nullptr : buffer.data();
}

HidDataItem* CHidDevice::DataItems(HidReportKind kind)
{
    std::vector<HidDataItem>& items = d->open.capabilities.kinds[kind].items;
    return items.empty() ? nullptr : items.data();
}

uint32_t CHidDevice::DataItemCount(HidReportKind kind) const
{
    return static_cast<uint32_t>(d->open.capabilities.kinds[kind].items.size());
}

bool HidInterfacePresent(const char* path)
{
    if (path == nullptr)
        return false;
    const std::string listed(path);
    if (StartsWith(listed, kVirtualHidPathPrefix))
        return VirtualHidPresent(listed);
    if (StartsWith(listed, kHidrawPathPrefix))
        return HidrawPresent(listed);
    return false;
}

// Case-insensitive search for the token, then "%x" right after it.
static uint16_t ParseHexAfter(const char* path, const char* token)
{
    if (path == nullptr)
        return 0;
    const size_t tokenLength = std::strlen(token);
    for (const char* at = path; *at != 0; ++at) {
        if (strncasecmp(at, token, tokenLength) != 0)
            continue;
        unsigned int value = 0;
        return std::sscanf(at + tokenLength, "%x", &value) == 1 ? static_cast<uint16_t>(value & 0xFFFF) : 0;
    }
    return 0;
}

uint16_t ParseVid(const char* path)
{
    return ParseHexAfter(path, "vid_");
}

uint16_t ParsePid(const char* path)
{
    return ParseHexAfter(path, "pid_");
}

uint16_t ParseInterfaceNumber(const char* path)
{
    return ParseHexAfter(path, "&mi_");
}

uint16_t ParseCollectionNumber(const char* path)
{
    return ParseHexAfter(path, "&col");
}
