#include "LuaTestState.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/script/lua/LuaFunction.h"
#include "core/script/lua/ScriptMetaTable.h"

#include <cmath>
#include <stdexcept>

using LuaPlus::LuaException;
using LuaPlus::LuaFunction;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using Misc::Error::CKVOError;

namespace
{

int EchoInt(LuaState*, int value)
{
    return value;
}
unsigned int EchoUnsigned(LuaState*, unsigned int value)
{
    return value;
}
int64_t EchoInt64(LuaState*, int64_t value)
{
    return value;
}
float EchoFloat(LuaState*, float value)
{
    return value;
}
bool EchoFlag(LuaState*, bool value)
{
    return value;
}
std::string EchoNarrow(LuaState*, const char* text)
{
    return text;
}
std::wstring EchoWide(LuaState*, const std::wstring& text)
{
    return text;
}
const wchar_t* EchoWidePointer(LuaState*, const wchar_t* text)
{
    return text;
}
LuaObject EchoObject(LuaState*, LuaObject value)
{
    return value;
}
void Nothing(LuaState*) {}

std::string Join(LuaState*, int number, std::string narrow, bool flag, const std::wstring& wide,
                 LuaObject object)
{
    return std::to_string(number) + "|" + narrow + "|" + (flag ? "true" : "false") + "|" +
           Misc::Text::WideToUtf8(wide) + "|" + object.TypeName();
}

LuaState* g_expectedState = nullptr;
bool IsCallingState(LuaState* state)
{
    return state == g_expectedState;
}

void FailKvo(LuaState*, const std::wstring& text)
{
    throw CKVOError::Format(L"[T::fail] %s", text.c_str());
}
void FailStd(LuaState*)
{
    throw std::runtime_error("[T::failStd] out of range");
}
void FailLua(LuaState*)
{
    throw LuaException("[T::failLua] bad state");
}

// Counts live C++ objects on the frames an error unwinds.
int g_live = 0;
struct Tracked
{
    Tracked() { ++g_live; }
    ~Tracked() { --g_live; }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;
};

// Calls back into the script, which calls nest again, depth times.
void Nest(LuaState* state, LuaObject callback, int depth)
{
    Tracked tracked;
    const std::string text(100, 'x'); // heap memory ASan would report if leaked
    LuaObject kept = state->GetGlobals();
    LuaFunction<void> call(callback);
    call(depth);
}

// Raises a Lua error straight from C++, several C++ frames deep.
void RaiseDeep(lua_State* L, int depth)
{
    Tracked tracked;
    const std::string text(100, 'y');
    if (depth == 0)
    {
        luaL_error(L, "raw error %d", 42);
        return;
    }
    RaiseDeep(L, depth - 1);
}
void LuaRaise(LuaState* state)
{
    RaiseDeep(state->GetCState(), 5);
}

class Dispatch : public LuaTestState
{
protected:
    void SetUp() override
    {
        LuaTestState::SetUp();
        g_expectedState = state;
        CScriptMetaTable table(state);
        table.RegisterHelper("int", &EchoInt);
        table.RegisterHelper("uint", &EchoUnsigned);
        table.RegisterHelper("int64", &EchoInt64);
        table.RegisterHelper("float", &EchoFloat);
        table.RegisterHelper("flag", &EchoFlag);
        table.RegisterHelper("narrow", &EchoNarrow);
        table.RegisterHelper("wide", &EchoWide);
        table.RegisterHelper("widePointer", &EchoWidePointer);
        table.RegisterHelper("object", &EchoObject);
        table.RegisterHelper("nothing", &Nothing);
        table.RegisterHelper("join", &Join);
        table.RegisterHelper("isCallingState", &IsCallingState);
        table.RegisterHelper("fail", &FailKvo);
        table.RegisterHelper("failStd", &FailStd);
        table.RegisterHelper("failLua", &FailLua);
        table.RegisterHelper("nest", &Nest);
        table.RegisterHelper("luaRaise", &LuaRaise);
        table.SetGlobalObject(&m_object, "T");
        table.Seal();
    }

