#include "world/navigation/WaypointGraph.h"

#include "core/foundation/KVOError.h"
#include "world/navigation/WaypointIndex.h"

#include <atomic>

namespace
{

std::atomic<IWaypointGraph*> g_graph{nullptr};

} // namespace

IWaypointGraph::IWaypointGraph() = default;
IWaypointGraph::~IWaypointGraph() = default;
IWaypointGraph::IWaypointGraph(const IWaypointGraph&) {}

IWaypointGraph& IWaypointGraph::operator=(const IWaypointGraph& other)
{
    if (this != &other)
        m_index.reset();
    return *this;
}

std::shared_ptr<CWaypointIndex> IWaypointGraph::GetIndex()
{
    if (!m_index)
        m_index = std::make_shared<CWaypointIndex>();
    return m_index;
}

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
