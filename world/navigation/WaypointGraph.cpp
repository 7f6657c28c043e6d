#include "world/navigation/WaypointGraph.h"

#include "core/foundation/KVOError.h"

#include <atomic>

namespace
{

std::atomic<IWaypointGraph*> g_graph{nullptr};

} // namespace

CManagedWaypoint& IWaypointGraph::GetWaypoint(const std::string& id)
{
    CManagedWaypoint* waypoint = FindWaypoint(id);
    if (waypoint == nullptr)
        throw Misc::Error::CKVOError::Format(L"[CWorldMap::GetUnit] Unit not found [%S]", id.c_str());
    return *waypoint;
}

IWaypointGraph* SetWaypointGraph(IWaypointGraph* graph)
{
    return g_graph.exchange(graph);
}

IWaypointGraph* GetWaypointGraph()
{
    return g_graph.load();
}
