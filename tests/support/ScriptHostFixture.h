#pragma once

#include "core/script/ScriptManager.h"
#include "core/script/ScriptState.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "script_api/core/ScriptInterfaces.h"
#include "support/LuaTestState.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// The engine object with its main script state and the script interfaces,
// but no sub-engine (no graphics device), published as the instance, and a
// scratch folder for script files. Script errors that reach the panic
// handler print the dialog on standard error and answer No.
class ScriptHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        ::setenv("HALVANE_EDITOR", "/nonexistent/halvane-test-editor", 1);
        engine =
            std::make_unique<CScriptManager>(CScriptManager::SComposition{{}, &RegisterScriptInterfaces});
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        ASSERT_NE(state, nullptr);
        L = state->GetCState();
    }
    void TearDown() override
    {
        CScriptState::SetDefaultErrorHandler(LuaPlus::LuaObject());
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    // Writes the file into the scratch folder; its full path.
    std::string Write(const std::string& name, const std::string& text) { return scratch.Write(name, text); }

    // Runs the code on the main state in protected mode; the error message,
    // or "" when it ran through.
    std::string Run(const std::string& code) { return RunScript(state, code); }

    LuaPlus::LuaObject Global(const char* name) { return state->GetGlobals().Get(name); }

    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
    lua_State* L = nullptr;
    CTestFolder scratch;
    const std::filesystem::path folder = scratch.Path();
};
