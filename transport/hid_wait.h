#pragma once
// Waiting on a file descriptor with a deadline and a cancel descriptor, the
// building block of every blocking HID operation: a blocked call costs no CPU
// and ends at once when another thread signals the cancel descriptor.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

using HidClock = std::chrono::steady_clock;

// A point in time after which an operation gives up; "never" for -1.
class HidDeadline {
public:
    explicit HidDeadline(int timeoutMs);
    bool Unlimited() const { return unlimited_; }
    HidClock::time_point At() const { return at_; }
    // Milliseconds left, rounded up; -1 when unlimited, 0 when passed.
    int RemainingMs() const;

private:
    bool unlimited_;
    HidClock::time_point at_;
};

enum class HidWaitResult { kReady, kCancelled, kTimedOut, kFailed };

// Waits until fd has the poll events asked for (POLLIN or POLLOUT), the
// cancel descriptor becomes readable, or the deadline passes.
HidWaitResult WaitForFd(int fd, short events, int cancelFd, const HidDeadline& deadline);

// A cancel signal other threads can raise: an eventfd that stays readable
// until it is lowered again.
class HidCancelSignal {
public:
    HidCancelSignal();
    ~HidCancelSignal();
    HidCancelSignal(const HidCancelSignal&) = delete;
    HidCancelSignal& operator=(const HidCancelSignal&) = delete;

    int Fd() const { return fd_; }
    void Raise();
    void Lower();

private:
    int fd_;
};

// A lock that gives up at a deadline. Whoever holds it is inside a blocking
// call that the cancel signal ends, so waiting for it never outlasts a cancel.
class HidTimedLock {
public:
    bool Acquire(const HidDeadline& deadline);  // false when the deadline passed first
    void Release();

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
};

class HidTimedLockGuard {
public:
    HidTimedLockGuard(HidTimedLock& lock, const HidDeadline& deadline) : lock_(lock), owns_(lock.Acquire(deadline)) {}
    ~HidTimedLockGuard()
    {
        if (owns_)
            lock_.Release();
    }
    HidTimedLockGuard(const HidTimedLockGuard&) = delete;
    HidTimedLockGuard& operator=(const HidTimedLockGuard&) = delete;
    bool Owns() const { return owns_; }

private:
    HidTimedLock& lock_;
    const bool owns_;
};
