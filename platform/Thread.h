#pragma once

// Thread services of the operating system.

#include <cstdint>

namespace Platform
{

// The operating system's id of the calling thread.
uint64_t GetCurrentThreadId();

// The number of processors the system reports (at least 1).
uint32_t GetProcessorCount();

} // namespace Platform
