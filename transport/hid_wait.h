#pragma once
// Waiting on a file descriptor with a deadline and a cancel descriptor, the
// building block of every blocking HID operation: a blocked call costs no CPU
// and ends at once when another thread signals the cancel descriptor.

#include <chrono>
#include <cstdint>

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
