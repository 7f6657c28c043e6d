#include "support/LuaTestState.h"

#include "core/script/lua/LuaFunction.h"

using LuaPlus::LuaException;
using LuaPlus::LuaFunction;
using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

using LuaObjects = LuaTestState;

TEST_F(LuaObjects, TablesAndValues)
{
    LuaObject table;
    EXPECT_TRUE(table.IsNone());
    EXPECT_TRUE(table.IsNil());
    EXPECT_EQ(table.GetState(), nullptr);
    table.AssignNewTable(state);
    table.Set("n", 2.5);
    table.Set(1, L"\u00e9");
    table.Set(2, true);
    table.Set("t", table);
    state->GetGlobals().Set("tab", table);

    EXPECT_EQ(table["n"].GetNumber(), 2.5);
    EXPECT_EQ(table[1].GetWString(), L"\u00e9");
    EXPECT_TRUE(table[2].GetBoolean());
    EXPECT_TRUE(table["missing"].IsNil());
    EXPECT_FALSE(table["missing"].IsNone());
    EXPECT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(Run("assert(tab.t == tab and tab[1] == '\\195\\169' and tab.n == 2.5)"), "");

    table.SetNil("n");
    EXPECT_TRUE(table["n"].IsNil());
    EXPECT_THROW(table.Set(LuaObject(), 1), LuaException); // nil key
    EXPECT_THROW(table.Set(0.0 / 0.0, 1), LuaException);   // NaN key
    EXPECT_THROW(table["n"]["x"], LuaException);           // nil is no table
    EXPECT_EQ(lua_gettop(L), 0);

    // Copies share the value; numbers read as text stay numbers.
    LuaObject number;
    number.Assign(state, 7);
    LuaObject copy = number;
    EXPECT_EQ(copy.GetString(), "7");
    EXPECT_TRUE(number.IsNumber());
    EXPECT_STREQ(copy.TypeName(), "number");
}

TEST_F(LuaObjects, MetaTables)
{
    LuaObject table = Eval("return setmetatable({}, {__index = {x = 1}})");
    EXPECT_EQ(table.GetMetaTable()["__index"]["x"].GetNumber(), 1);
    LuaObject plain;
    plain.AssignNewTable(state);
    EXPECT_TRUE(plain.GetMetaTable().IsNil());
    plain.SetMetaTable(table.GetMetaTable());
    LuaObject number;
    number.Assign(state, 1);
    EXPECT_THROW(number.SetMetaTable(plain), LuaException); // would change every number
    EXPECT_THROW(plain.SetMetaTable(number), LuaException);
    EXPECT_EQ(LuaFunction<double>(Eval("return function(t) return t.x end"))(plain), 1);
}

TEST_F(LuaObjects, UseAfterTheStateClosedIsAnError)
{
    LuaState* other = LuaState::Create(true);
    LuaObject table;
    table.AssignNewTable(other);
    table.Set("x", 1);
    LuaObject kept = table;
    LuaState::Destroy(other);

    EXPECT_THROW(table.IsTable(), LuaException);
    EXPECT_THROW(table.GetState(), LuaException);
    LuaObject copy = kept;
    try
    {
        copy["x"];
        FAIL() << "no exception";
    }
    catch (const LuaException& error)
    {
        EXPECT_STREQ(error.what(), "[LuaObject] The script state of the object has been closed");
    }
    // Reassigning a dead object works; destroying one is harmless.
    kept.Assign(state, 3);
    EXPECT_EQ(kept.GetNumber(), 3);
}

TEST_F(LuaObjects, ObjectsStayWithTheirState)
{
    LuaState* other = LuaState::Create(true);
    LuaObject foreign;
    foreign.AssignNewTable(other);
    EXPECT_THROW(state->GetGlobals().Set("x", foreign), LuaException);
    EXPECT_EQ(lua_gettop(L), 0);
    foreign.Reset();
    LuaState::Destroy(other);
}

TEST_F(LuaObjects, StackObjects)
{
    lua_pushnumber(L, 4);
    lua_pushstring(L, "five");
    LuaStackObject number(L, -2);
    LuaStackObject text(state, -1);
    LuaStackObject absent(L, 7);
    lua_pushnil(L); // relative indices were made absolute
    EXPECT_EQ(number.GetIndex(), 1);
    EXPECT_EQ(number.GetNumber(), 4);
    EXPECT_EQ(number.GetString(), "4");
    EXPECT_TRUE(number.IsNumber()); // reading as text left the number alone
    EXPECT_EQ(text.GetWString(), L"five");
    EXPECT_EQ(text.GetState(), state);
    EXPECT_TRUE(absent.IsNone());
    EXPECT_EQ(absent.GetString(), "");
    EXPECT_EQ(LuaObject(text).GetString(), "five");
    EXPECT_EQ(lua_gettop(L), 3);
    lua_settop(L, 0);
}

} // namespace
