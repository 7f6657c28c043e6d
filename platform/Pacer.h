#pragma once

// A waitable timer on steady-clock deadlines: once set, it fires after the
// due time and then every period (a period of 0 fires once). A wait consumes
// the firing; firings that a slow waiter missed count as one, and the next
// one comes at the next point of the schedule. Closing it wakes every waiter
// at once. Thread-safe.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace Platform
{

class CPacer
{
public:
    // Opens the timer (waits fail while it is closed); it starts closed.
    void Open();
    // Closes the timer and wakes every waiter, whose waits fail.
    void Close();
    bool IsOpen() const;

    // (Re)starts the schedule: first firing after dueMs, then every periodMs.
    // Nothing happens while the timer is closed.
    void Set(uint32_t dueMs, uint32_t periodMs);

    // Waits for the next firing without a time limit; true when it fired,
    // false when the timer is or gets closed.
    bool Wait();
    // The same with a time limit; false also when the time runs out.
    bool WaitFor(uint32_t timeoutMs);

private:
    using Clock = std::chrono::steady_clock;

    bool WaitUntil(Clock::time_point deadline, bool limited);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    bool m_armed = false;
    Clock::time_point m_next;
    Clock::duration m_period{};
};

} // namespace Platform
