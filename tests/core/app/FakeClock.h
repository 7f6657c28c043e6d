#pragma once

// Drives the platform clock and sleep by hand: time stands still until a
// test (or a fake sleep) moves it. Every move wakes the timed waits, so a
// thread waiting for a time sees it as soon as the test reaches it.
#include "platform/Clock.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CFakeClock
{
public:
    explicit CFakeClock(uint64_t start = 1000) : m_now(start)
    {
        Platform::SetClockSource([this] { return m_now.load(); });
        Platform::SetSleeper(
            [this](uint32_t milliseconds)
            {
                sleeps.push_back(milliseconds);
                Advance(milliseconds);
            });
    }
    ~CFakeClock()
    {
        Platform::SetClockSource({});
        Platform::SetSleeper({});
    }
    CFakeClock(const CFakeClock&) = delete;
    CFakeClock& operator=(const CFakeClock&) = delete;

    void Set(uint64_t now)
    {
        m_now = now;
        Platform::WakeClockWaiters();
    }
    void Advance(uint64_t milliseconds)
    {
        m_now += milliseconds;
        Platform::WakeClockWaiters();
    }
    uint32_t Now() const { return static_cast<uint32_t>(m_now.load()); }

    // Sleeps taken on the loop's thread (only that thread sleeps).
    std::vector<uint32_t> sleeps;

private:
    std::atomic<uint64_t> m_now;
};
