#pragma once
// A discovery sink that records what it is told, in order.

#include "transport/device_discovery.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

struct Event {
    char what;  // 'A' arrived, 'R' released, 'F' first pass
    int slot;
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Event& event)
{
    return out << event.what << event.slot;
}

class RecordingSink : public CDiscoverySink {
public:
    void OnSlotArrived(int slot) override { Record({'A', slot}); }
    void OnSlotReleased(int slot) override { Record({'R', slot}); }
    void OnFirstPass() override { Record({'F', -1}); }

    std::vector<Event> Take()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(events_, {});
    }

    bool WaitFor(const Event& event)
    {
        std::unique_lock lock(mutex_);
        return recorded_.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::find(events_.begin(), events_.end(), event) != events_.end();
        });
    }

private:
    void Record(Event event)
    {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
        recorded_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable recorded_;
    std::vector<Event> events_;
};

inline std::vector<Event> Sorted(std::vector<Event> events)
{
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return std::tie(a.what, a.slot) < std::tie(b.what, b.slot); });
    return events;
}

