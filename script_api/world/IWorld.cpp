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

// The order of the groups is part of the interface: the world, its data,
// sky and fog, entity access, then one block per kind from cursors to
// particle systems, and waypoints last.
void RegisterIWorld(LuaPlus::LuaState* state)
{
    PublishScriptInterface(state, "IWorld",
                           {
                               &RegisterIWorldWorldFunctions,
                               &RegisterIWorldEntityFunctions,
                               &RegisterKind<World::kTypeIdCursor>,
                               &RegisterKind<World::kTypeIdCamera>,
                               &RegisterKind<World::kTypeIdLight>,
                               &RegisterKind<World::kTypeIdTrigger>,
                               &RegisterKind<World::kTypeIdUnit>,
                               &RegisterKind<World::kTypeIdBillboard>,
                               &RegisterKind<World::kTypeIdWater>,
                               &RegisterKind<World::kTypeIdTerrain>,
                               &RegisterKind<World::kTypeIdAgent>,
                               &RegisterKind<World::kTypeIdParticleSystem>,
                               &RegisterKind<World::kTypeIdWaypoint>,
                           });
}
