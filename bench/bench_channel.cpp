// The command channel against the simulated mouse answering after 1 ms: a
// full key-table read, a settings read, a full macro memory and a recoil image
// of four full patterns written, as a ratio to the protocol's own floor (the
// 10 ms pause of every frame plus the device's answer time).

#include "bench/protocol_bench.h"
#include "transport/command_channel.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kDeviceLatencyMs = 1;
constexpr double kReplyPauseMs = 10;
constexpr double kGoalRatio = 1.1;
constexpr int kRepeats = 10;
constexpr uint16_t kSettingsSize = 87;
constexpr uint16_t kProfileSpan = 128;
constexpr uint16_t kMacroMemorySize = 4096;  // the simulated mouse's
constexpr uint16_t kFullRecoilImageSize = 2920;

int Frames(int bytes, int chunk)
{
    return (bytes + chunk - 1) / chunk;
}

bool OpenMouse(CCommandChannel& channel, bool receiver)
{
    CSlotList slots;
    NullDiscoverySink sink;
    CDeviceDiscovery(slots, sink).RunPass();
    const DeviceRecord slot = slots.Slot(receiver ? 6 : 4);
    CHidDevice& control = receiver ? channel.ReceiverInterface() : channel.CableInterface();
    if (slot.connected == 0 || !control.Open(slot.path.c_str(), true, true, true, false))
        return false;
    channel.SetConnectionMode(receiver ? kReceiverMode : kCableMode);
    channel.SetOpen(true);
    return true;
}

void Measure(const char* label, int frames, double deviceMs, const std::function<int()>& exchange)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        if (exchange() != kResultSuccess) {
            std::printf("%-34s FAILED\n", label);
            return;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
                      kRepeats;
    const double floor = frames * (kReplyPauseMs + deviceMs);
    const double ratio = ms / floor;
    std::printf("%-34s %2d frames: %6.1f ms, floor %6.1f ms, ratio %.3f (goal <= %.1f) %s\n", label, frames, ms,
                floor, ratio, kGoalRatio, ratio <= kGoalRatio ? "ok" : "MISSED");
}

void MeasureConnection(bool receiver)
{
    CCommandChannel channel;
    if (!OpenMouse(channel, receiver)) {
        std::printf("the simulated mouse could not be opened\n");
        return;
    }
    const int chunk = channel.MaxChunk();
    const double deviceMs = kDeviceLatencyMs + (receiver ? devsim::kReceiverHopMs : 0);
    std::vector<uint8_t> table(kMaxBlockSize);
    channel.SetBlockSize(kMaxBlockSize);
    Measure(receiver ? "key table (512 bytes), receiver:" : "key table (512 bytes), cable:",
            Frames(kMaxBlockSize, chunk), deviceMs, [&] { return channel.ReadKeyTable(table.data()); });
    std::vector<uint8_t> settings(kSettingsSize);
    Measure(receiver ? "settings (1 + 87 bytes), receiver:" : "settings (1 + 87 bytes), cable:",
            1 + Frames(kSettingsSize, chunk), deviceMs, [&] {
                uint8_t profile = 0;
                const int result = channel.ReadMemory(&profile, 1, 0);
                if (result != kResultSuccess)
                    return result;
                return channel.ReadMemory(settings.data(), kSettingsSize,
                                          static_cast<uint16_t>(profile * kProfileSpan));
            });
    const std::vector<uint8_t> image(kMacroMemorySize);
    Measure(receiver ? "macro image (4096 bytes), receiver:" : "macro image (4096 bytes), cable:",
            Frames(kMacroMemorySize, chunk), deviceMs,
            [&] { return channel.WriteMacroData(image.data(), kMacroMemorySize); });
    Measure(receiver ? "recoil image (2920 bytes), receiver:" : "recoil image (2920 bytes), cable:",
            Frames(kFullRecoilImageSize, chunk), deviceMs,
            [&] { return channel.WriteRecoilData(image.data(), kFullRecoilImageSize); });
}

}  // namespace

int main()
{
    BenchBus bus;
    if (!bus.Started())
        return 1;
    devsim::CDeviceSimulator& sim = bus.Simulator();
    sim.Plug(devsim::Port::MouseCable);
    sim.Plug(devsim::Port::MouseReceiver);
    sim.SetLatency(devsim::Device::Mouse, kDeviceLatencyMs);
    MeasureConnection(false);
    MeasureConnection(true);
    return 0;
}
