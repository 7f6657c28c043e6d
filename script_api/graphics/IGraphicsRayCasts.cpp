// IGraphics functions that pick entities of the 3D scene with rays: between
// two points or from the cursor through the active camera, tested against
// the bounding boxes of the scene's nodes, or against the triangles of
// chosen world entities. Without a device nothing is hit.

#include "core/foundation/Vector.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RayHitList.h"
#include "graphics/scene/GraphicalEntity.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/world/EntityArguments.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Graphics::CGraphicsEngine;
using Graphics::CRayHitList;
using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;
using Misc::World::IEntityInterface;

namespace
{

// Every node id lies within it.
constexpr uint32_t kAllNodes = 0xFFFFFFFFu;

CGraphicsEngine& Engine()
{
    return GetScriptGraphicsEngine();
}

LuaObject NameOrNil(LuaState* state, bool hit, const std::string& name)
{
    LuaObject value;
    if (hit)
        value.Assign(state, std::string_view(name));
    return value;
}

// {distance, entity} tables at 1 .. n, nearest first; nil for no hits.
LuaObject HitTable(LuaState* state, const CRayHitList& hits)
{
    LuaObject table;
    if (hits.IsEmpty())
        return table;
    table.AssignNewTable(state, static_cast<int>(hits.GetCount()));
    lua_Number key = 0;
    for (const Graphics::SRayHit& hit : hits)
    {
        LuaObject entry;
        entry.AssignNewTable(state, 0, 2);
        entry.Set("distance", static_cast<lua_Number>(hit.distance));
        entry.Set("entity", std::string_view(hit.name));
        table.Set(++key, entry);
    }
    return table;
}

LuaObject NearestHit(LuaState* state, const CVector& start, const CVector& end, uint32_t filter)
{
    std::string name;
    const bool hit = Engine().RayCastFilter(start, end, filter, name);
    return NameOrNil(state, hit, name);
}

// The active camera's ray through the cursor; false without a device or
// an active camera.
bool CursorRay(bool orthogonal, CVector& start, CVector& end)
{
    CGraphicsEngine& engine = Engine();
    return engine.GetRayFromMousePosition(engine.GetActiveCamera(), start, end, orthogonal);
}

LuaObject rayCast(LuaState* state, const CVector& start, const CVector& end)
{
    return NearestHit(state, start, end, kAllNodes);
}

LuaObject rayCastFilter(LuaState* state, const CVector& start, const CVector& end, uint32_t filter)
{
    return NearestHit(state, start, end, filter);
}

LuaObject rayCastAll(LuaState* state, const CVector& start, const CVector& end, uint32_t filter)
{
    CRayHitList hits;
    Engine().RayCastAll(start, end, filter, hits);
    return HitTable(state, hits);
}

LuaObject rayCastMousePositionFilter(LuaState* state, uint32_t filter, bool orthogonal)
{
    CVector start;
    CVector end;
    if (!CursorRay(orthogonal, start, end))
        return LuaObject();
    return NearestHit(state, start, end, filter);
}

LuaObject rayCastMousePosition(LuaState* state, bool orthogonal)
{
    return rayCastMousePositionFilter(state, kAllNodes, orthogonal);
}

LuaObject rayCastMousePositionAll(LuaState* state, uint32_t filter, bool orthogonal)
{
    CVector start;
    CVector end;
    CRayHitList hits;
    if (CursorRay(orthogonal, start, end))
        Engine().RayCastAll(start, end, filter, hits);
    return HitTable(state, hits);
}

// The graphical part of the entity an id names; the group's not-found
// error otherwise, before any ray is cast.
Graphics::Scene::CGraphicalEntity* TargetPart(std::string_view id)
{
    IEntityInterface* entity = ScriptWorld::FindAnyUnit(id);
    if (entity == nullptr)
        ScriptWorld::ThrowGroupUnitNotFound(id);
    Graphics::Scene::CGraphicalEntity* part = entity->GetGraphicalPart();
    if (part == nullptr)
        ScriptWorld::RefuseMissingPart("graphical", id);
    return part;
}

std::string_view TextOf(lua_State* L, int index)
{
    size_t size = 0;
    const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &size) : nullptr;
    return text != nullptr ? std::string_view(text, size) : std::string_view();
}

// The entities: one id, or the ids at 1 .. #table of a table.
LuaObject rayCastPolygon(LuaState* state, const CVector& start, const CVector& end,
                         const LuaStackObject& entities, bool buildSelectors)
{
    lua_State* L = state->GetCState();
    const int index = entities.GetIndex();
    std::vector<Graphics::Scene::CGraphicalEntity*> targets;
    if (lua_istable(L, index))
    {
        const int count = static_cast<int>(lua_objlen(L, index));
        for (int key = 1; key <= count; ++key)
        {
            // A failed lookup ends the call, and the call's stack with it.
            lua_rawgeti(L, index, key);
            targets.push_back(TargetPart(TextOf(L, -1)));
            lua_pop(L, 1);
        }
    }
    else
    {
        targets.push_back(TargetPart(TextOf(L, index)));
    }
    CRayHitList hits;
    Engine().RayCastPolygon(start, end, targets, hits, buildSelectors);
    return HitTable(state, hits);
}

bool isInLineOfSight(LuaState*, const CVector& start, const CVector& end)
{
    std::string name;
    return !Engine().RayCastFilter(start, end, kAllNodes, name);
}

} // namespace

void RegisterIGraphicsRayCasts(CScriptMetaTable& table)
{
    table.RegisterHelper("rayCast", &rayCast);
    table.RegisterHelper("rayCastFilter", &rayCastFilter);
    table.RegisterHelper("rayCastAll", &rayCastAll);
    table.RegisterHelper("rayCastMousePosition", &rayCastMousePosition);
    table.RegisterHelper("rayCastMousePositionFilter", &rayCastMousePositionFilter);
    table.RegisterHelper("rayCastMousePositionAll", &rayCastMousePositionAll);
    table.RegisterHelper("rayCastPolygon", &rayCastPolygon);
    table.RegisterHelper("isInLineOfSight", &isInLineOfSight);
}
