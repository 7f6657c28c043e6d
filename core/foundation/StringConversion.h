#pragma once

// Conversions between the engine's wide text (std::wstring, one wchar_t per
// code point), UTF-8 and UTF-16 code units. Every conversion in the engine
// goes through this module.
//
// Decoding never throws: malformed input becomes U+FFFD.

#include <cstdint>
#include <string>
#include <string_view>

namespace Misc::Text
{

// The replacement character for malformed input.
constexpr wchar_t kReplacementChar = 0xFFFD;

constexpr bool IsSurrogate(uint32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsHighSurrogate(uint32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(uint32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The one UTF-8 decoder of the engine. Decodes the sequence that starts at
// bytes[0] (available > 0 bytes can be looked at) and sets `length` to the
// bytes it consumed. Anything malformed (a byte that cannot start a
// sequence, a missing continuation byte, a sequence cut off by the end of
// the input, an overlong form, a surrogate, a value beyond U+10FFFF) gives
// U+FFFD and consumes one byte, so every later byte is looked at again.
inline uint32_t DecodeUtf8(const unsigned char* bytes, size_t available, size_t& length)
{
    const uint32_t lead = bytes[0];
    length = 1;
    if (lead < 0x80)
        return lead;
    size_t need;
    uint32_t code;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        need = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        need = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        need = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    }
    else
        return kReplacementChar;
    if (available < need)
        return kReplacementChar;
    for (size_t i = 1; i < need; ++i)
    {
        if ((bytes[i] & 0xC0) != 0x80)
            return kReplacementChar;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || IsSurrogate(code))
        return kReplacementChar;
    length = need;
    return code;
}

// The bytes a UTF-8 sequence that starts with this byte claims (1 for ASCII
// and for bytes that cannot start one): what DecodeUtf8 needs to see.
constexpr size_t Utf8SequenceLength(unsigned char lead)
{
    return lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
}

// The one surrogate rule: a high surrogate followed by a low one combines
// into one code point (length 2); any other surrogate stands alone as
// U+FFFD (length 1), so the unit after a lone high surrogate is looked at
// again. `next` is the following unit, or -1 when there is none.
constexpr uint32_t DecodeUtf16(uint32_t unit, int32_t next, size_t& length)
{
    length = 1;
    if (!IsSurrogate(unit))
        return unit;
    if (IsHighSurrogate(unit) && next >= 0 && IsLowSurrogate(static_cast<uint32_t>(next)))
    {
        length = 2;
        return 0x10000 + ((unit - 0xD800) << 10) + (static_cast<uint32_t>(next) - 0xDC00);
    }
    return kReplacementChar;
}

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// UTF-16 code units <-> wide text. Surrogate pairs combine into one code
// point; lone surrogates become U+FFFD.
std::u16string WideToUtf16(std::wstring_view text);
std::wstring Utf16ToWide(std::u16string_view units);
// UTF-16 stored as bytes in the given order; a lone last byte becomes U+FFFD.
std::wstring Utf16BytesToWide(std::string_view bytes, bool bigEndian);

// One code point as UTF-8 (one to four bytes) or UTF-16 (one unit or a
// surrogate pair); a surrogate or a value beyond U+10FFFF is encoded as
// U+FFFD. Each returns how many bytes or units it wrote.
inline size_t EncodeUtf8(uint32_t code, char bytes[4])
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = kReplacementChar;
    if (code < 0x80)
    {
        bytes[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800)
    {
        bytes[0] = static_cast<char>(0xC0 | (code >> 6));
        bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000)
    {
        bytes[0] = static_cast<char>(0xE0 | (code >> 12));
        bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<char>(0xF0 | (code >> 18));
    bytes[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

inline size_t EncodeUtf16(uint32_t code, char16_t units[2])
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = kReplacementChar;
    if (code < 0x10000)
    {
        units[0] = static_cast<char16_t>(code);
        return 1;
    }
    code -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 | (code >> 10));
    units[1] = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
    return 2;
}

// Number of UTF-16 code units the text takes (what file formats count).
size_t Utf16Length(std::wstring_view text);

// Latin-1 (and the Windows-1252 superset for 0x80-0x9F) to wide text.
std::wstring Windows1252ToWide(std::string_view text);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

} // namespace Misc::Text

// Code pages by their Windows numbers. 0 (the system code page) and
// 65001 mean UTF-8 here; 1252 and 28591 mean Windows-1252 / Latin-1.
constexpr unsigned int kCodePageDefault = 0;
constexpr unsigned int kCodePageUtf8 = 65001;

// Wide to narrow in the given code page; returns the number of characters
// (bytes) produced.
size_t ConvertStringUtoA(std::wstring_view in, std::string& out, unsigned int codePage = kCodePageDefault);
// Narrow to wide in the given code page; returns the number of characters
// produced.
size_t ConvertStringAtoU(std::string_view in, std::wstring& out, unsigned int codePage = kCodePageDefault);

// A wide string converted from narrow text with a remembered code page.
class CStringAtoU
{
public:
    explicit CStringAtoU(const char* text = nullptr, unsigned int codePage = kCodePageDefault);
    CStringAtoU& operator=(const char* text);

    const std::wstring& str() const { return m_text; }
    const wchar_t* c_str() const { return m_text.c_str(); }
    operator const std::wstring&() const { return m_text; }

private:
    std::wstring m_text;
    unsigned int m_codePage;
};

// A narrow string converted from wide text with a remembered code page.
class CStringUtoA
{
public:
    explicit CStringUtoA(const wchar_t* text = nullptr, unsigned int codePage = kCodePageDefault);
    CStringUtoA& operator=(const wchar_t* text);

    const std::string& str() const { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    operator const std::string&() const { return m_text; }

private:
    std::string m_text;
    unsigned int m_codePage;
};
