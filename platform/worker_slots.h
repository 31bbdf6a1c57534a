#pragma once
// A fixed number of long-lived worker threads, each with its own stop event.
//
// A worker loops until its stop event is set, waiting on that event (or on
// I/O that the owner cancels) instead of sleeping, so signalling it ends it
// promptly. Threads are never killed: killing leaves locks held and files
// half written. StopAll signals every slot, then waits for each started
// worker up to the bound; one that overruns is traced and still waited for,
// because freeing what it uses under it would be worse than a late exit.

#include "platform/stop_event.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CWorkerSlots {
public:
    using Worker = std::function<void(const CStopEvent& stop)>;
    enum class EndResult { NotStarted, Ended, Overran };

    explicit CWorkerSlots(int slotCount);
    ~CWorkerSlots();  // StopAll with the default bound
    CWorkerSlots(const CWorkerSlots&) = delete;
    CWorkerSlots& operator=(const CWorkerSlots&) = delete;

    int SlotCount() const;
    // False when the slot index is out of range or its worker still runs.
    bool Start(int slot, Worker worker);
    bool IsRunning(int slot) const;
    // Signals every slot, then waits for each started worker. Returns, per
    // slot, how it ended; slots stay reusable afterwards.
    std::vector<EndResult> StopAll(std::chrono::milliseconds bound = kDefaultBound);

    static constexpr std::chrono::milliseconds kDefaultBound{1000};

private:
    struct Slot;
    EndResult Join(int index, std::chrono::milliseconds bound);
    std::vector<std::unique_ptr<Slot>> slots_;
};
