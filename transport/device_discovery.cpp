#include "transport/device_discovery.h"

#include "platform/trace.h"

#include <chrono>

namespace {
constexpr std::chrono::milliseconds kStopCheck{1};
constexpr std::chrono::milliseconds kScanPeriod{100};
}  // namespace

CDeviceDiscovery::CDeviceDiscovery(CSlotList& slots, CDiscoverySink& sink) : slots_(slots), sink_(sink) {}

void CDeviceDiscovery::RunPass()
{
    if (!slots_.AllSlotsHeld()) {
        ScanForArrivals();
        if (firstPass_) {
            firstPass_ = false;
            sink_.OnFirstPass();
        }
    }
    CheckDepartures();
}

int CDeviceDiscovery::Run(const CStopEvent& stop)
{
    // The first pass goes at once, without the 1 ms wait on the stop event
    // that the later ones take: the main window shows when it is done.
    bool stopped = stop.IsSet();
    while (!stopped) {
        RunPass();
        stopped = stop.Wait(kScanPeriod) || stop.Wait(kStopCheck);
    }
    Trace("抓取设备线程设定退出");
    return 0;
}

void CDeviceDiscovery::ScanForArrivals()
{
    // A failed enumeration counts as a pass that found nothing; the next
    // period tries again, so devices keep arriving and leaving.
    if (!probe_.Enumerate()) {
        Trace("device enumeration failed");
        probe_.ClearPaths();
        return;
    }
    while (const char* path = probe_.NextPath())
        ProbeAndClaim(path);
    probe_.ClearPaths();
}

void CDeviceDiscovery::ProbeAndClaim(const char* path)
{
    DeviceRecord probe = ProbeFromPath(path);
    if (!slots_.SlotMatchesFree(probe))
        return;
    if (!probe_.Open(path, true, false, true, false))
        return;
    probe.vendorId = probe_.Attributes().vendorId;
    probe.productId = probe_.Attributes().productId;
    probe.usagePage = probe_.Caps().usagePage;
    probe.usage = probe_.Caps().usage;
    int slot = -1;
    if (slots_.ClaimSlot(probe, &slot))
        sink_.OnSlotArrived(slot);
    probe_.Close();
}

void CDeviceDiscovery::CheckDepartures()
{
    for (const auto& [slot, path] : slots_.ConnectedSlots()) {
        // A bare presence test: a full open would wait for the device's
        // greeting, hold up this loop and release a merely slow device.
        if (HidInterfacePresent(path.c_str()))
            continue;
        // The owner may have released the slot itself meanwhile: report only
        // what this check released.
        if (slots_.Release(slot, path))
            sink_.OnSlotReleased(slot);
    }
}

DeviceRecord ProbeFromPath(const char* path)
{
    DeviceRecord probe;
    probe.vendorId = ParseVid(path);
    probe.productId = ParsePid(path);
    probe.collectionNumber = ParseCollectionNumber(path);
    probe.interfaceNumber = ParseInterfaceNumber(path);
    probe.path = path;
    return probe;
}

int DeviceDiscoveryThread(CSlotList& slots, CDiscoverySink& sink, const CStopEvent& stop)
{
    CDeviceDiscovery discovery(slots, sink);
    return discovery.Run(stop);
}
