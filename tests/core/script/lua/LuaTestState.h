#pragma once

#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"

#include <gtest/gtest.h>

#include <string>

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

    // Runs the code as the chunk "test"; returns the error message, or ""
    // when it ran through.
    std::string Run(const std::string& code) { return RunOn(state, code); }

    static std::string RunOn(LuaPlus::LuaState* on, const std::string& code)
    {
        lua_State* S = on->GetCState();
        LuaPlus::LuaStackRestore restore(S);
        if (on->LoadBuffer(code.data(), code.size(), "=test") != 0 || on->PCall(0, 0) != 0)
            return lua_isstring(S, -1) ? lua_tostring(S, -1) : "(error object is not a string)";
        return "";
    }

    // The first result of the code; fails the test on a script error.
    LuaPlus::LuaObject Eval(const std::string& code)
    {
        LuaPlus::LuaStackRestore restore(L);
        if (state->LoadBuffer(code.data(), code.size(), "=test") != 0 || state->PCall(0, 1) != 0)
        {
            ADD_FAILURE() << code << ": " << lua_tostring(L, -1);
            return LuaPlus::LuaObject();
        }
        return LuaPlus::LuaObject(state, -1);
    }

    LuaPlus::LuaState* state = nullptr;
    lua_State* L = nullptr;
};
