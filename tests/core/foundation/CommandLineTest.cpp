#include "core/foundation/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<std::wstring> Arguments(const CCommandLine& line)
{
    std::vector<std::wstring> result;
    for (size_t index = 0; index < line.GetArgumentCount(); ++index)
        result.emplace_back(line.GetArgument(index));
    return result;
}

} // namespace

TEST(CommandLine, SplitsAWholeLine)
{
    using Args = std::vector<std::wstring>;
    const struct
    {
        const wchar_t* line;
        Args arguments;
    } cases[] = {
        {L"halvane main.lua a b", {L"halvane", L"main.lua", L"a", L"b"}},
        {L"  halvane\t main.lua  ", {L"halvane", L"main.lua"}}, // no empty argument from trailing space
        {L"\"C:\\Program Files\\halvane\" \"my game\\main.lua\" x",
         {L"C:\\Program Files\\halvane", L"my game\\main.lua", L"x"}},
        {L"h \"\" b", {L"h", L"", L"b"}}, // an empty quoted argument
        {L"h \"say \"hi\"there\" z", {L"h", L"say \"hi\"there", L"z"}},
        {L"h \"say \"hi\" there\"",
         {L"h", L"say \"hi", L"there\""}}, // the first quote before a space ends it
        {L"h \"a\"b c\"", {L"h", L"a\"b c"}},
        {L"h \"unterminated arg", {L"h", L"unterminated arg"}},
        {L"h \"", {L"h", L""}},
        {L"h a\"b", {L"h", L"a\"b"}},
        {L"h \\\"x\\\"", {L"h", L"\\\"x\\\""}},
        {L"", {}},
        {L"   ", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Arguments(CCommandLine(c.line)), c.arguments) << "line '" << c.line << "'";
}

TEST(CommandLine, FromProgramArgumentsAsWideText)
{
    const char* argv[] = {"./halvane", "sc\xc3\xa8ne.lua", "", "b c"};
    const CCommandLine line(4, argv);
    EXPECT_EQ(Arguments(line), (std::vector<std::wstring>{L"./halvane", L"sc\u00e8ne.lua", L"", L"b c"}));
    EXPECT_EQ(line.GetArgument(4), nullptr);
    EXPECT_EQ(CCommandLine(0, nullptr).GetArgumentCount(), 0u);
}
