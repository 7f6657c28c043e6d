#include "support/LuaTestState.h"

#include "core/script/lua/LuaFunction.h"

#include <string>

using LuaPlus::LuaException;
using LuaPlus::LuaFunction;
using LuaPlus::LuaObject;

namespace
{

using LuaFunctions = LuaTestState;

TEST_F(LuaFunctions, CallsByValueOrGlobalName)
{
    ASSERT_EQ(Run("function add(a, b, c) return a + b + #c end\n"
                  "function fails() error('boom') end\n"
                  "function nothing() end"),
              "");
    LuaObject name;
    name.Assign(state, "add");
    LuaFunction<double> add(name);
    ASSERT_EQ(Run("add = nil"), "");
    // The global was resolved once, at construction.
    EXPECT_EQ(add(1, 2.5, L"\u00e9"), 5.5);

    EXPECT_FALSE(LuaFunction<bool>(state->GetGlobals()["nothing"])());
    EXPECT_EQ(LuaFunction<std::wstring>(Eval("return function(s) return s .. '!' end"))(L"\u00e9"),
              L"\u00e9!");

    try
    {
        LuaFunction<void>(state->GetGlobals()["fails"])();
        FAIL() << "no exception";
    }
    catch (const LuaException& error)
    {
        EXPECT_STREQ(error.what(), "test:2: boom");
    }
    EXPECT_EQ(lua_gettop(L), 0);

    for (const char* code : {"return 'missing'", "return 5", "return nil"})
    {
        try
        {
            LuaFunction<void> call(Eval(code));
            FAIL() << code;
        }
        catch (const LuaException& error)
        {
            EXPECT_STREQ(error.what(), "Lua assertion failed:m_functionObj.IsFunction()");
        }
    }
    EXPECT_THROW(LuaFunction<void>{LuaObject()}, LuaException);
}

} // namespace
