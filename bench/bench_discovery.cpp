// Discovery: the cost of one scan with 0, 11 and 40 interfaces present, and
// the CPU time the discovery thread spends over 10 s, idle and with the mouse.

#include "bench/protocol_bench.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <pthread.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kGoalCorePercent = 0.5;
constexpr int kScansPerSecond = 10;
constexpr int kMeasuredScans = 200;
constexpr std::chrono::seconds kThreadRun{10};

// An interface of another maker: listed by every scan, never opened.
class ForeignInterface {
public:
    ForeignInterface(const std::string& directory, int index)
    {
        const std::string name = vhid::InterfaceName(0x1234, static_cast<uint16_t>(index), 0, -1, "bench");
        path_ = directory + "/" + name;
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.copy(address.sun_path, sizeof address.sun_path - 1);
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 1) != 0)
            std::fprintf(stderr, "could not create %s\n", path_.c_str());
    }
    ~ForeignInterface()
    {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    ForeignInterface(const ForeignInterface&) = delete;
    ForeignInterface& operator=(const ForeignInterface&) = delete;

private:
    std::string path_;
    int fd_ = -1;
};

double ThreadCpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

size_t InterfaceCount()
{
    CHidDevice hid;
    if (!hid.Enumerate())
        return 0;
    return hid.PathCount();
}

void MeasureScan(const char* label)
{
    CSlotList slots;
    NullDiscoverySink sink;
    CDeviceDiscovery discovery(slots, sink);
    discovery.RunPass();  // the arrivals; what follows is the steady state
    const clockid_t self = [] {
        clockid_t clock{};
        pthread_getcpuclockid(pthread_self(), &clock);
        return clock;
    }();
    const double cpuStart = ThreadCpuSeconds(self);
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kMeasuredScans; ++i)
        discovery.RunPass();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = ThreadCpuSeconds(self) - cpuStart;
    const double cpuPerScanUs = cpu / kMeasuredScans * 1e6;
    std::printf("scan, %-34s %3zu interfaces: %7.1f us wall, %7.1f us CPU per scan = %.3f%% of one core at "
                "%d scans/s (goal < %.1f%%)\n",
                label, InterfaceCount(), wall / kMeasuredScans * 1e6, cpuPerScanUs,
                cpuPerScanUs * kScansPerSecond / 1e4, kScansPerSecond, kGoalCorePercent);
}

void MeasureThread(const char* label)
{
    CSlotList slots;
    NullDiscoverySink sink;
    CStopEvent stop;
    std::thread thread([&] { DeviceDiscoveryThread(slots, sink, stop); });
    clockid_t clock{};
    pthread_getcpuclockid(thread.native_handle(), &clock);
    const double start = ThreadCpuSeconds(clock);
    std::this_thread::sleep_for(kThreadRun);
    const double used = ThreadCpuSeconds(clock) - start;
    stop.Set();
    thread.join();
    const double percent = used / std::chrono::duration<double>(kThreadRun).count() * 100;
    std::printf("thread over %llds, %-22s %.1f ms CPU = %.3f%% of one core (goal < %.1f%%) %s\n",
                static_cast<long long>(kThreadRun.count()), label, used * 1e3, percent, kGoalCorePercent,
                percent < kGoalCorePercent ? "ok" : "MISSED");
}

}  // namespace

int main()
{
    BenchBus bus;
    if (!bus.Started())
        return 1;
    devsim::CDeviceSimulator& sim = bus.Simulator();
    MeasureScan("nothing attached,");
    sim.Plug(devsim::Port::MouseCable);
    sim.Plug(devsim::Port::MouseReceiver);
    std::vector<std::unique_ptr<ForeignInterface>> foreign;
    for (const size_t present : {11, 40}) {
        while (InterfaceCount() < present)
            foreign.push_back(std::make_unique<ForeignInterface>(bus.Directory(), static_cast<int>(foreign.size())));
        MeasureScan("mouse on cable and receiver, others,");
    }
    foreign.clear();
    sim.Unplug(devsim::Port::MouseReceiver);
    sim.Unplug(devsim::Port::MouseCable);

    MeasureThread("no device:");
    sim.Plug(devsim::Port::MouseCable);
    MeasureThread("mouse attached:");
    return 0;
}
