#pragma once

// The operating-system side of saving a file safely: the new contents go
// to a temporary file beside the target, reach the disk, take the target's
// permissions and then replace the target by a rename. Paths are native
// (UTF-8, "/" separators).

#include <cstddef>
#include <string>

namespace Platform
{

// The file a save to `path` replaces: the path itself, or when it names a
// symbolic link, the file at the end of the link chain (a relative link
// counts from its own folder; the file need not exist yet). A chain that
// loops or runs longer than 40 links gives the path itself, so the save
// then fails at the rename instead of writing somewhere unexpected.
std::string ResolveSaveTarget(const std::string& path);

// Whether a save may replace what is at the path: nothing, or a regular
// file (never a folder, a device, a FIFO, a socket or a link).
bool IsReplaceable(const std::string& path);

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

} // namespace Platform
