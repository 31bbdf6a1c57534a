#include "platform/worker_slots.h"

#include <atomic>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using EndResult = CWorkerSlots::EndResult;

TEST(WorkerSlots, WorkerBlockedOnItsStopEventEndsWithinTheBound)
{
    CWorkerSlots slots(20);
    CStopEvent started;
    ASSERT_TRUE(slots.Start(0, [&](const CStopEvent& stop) {
        started.Set();
        stop.Wait();
    }));
    // A polling worker: loops on a short wait, the usual worker shape.
    ASSERT_TRUE(slots.Start(8, [](const CStopEvent& stop) {
        while (!stop.Wait(1ms)) {
        }
    }));
    started.Wait();
    const auto results = slots.StopAll(1000ms);
    ASSERT_EQ(results.size(), 20u);
    EXPECT_EQ(results[0], EndResult::Ended);
    EXPECT_EQ(results[8], EndResult::Ended);
    EXPECT_EQ(results[1], EndResult::NotStarted);
    EXPECT_FALSE(slots.IsRunning(0));
}

TEST(WorkerSlots, StopBeforeTheWorkerRanIsNotLost)
{
    CWorkerSlots slots(1);
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(slots.Start(0, [](const CStopEvent& stop) { stop.Wait(); }));
        EXPECT_EQ(slots.StopAll(1000ms)[0], EndResult::Ended);
    }
}

TEST(WorkerSlots, OverrunningWorkerIsWaitedForNotAbandoned)
{
    CWorkerSlots slots(1);
    CStopEvent release;
    std::atomic<bool> cleanedUp = false;
    ASSERT_TRUE(slots.Start(0, [&](const CStopEvent& stop) {
        stop.Wait();
        release.Wait();  // stands for a last step that takes longer than allowed
        cleanedUp = true;
    }));
    std::thread releaser([&] {
        std::this_thread::sleep_for(30ms);
        release.Set();
    });
    EXPECT_EQ(slots.StopAll(5ms)[0], EndResult::Overran);
    EXPECT_TRUE(cleanedUp);
    releaser.join();
}

TEST(WorkerSlots, StartRefusesBadSlotsAndBusySlots)
{
    CWorkerSlots slots(2);
    const auto idle = [](const CStopEvent& stop) { stop.Wait(); };
    EXPECT_FALSE(slots.Start(-1, idle));
    EXPECT_FALSE(slots.Start(2, idle));
    EXPECT_TRUE(slots.Start(1, idle));
    EXPECT_FALSE(slots.Start(1, idle));
    slots.StopAll();
    EXPECT_TRUE(slots.Start(1, idle));  // reusable after a stop
    // The destructor stops it.
}

TEST(WorkerSlots, FinishedWorkerSlotCanBeStartedAgain)
{
    CWorkerSlots slots(1);
    CStopEvent done;
    ASSERT_TRUE(slots.Start(0, [&](const CStopEvent&) { done.Set(); }));
    done.Wait();
    while (slots.IsRunning(0))
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(slots.Start(0, [](const CStopEvent&) {}));
}

TEST(StopEvent, StaysSetUntilResetAndTimesOutOtherwise)
{
    CStopEvent event;
    EXPECT_FALSE(event.Wait(1ms));
    event.Set();
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_TRUE(event.Wait(1ms));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}
