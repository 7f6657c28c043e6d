#pragma once

// Drives the platform clock and sleep by hand: time stands still until a
// test (or a fake sleep) moves it.
#include "platform/Clock.h"

#include <cstdint>
#include <vector>

class CFakeClock
{
public:
    explicit CFakeClock(uint64_t start = 1000) : m_now(start)
    {
        Platform::SetClockSource([this] { return m_now; });
        Platform::SetSleeper(
            [this](uint32_t milliseconds)
            {
                sleeps.push_back(milliseconds);
                m_now += milliseconds;
            });
    }
    ~CFakeClock()
    {
        Platform::SetClockSource({});
        Platform::SetSleeper({});
    }
    CFakeClock(const CFakeClock&) = delete;
    CFakeClock& operator=(const CFakeClock&) = delete;

    void Set(uint64_t now) { m_now = now; }
    void Advance(uint64_t milliseconds) { m_now += milliseconds; }
    uint32_t Now() const { return static_cast<uint32_t>(m_now); }

    std::vector<uint32_t> sleeps;

private:
    uint64_t m_now;
};
