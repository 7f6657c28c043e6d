#include "core/foundation/StringConversion.h"

#include <gtest/gtest.h>

#include <string>

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
