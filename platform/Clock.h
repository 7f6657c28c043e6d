#pragma once

// The process's monotonic millisecond clock and sleep, both replaceable so
// that tests can drive exact times.

#include <cstdint>
#include <functional>

namespace Platform
{

// Milliseconds since the clock was first read (start-up), in 64 bits so
// precision never degrades with uptime. Callers narrow to 32 bits last.
uint64_t GetMilliseconds();

// Sleeps the calling thread.
void SleepMilliseconds(uint32_t milliseconds);

// Test hooks: replace the time source and the sleeper; an empty function
// restores the real one. Not thread-safe: install before threads use them.
void SetClockSource(std::function<uint64_t()> source);
void SetSleeper(std::function<void(uint32_t)> sleeper);

} // namespace Platform