    int m_object = 0;
};

TEST_F(Dispatch, NumbersAreTruncatedTowardZeroAndSaturated)
{
    struct Case
    {
        const char* call;
        double expected;
    };
    const Case cases[] = {
        {"T:int(3.9)", 3},
        {"T:int(-3.9)", -3},
        {"T:int()", 0},
        {"T:int('12')", 12},
        {"T:int('twelve')", 0},
        {"T:int({})", 0},
        {"T:int(4294967295)", -1}, // low 32 bits of the 64-bit value
        {"T:int(4294967296 + 5)", 5},
        {"T:int(0/0)", 0},  // NaN
        {"T:int(1/0)", -1}, // INT64_MAX, low 32 bits
        {"T:int(-1/0)", 0}, // INT64_MIN, low 32 bits
        {"T:uint(-1)", 4294967295.0},
        {"T:uint(1e300)", 4294967295.0},
        {"T:int64(1e300)", 9223372036854775807.0},
        {"T:int64(-1/0)", -9223372036854775808.0},
        {"T:int64(-2.5)", -2},
        {"T:float(0.1)", static_cast<double>(0.1f)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(std::string("return ") + c.call).GetNumber(), c.expected) << c.call;
}

TEST_F(Dispatch, TextFlagsAndObjects)
{
    struct Case
    {
        const char* call;
        const char* expected;
    };
    const Case cases[] = {
        {"T:narrow()", ""},
        {"T:narrow(12)", "12"},
        {"T:narrow({})", ""},
        {"T:narrow('a\\0b')", "a"}, // a C string parameter ends at the first NUL
        {"T:wide('\\195\\169t\\195\\169')", "\xC3\xA9t\xC3\xA9"},
        {"T:wide()", ""},
        {"T:wide(true)", ""},
        {"T:widePointer('x')", "x"},
        {"tostring(T:flag(0))", "true"},
        {"tostring(T:flag(nil))", "false"},
        {"tostring(T:flag(false))", "false"},
        {"T:join(1, 'x', true, 'y', {})", "1|x|true|y|table"},
        {"T.join(T, 1, 'x', true, 'y', {})", "1|x|true|y|table"},
        // A dot call without the object shifts every argument by one.
        {"T.join(1, 'x', true, 'y', {})", "0||true||nil"},
        {"select('#', T:nothing())", "0"},
        {"tostring(T:isCallingState())", "true"},
        {"tostring(select(2, coroutine.resume(coroutine.create(function() return T:isCallingState() end))))",
         "true"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(std::string("return ") + c.call).GetString(), c.expected) << c.call;
    EXPECT_EQ(Run("local t = {} assert(T:object(t) == t) assert(T:object() == nil)"), "");
}

TEST_F(Dispatch, EngineErrorsAreScriptErrorsAtTheCallersLine)
{
    struct Case
    {
        const char* call;
        const char* message;
    };
    const Case cases[] = {
        {"T:fail('bad \\195\\169')", "test:2: [T::fail] bad \xC3\xA9"},
        {"T:failStd()", "test:2: [T::failStd] out of range"},
        {"T:failLua()", "test:2: [T::failLua] bad state"},
    };
    for (const Case& c : cases)
    {
        const std::string code =
            std::string("local ok, message = pcall(function()\n") + c.call + "\nend)\nreturn message";
        EXPECT_EQ(Eval(code).GetString(), c.message) << c.call;
        EXPECT_EQ(lua_gettop(L), 0);
    }
    // Outside pcall the error reaches the C++ caller as a failed call.
    EXPECT_EQ(Run("T:fail('x')"), "test:1: [T::fail] x");
}

TEST_F(Dispatch, ErrorsUnwindNestedCppFramesCleanly)
{
    // Five script <-> C++ round trips, then an engine error at the bottom.
    const std::string error = Run("local function step(depth)\n"
                                  "  if depth == 0 then T:fail('deep') end\n"
                                  "  T:nest(step, depth - 1)\n"
                                  "end\n"
                                  "local ok, message = pcall(step, 5)\n"
                                  "assert(not ok)\n"
                                  "error(message, 0)");
    EXPECT_NE(error.find("[T::fail] deep"), std::string::npos) << error;
    EXPECT_EQ(error.find("test:3: test:3:"), 0u) << error; // each C++ layer adds its caller's position
    EXPECT_EQ(g_live, 0);

    // A Lua error raised by C++ code five frames down.
    EXPECT_EQ(Run("local ok, message = pcall(function() T:luaRaise() end)\n"
                  "assert(not ok and message == 'test:1: raw error 42', message)"),
              "");
    EXPECT_EQ(g_live, 0);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(Dispatch, InterfaceObjectIsReadOnly)
{
    EXPECT_EQ(Run("assert(getmetatable(T) == 'Metatable is readonly')\n"
                  "assert(not pcall(setmetatable, T, {}))\n"
                  "assert(not pcall(function() T.int = nil end))\n"
                  "assert(T:int(2) == 2)"),
              "");
}

TEST_F(Dispatch, NamedTablesAreReusedAndInterfacesReplaced)
{
    {
        CScriptMetaTable named(state, "CPointTest");
        named.RegisterHelper("int", &EchoInt);
        named.Seal();
    }
    CScriptMetaTable again(state, "CPointTest");
    EXPECT_EQ(Run("assert(CPointTest.__index == CPointTest)\n"
                  "assert(CPointTest.__metatable == 'Metatable is readonly')\n"
                  "assert(CPointTest.int(nil, 4.5) == 4)"),
              "");

    // Publishing again under the same name replaces the global.
    LuaObject before = state->GetGlobals()["T"];
    CScriptMetaTable fresh(state);
    fresh.RegisterHelper("int", &EchoInt);
    fresh.SetGlobalObject(&m_object, "T");
    EXPECT_TRUE(before.IsUserData());
    EXPECT_EQ(Run("assert(T.narrow == nil and T:int(1) == 1)"), "");
}

} // namespace
