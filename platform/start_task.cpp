#include "platform/start_task.h"

CStartTask::CStartTask(void (*work)()) : thread_(work) {}

CStartTask::~CStartTask()
{
    Wait();
}

void CStartTask::Wait()
{
    if (thread_.joinable())
        thread_.join();
}
