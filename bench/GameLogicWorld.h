#pragma once

// The engine (NULL driver, no window) with a world of 1,000 units whose
// ids are the global table `ids`, and the game-logic script
// (bench/lua/game_logic.lua) loaded on its main state. Built against
// LuaJIT in the benchmark and against stock Lua 5.1 in the program beside
// it (programs/engine_loop.cpp).

#include "bench/EngineUnits.h"
#include "core/script/lua/LuaState.h"

#include <lua.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>

class CGameLogicWorld
{
public:
    static constexpr int kEntities = 1000;

    explicit CGameLogicWorld(const std::string& script) : m_units(kEntities), m_state(m_units.state)
    {
        lua_State* L = m_state->GetCState();
        if (m_state->LoadFile(script.c_str()) != 0 || m_state->PCall(0, 1) != 0)
            Fail();
        lua_getfield(L, -1, "measure");
        m_measure = luaL_ref(L, LUA_REGISTRYINDEX);
        lua_pop(L, 1);
    }
    ~CGameLogicWorld() { luaL_unref(m_state->GetCState(), LUA_REGISTRYINDEX, m_measure); }
    CGameLogicWorld(const CGameLogicWorld&) = delete;
    CGameLogicWorld& operator=(const CGameLogicWorld&) = delete;

    // The CPU seconds of that many steps of the kind.
    double Measure(const char* kind, int steps)
    {
        lua_State* L = m_state->GetCState();
        lua_rawgeti(L, LUA_REGISTRYINDEX, m_measure);
        lua_pushstring(L, kind);
        lua_pushinteger(L, steps);
        if (m_state->PCall(2, 1) != 0)
            Fail();
        const double seconds = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return seconds;
    }

private:
    [[noreturn]] void Fail()
    {
        std::fprintf(stderr, "%s\n", lua_tostring(m_state->GetCState(), -1));
        std::abort();
    }

    SEngineUnits m_units;
    LuaPlus::LuaState* m_state;
    int m_measure = LUA_NOREF;
};
