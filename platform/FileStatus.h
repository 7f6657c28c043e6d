#pragma once

// What the file system knows about a path or an open file: its kind, size,
// identity and modification time, in plain types for the engine's core.

#include <cstdint>
#include <string>

namespace Platform
{

enum class EFileKind
{
    Missing, // nothing there, or it cannot be reached
    Regular,
    Folder,
    Link,  // only from GetLinkStatus
    Other, // a FIFO, a device or a socket
};

struct SFileStatus
{
    EFileKind kind = EFileKind::Missing;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool Exists() const { return kind != EFileKind::Missing; }
    bool IsRegular() const { return kind == EFileKind::Regular; }
    bool IsFolder() const { return kind == EFileKind::Folder; }
    // The same file, unchanged since the other status was taken.
    bool SameVersion(const SFileStatus& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// The status of what the path names, links followed.
SFileStatus GetFileStatus(const std::string& path);
// The status of the path itself: a link is reported as a link.
SFileStatus GetLinkStatus(const std::string& path);
// The status of an open descriptor.
SFileStatus GetDescriptorStatus(int descriptor);

// Seconds of the wall clock (the clock file times are stamped with).
int64_t GetWallClockSeconds();

} // namespace Platform
