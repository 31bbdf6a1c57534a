// Once the UI loop has ended, sends return instead of waiting forever.
#include "ui_test_support.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

TEST(MessagesAfterLoopTest, WaitingAndLaterSendsReturnOnceTheLoopEnds)
{
    TestWindow window;
    std::promise<void> aboutToSend;
    std::future<LRESULT> waiting = std::async(std::launch::async, [&] {
        aboutToSend.set_value();
        return SendWindowMessage(window.GetHWND(), 3090, 0, 0);
    });
    aboutToSend.get_future().wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The loop ends without running the queued send.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    EndWindowMessages();  // what aboutToQuit does when the loop below ends
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), 0);
    QCoreApplication::exec();

    std::future<LRESULT> later = std::async(std::launch::async,
                                            [&] { return SendWindowMessage(window.GetHWND(), 3091, 0, 0); });
    ASSERT_EQ(later.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(later.get(), 0);
    EXPECT_FALSE(PostWindowMessage(window.GetHWND(), 3091, 0, 0));
    EXPECT_TRUE(window.messages.empty());
}
