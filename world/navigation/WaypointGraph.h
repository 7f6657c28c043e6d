#pragma once

#include "world/ManagedWaypoint.h"
#include "world/navigation/WaypointRevision.h"

#include <cstdint>
#include <memory>
#include <string>

class CWaypointIndex;

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

    // The numbers of the waypoints and their connections as read, shared by
    // the navigators of the graph; made when first asked for.
    std::shared_ptr<CWaypointIndex> GetIndex();
    // Forgets what was read (the ids of a world that is gone); navigators
    // that exist keep the index they have, new ones start a new one.
    void DropIndex() { m_index.reset(); }

protected:
    IWaypointGraph();
    ~IWaypointGraph();
    // A copy starts an index of its own.
    IWaypointGraph(const IWaypointGraph&);
    IWaypointGraph& operator=(const IWaypointGraph&);

private:
    std::shared_ptr<CWaypointIndex> m_index;
};

// Makes the graph the one waypoints draw against, and returns the one
// before it. Without one (null) no destination is found and no waypoint is
// selected.
IWaypointGraph* SetWaypointGraph(IWaypointGraph* graph);
IWaypointGraph* GetWaypointGraph();
