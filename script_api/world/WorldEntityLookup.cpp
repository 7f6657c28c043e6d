#include "script_api/world/WorldEntityLookup.h"

#include "world/WorldData.h"

#include <string>

namespace ScriptWorld
{

CWorldEntityLookup::CWorldEntityLookup(CWorldData& world) : m_world(world), m_previous(SetEntityLookup(this))
{
}

CWorldEntityLookup::~CWorldEntityLookup()
{
    SetEntityLookup(m_previous);
}

IEntityInterface* CWorldEntityLookup::FindUnit(uint32_t typeId, std::string_view id)
{
    IWorldMap* map = m_world.GetMap(typeId);
    return map != nullptr ? map->FindUnit(std::string(id)) : nullptr;
}

IEntityInterface* CWorldEntityLookup::FindAnyUnit(std::string_view id)
{
    return m_world.GetGroup().FindUnit(std::string(id));
}

} // namespace ScriptWorld
