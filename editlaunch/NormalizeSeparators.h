#pragma once

#include <string>

// Rewrites the path with one kind of separator: every "\" becomes "/" (or
// every "/" becomes "\" for a separator "\"), then runs of separators
// shrink to one ("D:\\Scripts\\\\a.lua" becomes "D:/Scripts/a.lua", a
// network path "\\server\share" becomes "/server/share"). Separators other
// than "/" and "\" leave the path as it is. The narrow form works on the
// bytes as they are: only the ASCII separators change.
void NormalizeSeparators(std::wstring& path, wchar_t separator);
void NormalizeSeparators(std::string& path, char separator);
