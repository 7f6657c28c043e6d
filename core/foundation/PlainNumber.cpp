#include "core/foundation/PlainNumber.h"

#include <charconv>
#include <iterator>
#include <system_error>

namespace Misc::Text
{

namespace
{

// Powers of ten that are exact floats, and the largest integer below which
// every integer is one: their quotient is the correctly rounded float.
constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr uint64_t kExactFloatDigits = uint64_t{1} << 24;

} // namespace

bool ScanPlainNumber(std::string_view text, bool point, SPlainNumber& number)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const size_t count = text.size();
    size_t at = 0;
    number.negative = count > 0 && text[0] == '-';
    at += number.negative ? 1 : 0;
    const size_t wholeStart = at;
    uint64_t digits = 0;
    for (; at < count && isDigit(text[at]); ++at)
        digits = digits * 10 + static_cast<uint64_t>(text[at] - '0');
    const size_t whole = at - wholeStart;
    if (whole == 0)
        return false;
    number.leadingZero = whole > 1 && text[wholeStart] == '0';
    uint64_t significant = digits;
    size_t scale = 0;
    size_t decimals = 0;
    if (point && at < count && text[at] == '.')
    {
        const size_t decimalsStart = ++at;
        for (; at < count && isDigit(text[at]); ++at)
        {
            digits = digits * 10 + static_cast<uint64_t>(text[at] - '0');
            if (text[at] != '0')
            {
                significant = digits;
                scale = at + 1 - decimalsStart;
            }
        }
        decimals = at - decimalsStart;
        if (decimals == 0)
            return false;
    }
    if (whole + decimals > 18)
        return false;
    number.digits = digits;
    number.significant = significant;
    number.scale = scale;
    number.length = at;
    return true;
}

bool ExactAsFloat(const SPlainNumber& number)
{
    return number.significant <= kExactFloatDigits && number.scale < std::size(kPowersOfTen);
}

float FloatOf(const SPlainNumber& number)
{
    const float magnitude = static_cast<float>(number.significant) / kPowersOfTen[number.scale];
    return number.negative ? -magnitude : magnitude;
}

bool PlainNumberToFloat(std::string_view text, const SPlainNumber& number, float& value)
{
    if (ExactAsFloat(number))
    {
        value = FloatOf(number);
        return true;
    }
    // from_chars rounds correctly too; it reports a value out of range,
    // which strtof would turn into an infinity or a denormal.
    float parsed = 0.0f;
    const char* end = text.data() + number.length;
    const auto result = std::from_chars(text.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = parsed;
    return true;
}

} // namespace Misc::Text
