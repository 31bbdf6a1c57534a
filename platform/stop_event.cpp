#include "platform/stop_event.h"

void CStopEvent::Set()
{
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    changed_.notify_all();
}

void CStopEvent::Reset()
{
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool CStopEvent::IsSet() const
{
    std::lock_guard lock(mutex_);
    return set_;
}

bool CStopEvent::Wait(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return set_; });
}

void CStopEvent::Wait() const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
}
