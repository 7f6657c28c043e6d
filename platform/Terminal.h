#pragma once

#include <cstdint>

namespace Platform
{

// Waits for one key on the terminal and returns its byte (0 to 255), as a
// console's "get character" does: no echo, no line editing, Enter gives 13
// and Ctrl+C gives 3 instead of a signal. Characters beyond ASCII arrive one
// UTF-8 byte per call. The descriptor is standard input unless given.
// Returns -1 at once when the descriptor is not a terminal, and -1 when the
// terminal closes or fails. The terminal's mode is always restored.
int32_t ReadKeyFromTerminal(int descriptor = 0);

} // namespace Platform
