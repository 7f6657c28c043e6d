#include "support/LuaTestState.h"

#include "core/script/lua/WideString.h"

#include <string>

namespace
{

using WideStrings = LuaTestState;

TEST_F(WideStrings, RoundTripAsUtf8)
{
    const std::wstring text(L"a\u00e9\u20ac\U0001D11E\0z", 6);
    LuaPlus::lua_pushwstring(L, text);
    size_t size = 0;
    const char* bytes = lua_tolstring(L, -1, &size);
    EXPECT_EQ(std::string(bytes, size), std::string("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\0z", 12));
    EXPECT_EQ(LuaPlus::lua_towstring(L, -1), text);
    lua_pop(L, 1);
}

TEST_F(WideStrings, ReadingNeverFails)
{
    struct Case
    {
        const char* code;
        std::wstring expected;
    };
    const Case cases[] = {
        {"return 'a\\255b\\195'", L"a\uFFFDb\uFFFD"},        // stray byte, cut sequence
        {"return '\\237\\160\\128'", L"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
        {"return 12.5", L"12.5"},
        {"return {}", L""},
        {"return nil", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(c.code).GetWString(), c.expected) << c.code;
    LuaPlus::lua_pushwstring(L, static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
}

} // namespace
