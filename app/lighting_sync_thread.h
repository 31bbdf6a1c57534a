#pragma once
// The thread that drives a lighting effect shared by every device. While a
// page with an open channel has synchronisation switched on, it counts
// ticks of at least 1 ms and, every speed interval, steps the effect and
// hands the colour to every page; otherwise it looks again after a second.
// It waits on its stop event throughout, so stopping it never waits long.

#include "devices/page/lighting_sync.h"
#include "platform/stop_event.h"

#include <mutex>
#include <optional>
#include <vector>

class CVelmoraUSBDevice;

class CLightingSync {
public:
    static constexpr int kIdleLookMs = 1000;

    // Pages live until the thread has stopped; the UI thread adds them.
    void AddPage(CVelmoraUSBDevice* page);
    void SetEffect(const SyncState& state);
    // The thread's body.
    void Run(const CStopEvent& stop);

private:
    bool AnyPageDriving();
    void Push(uint32_t color);

    std::mutex mutex_;
    std::vector<CVelmoraUSBDevice*> pages_;
    std::optional<CLightingSyncEffect> effect_;
};
