#pragma once

// The bridge between the engine's wide paths and the disk. Scripts and
// assets were written on Windows: they use either separator and do not care
// about letter case. Here a path is turned into a native UTF-8 path with "/"
// separators and, when the exact name does not exist, each part is matched
// case-insensitively against the folder's entries.

#include <string>
#include <string_view>
#include <vector>

namespace DiskPath
{

// The native path of an existing file or folder: the path itself when it
// exists, else the first case-insensitive match, part by part. Parts that
// match nothing are kept as written, so a path for a new file resolves its
// existing folders and keeps the new name.
std::string Resolve(std::wstring_view path);
std::string ResolveNative(const std::string& nativePath);

// The same for engine paths: the wide path of what the path names on disk,
// through the same case-insensitive fallback as opening, so that existence
// checks, copies and saves agree with what opens ("/" separators). A path
// that matches nothing comes back with its missing parts as written.
std::wstring ResolveExistingPath(std::wstring_view path);

// Case-insensitive comparison of single characters and of names, by Unicode
// simple case folding (not just ASCII), whatever the process locale.
wchar_t FoldCase(wchar_t c);
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// True when the name holds "*" or "?".
bool HasWildcards(std::wstring_view name);

// Disk globbing on one name, case-insensitive: "?" takes exactly one
// character, "*" any run (with backtracking, so "*.txt" matches "a.b.txt"),
// and "*.*" matches every name, with or without a dot.
bool MatchPattern(std::wstring_view name, std::wstring_view pattern);

// One entry of a folder listing.
struct SEntry
{
    std::wstring name;
    std::string nativeName;   // the name's bytes on disk (not always UTF-8)
    bool isDirectory = false; // a folder, or a link to one
    bool isSymlink = false;
};

// The entries of a native folder whose names match the pattern, sorted by
// name ("." and ".." never appear). An unreadable folder gives none.
std::vector<SEntry> ListFolder(const std::string& nativeFolder, std::wstring_view pattern);

} // namespace DiskPath
