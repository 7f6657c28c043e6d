#pragma once

// The process's monotonic millisecond clock, sleep and timed waits, all
// replaceable so that tests can drive exact times.

#include <cstdint>
#include <functional>

namespace Platform
{

// Milliseconds since the clock was first read (start-up), in 64 bits so
// precision never degrades with uptime. Callers narrow to 32 bits last.
uint64_t GetMilliseconds();

// Sleeps the calling thread.
void SleepMilliseconds(uint32_t milliseconds);

// Timed waits on the clock. Every such wait goes through one process-wide
// waiting room, so that a replaced clock that jumps forward wakes them all:
//
//   for (;;) {
//       const uint64_t epoch = Platform::GetClockWakeEpoch(); // first
//       ...check the state; done? return...
//       Platform::WaitForClock(epoch, deadline);
//   }
//
// and whoever changes that state calls WakeClockWaiters afterwards. A change
// made after the epoch was read is never missed.
uint64_t GetClockWakeEpoch();
// Blocks until WakeClockWaiters runs after the epoch was read, or until the
// clock reaches the deadline (milliseconds of GetMilliseconds; kNoDeadline
// waits only for a wake-up). May also return early: callers check again.
constexpr uint64_t kNoDeadline = UINT64_MAX;
void WaitForClock(uint64_t epoch, uint64_t deadlineMs);
// Wakes every thread in WaitForClock.
void WakeClockWaiters();
// The number of threads in WaitForClock right now (tests wait for a waiter
// to be blocked before they move the clock).
uint32_t CountClockWaiters();

// Test hooks: replace the time source and the sleeper; an empty function
// restores the real one. Not thread-safe: install before threads use them.
// A replaced time source must call WakeClockWaiters whenever it moves, as
// timed waits then wait only for wake-ups.
void SetClockSource(std::function<uint64_t()> source);
void SetSleeper(std::function<void(uint32_t)> sleeper);

} // namespace Platform
