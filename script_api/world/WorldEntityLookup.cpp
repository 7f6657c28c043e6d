#include "script_api/world/WorldEntityLookup.h"

#include "world/WorldData.h"

namespace ScriptWorld
{

CWorldEntityLookup::CWorldEntityLookup(CWorldData& world) : m_world(world), m_previous(SetEntityLookup(this))
{
}

// Another lookup installed since (a test's) stays in place.
CWorldEntityLookup::~CWorldEntityLookup()
{
    IEntityLookup* current = SetEntityLookup(m_previous);
    if (current != this)
        SetEntityLookup(current);
}

IEntityInterface* CWorldEntityLookup::FindUnit(uint32_t typeId, std::string_view id)
{
    IWorldMap* map = m_world.GetMap(typeId);
    return map != nullptr ? map->FindUnit(id) : nullptr;
}

IEntityInterface* CWorldEntityLookup::FindAnyUnit(std::string_view id)
{
    return m_world.GetGroup().FindUnit(id);
}

} // namespace ScriptWorld
