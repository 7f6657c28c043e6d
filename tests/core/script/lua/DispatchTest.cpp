#include "support/LuaTestState.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/HandleRegistry.h"
#include "core/script/lua/LuaFunction.h"
#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/LuaStackTable.h"
#include "core/script/lua/ScriptHandle.h"
#include "core/script/lua/ScriptMetaTable.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

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

// Bindings with a qualified name: handle arguments, the main-state guard and
// borrowed arguments, on a table published as the interface "T".
namespace
{

struct SThing
{
    int value = 0;
};
struct SOtherThing
{
};

} // namespace

template <> struct LuaPlus::ScriptHandleTraits<SThing>
{
    static constexpr const char* kName = "thing";
};

namespace
{

using LuaPlus::CallingThread;
using LuaPlus::LuaStackFunction;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackTable;
using LuaPlus::OptionalScriptHandle;
using LuaPlus::ScriptHandle;
using Misc::CHandleRegistry;

// CallingThread takes the place of an argument: only last is accepted.
static_assert(LuaPlus::CallingThreadIsLast<int, CallingThread>());
static_assert(LuaPlus::CallingThreadIsLast<>() && LuaPlus::CallingThreadIsLast<int>());
static_assert(!LuaPlus::CallingThreadIsLast<CallingThread, int>());
static_assert(!LuaPlus::CallingThreadIsLast<int, const CallingThread&, bool>());

int Poke(LuaState*, ScriptHandle<SThing> thing, int value)
{
    thing->value += value;
    return thing->value;
}

bool Has(LuaState*, OptionalScriptHandle<SThing> thing)
{
    return static_cast<bool>(thing);
}

int Guarded(LuaState*, ScriptHandle<SThing> thing)
{
    return thing->value;
}

// Reads fields of a borrowed table; keeps field "keep" in the registry.
LuaObject g_kept;
std::string ReadTable(LuaState*, const LuaStackTable& table)
{
    g_kept = table.Get<LuaObject>("keep");
    return std::to_string(table.Get<int>("x")) + "|" + table.Get<std::string>("name") + "|" +
           Misc::Text::WideToUtf8(table.Get<std::wstring>(1)) + "|" + std::to_string(table.GetCount()) + "|" +
           std::to_string(table.FieldType("x"));
}

// Calls the borrowed callback (a function or a global's name) with each
// number from 1 to count and the borrowed user data; sums the results.
double ForEach(LuaState*, const LuaStackObject& callback, int count, const LuaStackObject& userData)
{
    const LuaStackFunction<double> function(callback);
    double sum = 0;
    for (int i = 1; i <= count; ++i)
        sum += function(i, userData);
    return sum;
}

lua_State* g_mainThread = nullptr;
bool IsMainThread(lua_State* L)
{
    return L == g_mainThread;
}

void RegisterTableFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("poke", &Poke);
    table.RegisterHelper("has", &Has);
    table.RegisterHelper("guarded", &Guarded, LuaPlus::kMainStateOnly);
    table.RegisterHelper("readTable", &ReadTable);
    table.RegisterHelper("forEach", &ForEach);
}

class Bindings : public LuaTestState
{
protected:
    void SetUp() override
    {
        LuaTestState::SetUp();
        g_mainThread = L;
        Publish("T", LuaPlus::kNoFlags);
        Publish("G", LuaPlus::kMainStateOnly);
        m_handle = CHandleRegistry::GetInstance().Add(&m_thing);
        m_other = CHandleRegistry::GetInstance().Add(&m_otherThing);
        m_stale = CHandleRegistry::GetInstance().Add(&m_thing);
        CHandleRegistry::GetInstance().Remove(m_stale);
        ASSERT_EQ(Run("H, OTHER, STALE = " + std::to_string(m_handle) + ", " + std::to_string(m_other) +
                      ", " + std::to_string(m_stale)),
                  "");
    }
    void TearDown() override
    {
        CHandleRegistry::GetInstance().Remove(m_handle);
        CHandleRegistry::GetInstance().Remove(m_other);
        g_kept.Reset();
        LuaTestState::TearDown();
    }

