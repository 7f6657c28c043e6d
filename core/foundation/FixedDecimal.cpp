#include "core/foundation/FixedDecimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace Misc::Text
{

namespace
{

constexpr uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                     100000, 1000000, 10000000, 100000000, 1000000000};
constexpr int kMostDecimals = 9;

char* FromLibrary(char* first, char* last, float value, int precision)
{
    const auto result =
        std::to_chars(first, last, static_cast<double>(value), std::chars_format::fixed, precision);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

} // namespace

char* FormatFixed(char* first, char* last, float value, int precision)
{
    if (precision < 0 || precision > kMostDecimals || !(std::fabs(value) < 4294967296.0f))
        return FromLibrary(first, last, value, precision);

    // value = mantissa * 2^exponent exactly.
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 31) != 0;
    const uint32_t exponentBits = (bits >> 23) & 0xFF;
    uint64_t mantissa = bits & 0x7FFFFF;
    int exponent = -149; // subnormals
    if (exponentBits != 0)
    {
        mantissa |= 0x800000;
        exponent = static_cast<int>(exponentBits) - 150;
    }

    // The value times 10^precision, rounded half to even. Below 2^32 the
    // exponent is at most 8, so the products stay below 2^62.
    const uint64_t scale = kPowersOfTen[precision];
    const uint64_t product = mantissa * scale;
    uint64_t scaled = 0;
    if (exponent >= 0)
    {
        scaled = product << exponent;
    }
    else if (-exponent < 64)
    {
        const unsigned shift = static_cast<unsigned>(-exponent);
        scaled = product >> shift;
        const uint64_t rest = product & ((uint64_t{1} << shift) - 1);
        const uint64_t half = uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (scaled & 1) != 0))
            ++scaled;
    }
    // else: below 2^-63 before scaling, far under half of the last decimal.

    const uint64_t whole = scaled / scale;
    uint64_t decimals = scaled % scale;
    // Sign, the whole part, the point and the decimals: at most 1 + 10 + 1 + 9.
    char text[24];
    char* out = text;
    if (negative)
        *out++ = '-';
    out = std::to_chars(out, text + sizeof text, whole).ptr;
    if (precision > 0)
    {
        *out++ = '.';
        for (int i = precision - 1; i >= 0; --i)
        {
            out[i] = static_cast<char>('0' + decimals % 10);
            decimals /= 10;
        }
        out += precision;
    }
    const size_t length = static_cast<size_t>(out - text);
    if (last < first || static_cast<size_t>(last - first) < length)
        return nullptr;
    std::memcpy(first, text, length);
    return first + length;
}

} // namespace Misc::Text
