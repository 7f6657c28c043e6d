#pragma once

// Changes to names on disk: removing files and folders, moving without
// replacing, and the process's current folder.

#include <string>

namespace Platform
{

// Removes a file or a link (never what a link points to).
bool RemoveFile(const std::string& path);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);

enum class EMoveResult
{
    Moved,
    Failed,      // the destination exists, or another error
    CrossDevice, // the two lie on different file systems
};
// Renames from to to, never replacing an existing destination.
EMoveResult MoveNoReplace(const std::string& from, const std::string& to);

bool ChangeDirectory(const std::string& path);

} // namespace Platform
