// IGraphics functions that pick entities of the 3D scene with rays: between
// two points or from the cursor through the active camera, tested against
// the bounding boxes of the scene's nodes. Without a device nothing is hit.

#include "core/foundation/Vector.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RayHitList.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"

#include <cstdint>
#include <string>
#include <string_view>

using Graphics::CGraphicsEngine;
using Graphics::CRayHitList;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;

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
    table.RegisterHelper("isInLineOfSight", &isInLineOfSight);
}
