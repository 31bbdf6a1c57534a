#pragma once
// Finds supported interfaces as they arrive and leave: every 100 ms it lists
// the HID interfaces while a slot is free, claims the matching ones, and
// releases the slots whose interfaces are gone.

#include "platform/stop_event.h"
#include "transport/device_table.h"
#include "transport/hid_device.h"

// Where the discovery thread reports. The owner decides how the reports reach
// its own thread.
class CDiscoverySink {
public:
    virtual ~CDiscoverySink() = default;
    // A slot was claimed. Returns once the arrival has been handled: the
    // thread scans on only afterwards.
    virtual void OnSlotArrived(int slot) = 0;
    // A slot was released (its interface is gone). Handled before return.
    virtual void OnSlotReleased(int slot) = 0;
    // The first scan is done, also when it found nothing. Must not block.
    virtual void OnFirstPass() = 0;
};

class CDeviceDiscovery {
public:
    CDeviceDiscovery(CSlotList& slots, CDiscoverySink& sink);

    // One period's work: the arrival scan (only while a slot is free), the
    // first-pass report once, then the departure check.
    void RunPass();
    // Runs passes until the stop event is set; returns 0.
    int Run(const CStopEvent& stop);

private:
    void ScanForArrivals();
    void ProbeAndClaim(const char* path);
    void CheckDepartures();

    CSlotList& slots_;
    CDiscoverySink& sink_;
    CHidDevice probe_;
    bool firstPass_ = true;
};

// A probe record from what a path tells: vendor, product, interface and
// collection numbers, and the path itself.
DeviceRecord ProbeFromPath(const char* path);

// Thread entry point: the discovery loop until the stop event is set.
int DeviceDiscoveryThread(CSlotList& slots, CDiscoverySink& sink, const CStopEvent& stop);
