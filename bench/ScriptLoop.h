#pragma once

// Times script code on a state: the prelude runs once, then each benchmark
// iteration runs `for i = 1, steps do <body> end` in one call, with a
// number s for the body to add to (so the work is not dropped). Items
// processed are loop steps; bodies that take long give fewer steps, so a
// run still has iterations enough to time.

#include "core/script/lua/LuaState.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline void RunScriptLoop(benchmark::State& run, LuaPlus::LuaState* state, const std::string& prelude,
                          const std::string& body, int steps = 1000)
{
    const std::string code =
        prelude + "\nreturn function(n) local s = 0 for i = 1, n do " + body + " end return s end";
    lua_State* L = state->GetCState();
    if (state->LoadBuffer(code.data(), code.size(), "=bench") != 0 || state->PCall(0, 1) != 0)
    {
        std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
        std::abort();
    }
    const int loop = lua_gettop(L);

    for (auto _ : run)
    {
        lua_pushvalue(L, loop);
        lua_pushinteger(L, steps);
        if (state->PCall(1, 1) != 0)
        {
            std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
            std::abort();
        }
        benchmark::DoNotOptimize(lua_tonumber(L, -1));
        lua_pop(L, 1);
    }
    lua_settop(L, loop - 1);
    run.SetItemsProcessed(run.iterations() * steps);
}
