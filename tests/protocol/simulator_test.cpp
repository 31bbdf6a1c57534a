// Discovery, the command channel and kestrova-ctl against the device
// simulator, as the program meets real devices.

#include "protocol/recording_sink.h"
#include "protocol/run_ctl.h"
#include "protocol/simulated_mouse.h"
#include "protocol/temp_bus.h"
#include "tools/devsim/simulator.h"
#include "transport/command_channel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <numeric>

namespace {

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim_.Start()); }

    std::vector<Event> Pass()
    {
        discovery_.RunPass();
        return sink_.Take();
    }

    void OpenMouse(bool receiver)
    {
        OpenSimulatedMouse(sim_, discovery_, slots_, channel_, receiver);
        sink_.Take();
    }

    std::vector<uint8_t> Area(MemoryArea area, size_t offset, size_t length) const
    {
        return sim_.ReadArea(Device::Mouse, area, offset, length).value_or(std::vector<uint8_t>{});
    }

    TempBus bus_;
    devsim::CDeviceSimulator sim_{bus_.Directory()};
    CSlotList slots_;
    RecordingSink sink_;
    CDeviceDiscovery discovery_{slots_, sink_};
    CCommandChannel channel_;
};

TEST_F(SimulatorTest, MouseCableAndReceiverClaimOnlyTheirControlAndNotificationSlots)
{
    ASSERT_TRUE(sim_.Plug(Port::MouseCable));
    EXPECT_EQ(Sorted(Pass()), (std::vector<Event>{{'A', 4}, {'A', 5}, {'F', -1}}));
    ASSERT_TRUE(sim_.Plug(Port::MouseReceiver));
    EXPECT_EQ(Sorted(Pass()), (std::vector<Event>{{'A', 6}, {'A', 7}}));
    for (int slot = 0; slot < static_cast<int>(slots_.Count()); ++slot)
        EXPECT_EQ(slots_.Slot(slot).connected, slot >= 4 && slot <= 7 ? 1 : 0) << "slot " << slot;
    EXPECT_TRUE(slots_.IsPartnerConnected(4));

    sim_.Unplug(Port::MouseCable);
    EXPECT_EQ(Pass(), (std::vector<Event>{{'R', 4}, {'R', 5}}));
}

TEST_F(SimulatorTest, KeyboardClaimsItsFirstSlotsThenItsSecond)
{
    ASSERT_TRUE(sim_.Plug(Port::Keyboard));
    EXPECT_EQ(Sorted(Pass()), (std::vector<Event>{{'A', 0}, {'A', 1}, {'F', -1}}));
    EXPECT_EQ(Sorted(Pass()), (std::vector<Event>{{'A', 2}, {'A', 3}}));
    sim_.Unplug(Port::Keyboard);
    EXPECT_EQ(Pass(), (std::vector<Event>{{'R', 0}, {'R', 1}, {'R', 2}, {'R', 3}}));
}

TEST_F(SimulatorTest, PageReadsMatchTheDevicesMemoryOnBothConnections)
{
    for (const bool receiver : {false, true}) {
        SCOPED_TRACE(receiver ? "receiver" : "cable");
        OpenMouse(receiver);
        ASSERT_TRUE(channel_.CheckLink());
        ASSERT_EQ(channel_.BeginConfig(), kResultSuccess);
        uint8_t info[kInfoBlockSize] = {};
        ASSERT_EQ(channel_.ReadInfoBlock(info), kResultSuccess);
        EXPECT_EQ(std::vector<uint8_t>(info, info + kInfoBlockSize), Area(MemoryArea::Info, 0, kInfoBlockSize));
        ASSERT_TRUE(channel_.SetBlockSize(static_cast<uint16_t>(info[5] * 3)));
        std::vector<uint8_t> keys(channel_.BlockSize());
        ASSERT_EQ(channel_.ReadKeyTable(keys.data()), kResultSuccess);
        EXPECT_EQ(keys, Area(MemoryArea::KeyTable, 0, keys.size()));
        std::vector<uint8_t> settings(87);
        ASSERT_EQ(channel_.ReadMemory(settings.data(), 87, 128), kResultSuccess);
        EXPECT_EQ(settings, Area(MemoryArea::Settings, 128, 87));
        ASSERT_EQ(channel_.EndConfig(), kResultSuccess);
    }
}

TEST_F(SimulatorTest, WidePayloadsArriveWholeThroughTheReceiver)
{
    OpenMouse(true);
    std::vector<uint8_t> info = Area(MemoryArea::Info, 0, kInfoBlockSize);
    std::iota(info.begin() + 16, info.end(), 0x40);  // reaches frame byte 32 if sent in one frame
    ASSERT_EQ(channel_.WriteInfoBlock(info.data()), kResultSuccess);
    EXPECT_EQ(Area(MemoryArea::Info, 0, kInfoBlockSize), info);
    std::vector<uint8_t> recoil(120);
    std::iota(recoil.begin(), recoil.end(), 1);
    ASSERT_EQ(channel_.WriteRecoilData(recoil.data(), 120), kResultSuccess);
    EXPECT_EQ(Area(MemoryArea::Recoil, 0, 120), recoil);
}

TEST_F(SimulatorTest, RefusedSecondChunkKeepsTheFirstAndNeverSendsTheThird)
{
    OpenMouse(false);
    const std::vector<uint8_t> before = Area(MemoryArea::Settings, 0, 150);
    sim_.FailNth(Device::Mouse, kCmdWriteMemory, 2, kStatusRefused);
    std::vector<uint8_t> data(150, 0xA5);
    EXPECT_EQ(channel_.WriteMemory(data.data(), 150, 0), kResultStatusRefused);
    const std::vector<uint8_t> after = Area(MemoryArea::Settings, 0, 150);
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 56), std::vector<uint8_t>(56, 0xA5));
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + 112, after.end()),
              std::vector<uint8_t>(before.begin() + 112, before.end()));
}

