// IApp and IState as the engine object answers them: calls from a second
// script state, the state queue while no state runs, and the file dialogs
// with a stand-in for zenity.
#include "support/ScriptHostFixture.h"
#include "support/FakeZenity.h"

#include "core/script/lua/LuaState.h"

#include <gtest/gtest.h>

#include <string>

using EngineFunctions = ScriptHost;

TEST_F(EngineFunctions, ASecondStateIsRefusedWhatOnlyTheMainStateMayDo)
{
    LuaPlus::LuaState* second = LuaPlus::LuaState::Create(true);
    ASSERT_NE(second, nullptr);
    auto run = [&](const std::string& code) { return RunScript(second, code); };
    ASSERT_EQ(run("require('engine')"), "");

    const struct
    {
        const char* code;
        const char* message;
    } cases[] = {
        {"IApp:run(1)", "[IApp::run] Can only be called from the main Lua state."},
        {"IApp:tick()", "[IApp::tick] Can only be called from the main Lua state."},
        {"IApp:stop()", "[IApp::stop] Can only be called from the main Lua state."},
        {"IApp:isThrottlingEnabled()",
         "[IApp::isThrottlingEnabled] Can only be called from the main Lua state."},
        {"IApp:enableThrottling(false)",
         "[IApp::enableThrottling] Can only be called from the main Lua state."},
        {"IState:queue(print)", "[IState::queue] Can only be called from the main Lua state."},
        {"IState:queueEx{state = print}", "[IState::queueEx] Can only be called from the main Lua state."},
    };
    for (const auto& c : cases)
        EXPECT_NE(run(c.code).find(c.message), std::string::npos) << c.code << ": " << run(c.code);
    EXPECT_EQ(engine->GetStateMachine()->GetQueueSize(), 0u) << "nothing was queued";
    EXPECT_TRUE(engine->IsThrottlingEnabled());

    // What is not guarded works there, on that state.
    EXPECT_EQ(run("assert(IApp:getTime() >= 0); assert(IApp:getThreadState() ~= 0)"), "");
    EXPECT_EQ(run("assert(IApp:runScriptBuffer('onSecond = true', 'chunk'))"), "");
    EXPECT_EQ(run("assert(onSecond)"), "");
    EXPECT_TRUE(Global("onSecond").IsNil()) << "the buffer ran on the calling state";
    LuaPlus::LuaState::Destroy(second);
}

TEST_F(EngineFunctions, WithoutARunningStateThereIsNoNameAndNoHandlerToSet)
{
    ASSERT_EQ(Run("noName = IState:getName() == nil"), "");
    EXPECT_TRUE(Global("noName").GetBoolean());
    EXPECT_NE(Run("IState:setErrorHandler(print)").find("[IState::setErrorHandler] No state is running."),
              std::string::npos);
    ASSERT_EQ(Run("IState:queue(print, 1)"), "");
    EXPECT_EQ(engine->GetStateMachine()->GetQueueSize(), 1u);
    ASSERT_EQ(Run("IState:reset()"), "");
    EXPECT_EQ(engine->GetStateMachine()->GetQueueSize(), 0u);
}

TEST_F(EngineFunctions, OpenDialogGivesATextOrATableAndSelectsTheFilterAtTheIndex)
{
    CFakeZenity zenity;
    zenity.Answer("/data/one.png\n", 0);
    ASSERT_EQ(
        Run("chosen = IApp:showOpenFileDialog('/data/./x/..', 'Images:*.png;*.jpg,Text:*.txt', 2, 'Open',"
            " true, false, 0)"),
        "");
    EXPECT_EQ(Global("chosen").GetString(), "/data/one.png") << "one file chosen: a text";
    EXPECT_EQ(zenity.Arguments(),
              "--file-selection\n--title=Open\n--filename=/data/\n--multiple\n--separator=\n\n"
              "--file-filter=Text | *.txt\n--file-filter=Images | *.png *.jpg\n");

    zenity.Answer("/data/one.png\n/data/two.png\n", 0);
    ASSERT_EQ(Run("local t = IApp:showOpenFileDialog('', 'Images:*.png', 1, '', true, false, 0)\n"
                  "chosen = #t .. ' ' .. t[1] .. ' ' .. t[2]"),
              "");
    EXPECT_EQ(Global("chosen").GetString(), "2 /data/one.png /data/two.png");

    zenity.Answer("", 1);
    ASSERT_EQ(Run("chosen = IApp:showSaveFileDialog('', '', 0, '', 0)"), "");
    EXPECT_TRUE(Global("chosen").IsNil()) << "cancelled";
}
