// kestrova-ctl watch: the device's notifications as they arrive, until
// Ctrl-C, the asked-for count, or the device leaving.

#include "tools/ctl/ctl_commands.h"
#include "tools/ctl/ctl_decode.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>
#include <vector>

namespace {

constexpr size_t kNotificationCode = 1;  // 16 bits, little-endian

// Waits for Ctrl-C or a termination request and then closes the interface,
// which wakes the blocked read. Signals are taken by this thread only.
class SignalWatcher {
public:
    explicit SignalWatcher(CHidDevice& device) : device_(device)
    {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGINT);
        sigaddset(&signals_, SIGTERM);
        sigaddset(&signals_, SIGUSR1);  // our own "stop watching"
        pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
        thread_ = std::thread([this] { Run(); });
    }
    ~SignalWatcher()
    {
        pthread_kill(thread_.native_handle(), SIGUSR1);
        thread_.join();
    }
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    bool Interrupted() const { return interrupted_; }

private:
    void Run()
    {
        int signal = 0;
        if (sigwait(&signals_, &signal) != 0 || signal == SIGUSR1)
            return;
        interrupted_ = true;
        device_.Close();
    }

    CHidDevice& device_;
    sigset_t signals_;
    std::atomic<bool> interrupted_{false};
    std::thread thread_;
};

void PrintNotification(const uint8_t* report, uint32_t length)
{
    std::string meaning;
    if (length >= kNotificationCode + 2) {
        const auto code = static_cast<uint16_t>(report[kNotificationCode] | (report[kNotificationCode + 1] << 8));
        char codeText[16];
        std::snprintf(codeText, sizeof codeText, "0x%04X", code);
        meaning = std::string(codeText) + " " + DescribeNotification(code);
    } else {
        meaning = "too short for a notification code";
    }
    std::printf("%s  [%s]\n", meaning.c_str(), HexBytes(report, length).c_str());
    std::fflush(stdout);
}

}  // namespace

int RunWatch(const CtlOptions& options)
{
    std::optional<CtlDevice> device = LocateDevice(options);
    if (!device)
        return kExitNoDevice;
    if (device->receiver) {
        // An unlinked receiver stays silent: say so instead of waiting forever.
        CCommandChannel linkCheck;
        if (const int failed = OpenChannel(linkCheck, *device))
            return failed;
    }
    if (device->notificationPath.empty()) {
        std::fprintf(stderr, "error: the %s's notification interface is not present\n", device->name.c_str());
        return kExitNoDevice;
    }
    CHidDevice notifications;
    if (!notifications.Open(device->notificationPath.c_str(), true, false, true, false)) {
        std::fprintf(stderr, "error: the %s's notification interface could not be opened (%s)\n",
                     device->name.c_str(), device->notificationPath.c_str());
        return kExitNoDevice;
    }
    std::vector<uint8_t> report(std::max<size_t>(notifications.Caps().inputReportByteLength, 3));
    std::printf("watching the %s: %s (Ctrl-C ends)\n", device->name.c_str(), device->notificationPath.c_str());
    std::fflush(stdout);

    SignalWatcher watcher(notifications);
    for (long seen = 0; options.count < 0 || seen < options.count; ++seen) {
        uint32_t length = 0;
        if (notifications.Read(report.data(), static_cast<uint32_t>(report.size()), &length, -1) == 0) {
            if (watcher.Interrupted())
                return kExitOk;
            std::fprintf(stderr, "error: the %s left (its notification interface can no longer be read)\n",
                         device->name.c_str());
            return kExitNoDevice;
        }
        PrintNotification(report.data(), length);
    }
    return kExitOk;
}
