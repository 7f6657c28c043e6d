#include "core/foundation/TextUtilities.h"

#include "core/foundation/WideFormat.h"

#include <algorithm>
#include <cwctype>
#include <limits>

uint32_t ConvertHexStringToInt(std::wstring_view text)
{
    if (text.size() < 3)
        return 0;

    uint32_t value = 0;
    uint32_t power = 1;
    for (size_t index = text.size(); index > 2; --index)
    {
        const wchar_t c = text[index - 1];
        uint32_t digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<uint32_t>(c - L'0');
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<uint32_t>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<uint32_t>(c - L'A' + 10);
        value += digit * power;
        power *= 16;
    }
    return value;
}

int32_t ConvertDecimalStringToInt(std::wstring_view text)
{
    size_t index = 0;
    while (index < text.size() && std::iswspace(static_cast<wint_t>(text[index])))
        ++index;
    bool negative = false;
    if (index < text.size() && (text[index] == L'+' || text[index] == L'-'))
        negative = text[index++] == L'-';

    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; index < text.size() && text[index] >= L'0' && text[index] <= L'9'; ++index)
    {
        value = value * 10 + (text[index] - L'0');
        if (value > limit)
        {
            value = limit;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::wstring ConvertIntToHexString(uint32_t value)
{
    return Misc::Text::FormatWide(0, L"0x%02X", value);
}

namespace
{

bool SameChar(wchar_t a, wchar_t b, bool caseSensitive)
{
    if (caseSensitive)
        return a == b;
    return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

size_t FindChar(std::wstring_view text, wchar_t c, size_t from, bool caseSensitive)
{
    for (size_t index = from; index < text.size(); ++index)
    {
        if (SameChar(text[index], c, caseSensitive))
            return index;
    }
    return text.size();
}

} // namespace

bool MatchWildcard(std::wstring_view text, std::wstring_view pattern, bool caseSensitive)
{
    size_t t = 0;
    size_t p = 0;
    while (t < text.size() && p < pattern.size())
    {
        const wchar_t c = pattern[p];
        if (c == L'?')
        {
            ++t;
            ++p;
        }
        else if (c == L'*')
        {
            while (p < pattern.size() && (pattern[p] == L'*' || pattern[p] == L'?'))
                ++p;
            if (p == pattern.size())
                return true;
            // The character after the run is compared in the next round.
            t = FindChar(text, pattern[p], t, caseSensitive);
        }
        else
        {
            if (!SameChar(c, text[t], caseSensitive))
                return false;
            ++t;
            ++p;
        }
    }
    // Trailing stars match the empty rest of the text ("abc" matches "abc*").
    if (t == text.size())
    {
        while (p < pattern.size() && pattern[p] == L'*')
            ++p;
    }
    return t == text.size() && p == pattern.size();
}

std::wstring EscapeControlCharacters(std::wstring_view text)
{
    const auto isControl = [](wchar_t c)
    { return (c < 0x20 && c != L'\t' && c != L'\n') || (c >= 0x7F && c < 0xA0); };
    if (std::none_of(text.begin(), text.end(), isControl))
        return std::wstring(text);
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring out;
    out.reserve(text.size() + 8);
    for (const wchar_t c : text)
    {
        if (!isControl(c))
        {
            out += c;
            continue;
        }
        out += L"\\x";
        out += kDigits[(c >> 4) & 0xF];
        out += kDigits[c & 0xF];
    }
    return out;
}
