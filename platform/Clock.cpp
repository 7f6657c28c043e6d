#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Platform
{

namespace
{

using SteadyClock = std::chrono::steady_clock;

std::function<uint64_t()>& ClockSource()
{
    static std::function<uint64_t()> source;
    return source;
}

std::function<void(uint32_t)>& Sleeper()
{
    static std::function<void(uint32_t)> sleeper;
    return sleeper;
}

SteadyClock::time_point RealStart()
{
    static const SteadyClock::time_point start = SteadyClock::now();
    return start;
}

uint64_t RealMilliseconds()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - RealStart()).count());
}

// The waiting room of every timed wait. Never destroyed: workers may still
// wait while the process exits.
struct SWaitingRoom
{
    std::mutex mutex;
    std::condition_variable woken;
    std::atomic<uint64_t> epoch{0};
    uint32_t waiters = 0;
};

SWaitingRoom& Room()
{
    static SWaitingRoom* const room = new SWaitingRoom;
    return *room;
}

} // namespace

uint64_t GetMilliseconds()
{
    const auto& source = ClockSource();
    return source ? source() : RealMilliseconds();
}

void SleepMilliseconds(uint32_t milliseconds)
{
    const auto& sleeper = Sleeper();
    if (sleeper)
        sleeper(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t GetClockWakeEpoch()
{
    return Room().epoch.load(std::memory_order_acquire);
}

void WaitForClock(uint64_t epoch, uint64_t deadlineMs)
{
    SWaitingRoom& room = Room();
    std::unique_lock<std::mutex> lock(room.mutex);
    if (room.epoch.load(std::memory_order_relaxed) != epoch || GetMilliseconds() >= deadlineMs)
        return;
    ++room.waiters;
    // A replaced clock only moves when its owner says so (and wakes us);
    // the real one is waited for on the steady clock it is read from.
    const bool real = !ClockSource();
    const uint64_t realLimit = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::time_point::max() - RealStart())
            .count());
    if (!real || deadlineMs >= realLimit)
        room.woken.wait(lock);
    else
        room.woken.wait_until(lock, RealStart() + std::chrono::milliseconds(deadlineMs));
    --room.waiters;
}

void WakeClockWaiters()
{
    SWaitingRoom& room = Room();
    {
        std::lock_guard<std::mutex> lock(room.mutex);
        room.epoch.fetch_add(1, std::memory_order_release);
    }
    room.woken.notify_all();
}

uint32_t CountClockWaiters()
{
    SWaitingRoom& room = Room();
    std::lock_guard<std::mutex> lock(room.mutex);
    return room.waiters;
}

void SetClockSource(std::function<uint64_t()> source)
{
    ClockSource() = std::move(source);
    WakeClockWaiters();
}

void SetSleeper(std::function<void(uint32_t)> sleeper)
{
    Sleeper() = std::move(sleeper);
}

} // namespace Platform
