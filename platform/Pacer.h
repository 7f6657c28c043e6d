#pragma once

// A waitable timer on the process clock (Platform::GetMilliseconds): once
// set, it fires after the due time and then every period (a period of 0
// fires once). A wait consumes the firing; firings that a slow waiter missed
// count as one, and the next one comes at the next point of the schedule.
// Closing it wakes every waiter at once. Each Set starts a new schedule with
// a new number, and a wait tells which schedule fired. Thread-safe.

#include <cstdint>
#include <mutex>

namespace Platform
{

class CPacer
{
public:
    CPacer() = default;
    CPacer(const CPacer&) = delete;
    CPacer& operator=(const CPacer&) = delete;
    ~CPacer();

    // Opens the timer (waits fail while it is closed); it starts closed.
    void Open();
    // Closes the timer and wakes every waiter, whose waits fail.
    void Close();
    bool IsOpen() const;

    // (Re)starts the schedule: first firing after dueMs, then every periodMs.
    // Nothing happens while the timer is closed.
    void Set(uint32_t dueMs, uint32_t periodMs);
    // The number of the current schedule: it grows with every Set.
    uint64_t GetSchedule() const;

    // Waits for the next firing without a time limit; true when it fired,
    // false when the timer is or gets closed. The number of the schedule
    // that fired goes to schedule when given.
    bool Wait(uint64_t* schedule = nullptr);
    // The same with a time limit; false also when the time runs out.
    bool WaitFor(uint32_t timeoutMs, uint64_t* schedule = nullptr);

private:
    bool WaitUntil(uint64_t deadlineMs, uint64_t* schedule);

    mutable std::mutex m_mutex;
    bool m_open = false;
    bool m_armed = false;
    uint64_t m_next = 0;   // clock time of the next firing
    uint64_t m_period = 0; // milliseconds; 0 fires once
    uint64_t m_schedule = 0;
};

} // namespace Platform
