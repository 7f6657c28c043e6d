#include "core/foundation/KVOError.h"
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

namespace
{

using Misc::Text::FindFormatMismatch;
using Misc::Text::FormatArgumentType;
using Misc::Text::FormatTypeOf;

template <typename... Args> constexpr size_t Mismatch(const wchar_t* format)
{
    constexpr FormatArgumentType types[] = {FormatTypeOf<Args>()..., FormatArgumentType{}};
    return FindFormatMismatch(format, types, sizeof...(Args));
}

// The check that L"..."_fmt formats get at compile time, on a table of
// formats: 0 fits, otherwise the number of the first argument that does not
// (count + 1 for a missing or left-over argument).
static_assert(Mismatch<const wchar_t*, int, std::wstring>(L"Error reading:%s, Line: %i, Expected:%s") == 0);
static_assert(Mismatch<const char*, const char*>(L"[%S] %hs %%") == 0 && Mismatch<const char*>(L"%s") == 1);
static_assert(Mismatch<std::string>(L"%s") == 1 && Mismatch<std::wstring>(L"%S") == 1);
static_assert(Mismatch<double>(L"%d") == 1 && Mismatch<int>(L"%f") == 1 && Mismatch<float>(L"%.2f") == 0);
static_assert(Mismatch<long long>(L"%d") == 1 && Mismatch<long long>(L"%ld") == 1);
static_assert(Mismatch<long long>(L"%lld") == 0 && Mismatch<uint64_t>(L"%I64u") == 0 &&
              Mismatch<size_t>(L"%zu") == 0);
static_assert(Mismatch<uint32_t, int16_t, bool, char>(L"%u %hd %d %c") == 0);
static_assert(Mismatch<int>(L"%d %d") == 2 && Mismatch<int, int>(L"%d") == 3);
static_assert(Mismatch<int, const wchar_t*>(L"[%*s]") == 0 &&
              Mismatch<double, const wchar_t*>(L"[%*s]") == 1);
static_assert(Mismatch<std::nullptr_t, const void*>(L"%s %p") == 0 && Mismatch<int>(L"%p") == 1);
// Unknown letters and a trailing "%" are text; "% a" is a conversion.
static_assert(Mismatch<>(L"%y and 100%") == 0 && Mismatch<>(L"100% and") == 1);
static_assert(Mismatch<int>(nullptr) == 2);

} // namespace

TEST(WideFormat, ArgumentsKeepTheirTypes)
{
    // Text of every kind, each where its conversion asks for it.
    const std::wstring wide = L"w\u00e9";
    const std::string narrow = "n\xc3\xa9";
    EXPECT_EQ(FormatWide(0, L"%s|%S|%s|%hs|%s", wide, narrow, std::wstring_view(wide).substr(1),
                         std::string_view(narrow).substr(0, 1), nullptr),
              L"w\u00e9|n\u00e9|\u00e9|n|(null)");
    // Integers are read as the conversion's length reads a promoted C
    // argument.
    EXPECT_EQ(FormatWide(0, L"%d %u %hhd %hu %x %lld", 4294967295u, -1, 511, 65537, uint8_t{255}, -1),
              L"-1 4294967295 -1 1 ff -1");
    EXPECT_EQ(FormatWide(0, L"%c%C%lC %5.1f|%-3d|%03d", L'\u00e9', 'x', L'y', 2.25f, 7, 7),
              L"\u00e9xy   2.2|7  |007");
    // Literal formats are checked when they compile and format the same.
    EXPECT_EQ(FormatWide(0, L"[%s] %i"_fmt, L"x", 3), L"[x] 3");
    EXPECT_EQ(CKVOError::Format(L"[C::M] %S %.3g"_fmt, "bad", 0.5).GetMessage(), L"[C::M] bad 0.5");
}

TEST(WideFormat, ErrorsAreStandardExceptionsWithAUtf8Message)
{
    try
    {
        throw CKVOError::Format(L"[C::M] caf\u00e9 %d", 1);
    }
    catch (const std::exception& error)
    {
        EXPECT_STREQ(error.what(), "[C::M] caf\xc3\xa9 1");
    }
    EXPECT_STREQ(CKVOError(static_cast<const wchar_t*>(nullptr)).what(), "");
}

#ifndef NDEBUG
// Where the format is only known when the program runs, the test builds stop
// at the first call whose arguments do not fit.
TEST(WideFormatDeathTest, TestBuildsStopAtArgumentsThatDoNotFit)
{
    const wchar_t* formats[] = {L"%s", L"%d %d", L"%d"};
    EXPECT_DEATH(FormatWide(0, formats[0], "narrow"), "argument 1 of 1 does not fit");
    EXPECT_DEATH(FormatWide(0, formats[1], 1), "argument 2 of 1 does not fit");
    EXPECT_DEATH(CKVOError::Format(formats[2], int64_t{1} << 40), "argument 1 of 1 does not fit");
}
#endif
