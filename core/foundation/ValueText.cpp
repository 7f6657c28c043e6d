#include "core/foundation/ValueText.h"

#include "core/foundation/ScopedCLocale.h"

#include <cstdarg>
#include <cstdio>

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

int ScanFloatsC(const char* text, float* values, int count)
{
    if (!text || count < 1 || count > 4)
    {
        return 0;
    }
    CScopedCLocale cLocale;
    // Scan into copies so that the components the text does not reach keep
    // the caller's values.
    float read[4] = {};
    int scanned = 0;
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