    void Publish(const char* name, unsigned interfaceFlags)
    {
        CScriptMetaTable table(state);
        table.SetScriptName(name);
        table.SetMainStateTest(&IsMainThread);
        table.SetDefaultFlags(interfaceFlags);
        RegisterTableFunctions(table);
        table.SetGlobalObject(&m_thing, name);
        table.Seal();
    }

    // The call's result as text, or its error message. The call is not a
    // tail call: the VM drops the frame of a function that ends in one, and
    // with it the line an error would name.
    std::string Call(const std::string& call)
    {
        return Eval("local ok, result = pcall(function() local result = " + call +
                    " return result end) return ok and tostring(result) or result")
            .GetString();
    }

    SThing m_thing;
    SOtherThing m_otherThing;
    uint32_t m_handle = 0;
    uint32_t m_other = 0;
    uint32_t m_stale = 0;
};

TEST_F(Bindings, HandleArgumentsReachOnlyLiveObjectsOfTheirType)
{
    struct Case
    {
        std::string call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"T:poke(H, 2)", "2"},
        {"T:poke(tostring(H), 3)", "5"}, // a number as text is that number
        {"T:poke(0, 1)", "test:1: [T::poke] Invalid thing handle: 0"},
        {"T:poke(nil, 1)", "test:1: [T::poke] Invalid thing handle: 0"},
        {"T:poke({}, 1)", "test:1: [T::poke] Invalid thing handle: 0"},
        {"T:poke(-1, 1)", "test:1: [T::poke] Invalid thing handle: -1"},
        {"T:poke(H + 0.5, 1)", "test:1: [T::poke] Invalid thing handle: " + std::to_string(m_handle) + ".5"},
        {"T:poke(0/0, 1)", "test:1: [T::poke] Invalid thing handle: "},
        {"T:poke(1e300, 1)", "test:1: [T::poke] Invalid thing handle: 1e+300"},
        {"T:poke(2^32 + H, 1)",
         "test:1: [T::poke] Invalid thing handle: " + std::to_string(4294967296ull + m_handle)},
        {"T:poke(STALE, 1)", "test:1: [T::poke] Invalid thing handle: " + std::to_string(m_stale)},
        {"T:poke(OTHER, 1)", "test:1: [T::poke] Invalid thing handle: " + std::to_string(m_other)},
        // A dot call shifts the arguments.
        {"T.poke(H, STALE)", "test:1: [T::poke] Invalid thing handle: " + std::to_string(m_stale)},
        // 0 and nil name no object where one is optional; other numbers must.
        {"T:has(0)", "false"},
        {"T:has()", "false"},
        {"T:has(H)", "true"},
        {"T:has(STALE)", "test:1: [T::has] Invalid thing handle: " + std::to_string(m_stale)},
    };
    for (const Case& c : cases)
    {
        const std::string result = Call(c.call);
        if (c.call == "T:poke(0/0, 1)")
            EXPECT_EQ(result.find(c.expected), 0u) << result; // "nan" or "-nan"
        else
            EXPECT_EQ(result, c.expected) << c.call;
    }
    EXPECT_EQ(m_thing.value, 5);
}

