#include "devices/page/receiver_link.h"

#include "platform/trace.h"

bool AwaitReceiverLink(CCommandChannel& channel, const std::function<bool(std::chrono::milliseconds)>& pause)
{
    for (int attempt = 0; attempt < kLinkPollTries; ++attempt) {
        if (channel.CheckLink()) {
            Trace("获取2");
            return true;
        }
        Trace("获取2.4G模式失败");
        if (attempt + 1 < kLinkPollTries && !pause(kLinkPollInterval))
            return false;
    }
    return false;
}
