#include "core/foundation/StringTokenizer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StringTokenizer, TokensIncludingEmptyOnes)
{
    const struct
    {
        const wchar_t* text;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"a,,b", {L"a", L"", L"b"}},
        {L"a,b,", {L"a", L"b"}}, // a final delimiter ends the text
        {L",a", {L"", L"a"}},
        {L"", {}},
        {L"whole", {L"whole"}},
        {L"file.lua|12|message|with|bars", {L"file.lua|12|message|with|bars"}}, // other delimiter
    };
    for (const auto& c : cases)
    {
        CStringTokenizer tokenizer(c.text);
        std::vector<std::wstring> tokens;
        std::wstring token;
        while (tokenizer.NextToken(L',', token))
            tokens.push_back(token);
        EXPECT_EQ(tokens, c.tokens) << c.text;
        EXPECT_FALSE(tokenizer.NextToken(L',', token));
        EXPECT_EQ(tokenizer.NextToken(L','), L"");
    }

    CStringTokenizer error(L"main.lua|12|attempt to call nil");
    EXPECT_EQ(error.NextToken(L'|'), L"main.lua");
    EXPECT_EQ(error.NextToken(L'|'), L"12");
}

TEST(StringTokenizer, Numbers)
{
    CStringTokenizer tokenizer(L" 12 ,0x1F,\t-7\t,  0xff  ,abc,+42x,99999999999,-99999999999,,0xFFFFFFFF");
    const int32_t expected[] = {12, 31, -7, 255, 0, 42, 2147483647, -2147483647 - 1, 0, -1};
    for (const int32_t value : expected)
        EXPECT_EQ(tokenizer.NextInt(L','), value);
    EXPECT_EQ(tokenizer.NextInt(L','), 0); // past the end
}
