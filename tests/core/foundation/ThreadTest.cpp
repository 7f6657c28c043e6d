#include "core/app/FakeClock.h"
#include "core/foundation/Thread.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A worker whose callbacks are set by each test; counts what happened.
class CTestThread : public CThread
{
public:
    ~CTestThread() override { Stop(); }

    std::function<bool(int)> onTimer = [](int) { return true; };
    std::function<bool()> onIdle = [] { return false; };

    int Count(const int& counter)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return counter;
    }
    // Waits (at most 10 s) until the condition holds.
    bool WaitFor(const std::function<bool()>& condition)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), condition);
    }

    int starts = 0;
    int ends = 0;
    int timers = 0;
    int idles = 0;

protected:
    void OnThreadStart() override { Bump(starts); }
    void OnThreadEnd() override { Bump(ends); }
    bool OnTimer() override
    {
        const int count = Bump(timers);
        return onTimer(count);
    }
    bool OnIdle() override
    {
        Bump(idles);
        return onIdle();
    }

private:
    int Bump(int& counter)
    {
        int value = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            value = ++counter;
        }
        m_changed.notify_all();
        return value;
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
};

class CListener : public IThreadListener
{
public:
    void OnThreadComplete(CThread* thread) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        completed = thread;
        ++calls;
    }
    int Calls()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return calls;
    }

    CThread* completed = nullptr;
    int calls = 0;

private:
    std::mutex m_mutex;
};

// Waits (at most 10 s of real time) until count threads are blocked in a
// timed wait: a worker waiting for its timer.
bool WaitForWaiters(uint32_t count)
{
    const auto limit = Clock::now() + std::chrono::seconds(10);
    while (Platform::CountClockWaiters() != count)
    {
        if (Clock::now() > limit)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST(Thread, PeriodicWorkerIsPacedUntilStopped)
{
    CTestThread thread;
    CListener listener;
    const auto started = Clock::now();
    ASSERT_TRUE(thread.Start(20, 10, 0, &listener));
    ASSERT_TRUE(thread.WaitFor([&] { return thread.timers >= 5; }));
    // First firing after the due time, then one per period.
    EXPECT_GE(Clock::now() - started, milliseconds(60));
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.Count(thread.starts), 1);
    EXPECT_EQ(thread.Count(thread.ends), 1);
    EXPECT_EQ(thread.Count(thread.idles), 0);
    EXPECT_EQ(listener.Calls(), 0); // stopped, not ended by itself
}

TEST(Thread, StopWakesALongWaitAtOnce)
{
    CTestThread thread;
    thread.onIdle = [] { return true; }; // a one-shot worker kept alive
    ASSERT_TRUE(thread.Start(0, 0, 0, nullptr));
    ASSERT_TRUE(thread.WaitFor([&] { return thread.timers == 1 && thread.idles == 1; }));
    // The timer will not fire again: the worker waits without limit.
    const auto stopping = Clock::now();
    thread.Stop(0);
    EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(5));
    EXPECT_EQ(thread.Count(thread.ends), 1);
    EXPECT_FALSE(thread.IsRunning());

    // A worker waiting an hour for its first firing stops just as quickly.
    CTestThread sleeper;
    ASSERT_TRUE(sleeper.Start(3600000, 0, 0, nullptr));
    sleeper.Stop();
    EXPECT_LT(Clock::now() - stopping, std::chrono::seconds(5));
    EXPECT_EQ(sleeper.Count(sleeper.timers), 0);
}

TEST(Thread, WorkerEndsByItselfAndTellsTheListener)
{
    const struct
    {
        uint32_t period;
        int timersBeforeEnd;
    } cases[] = {
        {0, 1}, // one-shot: one firing, then OnIdle says no
        {5, 3}, // periodic: OnTimer says no at the third firing
    };
    for (const auto& c : cases)
    {
        CTestThread thread;
        CListener listener;
        const int last = c.timersBeforeEnd;
        thread.onTimer = [last](int count) { return count < last; };
        ASSERT_TRUE(thread.Start(1, c.period, 0, &listener));
        ASSERT_TRUE(thread.WaitFor([&] { return thread.ends == 1; }));
        EXPECT_EQ(thread.Count(thread.timers), last);
        EXPECT_EQ(listener.Calls(), 1);
        EXPECT_EQ(listener.completed, &thread);

        // It can be started again after it ended.
        thread.onTimer = [](int) { return true; };
        ASSERT_TRUE(thread.Start(0, 5, 0, &listener));
        ASSERT_TRUE(thread.WaitFor([&] { return thread.starts == 2 && thread.timers > last; }));
        thread.Stop();
        EXPECT_EQ(thread.Count(thread.ends), 2);
    }
}

