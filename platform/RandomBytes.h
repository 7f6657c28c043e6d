#pragma once

// Random bytes from the kernel's generator, for ids that must not repeat.

#include <cstddef>
#include <cstdint>

namespace Platform
{

// Fills up to count bytes; the number filled, short only when the kernel
// fails.
size_t FillRandomBytes(unsigned char* bytes, size_t count);

// A number that changes in the child of every fork: random bytes drawn
// before a fork are not to be used by both processes.
uint32_t GetForkGeneration();

} // namespace Platform
