#include "devices/page/notification_listener.h"
#include "devices/page/page_worker.h"
#include "tools/devsim/simulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

constexpr const char* kMouseNotify = "vhid:hid#vid_320f&pid_22a9&mi_00&col03#sim-mouse-1";

// Polls until the condition holds or five seconds passed.
bool Eventually(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class ListenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/listener-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        setenv("KESTROVA_VHID_DIR", directory.c_str(), 1);
        sim = std::make_unique<devsim::CDeviceSimulator>(directory);
        ASSERT_TRUE(sim->Start());
        ASSERT_TRUE(sim->Plug(devsim::Port::MouseCable));
    }
    void TearDown() override
    {
        listener.Close();
        sim->Stop();
        std::filesystem::remove_all(directory);
    }

    std::string directory;
    std::unique_ptr<devsim::CDeviceSimulator> sim;
    std::atomic<int> lastCode{0};
    CNotificationListener listener{[this](uint16_t code) { lastCode = code; }};
};

}  // namespace

TEST_F(ListenerTest, HandsOnCodesUntilClosed)
{
    ASSERT_TRUE(listener.Open(kMouseNotify));
    EXPECT_TRUE(listener.IsListening());
    ASSERT_TRUE(sim->Notify(devsim::Device::Mouse, 0x0401));
    EXPECT_TRUE(Eventually([&] { return lastCode == 0x0401; }));
    // A listener waiting in a read ends when asked, without being killed.
    listener.Close();
    EXPECT_FALSE(listener.IsListening());
    EXPECT_FALSE(listener.IsOpen());
}

TEST_F(ListenerTest, EndsByItselfWhenTheDeviceLeaves)
{
    ASSERT_TRUE(listener.Open(kMouseNotify));
    sim->Unplug(devsim::Port::MouseCable);
    EXPECT_TRUE(Eventually([&] { return !listener.IsListening(); }));
}

TEST_F(ListenerTest, NothingListensOnAnInterfaceThatFailedToOpen)
{
    EXPECT_FALSE(listener.Open("vhid:hid#vid_320f&pid_22a9&mi_00&col03#no-such-device"));
    EXPECT_FALSE(listener.IsListening());
    EXPECT_FALSE(listener.IsOpen());
}

TEST(NotificationCode, ShortReportsGiveNoCode)
{
    const uint8_t report[] = {3, 0x01, 0x04};
    EXPECT_EQ(NotificationCode(report, 3), 0x0401);
    EXPECT_EQ(NotificationCode(report, 2), 0);
}

TEST(PageWorker, RunsJobsInOrderAndDropsTheRestWhenStopped)
{
    CPageWorker worker;
    std::vector<int> order;
    std::atomic<bool> release{false};
    worker.Post([&] {
        while (!release)
            std::this_thread::yield();
        order.push_back(1);
    });
    worker.Post([&] { order.push_back(2); });
    release = true;
    ASSERT_TRUE(Eventually([&] { return worker.IsIdle(); }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    worker.Stop();
    EXPECT_FALSE(worker.Post([&] { order.push_back(3); }));
    EXPECT_EQ(order.size(), 2u);
}
