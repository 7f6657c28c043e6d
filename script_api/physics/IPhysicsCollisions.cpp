// IPhysics functions that tell which entities touch, where two bodies
// touch, which bodies lie in a box, and what a ray meets: between two
// points or from the cursor through the world's active camera.

#include "core/script/lua/LuaStackFunction.h"
#include "core/script/lua/LuaStackTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "core/world/TypeId.h"
#include "graphics/engine/FrameEntity.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "physics/RayCastResult.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/VectorScript.h"
#include "script_api/physics/IPhysicsFunctions.h"
#include "script_api/world/WorldAccess.h"
#include "world/World.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaStackTable;
using LuaPlus::LuaState;
using ScriptPhysics::Engine;
using ScriptWorld::PhysicalPart;

namespace
{

// Every entity passes.
constexpr uint32_t kAllKinds = 0xFFFFFFFFu;
// Two bodies touch in a handful of points; a script's count beyond this
// would only size buffers that are never filled.
constexpr uint32_t kMostContacts = 256;

std::vector<std::string> ContactIds(const CPhysicalEntity& part)
{
    std::vector<std::string> ids;
    for (const auto& contact : part.GetContacts())
        ids.push_back(contact.first);
    return ids;
}

bool isColliding(LuaState*, PhysicalPart part, const std::string& otherId)
{
    return part->GetContacts().count(otherId) != 0;
}

// Over a copy of the contacts: the callback may delete entities, stop the
// engine or change the contacts.
void forEachCollision(LuaState*, PhysicalPart part, const LuaStackObject& callback,
                      const LuaStackObject& userData)
{
    const std::string id = part->GetId();
    const LuaPlus::LuaStackFunction<bool> function(callback);
    for (const std::string& otherId : ContactIds(*part))
        if (function(id, otherId, userData))
            break;
}

LuaObject getCollisionData(LuaState* state, const LuaStackObject& entityA, const LuaStackObject& entityB,
                           LuaPlus::Saturating<uint32_t> maxContacts)
{
    LuaObject result;
    if (maxContacts == 0)
        return result;
    CPhysicalEntity* partA = LuaPlus::ScriptArg<PhysicalPart>::Get(state->GetCState(), entityA.GetIndex());
    CPhysicalEntity* partB = LuaPlus::ScriptArg<PhysicalPart>::Get(state->GetCState(), entityB.GetIndex());
    const uint32_t count = std::min<uint32_t>(maxContacts, kMostContacts);
    std::vector<float> contacts(count * 3);
    std::vector<float> normals(count * 3);
    std::vector<float> penetrations(count);
    const int found = Engine().GetCollisionData(static_cast<int>(count), partA, partB, contacts.data(),
                                                normals.data(), penetrations.data());
    if (found <= 0)
        return result;
    result.AssignNewTable(state, found);
    for (int i = 0; i < std::min<int>(found, static_cast<int>(count)); ++i)
    {
        LuaObject contact;
        contact.AssignNewTable(state, 0, 3);
        contact.Set("contact", CVector(contacts[i * 3], contacts[i * 3 + 1], contacts[i * 3 + 2]));
        contact.Set("normal", CVector(normals[i * 3], normals[i * 3 + 1], normals[i * 3 + 2]));
        contact.Set("penetration", static_cast<lua_Number>(penetrations[i]));
        result.Set(i + 1, contact);
    }
    return result;
}

LuaObject boundingBoxCollisionTest(LuaState* state, const LuaStackTable& box)
{
    const CVector minimum = box.Get<CVector>("min");
    const CVector maximum = box.Get<CVector>("max");
    std::vector<std::string> ids;
    const int count =
        Engine().GetEntitiesInBox(minimum.x, minimum.y, minimum.z, maximum.x, maximum.y, maximum.z, ids);
    LuaObject result;
    if (count <= 0)
        return result;
    result.AssignNewTable(state, static_cast<int>(ids.size()));
    int key = 0;
    for (const std::string& id : ids)
        result.Set(++key, std::string_view(id));
    return result;
}

LuaObject HitTable(LuaState* state, const CVector& start, const CVector& end, const CRayCastHit& hit)
{
    const float t = hit.parameter;
    LuaObject table;
    table.AssignNewTable(state, 0, 3);
    table.Set("intersection", CVector(start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t,
                                      start.z + (end.z - start.z) * t));
    table.Set("normal", hit.normal);
    table.Set("entity", std::string_view(hit.id));
    return table;
}

// The nearest hit, or with all every hit nearest first; nil for none.
LuaObject Cast(LuaState* state, const CVector& start, const CVector& end, uint32_t filter, bool all)
{
    CRayCastResult request;
    request.filter = filter;
    request.everyHit = all;
    LuaObject result;
    if (!Engine().RayCast(start, end, request) || request.hits.empty())
        return result;
    if (!all)
        return HitTable(state, start, end, request.hits.front());
    result.AssignNewTable(state, static_cast<int>(request.hits.size()));
    int key = 0;
    for (const CRayCastHit& hit : request.hits)
        result.Set(++key, HitTable(state, start, end, hit));
    return result;
}

LuaObject rayCast(LuaState* state, const CVector& start, const CVector& end)
{
    return Cast(state, start, end, kAllKinds, false);
}

LuaObject rayCastFilter(LuaState* state, const CVector& start, const CVector& end, uint32_t filter)
{
    return Cast(state, start, end, filter, false);
}

LuaObject rayCastAll(LuaState* state, const CVector& start, const CVector& end, uint32_t filter)
{
    return Cast(state, start, end, filter, true);
}

// The ray under the cursor through the world's active camera, found among
// the world's cameras; false when the camera has no view (no device).
bool CursorRay(bool orthographic, CVector& start, CVector& end)
{
    Graphics::CGraphicsEngine& graphics = GetScriptGraphicsEngine();
    const std::string id = ScriptWorld::GetScriptWorld().GetActiveCameraId();
    Misc::World::IEntityInterface* camera = ScriptWorld::FindUnit(Misc::World::kTypeIdCamera, id);
    auto* frameCamera =
        camera != nullptr ? dynamic_cast<Graphics::IFrameCamera*>(camera->GetGraphicalPart()) : nullptr;
    if (frameCamera == nullptr)
        ScriptWorld::ThrowUnitNotFound(id);
    return graphics.GetRayFromMousePosition(frameCamera, start, end, orthographic);
}

LuaObject CastFromCursor(LuaState* state, uint32_t filter, bool orthographic, bool all)
{
    CVector start;
    CVector end;
    if (!CursorRay(orthographic, start, end))
        return LuaObject();
    return Cast(state, start, end, filter, all);
}

LuaObject rayCastMousePosition(LuaState* state, bool orthographic)
{
    return CastFromCursor(state, kAllKinds, orthographic, false);
}

LuaObject rayCastMousePositionFilter(LuaState* state, uint32_t filter, bool orthographic)
{
    return CastFromCursor(state, filter, orthographic, false);
}

LuaObject rayCastMousePositionAll(LuaState* state, uint32_t filter, bool orthographic)
{
    return CastFromCursor(state, filter, orthographic, true);
}

} // namespace

void RegisterIPhysicsCollisionDataFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getCollisionData", &getCollisionData);
}

void RegisterIPhysicsCollisionWalkFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("forEachCollision", &forEachCollision);
    table.RegisterHelper("isColliding", &isColliding);
}

void RegisterIPhysicsRayCastFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("rayCast", &rayCast);
    table.RegisterHelper("rayCastFilter", &rayCastFilter);
    table.RegisterHelper("rayCastAll", &rayCastAll);
    table.RegisterHelper("rayCastMousePosition", &rayCastMousePosition);
    table.RegisterHelper("rayCastMousePositionFilter", &rayCastMousePositionFilter);
    table.RegisterHelper("rayCastMousePositionAll", &rayCastMousePositionAll);
    table.RegisterHelper("boundingBoxCollisionTest", &boundingBoxCollisionTest);
}
