// Messages between threads and windows: post, send, registered names,
// bytes, and sends that must not hang when the window goes.
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

constexpr UINT kDeviceArrived = 3090;
constexpr UINT kDeviceLeft = 3091;

}  // namespace

class WindowMessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestSkin();
        window.Create(nullptr, QStringLiteral("messages"));
    }

    TestWindow window;
};

TEST(RegisteredMessageTest, SameNameSameNumberInTheRegisteredRange)
{
    const UINT instance = RegisterWindowMessage(QStringLiteral("Kestrova Z418-WL 3 Mode GAMING MOUSE"));
    const UINT claim = RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}"));
    EXPECT_GE(instance, kFirstRegisteredMessage);
    EXPECT_LE(instance, kLastRegisteredMessage);
    EXPECT_NE(instance, claim);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("Kestrova Z418-WL 3 Mode GAMING MOUSE")), instance);
    EXPECT_EQ(FindRegisteredMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}")), claim);
    EXPECT_EQ(RegisterWindowMessage(QString()), 0u);
    EXPECT_EQ(FindRegisteredMessage(QStringLiteral("never registered")), 0u);
}

TEST(RegisteredMessageTest, NamesMatchWithoutCaseAsOtherProgramsMayWriteThem)
{
    const UINT relay = RegisterWindowMessage(QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"));
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("{4695579f-999a-41D4-9faf-effce93ebf15}")), relay);
    EXPECT_EQ(FindRegisteredMessage(QStringLiteral("{4695579F-999A-41D4-9FAF-EFFCE93EBF15}")), relay);
}

TEST_F(WindowMessagesTest, SendFromWorkerRunsOnTheUiThreadAndReturnsAfterIt)
{
    std::atomic<bool> handled{false};
    window.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message != kDeviceArrived)
            return 0;
        handled = true;
        return static_cast<LRESULT>(wParam) + 100;
    };
    std::atomic<bool> handledBeforeReturn{false};
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendWindowMessage(window.GetHWND(), kDeviceArrived, 5, 0);
        handledBeforeReturn = handled.load();
        done = true;
    });
    EXPECT_TRUE(RunEventsUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result.load(), 105);
    EXPECT_TRUE(handledBeforeReturn.load());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].onWindowThread);
}

TEST_F(WindowMessagesTest, SendOnTheWindowThreadIsADirectCall)
{
    window.onMessage = [](UINT, WPARAM, LPARAM) -> LRESULT { return 9; };
    EXPECT_EQ(SendWindowMessage(window.GetHWND(), kDeviceLeft, 1, 2), 9);
    ASSERT_EQ(window.messages.size(), 1u);
}

TEST_F(WindowMessagesTest, PostsAreQueuedInOrder)
{
    ASSERT_TRUE(PostWindowMessage(window.GetHWND(), kDeviceArrived, 1, 0));
    ASSERT_TRUE(PostWindowMessage(window.GetHWND(), kDeviceLeft, 2, 0));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(RunEventsUntil([&] { return window.messages.size() == 2; }));
    EXPECT_EQ(window.messages[0].message, kDeviceArrived);
    EXPECT_EQ(window.messages[1].wParam, 2u);
}

TEST_F(WindowMessagesTest, BytesTravelWithTheMessage)
{
    const QByteArray sound(1024, '\x7f');
    std::atomic<LRESULT> result{-1};
    std::thread worker([&] { result = SendCopyData(window.GetHWND(), 77, 2, sound); });
    EXPECT_TRUE(RunEventsUntil([&] { return result.load() != -1; }));
    worker.join();
    ASSERT_TRUE(PostWindowMessageData(window.GetHWND(), WM_COPYDATA, 0, 1, QByteArray("ab")));
    EXPECT_TRUE(RunEventsUntil([&] { return window.messages.size() == 2; }));
    EXPECT_EQ(window.messages[0].message, WM_COPYDATA);
    EXPECT_EQ(window.messages[0].wParam, 77u);
    EXPECT_EQ(window.messages[0].bytes, sound);
    EXPECT_EQ(window.messages[1].bytes, QByteArray("ab"));
}

TEST_F(WindowMessagesTest, WaitingSendReturnsWhenTheWindowCloses)
{
    std::promise<void> aboutToSend;
    std::future<LRESULT> result = std::async(std::launch::async, [&] {
        aboutToSend.set_value();
        return SendWindowMessage(window.GetHWND(), kDeviceLeft, 0, 0);
    });
    aboutToSend.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // most likely waiting by now
    window.Close();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(result.get(), 0);
    RunEventsUntil([] { return false; }, 10);
    for (const SeenMessage& message : window.messages)
        EXPECT_NE(message.message, kDeviceLeft);  // released, never run
}

TEST_F(WindowMessagesTest, DestroyHandlerCanJoinAWorkerThatKeepsSending)
{
    std::atomic<bool> stop{false};
    std::atomic<int> sends{0};
    std::thread worker([&] {
        while (!stop) {
            SendWindowMessage(window.GetHWND(), kDeviceArrived, 0, 0);
            ++sends;
        }
    });
    window.onMessage = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) {
            stop = true;
            worker.join();  // as the main window joins its workers
        }
        return 0;
    };
    EXPECT_TRUE(RunEventsUntil([&] { return sends.load() >= 3; }));
    window.Close();  // would hang if the worker's send were still waiting
    EXPECT_FALSE(worker.joinable());
}

TEST(WindowMessagesGoneTest, GoneWindowRefusesMessages)
{
    WindowHandle handle = 0;
    {
        TestWindow window;
        handle = window.GetHWND();
        EXPECT_TRUE(IsWindowHandle(handle));
    }
    EXPECT_FALSE(IsWindowHandle(handle));
    EXPECT_FALSE(PostWindowMessage(handle, kDeviceArrived, 0, 0));
    EXPECT_EQ(SendWindowMessage(handle, kDeviceArrived, 0, 0), 0);
    EXPECT_EQ(SendWindowMessage(0, kDeviceArrived, 0, 0), 0);
}

TEST(WindowMessagesGoneTest, PostedMessagesOfADeletedWindowAreDropped)
{
    auto* window = new TestWindow;
    ASSERT_TRUE(PostWindowMessage(window->GetHWND(), kDeviceArrived, 0, 0));
    delete window;
    RunEventsUntil([] { return false; }, 10);  // nothing to crash on
}

class CountingHandler : public IMessageHandler {
public:
    int count = 0;
    LRESULT OnWindowMessage(UINT, WPARAM, LPARAM) override { return ++count; }
};

TEST(BroadcastTest, ReachesTopLevelWindowsOnly)
{
    CountingHandler topHandler;
    CountingHandler childHandler;
    CMessageEndpoint top(topHandler, true);
    CMessageEndpoint child(childHandler, false);
    TestWindow window;
    EXPECT_EQ(BroadcastWindowMessage(0xC100, 1, 1), 2);
    EXPECT_TRUE(RunEventsUntil([&] { return topHandler.count == 1 && window.messages.size() == 1; }));
    EXPECT_EQ(childHandler.count, 0);
    EXPECT_EQ(SendWindowMessage(child.Handle(), 0xC100, 0, 0), 1);  // still reachable directly
}
