#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/scene/GraphicalTerrain.h"
#include "physics/PhysicalEntity.h"

#include <cstdint>
#include <limits>

using Graphics::Scene::CGraphicalTerrain;
using LuaPlus::LuaState;

namespace
{

using Terrain = ScriptWorld::Unit<Misc::World::kTypeIdTerrain, CGraphicalTerrain>;
using TerrainUnit = ScriptWorld::Unit<Misc::World::kTypeIdTerrain>;

CPhysicalEntity& PhysicalPartOf(TerrainUnit terrain)
{
    CPhysicalEntity* part = terrain->GetPhysicalPart();
    if (part == nullptr)
        ScriptWorld::RefuseMissingPart("physical", terrain->GetId());
    return *part;
}

uint32_t getTerrainPhysicsLOD(LuaState*, TerrainUnit terrain)
{
    return PhysicalPartOf(terrain).GetDetailLevel();
}

void setTerrainPhysicsLOD(LuaState*, TerrainUnit terrain, uint32_t level)
{
    PhysicalPartOf(terrain).SetDetailLevel(level);
}

// The size is compared as an unsigned number: a negative request counts as
// a very large one, and so does one beyond 32 bits (never wrapped round to
// a small size).
void setTerrainPatchSize(LuaState*, Terrain terrain, int64_t size)
{
    const bool fits = size >= 0 && size <= std::numeric_limits<uint32_t>::max();
    terrain->SetPatchSize(fits ? static_cast<uint32_t>(size) : std::numeric_limits<uint32_t>::max());
}

CVector getTerrainCenter(LuaState*, Terrain terrain)
{
    CVector centre;
    terrain->GetCenter(centre);
    return centre;
}

} // namespace

void RegisterIWorldTerrainFunctions(CScriptMetaTable& table)
{
    using T = CGraphicalTerrain;
    table.RegisterMethod<Terrain>("getTerrainHeightMapName", &T::GetHeightmap);
    table.RegisterMethod<Terrain>("setTerrainHeightMapName", &T::SetHeightmap);
    table.RegisterMethod<Terrain>("getTerrainSmoothFactor", &T::GetSmoothFactor);
    table.RegisterMethod<Terrain>("setTerrainSmoothFactor", &T::SetSmoothFactor);
    table.RegisterMethod<Terrain>("getTerrainPatchSize", &T::GetPatchSize);
    table.RegisterHelper("setTerrainPatchSize", &setTerrainPatchSize);
    table.RegisterMethod<Terrain>("getTerrainMaxLOD", &T::GetMaxLOD);
    table.RegisterMethod<Terrain>("setTerrainMaxLOD", &T::SetMaxLOD);
    table.RegisterHelper("getTerrainPhysicsLOD", &getTerrainPhysicsLOD);
    table.RegisterHelper("setTerrainPhysicsLOD", &setTerrainPhysicsLOD);
    table.RegisterMethod<Terrain>("setTerrainTextureScales", &T::SetTextureScales);
    table.RegisterMethod<Terrain>("getTerrainTextureScale1", &T::GetTextureScale1);
    table.RegisterMethod<Terrain>("getTerrainTextureScale2", &T::GetTextureScale2);
    table.RegisterMethod<Terrain>("getTerrainHeight", &T::GetHeight);
    table.RegisterHelper("getTerrainCenter", &getTerrainCenter);
    table.RegisterMethod<Terrain>("setTerrainLODDistance", &T::SetLODDistance);
    table.RegisterMethod<Terrain>("setTerrainMovementDelta", &T::SetCameraMoveDelta);
    table.RegisterMethod<Terrain>("setTerrainRotationDelta", &T::SetCameraRotationDelta);
}
