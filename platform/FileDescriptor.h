#pragma once

#include <cstddef>

namespace Platform
{

// Writes the bytes to the descriptor, going on after partial writes and
// interrupted calls; returns how many were written (fewer than count only
// on an error, errno telling which).
size_t WriteFully(int descriptor, const void* data, size_t count);

} // namespace Platform
