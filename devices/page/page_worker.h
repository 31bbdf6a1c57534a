#pragma once
// The thread that runs a device page's exchanges with its device, one job at
// a time in the order they were posted, so a device that answers slowly (or
// not at all, through the receiver) never stalls the window. Jobs report
// back by posting to the UI thread themselves.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class CPageWorker {
public:
    using Job = std::function<void()>;

    CPageWorker();
    ~CPageWorker() { Stop(); }
    CPageWorker(const CPageWorker&) = delete;
    CPageWorker& operator=(const CPageWorker&) = delete;

    // False once stopped.
    bool Post(Job job);
    // Drops the jobs not yet started, lets the running one finish and ends the thread.
    void Stop();
    // For the running job: waits `duration`, cut short when the worker is
    // being stopped; false then.
    bool Pause(std::chrono::milliseconds duration);
    // True when no job is queued or running.
    bool IsIdle() const;

private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
