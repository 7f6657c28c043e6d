#pragma once

// Entities of one collection keyed by their ids as the world keeps them,
// installed as the lookup of the entity argument types, and what a
// hand-written binding does in their place: the id, the lookup, the
// documented error, the graphical part.

#include "script_api/world/EntityArguments.h"
#include "tests/support/JoinedEntity.h"

#include <lua.hpp>

#include <map>
#include <memory>
#include <string>
#include <string_view>

template <class Graphical> class CBenchWorld final : public ScriptWorld::IEntityLookup
{
public:
    explicit CBenchWorld(int count)
    {
        for (int index = 0; index < count; ++index)
        {
            auto entity = std::make_unique<CJoinedEntity<Graphical>>();
            entity->NewId();
            const std::string id = entity->GetId();
            units.emplace(id, std::move(entity));
        }
        m_previous = ScriptWorld::SetEntityLookup(this);
    }
    ~CBenchWorld() { ScriptWorld::SetEntityLookup(m_previous); }
    CBenchWorld(const CBenchWorld&) = delete;
    CBenchWorld& operator=(const CBenchWorld&) = delete;

    Misc::World::IEntityInterface* FindUnit(uint32_t, std::string_view id) override
    {
        return FindAnyUnit(id);
    }
    Misc::World::IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        const auto found = units.find(id);
        return found != units.end() ? found->second.get() : nullptr;
    }

    // The part of the id at stack index 2, as a bare binding finds it.
    Graphics::Scene::CGraphicalEntity* BarePart(lua_State* L)
    {
        size_t size = 0;
        const char* text = lua_isstring(L, 2) ? lua_tolstring(L, 2, &size) : "";
        const auto found = units.find(std::string_view(text, size));
        if (found == units.end())
            luaL_error(L, "[CWorldMapGroup::GetUnit] Unit not found [%s]", text);
        return found->second->GetGraphicalPart();
    }

    // The global table "ids": every id at 1 .. n.
    void PublishIds(lua_State* L) const
    {
        lua_newtable(L);
        int index = 1;
        for (const auto& entry : units)
        {
            lua_pushlstring(L, entry.first.data(), entry.first.size());
            lua_rawseti(L, -2, index++);
        }
        lua_setglobal(L, "ids");
    }

    std::map<std::string, std::unique_ptr<Misc::World::IEntityInterface>, std::less<>> units;

private:
    ScriptWorld::IEntityLookup* m_previous = nullptr;
};
