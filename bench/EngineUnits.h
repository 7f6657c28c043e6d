#pragma once

// The program's engine object (NULL driver, no window) made current, with
// a number of units created in its world and their ids in the main state's
// global table `ids` (1 .. count).

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "world/World.h"

#include <lua.hpp>

#include <memory>

struct SEngineUnits
{
    explicit SEngineUnits(int count)
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        state = engine->GetMainState();
        lua_State* L = state->GetCState();
        CUnitMap& units = engine->GetPart<CWorld>()->GetData().GetUnits();
        lua_newtable(L);
        for (int index = 1; index <= count; ++index)
        {
            Misc::World::IEntityInterface* unit = nullptr;
            units.CreateUnit(unit);
            lua_pushstring(L, unit->GetId());
            lua_rawseti(L, -2, index);
        }
        lua_setglobal(L, "ids");
    }
    ~SEngineUnits()
    {
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }
    SEngineUnits(const SEngineUnits&) = delete;
    SEngineUnits& operator=(const SEngineUnits&) = delete;

    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
};
