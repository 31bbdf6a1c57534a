#include "platform/worker_slots.h"

#include "platform/trace.h"

struct CWorkerSlots::Slot {
    CStopEvent stop;
    CStopEvent finished;
    std::thread thread;
};

CWorkerSlots::CWorkerSlots(int slotCount)
{
    for (int i = 0; i < slotCount; ++i)
        slots_.push_back(std::make_unique<Slot>());
}

CWorkerSlots::~CWorkerSlots()
{
    StopAll();
}

int CWorkerSlots::SlotCount() const
{
    return static_cast<int>(slots_.size());
}

bool CWorkerSlots::IsRunning(int slot) const
{
    if (slot < 0 || slot >= SlotCount())
        return false;
    const Slot& s = *slots_[slot];
    return s.thread.joinable() && !s.finished.IsSet();
}

bool CWorkerSlots::Start(int slot, Worker worker)
{
    if (slot < 0 || slot >= SlotCount() || IsRunning(slot))
        return false;
    Slot& s = *slots_[slot];
    if (s.thread.joinable())
        s.thread.join();  // finished already
    // Reset here, not in the worker: a stop that comes before the worker has
    // run its first line must not be lost.
    s.stop.Reset();
    s.finished.Reset();
    s.thread = std::thread([&s, work = std::move(worker)] {
        work(s.stop);
        s.finished.Set();
    });
    return true;
}

std::vector<CWorkerSlots::EndResult> CWorkerSlots::StopAll(std::chrono::milliseconds bound)
{
    for (auto& slot : slots_)
        slot->stop.Set();
    std::vector<EndResult> results;
    for (int i = 0; i < SlotCount(); ++i)
        results.push_back(Join(i, bound));
    return results;
}

CWorkerSlots::EndResult CWorkerSlots::Join(int index, std::chrono::milliseconds bound)
{
    Slot& s = *slots_[index];
    if (!s.thread.joinable())
        return EndResult::NotStarted;
    EndResult result = EndResult::Ended;
    if (!s.finished.Wait(bound)) {
        TraceF("worker %d did not end within %lld ms; waiting for it", index,
               static_cast<long long>(bound.count()));
        result = EndResult::Overran;
    }
    s.thread.join();
    return result;
}
