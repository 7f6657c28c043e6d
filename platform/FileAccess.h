#pragma once

// Descriptor-level file access for readers that share one open file among
// threads (reads at a position never move a shared offset) and for writers
// that must not follow a link planted at the target.

#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform
{

// Opens an existing file for reading (close-on-exec). A FIFO or device
// opens without waiting for a writer; callers check the kind before they
// read. The descriptor, or -1.
int OpenForReading(const std::string& path);
// Creates a new file for writing; fails when anything (a link included)
// is already there. The descriptor, or -1.
int CreateExclusive(const std::string& path);
void CloseDescriptor(int descriptor);
// True when closing succeeded (the last chance to see a write error).
bool CloseDescriptorChecked(int descriptor);

// Reads up to length bytes at the position, going on after partial reads
// and interruptions; the count read (short only at the end of the file), or
// -1 on an error.
int64_t ReadAt(int descriptor, uint64_t position, void* out, size_t length);
// The descriptor's current offset, or -1 when it cannot seek.
int64_t CurrentOffset(int descriptor);
// True when the descriptor is not open.
bool IsBadDescriptor(int descriptor);

// Sets the last-access and last-write times (seconds and nanoseconds since
// 1970, UTC).
void SetFileTimes(int descriptor, int64_t accessSeconds, int64_t accessNanoseconds, int64_t writeSeconds,
                  int64_t writeNanoseconds);
// Takes every write permission away.
void MakeReadOnly(int descriptor);

} // namespace Platform
