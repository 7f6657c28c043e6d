#pragma once

#include <cstdint>
#include <string>

namespace Misc::Text
{

// The local time in the classic 24-character form followed by a line break,
// with a two-digit day: "Wed Jan 02 02:03:55 1980\n". Empty text when the
// time cannot be represented.
std::wstring FormatLocalTime(int64_t secondsSinceEpoch);
// The same for the current time.
std::wstring CurrentLocalTime();

} // namespace Misc::Text
