#include "core/foundation/ValueText.h"

#include "core/foundation/PlainNumber.h"
#include "core/foundation/ScopedCLocale.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace Misc::Text
{

namespace
{

constexpr size_t kMaxTextLength = 1023;

} // namespace

std::string FormatNarrowC(const char* format, ...)
{
    CScopedCLocale cLocale;
    std::string text(kMaxTextLength + 1, '\0');
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    if (written < 0)
    {
        return std::string();
    }
    text.resize(static_cast<size_t>(written) < kMaxTextLength ? static_cast<size_t>(written)
                                                              : kMaxTextLength);
    return text;
}

namespace
{

// The blanks that "%f" and " " skip in the "C" locale.
bool IsCBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Plain numbers ("-", digits, a point and digits) separated by blanks, as
// the system writes its value texts, read without sscanf and without
// switching locales: the same floats as sscanf's. False for any other text,
// which goes to sscanf.
bool ScanPlainFloats(const char* text, float* read, int count, int& scanned)
{
    std::string_view rest(text);
    scanned = 0;
    while (scanned < count)
    {
        size_t blanks = 0;
        while (blanks < rest.size() && IsCBlank(rest[blanks]))
            ++blanks;
        rest.remove_prefix(blanks);
        if (rest.empty())
            return true;
        SPlainNumber number;
        if (!ScanPlainNumber(rest, true, number))
            return false;
        // A number that goes on ("1e5", "2.5f") is not plain.
        if (number.length < rest.size() && !IsCBlank(rest[number.length]))
            return false;
        if (!PlainNumberToFloat(rest, number, read[scanned]))
            return false;
        ++scanned;
        rest.remove_prefix(number.length);
    }
    return true;
}

} // namespace

int ScanFloatsC(const char* text, float* values, int count)
{
    if (!text || count < 1 || count > 4)
    {
        return 0;
    }
    float read[4] = {};
    int scanned = 0;
    if (ScanPlainFloats(text, read, count, scanned))
    {
        for (int i = 0; i < scanned; ++i)
        {
            values[i] = read[i];
        }
        return scanned;
    }
    scanned = 0;
    CScopedCLocale cLocale;
    // Scan into copies so that the components the text does not reach keep
    // the caller's values.
    switch (count)
    {
    case 1:
        scanned = std::sscanf(text, "%f", &read[0]);
        break;
    case 2:
        scanned = std::sscanf(text, "%f %f", &read[0], &read[1]);
        break;
    case 3:
        scanned = std::sscanf(text, "%f %f %f", &read[0], &read[1], &read[2]);
        break;
    default:
        scanned = std::sscanf(text, "%f %f %f %f", &read[0], &read[1], &read[2], &read[3]);
        break;
    }
    if (scanned < 0) // EOF: nothing but blanks
    {
        scanned = 0;
    }
    for (int i = 0; i < scanned; ++i)
    {
        values[i] = read[i];
    }
    return scanned;
}

} // namespace Misc::Text
