#pragma once
// A piece of the start's work run on a thread of its own beside the rest;
// Wait (or the destructor) joins it.

#include <thread>

class CStartTask {
public:
    explicit CStartTask(void (*work)());
    ~CStartTask();
    CStartTask(const CStartTask&) = delete;
    CStartTask& operator=(const CStartTask&) = delete;

    void Wait();

private:
    std::thread thread_;
};
