#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Splits a wide text by a delimiter character, one token at a time.
class CStringTokenizer
{
public:
    explicit CStringTokenizer(std::wstring text) : m_text(std::move(text)) {}

    // The text up to the next delimiter (or the rest of the text), moving
    // past the delimiter; false once the whole text has been read.
    bool NextToken(wchar_t delimiter, std::wstring& token);
    // The same; empty text at the end.
    std::wstring NextToken(wchar_t delimiter);
    // The next token without surrounding white space as a number: "0x..."
    // is hexadecimal, anything else decimal with an optional sign (leading
    // digits only, clamped to the 32-bit range; 0 when there are none).
    int32_t NextInt(wchar_t delimiter);

private:
    std::wstring m_text;
    size_t m_position = 0;
};
