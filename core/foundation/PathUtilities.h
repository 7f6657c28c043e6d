#pragma once

// Path helpers on wide text. Both "/" and "\" separate path parts on input;
// paths handed to the operating system use "/". There is no drive part on
// this system: a "C:" stays an ordinary first part.

#include <cstddef>
#include <string>
#include <string_view>

// The part of the path that begins at start: returns start, with next set
// to the index just past the part's separator (npos when the part is the
// last) and length to the part's length. A start of npos (or past the end)
// returns npos.
size_t FindNextPathPart(std::wstring_view path, size_t start, size_t& next, size_t& length);

// True when the path names something that exists and is not a folder.
bool FileExists(std::wstring_view path);
// True when the path names an existing folder.
bool PathExists(std::wstring_view path);

// Rebuilds the path from its parts joined by the separator: "." parts are
// dropped, ".." removes the part before it (or stays when there is none), a
// leading separator stays as an empty first part, repeated separators and a
// trailing one disappear. "\a\.\b\..\c" with "/" gives "/a/c".
void CleanPath(std::wstring& path, std::wstring_view separator);

// True when the cleaned path is not empty, does not begin with "/" and holds
// no ":".
bool IsRelativePath(std::wstring_view path);

// Cleans a copy of the path with "/" and returns the selected components in
// the order drive, folder, name, extension. The drive is always empty here;
// the folder keeps its trailing "/" and the extension its leading ".".
std::wstring ExtractFilenameComponents(std::wstring_view path, bool drive, bool folder, bool name,
                                       bool extension);

// The path as the operating system takes it: UTF-8 with "/" separators.
std::string ToNativePath(std::wstring_view path);
// A path from the operating system as wide text.
std::wstring FromNativePath(std::string_view path);
