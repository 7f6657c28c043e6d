#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace Platform
{

namespace
{

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

uint64_t RealMilliseconds()
{
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count());
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

void SetClockSource(std::function<uint64_t()> source)
{
    ClockSource() = std::move(source);
}

void SetSleeper(std::function<void(uint32_t)> sleeper)
{
    Sleeper() = std::move(sleeper);
}

} // namespace Platform
