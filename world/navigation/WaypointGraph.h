#pragma once

#include "world/ManagedWaypoint.h"
#include "world/navigation/WaypointRevision.h"

#include <cstdint>
#include <string>

using CManagedWaypoint = CManagedEntity<Graphics::Scene::CGraphicalWaypoint>;

// The waypoints of a world as their drawing and the navigator see them:
// found by id, and whether the world's selection holds one. The world
// installs its own (SetWaypointGraph); tests install theirs.
class IWaypointGraph
{
public:
    // The waypoint of the id; null when the world holds none.
    virtual CManagedWaypoint* FindWaypoint(const std::string& id) = 0;
    virtual bool IsWaypointSelected(const std::string& id) const = 0;

    // The waypoint of the id; throws "[CWorldMap::GetUnit] Unit not found
    // [%s]" when there is none.
    CManagedWaypoint& GetWaypoint(const std::string& id);
    // A number that changes whenever a waypoint or a connection may have
    // changed, so that what was read of the graph can be kept until then;
    // 0 for a graph that keeps none (it is read again at every use).
    virtual uint64_t GetRevision() const { return 0; }

protected:
    ~IWaypointGraph() = default;
};

// Makes the graph the one waypoints draw against, and returns the one
// before it. Without one (null) no destination is found and no waypoint is
// selected.
IWaypointGraph* SetWaypointGraph(IWaypointGraph* graph);
IWaypointGraph* GetWaypointGraph();
