#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/WideFormat.h"

#include <gtest/gtest.h>

#include <climits>

using Misc::Error::CKVOError;
using Misc::Text::FormatWide;

TEST(WideFormat, WindowsConversionsOnGlibc)
{
    // "%s" is a wide string as on Windows, "%S" a narrow (UTF-8) one.
    EXPECT_EQ(FormatWide(0, L"[CWorldMap::GetUnit] Unit not found [%s]", L"tr\u00e9e"),
              L"[CWorldMap::GetUnit] Unit not found [tr\u00e9e]");
    EXPECT_EQ(FormatWide(0, L"%S|%hs|%ls|%c|%C", "n\xc3\xa4", "x", L"w", L'\u00e9', 'A'),
              L"n\u00e4|x|w|\u00e9|A");
    EXPECT_EQ(FormatWide(0, L"%i %u %05.1f %X %I64d %ld", -3, 7u, 2.25, 255u, -5000000000LL, 42),
              L"-3 7 002.2 FF -5000000000 42");
    EXPECT_EQ(FormatWide(0, L"%-4s|%4s|%.2s", L"ab", L"cd", L"xyz"), L"ab  |  cd|xy");
}

TEST(WideFormat, OddFormatsAreCopiedNotExpanded)
{
    EXPECT_EQ(FormatWide(0, L"100%"), L"100%");
    EXPECT_EQ(FormatWide(0, L"50%% done"), L"50% done");
    EXPECT_EQ(FormatWide(0, L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    // Widths from arguments: negative aligns left, absurd ones are refused.
    EXPECT_EQ(FormatWide(0, L"[%*s]", -4, L"ab"), L"[ab  ]");
    EXPECT_EQ(FormatWide(0, L"%*d", INT_MIN, 5), L"%*d");
}

TEST(WideFormat, ResultIsCutToTheBufferSize)
{
    EXPECT_EQ(FormatWide(4, L"%s", L"abcdef"), L"abc");
    const std::wstring longName(20000, L'x');
    const CKVOError error = CKVOError::Format(L"[C::M] missing [%s]", longName.c_str());
    EXPECT_EQ(error.GetMessage().size(), 8191u);
    EXPECT_EQ(error.GetMessage().substr(0, 17), L"[C::M] missing [x");
}

TEST(StringConversion, Utf8AndUtf16RoundTrips)
{
    const std::wstring text = L"a\u00e9\u20ac\U0001F600";
    EXPECT_EQ(Misc::Text::Utf8ToWide(Misc::Text::WideToUtf8(text)), text);
    EXPECT_EQ(Misc::Text::Utf16ToWide(Misc::Text::WideToUtf16(text)), text);
    EXPECT_EQ(Misc::Text::Utf16Length(text), 5u);
    // Malformed input becomes U+FFFD instead of failing.
    EXPECT_EQ(Misc::Text::Utf8ToWide("a\xff"
                                     "b"),
              L"a\uFFFDb");
    EXPECT_EQ(Misc::Text::Utf16ToWide(u"\xD800x"), L"\uFFFDx");
    // Every length of encoding at its edges; a surrogate or a value beyond
    // U+10FFFF in wide text is written as U+FFFD.
    const std::wstring edges{L'\x7F',
                             L'\x80',
                             L'\x7FF',
                             L'\x800',
                             L'\xFFFF',
                             static_cast<wchar_t>(0x10000),
                             static_cast<wchar_t>(0x10FFFF),
                             L'\xD800',
                             static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(Misc::Text::WideToUtf8(edges), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80"
                                             "\xF4\x8F\xBF\xBF\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Misc::Text::WideToUtf16(edges),
              u"\x7F\x80\x7FF\x800\xFFFF\xD800\xDC00\xDBFF\xDFFF\xFFFD\xFFFD");
    std::wstring wide;
    EXPECT_EQ(ConvertStringAtoU("\x80", wide, 1252), 1u);
    EXPECT_EQ(wide, L"\u20ac");
}
