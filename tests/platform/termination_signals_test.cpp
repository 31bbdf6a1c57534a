#include "platform/termination_signals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

TEST(TerminationSignals, EachEndRequestBecomesACallOnThisThread)
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        int calls = 0;
        CTerminationSignals watcher([&] { ++calls; });
        ASSERT_TRUE(watcher.IsWatching());
        ASSERT_EQ(std::raise(signal), 0);
        QElapsedTimer clock;
        clock.start();
        while (calls == 0 && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(calls, 1) << signal;
    }
}

TEST(TerminationSignals, OnlyOneWatcherAtATime)
{
    CTerminationSignals first([] {});
    CTerminationSignals second([] {});
    EXPECT_TRUE(first.IsWatching());
    EXPECT_FALSE(second.IsWatching());
}
