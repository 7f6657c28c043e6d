#pragma once

// Files the program writes for the user to read (the script error report).
// They go to a per-user temporary folder: $TMPDIR when it is set, otherwise
// /tmp/halvane-<uid>, made with mode 0700 and used only when it is a real
// folder (not a link) owned by the user and closed to everyone else.

#include <string>

namespace Platform
{

// The folder, created when missing; empty when no safe folder is at hand.
std::string GetUserTempFolder();

// Replaces the file of that name in the user's temporary folder with the
// content. The file is opened without following a link (a link planted in
// its place makes this fail). Returns the file's path, or empty text when
// it could not be written.
std::string WriteUserTempFile(const std::string& name, const std::string& content);

} // namespace Platform
