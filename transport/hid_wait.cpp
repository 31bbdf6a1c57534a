#include "transport/hid_wait.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

HidDeadline::HidDeadline(int timeoutMs)
    : unlimited_(timeoutMs < 0), at_(HidClock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs))
{
}

int HidDeadline::RemainingMs() const
{
    if (unlimited_)
        return -1;
    const auto left = at_ - HidClock::now();
    if (left <= HidClock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

HidWaitResult WaitForFd(int fd, short events, int cancelFd, const HidDeadline& deadline)
{
    for (;;) {
        pollfd fds[2] = {{cancelFd, POLLIN, 0}, {fd, events, 0}};
        const int ready = ::poll(fds, 2, deadline.RemainingMs());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return HidWaitResult::kFailed;
        }
        if (fds[0].revents != 0)
            return HidWaitResult::kCancelled;
        // Hang-up and errors count as ready: the following I/O call reports them.
        if (fds[1].revents != 0)
            return HidWaitResult::kReady;
        if (ready == 0 && deadline.RemainingMs() == 0)
            return HidWaitResult::kTimedOut;
    }
}

HidCancelSignal::HidCancelSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

HidCancelSignal::~HidCancelSignal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void HidCancelSignal::Raise()
{
    const uint64_t one = 1;
    ssize_t written = ::write(fd_, &one, sizeof one);
    (void)written;  // only fails when the counter is already raised
}

void HidCancelSignal::Lower()
{
    uint64_t value = 0;
    ssize_t read = ::read(fd_, &value, sizeof value);
    (void)read;  // EAGAIN: it was not raised
}

bool HidTimedLock::Acquire(const HidDeadline& deadline)
{
    std::unique_lock<std::mutex> guard(mutex_);
    const auto free = [this] { return !held_; };
    if (deadline.Unlimited())
        released_.wait(guard, free);
    else if (!released_.wait_until(guard, deadline.At(), free))
        return false;
    held_ = true;
    return true;
}

void HidTimedLock::Release()
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        held_ = false;
    }
    released_.notify_one();
}
