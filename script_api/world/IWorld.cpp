#include "script_api/world/IWorld.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/world/EntityKinds.h"
#include "script_api/world/IWorldGroups.h"
#include "script_api/world/kinds/KindFunctions.h"
#include "script_api/world/kinds/Waypoints.h"

namespace World = Misc::World;

namespace
{

// The block of one kind, then (where a kind has them) its own functions.
template <uint32_t TypeId> void RegisterKind(CScriptMetaTable& table)
{
    ScriptWorld::RegisterEntityKindBlock(table, TypeId);
}

} // namespace

// The order of the groups is part of the interface: the world and its data,
// sky and fog, entity access, then one block per kind from cursors to
// particle systems, and waypoints last.
void RegisterIWorldFunctions(CScriptMetaTable& table)
{
    RegisterIWorldWorldFunctions(table);
    RegisterIWorldSkyAndFogFunctions(table);
    RegisterIWorldEntityFunctions(table);
    // Each kind's own functions follow its block.
    RegisterKind<World::kTypeIdCursor>(table);
    RegisterKind<World::kTypeIdCamera>(table);
    RegisterIWorldCameraFunctions(table);
    RegisterKind<World::kTypeIdLight>(table);
    RegisterIWorldLightFunctions(table);
    RegisterKind<World::kTypeIdTrigger>(table);
    RegisterKind<World::kTypeIdUnit>(table);
    RegisterIWorldUnitFunctions(table);
    RegisterKind<World::kTypeIdBillboard>(table);
    RegisterKind<World::kTypeIdWater>(table);
    RegisterIWorldWaterFunctions(table);
    RegisterKind<World::kTypeIdTerrain>(table);
    RegisterIWorldTerrainFunctions(table);
    RegisterKind<World::kTypeIdAgent>(table);
    RegisterIWorldAgentFunctions(table);
    RegisterKind<World::kTypeIdParticleSystem>(table);
    RegisterIWorldParticleSystemFunctions(table);
    RegisterKind<World::kTypeIdWaypoint>(table);
    RegisterIWorldWaypointFunctions(table);
}

void RegisterIWorld(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IWorld", {&RegisterIWorldFunctions});
}
