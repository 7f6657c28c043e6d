#include "editlaunch/NormalizeSeparators.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

TEST(NormalizeSeparatorsTest, OneSeparatorNoRuns)
{
    const struct
    {
        const wchar_t* path;
        wchar_t separator;
        const wchar_t* expected;
    } cases[] = {
        {L"D:\\Scripts\\\\game.lua", L'/', L"D:/Scripts/game.lua"},
        {L"\\\\server\\share\\a.lua", L'/', L"/server/share/a.lua"},
        {L"a//b///c\\/\\d", L'/', L"a/b/c/d"},
        {L"/", L'/', L"/"},
        {L"\\\\\\", L'/', L"/"},
        {L"", L'/', L""},
        {L"no separators.lua", L'/', L"no separators.lua"},
        {L"trailing\\\\", L'/', L"trailing/"},
        {L"a/b//c\\d", L'\\', L"a\\b\\c\\d"},
        {L"//server/share", L'\\', L"\\server\\share"},
        {L"a\\\\b//c", L'x', L"a\\\\b//c"},
    };
    for (const auto& c : cases)
    {
        std::wstring path = c.path;
        NormalizeSeparators(path, c.separator);
        EXPECT_EQ(path, c.expected) << Narrow(c.path);
    }
}
