#pragma once

// Small helpers on wide text: numbers and wildcard matching.

#include <cstdint>
#include <string>
#include <string_view>

// Reads "0x..." text as an unsigned 32-bit value. The first two characters
// (the prefix) are skipped unexamined; every later character takes one digit
// place, and a character that is not a hexadecimal digit counts as 0. Text
// shorter than three characters gives 0.
uint32_t ConvertHexStringToInt(std::wstring_view text);

// Reads decimal text as the C runtime's _wtoi does: leading white space, an
// optional sign, then the digits up to the first other character. Values
// beyond the 32-bit range saturate; text without digits gives 0.
int32_t ConvertDecimalStringToInt(std::wstring_view text);

// The value as "0x" followed by at least two upper-case hexadecimal digits.
std::wstring ConvertIntToHexString(uint32_t value);

// True when the whole text matches the whole pattern. "?" takes one
// character, "*" any run of characters. A "*" is never retried: it stops at
// the first occurrence of the pattern's next character, so "*.txt" does not
// match "a.b.txt". "?" directly after "*" consumes nothing.
bool MatchWildcard(std::wstring_view text, std::wstring_view pattern, bool caseSensitive);

// The text as it may go to a terminal: each control character other than
// tab and line feed (C0, DEL and C1, which could start an escape sequence
// that sets the window title, clears the screen or writes the clipboard)
// becomes "\x" and two hexadecimal digits. Everything else stays as it is.
std::wstring EscapeControlCharacters(std::wstring_view text);
