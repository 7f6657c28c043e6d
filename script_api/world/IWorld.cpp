#include "script_api/world/IWorld.h"

#include "script_api/core/ScriptInterface.h"
#include "script_api/world/EntityKinds.h"
#include "script_api/world/IWorldGroups.h"

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
    // Sky and fog come here, before entity access.
    RegisterIWorldEntityFunctions(table);
    // Each kind's own functions follow its block.
    RegisterKind<World::kTypeIdCursor>(table);
    RegisterKind<World::kTypeIdCamera>(table);
    RegisterKind<World::kTypeIdLight>(table);
    RegisterKind<World::kTypeIdTrigger>(table);
    RegisterKind<World::kTypeIdUnit>(table);
    RegisterKind<World::kTypeIdBillboard>(table);
    RegisterKind<World::kTypeIdWater>(table);
    RegisterKind<World::kTypeIdTerrain>(table);
    RegisterKind<World::kTypeIdAgent>(table);
    RegisterKind<World::kTypeIdParticleSystem>(table);
    RegisterKind<World::kTypeIdWaypoint>(table);
}

void RegisterIWorld(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IWorld", {&RegisterIWorldFunctions});
}
