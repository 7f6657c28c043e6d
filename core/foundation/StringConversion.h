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

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// UTF-16 code units <-> wide text. Surrogate pairs combine into one code
// point; lone surrogates become U+FFFD.
std::u16string WideToUtf16(std::wstring_view text);
std::wstring Utf16ToWide(std::u16string_view units);

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
