#include "support/ScriptHostFixture.h"
#include "support/ScriptRecorder.h"

#include "core/app/StateMachine.h"
#include "core/events/Multicast.h"
#include "core/foundation/StringConversion.h"

#include <vector>

using LuaPlus::LuaObject;
using Misc::Multicast::CEvtState;

namespace
{

const char* const kFail = "function fail() error('state failed') end";

class ScriptStates : public ScriptHost
{
protected:
    void SetUp() override
    {
        ScriptHost::SetUp();
        ASSERT_EQ(Run(kRecorder), "");
        ASSERT_EQ(Run(kFail), "");
    }

    std::vector<std::string> Calls()
    {
        std::vector<std::string> calls;
        const LuaObject table = Global("calls");
        for (size_t index = 1; index <= table.GetCount(); ++index)
            calls.push_back(table.Get(static_cast<int>(index)).GetString());
        return calls;
    }

    LuaObject Value(const std::string& code) { return EvalScript(state, "return " + code); }
};

struct CStateListener : Misc::Multicast::CSubscriber<CEvtState>
{
    CStateListener() { Misc::Multicast::CMulticast<CEvtState>::Subscribe(this, 0); }
    ~CStateListener() override { Misc::Multicast::CMulticast<CEvtState>::Unsubscribe(this); }
    bool OnEvent(const CEvtState& event) override
    {
        events.push_back((event.entering ? "enter " : "exit ") + Misc::Text::WideToUtf8(event.name));
        return false;
    }
    std::vector<std::string> events;
};

TEST_F(ScriptStates, ArgumentsAndEvents)
{
    CStateListener listener;
    CScriptState scriptState(Value("function(...) record('in state', ...) end"), L"first");
    scriptState.AddArgument(Value("1"));
    scriptState.AddArgument(LuaObject());
    scriptState.AddArgument(Value("'three'"));
    scriptState.Run();
    EXPECT_EQ(Calls(), std::vector<std::string>({"in state,1,nil,three"}));
    EXPECT_EQ(listener.events, std::vector<std::string>({"enter first", "exit first"}));
    EXPECT_EQ(lua_gettop(L), 0);

    // Nil parts stay unset; a value that is no function runs nothing.
    CScriptState unset(LuaObject(), Value("nil"), L"");
    EXPECT_TRUE(unset.GetValue().IsNone());
    EXPECT_TRUE(unset.GetErrorHandler().IsNone());
    unset.Run();
    CScriptState number(Value("5"), L"number");
    number.Run();
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(ScriptStates, AFileStateFindsItsFunctionAndTakesThePathAsName)
{
    const std::string path = Write("level1.lua", "function level1(a) record('level1', a) end\n"
                                                 "function OnStateRun() record('OnStateRun') end");
    CScriptState fileState(Value("'" + path.substr(0, path.size() - 4) + "'"), Value("nil"), L"");
    fileState.AddArgument(Value("'x'"));
    fileState.Run();
    EXPECT_EQ(Calls(), std::vector<std::string>({"level1,x"}));
    EXPECT_EQ(Misc::Text::WideToUtf8(fileState.GetName()), path.substr(0, path.size() - 4));
    EXPECT_TRUE(fileState.GetValue().IsFunction());

    // A missing file still looks the function up: a global defined earlier
    // runs.
    ASSERT_EQ(Run("function missing() record('missing ran') end"), "");
    CScriptState missing(state, Misc::Text::Utf8ToWide((folder / "missing").string()));
    missing.Run();
    EXPECT_EQ(Calls().back(), "missing ran");
}

TEST_F(ScriptStates, ErrorsGoToTheStateHandlerThenTheDefaultHandler)
{
    CScriptState own(Value("fail"), Value("function(message) record('own', message) end"), L"own");
    own.Run();
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0], "own,test:1: state failed");

    // No handler: the default one is called and the state keeps a copy.
    CScriptState::SetDefaultErrorHandler(Value("function(message) record('default', message) end"));
    CScriptState plain(Value("fail"), L"plain");
    plain.Run();
    EXPECT_EQ(Calls().back(), "default,test:1: state failed");
    EXPECT_TRUE(plain.GetErrorHandler().IsFunction());

    // A handler given by name is looked up at the first error, so it may be
    // defined after the state was made.
    CScriptState named(Value("fail"), Value("'lateHandler'"), L"named");
    ASSERT_EQ(Run("function lateHandler(message) record('late', message) end"), "");
    named.Run();
    EXPECT_EQ(Calls().back(), "late,test:1: state failed");
    EXPECT_TRUE(named.GetErrorHandler().IsFunction());

    // The handler gets the error object itself.
    CScriptState table(Value("function() error({code = 7}) end"),
                       Value("function(e) record('table', e.code) end"), L"table");
    table.Run();
    EXPECT_EQ(Calls().back(), "table,7");
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptStates, UnhandledErrorsReachThePanicHandler)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case
    {
        const char* value;
        const char* handler;
        const char* expected; // on standard error, the dialog's text
    };
    const Case cases[] = {
        {"fail", "nil", "test\\|1\\|state failed"},
        {"fail", "'notDefined'", "test\\|1\\|state failed"},
        {"fail", "5", "test\\|1\\|state failed"},
        {"fail", "function() error('handler failed') end", "handler failed"},
        {"function() error({}) end", "nil", "\\(error object is not a string\\)"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EXIT(
            {
                CScriptState failing(Value(c.value), Value(c.handler), L"failing");
                failing.Run();
            },
            ::testing::ExitedWithCode(1), std::string(c.expected) + ".*Create error report\\?")
            << c.value << " / " << c.handler;
    }
}

} // namespace
