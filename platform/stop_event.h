#pragma once
// A manual-reset event that tells a worker thread to end. Set wakes every
// waiter at once and stays set until Reset.

#include <chrono>
#include <condition_variable>
#include <mutex>

class CStopEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    // True as soon as the event is set; false when the time ran out first.
    bool Wait(std::chrono::milliseconds timeout) const;
    void Wait() const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
};
