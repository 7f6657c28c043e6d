#pragma once

// The eleven collections of a world, a call for each of them, and the ids
// tests give their entities.

#include "world/WorldMapCollection.h"
#include "world/WorldMapGroup.h"

#include <cstdio>
#include <string>

// The UUID text with `number` as its last digits, so that ids sort as the
// numbers do.
inline std::string TestId(unsigned number)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012x", number);
    return text;
}

// Calls `visit` with a null pointer to each kind's collection type, in the
// order in which the world searches them.
template <class Visit> void ForEachWorldMapKind(Visit&& visit)
{
    visit(static_cast<CCursorMap*>(nullptr));
    visit(static_cast<CUnitMap*>(nullptr));
    visit(static_cast<CCameraMap*>(nullptr));
    visit(static_cast<CAgentMap*>(nullptr));
    visit(static_cast<CLightMap*>(nullptr));
    visit(static_cast<CParticleSystemMap*>(nullptr));
    visit(static_cast<CWaypointMap*>(nullptr));
    visit(static_cast<CTriggerMap*>(nullptr));
    visit(static_cast<CBillboardMap*>(nullptr));
    visit(static_cast<CWaterMap*>(nullptr));
    visit(static_cast<CTerrainMap*>(nullptr));
}

// The eleven collections and a group over them in the world's search order.
struct SWorldMaps
{
    CCursorMap cursors;
    CCameraMap cameras;
    CLightMap lights;
    CParticleSystemMap particleSystems;
    CWaypointMap waypoints;
    CTriggerMap triggers;
    CBillboardMap billboards;
    CWaterMap waters;
    CTerrainMap terrains;
    CUnitMap units;
    CAgentMap agents;
    CWorldMapGroup group;

    SWorldMaps()
    {
        for (IWorldMap* map :
             std::initializer_list<IWorldMap*>{&cursors, &units, &cameras, &agents, &lights, &particleSystems,
                                               &waypoints, &triggers, &billboards, &waters, &terrains})
            group.AddMap(map);
    }
};

// Stores an entity of the collection's kind under the id.
template <class Map>
Misc::World::IEntityInterface* AddWithId(Map& map, unsigned number, const wchar_t* name = L"")
{
    typename Map::ManagedEntity entity;
    entity.SetId(TestId(number).c_str());
    entity.SetName(name);
    return map.AddUnit(entity);
}
