#include "devices/page/notification_listener.h"

#include "platform/trace.h"

#include <vector>

uint16_t NotificationCode(const uint8_t* report, uint32_t length)
{
    return length < 3 ? 0 : static_cast<uint16_t>(report[1] | report[2] << 8);
}

bool CNotificationListener::Open(const std::string& path)
{
    StopListener();
    {
        std::lock_guard<std::mutex> guard(lock_);
        device_.Close();
        open_ = device_.Open(path.c_str(), true, true, true, false);
    }
    if (!open_)
        return false;
    stop_.Reset();
    listening_ = true;
    thread_ = std::thread([this] { Listen(); });
    return true;
}

void CNotificationListener::Close()
{
    StopListener();
    std::lock_guard<std::mutex> guard(lock_);
    open_ = false;
    device_.Close();
}

void CNotificationListener::StopListener()
{
    stop_.Set();
    if (thread_.joinable())
        thread_.join();
}

void CNotificationListener::Listen()
{
    const uint32_t length = device_.Caps().inputReportByteLength;
    std::vector<uint8_t> report(length > 0 ? length : 64);
    while (!stop_.IsSet()) {
        uint32_t count = 0;
        const HidReadOutcome outcome =
            device_.ReadInput(report.data(), static_cast<uint32_t>(report.size()), &count, kReadTimeoutMs);
        if (outcome == HidReadOutcome::kGone)
            break;
        if (outcome != HidReadOutcome::kReport)
            continue;
        const uint16_t code = NotificationCode(report.data(), count);
        Trace("接收到自动添加设备的同步信息要求  TEST");
        if (code != 0)
            handler_(code);
    }
    listening_ = false;
    Trace("MS 设备同步线程设定退出");
}