TEST_F(Bindings, TheMainStateGuardRunsBeforeTheArgumentsAndNamesItsFunctionOrInterface)
{
    const std::string coroutine =
        "select(2, coroutine.resume(coroutine.create(function() local result = %s return result end)))";
    auto inCoroutine = [&](const std::string& call)
    {
        std::string code = coroutine;
        return Call(code.replace(code.find("%s"), 2, call));
    };
    EXPECT_EQ(Call("T:guarded(H)"), "0");
    EXPECT_EQ(inCoroutine("T:guarded(H)"),
              "test:1: [T::guarded] Can only be called from the main Lua state.");
    // The guard comes first: a stale handle from a coroutine is refused as a
    // call from the coroutine.
    EXPECT_EQ(inCoroutine("T:guarded(STALE)"),
              "test:1: [T::guarded] Can only be called from the main Lua state.");
    EXPECT_EQ(inCoroutine("T:poke(H, 1)"), "1");
    // Guarded as a whole interface, every function names the interface but
    // one guarded on its own.
    for (const char* call : {"G:poke(H, 1)", "G:has(0)", "G:readTable({})"})
        EXPECT_EQ(inCoroutine(call), "test:1: [G] Can only be called from the main Lua state.") << call;
    EXPECT_EQ(inCoroutine("G:guarded(H)"),
              "test:1: [G::guarded] Can only be called from the main Lua state.");
    EXPECT_EQ(Call("G:poke(H, 1)"), "2");

    // A guarded function needs a test of the main state to be registered.
    CScriptMetaTable table(state);
    EXPECT_THROW(table.RegisterHelper("guarded", &Guarded, LuaPlus::kMainStateOnly), LuaException);
}

TEST_F(Bindings, BorrowedTablesAreReadInPlace)
{
    EXPECT_EQ(Call("T:readTable({ '\\195\\169', 'second', x = 7.9, name = 'n', keep = { 42 } })"),
              "7|n|\xC3\xA9|2|3");
    EXPECT_EQ(g_kept.Get(1).GetNumber(), 42) << "a field read as LuaObject is kept";
    // Not a table, an empty one, hostile field values: defaults, no error.
    struct Case
    {
        const char* argument;
        const char* expected;
    };
    const Case cases[] = {
        {"nil", "0|||0|0"},
        {"5", "0|||0|0"},
        {"'text'", "0|||0|0"},
        {"{}", "0|||0|0"},
        {"{ x = 0/0, name = {}, [1] = true }", "0|||1|3"},
        {"{ x = 1e300, [1] = 5 }", "-1||5|1|3"},
        {"setmetatable({}, { __index = function() error('never') end })", "0|||0|0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(std::string("T:readTable(") + c.argument + ")"), c.expected) << c.argument;
    // From a coroutine, whose stack holds the table.
    EXPECT_EQ(
        Call("select(2, coroutine.resume(coroutine.create(function() return T:readTable({ x = 1, 'a' }) "
             "end)))"),
        "1||a|1|3");
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(Bindings, BorrowedFunctionsAreCalledInProtectedModeOnTheMainThread)
{
    ASSERT_EQ(Run("function twice(i, data) return i * 2 + data.add end\n"
                  "function thread(i) return coroutine.running() == nil and 1 or 100 end"),
              "");
    struct Case
    {
        const char* call;
        const char* expected;
    };
    const Case cases[] = {
        {"T:forEach(function(i, data) return i + data end, 3, 10)", "36"},
        {"T:forEach('twice', 2, { add = 1 })", "8"},
        {"T:forEach(twice, 0, nil)", "0"},
        // Run on the state's main thread, also when called from a coroutine.
        {"select(2, coroutine.resume(coroutine.create(function() return T:forEach('thread', 2, { add = 1 }) "
         "end)))",
         "2"},
        {"T:forEach('missing', 1, nil)", "test:1: Lua assertion failed:m_functionObj.IsFunction()"},
        {"T:forEach(42, 1, nil)", "test:1: Lua assertion failed:m_functionObj.IsFunction()"},
        {"T:forEach(function() error('inside') end, 1, nil)", "test:1: test:1: inside"},
        {"T:forEach(function() coroutine.yield() end, 1, nil)",
         "test:1: test:1: attempt to yield across C-call boundary"},
    };
    for (const Case& c : cases)
    {
        const std::string result = Call(c.call);
        EXPECT_EQ(result.substr(0, std::string(c.expected).size()), c.expected) << c.call;
    }
    EXPECT_EQ(lua_gettop(L), 0);
}

} // namespace
