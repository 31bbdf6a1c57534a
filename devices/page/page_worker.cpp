#include "devices/page/page_worker.h"

CPageWorker::CPageWorker() : thread_([this] { Run(); }) {}

bool CPageWorker::Post(Job job)
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (stopping_)
            return false;
        jobs_.push_back(std::move(job));
    }
    changed_.notify_one();
    return true;
}

void CPageWorker::Stop()
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    changed_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

bool CPageWorker::Pause(std::chrono::milliseconds duration)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return stopping_; });
}

bool CPageWorker::IsIdle() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return jobs_.empty() && !running_;
}

void CPageWorker::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
    }
}
