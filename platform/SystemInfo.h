#pragma once

// What the machine is: operating system, processor speed, memory.

#include <cstdint>
#include <string>

namespace Platform
{

// The kernel's name, release, version and machine, as uname reports them
// (UTF-8).
std::string GetOperatingSystemVersion();

// The processor's speed in MHz; 0 when the system does not tell.
uint32_t GetProcessorSpeedMHz();

// Total and available system memory in kilobytes (capped at 4 TiB - 1 KiB).
uint32_t GetMemoryTotal();
uint32_t GetMemoryFree();

} // namespace Platform