TEST_F(SimulatorTest, GarbledCommandByteIsRetriedOnce)
{
    OpenMouse(false);
    sim_.WrongCommandOnce(Device::Mouse);
    uint8_t info[kInfoBlockSize] = {};
    EXPECT_EQ(channel_.ReadInfoBlock(info), kResultSuccess);
    EXPECT_EQ(info[0], 0xAA);
}

// A doubled reply to one chunk must not be taken for the next chunk's reply,
// which carries the same command byte.
TEST_F(SimulatorTest, DoubledReplyLeavesLaterReadsInStep)
{
    for (const bool receiver : {false, true}) {
        SCOPED_TRACE(receiver ? "receiver" : "cable");
        OpenMouse(receiver);
        sim_.AnswerTwiceOnce(Device::Mouse);
        std::vector<uint8_t> settings(87);
        ASSERT_EQ(channel_.ReadMemory(settings.data(), 87, 128), kResultSuccess);
        EXPECT_EQ(settings, Area(MemoryArea::Settings, 128, 87));
        uint8_t info[kInfoBlockSize] = {};
        ASSERT_EQ(channel_.ReadInfoBlock(info), kResultSuccess);
        EXPECT_EQ(std::vector<uint8_t>(info, info + kInfoBlockSize), Area(MemoryArea::Info, 0, kInfoBlockSize));
    }
}

TEST_F(SimulatorTest, UnlinkedReceiverReportsNotLinked)
{
    OpenMouse(true);
    sim_.SetLinked(false);
    EXPECT_FALSE(channel_.CheckLink());
    uint8_t info[kInfoBlockSize] = {};
    EXPECT_EQ(channel_.ReadInfoBlock(info), kResultNotLinked);
}

TEST_F(SimulatorTest, SilentDeviceGivesNoReplyAfterTheTimeOut)
{
    OpenMouse(false);
    sim_.DropRequests(Device::Mouse, devsim::CFaultInjector::kForever);
    EXPECT_EQ(channel_.BeginConfig(), kResultNoReply);
    EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(SimulatorTest, NotificationFloodDoesNotDisturbCommands)
{
    OpenMouse(false);
    std::future<void> flood = std::async(std::launch::async, [this] {
        for (int i = 0; i < 500; ++i)
            sim_.Notify(Device::Mouse, 0x0401);
    });
    std::vector<uint8_t> keys(channel_.BlockSize());
    EXPECT_EQ(channel_.ReadKeyTable(keys.data()), kResultSuccess);
    flood.get();
}

TEST_F(SimulatorTest, PulledMidExchangeFailsAndDiscoveryReleasesTheSlots)
{
    OpenMouse(false);
    sim_.SetLatency(Device::Mouse, 200);
    std::future<int> read = std::async(std::launch::async, [this] {
        std::vector<uint8_t> keys(channel_.BlockSize());
        return channel_.ReadKeyTable(keys.data());
    });
    sim_.Unplug(Port::MouseCable);
    const int result = read.get();
    EXPECT_TRUE(result == kResultWriteFailed || result == kResultNoReply) << result;
    EXPECT_EQ(Pass(), (std::vector<Event>{{'R', 4}, {'R', 5}}));
}

TEST_F(SimulatorTest, CtlShowsTheMouseAndSaysWhatIsWrong)
{
    struct Step {
        std::function<void()> setUp;
        const char* arguments;
        int exitCode;
        const char* expected;
    };
    const Step steps[] = {
        {[] {}, "info", 2, "no mouse found"},
        {[this] { sim_.Plug(Port::MouseCable); }, "info", 0, "0x55AA (valid)"},
        {[] {}, "list", 0, "-> slot 4"},
        {[] {}, "keys", 0, "left button"},
        {[] {}, "settings", 0, "DPI stage 6"},
        {[] {}, "--trace info", 0, "返回"},
        {[this] { sim_.Plug(Port::MouseReceiver); }, "--receiver settings", 0, "report rate"},
        {[this] { sim_.SetLinked(false); }, "--receiver info", 2, "reports no linked mouse"},
        {[] {}, "--receiver --count 1 watch", 2, "reports no linked mouse"},
        {[this] { sim_.SetLinked(true); sim_.DropRequests(Device::Mouse, 1); }, "--receiver info", 1,
         "did not answer the link check: result 0"},
        {[this] { sim_.FailNth(Device::Mouse, kCmdReadKeyTable, 1, kStatusFailed); }, "--cable keys", 1,
         "result -102"},
        {[this] { sim_.Notify(Device::Mouse, 0x0401); }, "--count 1 --bogus watch", 3, "unknown option"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments);
        step.setUp();
        const auto [exitCode, output] = RunCtl(step.arguments);
        EXPECT_EQ(exitCode, step.exitCode) << output;
        EXPECT_NE(output.find(step.expected), std::string::npos) << output;
    }
}

TEST_F(SimulatorTest, CtlWatchPrintsNotificationsAsTheyArrive)
{
    sim_.Plug(Port::MouseCable);
    std::future<std::pair<int, std::string>> watch = std::async(std::launch::async, [] {
        return RunCtl("--count 2 watch");
    });
    // Notifications sent before the tool listens are not seen: keep sending
    // until it has taken two.
    while (watch.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        sim_.Notify(Device::Mouse, 0x1002);
    const auto [exitCode, output] = watch.get();
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("0x1002 device profile 2 selected"), std::string::npos) << output;
}

}  // namespace
