#include "core/foundation/TextUtilities.h"

#include "core/foundation/LogConsole.h"
#include "core/foundation/Logger.h"
#include "platform/Console.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextUtilities, HexText)
{
    const struct
    {
        const wchar_t* text;
        uint32_t value;
    } cases[] = {
        {L"", 0},
        {L"x", 0},
        {L"0x", 0},
        {L"0x1G", 16},
        {L"0xff", 255},
        {L"0xFF", 255},
        {L"zzA", 10},
        {L"0x7fFFffFF", 0x7FFFFFFFu},
        {L"0xFFFFFFFF", 0xFFFFFFFFu},
        {L"0x123456789", 0x23456789u}, // the highest digit wraps away
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertHexStringToInt(c.text), c.value) << c.text;

    EXPECT_EQ(ConvertIntToHexString(0), L"0x00");
    EXPECT_EQ(ConvertIntToHexString(0x1F), L"0x1F");
    EXPECT_EQ(ConvertIntToHexString(0xABCDEF12u), L"0xABCDEF12");
    EXPECT_EQ(ConvertHexStringToInt(ConvertIntToHexString(0xDEADBEEFu)), 0xDEADBEEFu);
}

TEST(TextUtilities, DecimalText)
{
    const struct
    {
        const wchar_t* text;
        int32_t value;
    } cases[] = {
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L" \t42", 42},
        {L"+7", 7},
        {L"-12x3", -12},
        {L"2147483647", 2147483647},
        {L"99999999999", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"-99999999999", -2147483647 - 1},
        {L"1 2", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertDecimalStringToInt(c.text), c.value) << c.text;
}

TEST(TextUtilities, WildcardMatching)
{
    const struct
    {
        const wchar_t* text;
        const wchar_t* pattern;
        bool caseSensitive;
        bool match;
    } cases[] = {
        {L"abc", L"a*", true, true},
        {L"abc", L"a?c", true, true},
        {L"abc", L"*?", true, true}, // "?" after "*" consumes nothing
        {L"ABC", L"abc", true, false},
        {L"ABC", L"abc", false, true},
        {L"abc", L"abc", true, true},
        {L"abc", L"ab", true, false},
        {L"ab", L"abc", true, false},
        {L"abc", L"a?", true, false},
        {L"a.txt", L"*.txt", true, true},
        {L"a.b.txt", L"*.txt", true, false}, // no backtracking: "*" stops at the first "."
        {L"a.txt", L"*.doc", true, false},
        {L"abc", L"abc*", true, true}, // trailing stars match the empty rest
        {L"abc", L"abc**", true, true},
        {L"abc", L"abc?", true, false},
        {L"ABC.TXT", L"*.txt", false, true},
        {L"README.TXT", L"read*.t?t", false, true},
        {L"ABC", L"*c", false, true}, // the star's search ignores case too
        {L"x", L"*", true, true},
        {L"", L"", true, true},
        {L"", L"*", true, true},
        {L"", L"?", true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchWildcard(c.text, c.pattern, c.caseSensitive), c.match)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
}

TEST(TextUtilities, ControlCharactersAreEscapedForTheTerminal)
{
    const struct
    {
        std::wstring text;
        std::wstring shown;
    } cases[] = {
        {L"plain caf\u00e9 \u4e2d", L"plain caf\u00e9 \u4e2d"},
        {L"tab\tand\nline", L"tab\tand\nline"},
        {L"\x1b]0;title\x07", L"\\x1B]0;title\\x07"},
        {L"\x1b[2J\r", L"\\x1B[2J\\x0D"},
        {std::wstring(1, L'\0') + L"\x7f\x9b\xa0", L"\\x00\\x7F\\x9B\xa0"},
        {L"back\\slash", L"back\\slash"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(EscapeControlCharacters(test.text), test.shown);

    // Log lines reach the console escaped.
    std::string captured;
    Platform::SetConsoleSink([&](std::string_view bytes) { captured.append(bytes); });
    {
        Misc::CLogger logger;
        logger.SetOutputLevel(9);
        CLogConsole console;
        console.Show(0, 0);
        logger.Write(0, false, L"%s", L"file says \x1b]52;c;Y2xpcA==\x07");
    }
    Platform::SetConsoleSink(nullptr);
    EXPECT_EQ(captured, "file says \\x1B]52;c;Y2xpcA==\\x07\n");
}
