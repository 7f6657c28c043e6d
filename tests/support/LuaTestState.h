#pragma once

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <gtest/gtest.h>

#include <string>

// Loads the code as the chunk "test" and calls it in protected mode for
// the number of results; false with the error message on the stack top.
inline bool CallScript(LuaPlus::LuaState* state, const std::string& code, int results)
{
    return state->LoadBuffer(code.data(), code.size(), "=test") == 0 && state->PCall(0, results) == 0;
}

// Runs the code as the chunk "test" on the state; returns the error
// message, or "" when it ran through.
inline std::string RunScript(LuaPlus::LuaState* state, const std::string& code)
{
    lua_State* L = state->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    if (!CallScript(state, code, 0))
        return LuaPlus::GetErrorText(L, -1);
    return "";
}

// The first result of the code on the state; fails the test on a script
// error.
inline LuaPlus::LuaObject EvalScript(LuaPlus::LuaState* state, const std::string& code)
{
    lua_State* L = state->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    if (!CallScript(state, code, 1))
    {
        ADD_FAILURE() << code << ": " << LuaPlus::GetErrorText(L, -1);
        return LuaPlus::LuaObject();
    }
    return LuaPlus::LuaObject(state, -1);
}

// A state with the standard libraries for one test.
class LuaTestState : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state = LuaPlus::LuaState::Create(true);
        ASSERT_NE(state, nullptr);
        L = state->GetCState();
    }
    void TearDown() override { LuaPlus::LuaState::Destroy(state); }

    std::string Run(const std::string& code) { return RunScript(state, code); }
    LuaPlus::LuaObject Eval(const std::string& code) { return EvalScript(state, code); }

    LuaPlus::LuaState* state = nullptr;
    lua_State* L = nullptr;
};
