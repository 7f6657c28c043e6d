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
    if (map == nullptr)
        return nullptr;
    // Mostly an id is held by one collection only, the first in the order.
    const CWorldIdIndex::SEntry* first = m_cache.Find(m_world.GetGroup().GetIdIndex(), id);
    if (first != nullptr && first->holder == map)
        return first->face;
    return map->FindUnit(id);
}

IEntityInterface* CWorldEntityLookup::FindAnyUnit(std::string_view id)
{
    const CWorldIdIndex::SEntry* first = m_cache.Find(m_world.GetGroup().GetIdIndex(), id);
    return first != nullptr ? first->face : nullptr;
}

} // namespace ScriptWorld
