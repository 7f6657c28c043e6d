#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Numbers as saves and scripts write them ("-", digits and, for floats, a
// point and digits), read in one pass without the C library's general
// parser and without switching locales. The results are those of strtof
// and strtoll: callers hand anything that is not such a plain number to
// the C library.
namespace Misc::Text
{

struct SPlainNumber
{
    bool negative = false;
    bool leadingZero = false; // a whole part of more than one digit starts with 0
    uint64_t digits = 0;      // every digit, up to 18 of them
    uint64_t significant = 0; // the digits without the decimals' trailing zeros
    size_t scale = 0;         // decimals left in `significant`
    size_t length = 0;        // characters of the number
};

// The plain number at the start of `text` (with `point`, a decimal part
// may follow the whole part); false when the text does not start with one
// of at most 18 digits.
bool ScanPlainNumber(std::string_view text, bool point, SPlainNumber& number);

// The float of a plain number that `text` starts with (number.length
// characters), rounded as strtof rounds; false when the number is out of
// the float range, which the caller leaves to the C library.
bool PlainNumberToFloat(std::string_view text, const SPlainNumber& number, float& value);

// Whether the number's significant digits and power of ten are exact
// floats: then one division gives the correctly rounded float (FloatOf).
bool ExactAsFloat(const SPlainNumber& number);
float FloatOf(const SPlainNumber& number);

} // namespace Misc::Text
