#pragma once

// The engine's one printf-style formatter for wide format strings.
//
// Format strings keep their Windows meaning: in a wide format "%s" and "%c"
// take wide text (wchar_t* / wchar_t), "%S" and "%C" narrow UTF-8 text,
// "%hs"/"%hc" narrow, "%ls"/"%lc" wide. "l" on an integer conversion is 32
// bits as on Windows; use "ll" or "I64" for 64-bit values. "%n" is never
// written through. A malformed or trailing "%" is copied as it stands.
// Numbers are formatted in the "C" locale.

#include <cstdarg>
#include <cstddef>
#include <string>

namespace Misc::Text
{

// Formats into at most bufferSize - 1 characters (the size of the buffer
// the text would have had, terminator included); longer results are cut.
// A bufferSize of 0 means no limit.
std::wstring FormatWideV(size_t bufferSize, const wchar_t* format, va_list args);
std::wstring FormatWide(size_t bufferSize, const wchar_t* format, ...);

} // namespace Misc::Text
