#pragma once

#include <cstddef>

namespace Platform
{

// Writes the bytes to the descriptor, going on after partial writes and
// interrupted calls; returns how many were written (fewer than count only
// on an error, errno telling which).
size_t WriteFully(int descriptor, const void* data, size_t count);

// Writes the head and then the data as WriteFully does, in one system call
// where the descriptor takes them all at once (a pipe's reader then wakes
// once for both); returns how many bytes of the two were written.
size_t WriteFully(int descriptor, const void* head, size_t headCount, const void* data, size_t count);

// Reads what the descriptor has, up to count bytes, waiting for at least
// one (an interrupted call is repeated): the number read, 0 at the end of
// the input, or -1 on an error.
long ReadSome(int descriptor, void* data, size_t count);

} // namespace Platform
