#include "core/foundation/StringConversion.h"

namespace Misc::Text
{

namespace
{

// One code point at text[pos] by the shared decoder; pos moves past it.
uint32_t DecodeUtf8At(std::string_view text, size_t& pos)
{
    size_t length = 1;
    const uint32_t code =
        DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()) + pos, text.size() - pos, length);
    pos += length;
    return code;
}

// The number of bytes EncodeUtf8 writes for the code point (U+FFFD, which
// replaces surrogates and values beyond U+10FFFF, takes three).
size_t Utf8Length(uint32_t code)
{
    if (code < 0x80)
        return 1;
    if (code < 0x800)
        return 2;
    return (code < 0x10000 || code > 0x10FFFF) ? 3 : 4;
}

// Windows-1252 characters 0x80-0x9F; 0 marks the five unassigned bytes,
// which map to their Latin-1 control code points.
constexpr uint16_t kWindows1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::wstring Utf8ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size())
        out += static_cast<wchar_t>(DecodeUtf8At(text, pos));
    return out;
}

// The converters measure the result first and then encode straight into
// it: appending piece by piece costs more than the second pass.
std::string WideToUtf8(std::wstring_view text)
{
    size_t length = 0;
    for (wchar_t c : text)
        length += Utf8Length(static_cast<uint32_t>(c));
    std::string out(length, '\0');
    size_t at = 0;
    for (wchar_t c : text)
        at += EncodeUtf8(static_cast<uint32_t>(c), &out[at]);
    return out;
}

std::u16string WideToUtf16(std::wstring_view text)
{
    std::u16string out(Utf16Length(text), u'\0');
    size_t at = 0;
    for (wchar_t c : text)
        at += EncodeUtf16(static_cast<uint32_t>(c), &out[at]);
    return out;
}

std::wstring Utf16ToWide(std::u16string_view units)
{
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size();)
    {
        size_t length = 1;
        const int32_t next = i + 1 < units.size() ? static_cast<int32_t>(units[i + 1]) : -1;
        out += static_cast<wchar_t>(DecodeUtf16(units[i], next, length));
        i += length;
    }
    return out;
}

std::wstring Utf16BytesToWide(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0)
        units += static_cast<char16_t>(kReplacementChar);
    return Utf16ToWide(units);
}

size_t Utf16Length(std::wstring_view text)
{
    size_t length = 0;
    for (wchar_t c : text)
        length += (static_cast<uint32_t>(c) >= 0x10000 && static_cast<uint32_t>(c) <= 0x10FFFF) ? 2 : 1;
    return length;
}

std::wstring Windows1252ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (char ch : text)
    {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (byte >= 0x80 && byte < 0xA0 && kWindows1252High[byte - 0x80] != 0)
            out += static_cast<wchar_t>(kWindows1252High[byte - 0x80]);
        else
            out += static_cast<wchar_t>(byte);
    }
    return out;
}

bool IsValidUtf8(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t before = pos;
        const uint32_t code = DecodeUtf8At(text, pos);
        if (code == kReplacementChar && pos == before + 1 && static_cast<unsigned char>(text[before]) >= 0x80)
            return false;
    }
    return true;
}

} // namespace Misc::Text

namespace
{

std::string WideToWindows1252(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text)
    {
        const uint32_t c = static_cast<uint32_t>(wc);
        char mapped = '?';
        if (c < 0x100 && !(c >= 0x80 && c < 0xA0))
        {
            mapped = static_cast<char>(c);
        }
        else
        {
            for (unsigned i = 0x80; i < 0xA0; ++i)
            {
                const std::wstring one = Misc::Text::Windows1252ToWide(std::string(1, static_cast<char>(i)));
                if (static_cast<uint32_t>(one[0]) == c)
                {
                    mapped = static_cast<char>(i);
                    break;
                }
            }
        }
        out += mapped;
    }
    return out;
}

} // namespace

size_t ConvertStringUtoA(std::wstring_view in, std::string& out, unsigned int codePage)
{
    if (codePage == 1252 || codePage == 28591)
        out = WideToWindows1252(in);
    else
        out = Misc::Text::WideToUtf8(in);
    return out.size();
}

size_t ConvertStringAtoU(std::string_view in, std::wstring& out, unsigned int codePage)
{
    if (codePage == 1252 || codePage == 28591)
        out = Misc::Text::Windows1252ToWide(in);
    else
        out = Misc::Text::Utf8ToWide(in);
    return out.size();
}

CStringAtoU::CStringAtoU(const char* text, unsigned int codePage) : m_codePage(codePage)
{
    *this = text;
}

CStringAtoU& CStringAtoU::operator=(const char* text)
{
    m_text.clear();
    if (text)
        ConvertStringAtoU(text, m_text, m_codePage);
    return *this;
}

CStringUtoA::CStringUtoA(const wchar_t* text, unsigned int codePage) : m_codePage(codePage)
{
    *this = text;
}

CStringUtoA& CStringUtoA::operator=(const wchar_t* text)
{
    m_text.clear();
    if (text)
        ConvertStringUtoA(text, m_text, m_codePage);
    return *this;
}
