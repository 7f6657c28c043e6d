// The pacer on a hand-driven clock: firings come exactly at the points of
// the schedule, and a blocked waiter wakes when the clock reaches its time,
// when the schedule changes and when the pacer closes.
#include "core/app/FakeClock.h"
#include "platform/Clock.h"
#include "platform/Pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace
{

// Waits (at most 10 s of real time) until count threads are blocked in a
// timed wait, so that what the test does next happens during the wait.
bool WaitForWaiters(uint32_t count)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Platform::CountClockWaiters() != count)
    {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST(Pacer, FiresOnScheduleAndCoalescesMissedFirings)
{
    CFakeClock clock(0);
    Platform::CPacer pacer;
    EXPECT_FALSE(pacer.WaitFor(0)); // closed
    pacer.Set(0, 200);              // ignored while closed
    EXPECT_FALSE(pacer.WaitFor(0));

    pacer.Open();
    EXPECT_FALSE(pacer.WaitFor(0)); // open but not set

    pacer.Set(0, 200);
    clock.Advance(450); // the firings at 0, 200 and 400 pass
    EXPECT_TRUE(pacer.WaitFor(0));
    EXPECT_FALSE(pacer.WaitFor(0)); // they counted as one
    clock.Set(599);
    EXPECT_FALSE(pacer.WaitFor(0)) << "the next point of the schedule is 600";

    // A waiter blocks until the clock reaches the next firing.
    auto waiter = std::async(std::launch::async, [&] { return pacer.WaitFor(5000); });
    ASSERT_TRUE(WaitForWaiters(1));
    clock.Set(600);
    EXPECT_TRUE(waiter.get());

    pacer.Set(10, 0); // one-shot, due at 610
    auto once = std::async(std::launch::async, [&] { return pacer.Wait(); });
    ASSERT_TRUE(WaitForWaiters(1));
    clock.Advance(9);
    ASSERT_TRUE(WaitForWaiters(1)) << "not due yet: still waiting";
    clock.Advance(1);
    EXPECT_TRUE(once.get());

    // Fired once: a wait with a time limit runs out when the clock passes it.
    auto limited = std::async(std::launch::async, [&] { return pacer.WaitFor(50); });
    ASSERT_TRUE(WaitForWaiters(1));
    clock.Advance(49);
    ASSERT_TRUE(WaitForWaiters(1));
    clock.Advance(1);
    EXPECT_FALSE(limited.get());
}

TEST(Pacer, ANewScheduleWakesTheWaiterAndHasANewNumber)
{
    CFakeClock clock(0);
    Platform::CPacer pacer;
    pacer.Open();
    pacer.Set(3600000, 0);
    const uint64_t first = pacer.GetSchedule();

    uint64_t fired = 0;
    auto waiter = std::async(std::launch::async, [&] { return pacer.Wait(&fired); });
    ASSERT_TRUE(WaitForWaiters(1));
    pacer.Set(0, 5); // due now: the waiter need not wait for the old hour
    EXPECT_TRUE(waiter.get());
    EXPECT_EQ(fired, first + 1);
    EXPECT_EQ(pacer.GetSchedule(), first + 1);

    clock.Advance(5);
    EXPECT_TRUE(pacer.Wait(&fired));
    EXPECT_EQ(fired, first + 1);
}

TEST(Pacer, CloseWakesAWaiter)
{
    CFakeClock clock(0);
    Platform::CPacer pacer;
    pacer.Open();
    pacer.Set(3600000, 0);
    auto waiter = std::async(std::launch::async, [&] { return pacer.Wait(); });
    ASSERT_TRUE(WaitForWaiters(1));
    pacer.Close();
    EXPECT_FALSE(waiter.get());
    EXPECT_FALSE(pacer.IsOpen());
}

TEST(Pacer, RealClockFiresAfterTheDueTime)
{
    // Without a test clock the pacer waits on the steady clock itself.
    Platform::CPacer pacer;
    pacer.Open();
    const uint64_t start = Platform::GetMilliseconds();
    pacer.Set(20, 0);
    EXPECT_TRUE(pacer.Wait());
    EXPECT_GE(Platform::GetMilliseconds() - start, 20u);
    EXPECT_FALSE(pacer.WaitFor(1)) << "a one-shot fires once";
}
