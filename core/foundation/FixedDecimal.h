#pragma once

#include <cstddef>

namespace Misc::Text
{

// Writes `value` in fixed notation with `precision` decimals: the same text
// as std::to_chars(first, last, double(value), std::chars_format::fixed,
// precision), the exact binary value rounded half to even. Saves write
// every coordinate this way, so the usual case (a magnitude below 2^32 and
// at most 9 decimals) is formatted here with integer arithmetic alone; the
// rest goes to the library. Returns the end of the text, or nullptr when
// it does not fit.
char* FormatFixed(char* first, char* last, float value, int precision);

} // namespace Misc::Text