TEST(Thread, StartOnARunningWorkerOnlyResetsTheTimer)
{
    CTestThread thread;
    ASSERT_TRUE(thread.Start(3600000, 0, 0, nullptr));
    ASSERT_TRUE(thread.WaitFor([&] { return thread.starts == 1; }));
    ASSERT_TRUE(thread.Start(0, 5, 0, nullptr)); // the new schedule fires at once
    ASSERT_TRUE(thread.WaitFor([&] { return thread.timers >= 3; }));
    EXPECT_EQ(thread.Count(thread.starts), 1);
    EXPECT_EQ(thread.GetPeriod(), 5u);
    thread.Stop();
}

// Start on a running worker resets its timer; the worker then follows the
// new schedule to its end: a one-shot run whose OnTimer says no tells the
// listener, a periodic one fires no more.
TEST(Thread, ARestartedWorkerEndsByItsNewSchedule)
{
    for (const uint32_t period : {0u, 5u})
    {
        SCOPED_TRACE(period);
        CFakeClock clock(0);
        CTestThread thread;
        CListener listener;
        thread.onTimer = [](int) { return false; };
        ASSERT_TRUE(thread.Start(3600000, 5, 0, &listener));
        ASSERT_TRUE(WaitForWaiters(1)) << "the worker waits for its first firing";

        ASSERT_TRUE(thread.Start(10, period, 0, &listener));
        clock.Advance(10);
        ASSERT_TRUE(thread.WaitFor([&] { return thread.ends == 1; }));
        EXPECT_EQ(thread.Count(thread.timers), 1);
        EXPECT_EQ(thread.Count(thread.starts), 1) << "no second worker";
        EXPECT_EQ(listener.Calls(), 1);

        clock.Advance(100);
        EXPECT_EQ(thread.Count(thread.timers), 1) << "nothing fires after the end";
    }
}

// A restart from inside OnTimer comes after the firing it answers: the
// worker does not end on that answer but waits for the new schedule.
TEST(Thread, ARestartDuringOnTimerIsFollowed)
{
    CFakeClock clock(0);
    CTestThread thread;
    CListener listener;
    thread.onTimer = [&](int count)
    {
        if (count == 1)
            thread.Start(10, 0, 0, &listener);
        return false;
    };
    ASSERT_TRUE(thread.Start(0, 0, 0, &listener));
    ASSERT_TRUE(thread.WaitFor([&] { return thread.timers == 1; }));
    ASSERT_TRUE(WaitForWaiters(1)) << "waiting for the restarted schedule";
    EXPECT_EQ(listener.Calls(), 0);
    EXPECT_TRUE(thread.IsRunning());

    clock.Advance(10);
    ASSERT_TRUE(thread.WaitFor([&] { return thread.ends == 1; }));
    EXPECT_EQ(thread.Count(thread.timers), 2);
    EXPECT_EQ(listener.Calls(), 1);
}

TEST(Thread, StopFromInsideTheWorkerDoesNotWaitForItself)
{
    CTestThread thread;
    CListener listener;
    thread.onTimer = [&thread](int count)
    {
        if (count == 2)
            thread.Stop();
        return true;
    };
    ASSERT_TRUE(thread.Start(0, 5, 0, &listener));
    ASSERT_TRUE(thread.WaitFor([&] { return thread.ends == 1; }));
    EXPECT_EQ(thread.Count(thread.timers), 2);
    EXPECT_EQ(listener.Calls(), 0);
    EXPECT_TRUE(thread.IsStopping());
}
