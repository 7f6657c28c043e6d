#pragma once

// The operating-system side of saving a file safely: the new contents go
// to a temporary file beside the target, reach the disk, take the target's
// permissions and then replace the target by a rename. Paths are native
// (UTF-8, "/" separators).

#include <cstddef>
#include <string>

namespace Platform
{

// What is at the path a save would replace.
enum class ESaveTarget
{
    kNothing,  // no file yet: the save creates it
    kFile,     // a regular file that may be replaced
    kLink,     // a symbolic link (never followed: it may lead anywhere)
    kSpecial,  // a folder, a device, a FIFO or a socket
    kReadOnly, // a regular file that is not writable
    kUnknown,  // the path cannot be examined (a folder on the way is missing
               // or closed, a name too long, a loop of links on the way)
};

// A regular file is writable when the access rules let this process write
// it and its mode grants writing to somebody: a file whose mode grants
// nobody writing is read-only for every user, root included.
ESaveTarget InspectSaveTarget(const std::string& path);

// The longest file name (one part of a path, in bytes) the folder accepts.
size_t MaxFileNameLength(const std::string& folder);

// True when the name exists already (CreateExclusive failed for that reason).
bool LastErrorWasExists();

// Gives the open file the permission bits of the existing file at `path`;
// true when there is no such file (the new file keeps its own mode).
bool CopyPermissions(int descriptor, const std::string& path);

// Moves the file's position; the new position, or -1.
long SeekFile(int descriptor, long offset, bool relative);
// Flushes the file's contents to the disk.
bool SyncFile(int descriptor);
// Renames `from` over `to`, then flushes the folder that holds them, so
// the new name survives a crash.
bool ReplaceFile(const std::string& from, const std::string& to);

// The id of this process, for unique temporary names.
long ProcessId();

// Removes the regular files of the folder whose names have the form of a
// save's temporary file, "<name>.~<process>.<count>.tmp", when they were
// left behind: their process no longer runs, or it is this process and
// `inUse` does not claim the file name (a save of this process still
// writing). Returns how many were removed.
size_t RemoveStaleTemporaries(const std::string& folder, bool (*inUse)(const std::string& name));

} // namespace Platform
