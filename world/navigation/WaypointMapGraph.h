#pragma once

#include "world/navigation/WaypointGraph.h"
#include "world/WorldMapCollection.h"

// A world's waypoints collection as the graph of its waypoints.
class CWaypointMapGraph final : public IWaypointGraph
{
public:
    explicit CWaypointMapGraph(CWaypointMap& waypoints) : m_waypoints(waypoints) {}

    CManagedWaypoint* FindWaypoint(const std::string& id) override { return m_waypoints.FindStored(id); }
    bool IsWaypointSelected(const std::string& id) const override { return m_waypoints.IsSelected(id); }
    uint64_t GetRevision() const override { return GetWaypointRevision(); }

private:
    CWaypointMap& m_waypoints;
};

// The world's waypoints as the graph waypoints draw against, installed for
// the object's life (the one before it comes back after).
class CInstalledWaypointGraph
{
public:
    explicit CInstalledWaypointGraph(CWaypointMap& waypoints)
        : m_graph(waypoints), m_previous(SetWaypointGraph(&m_graph))
    {
    }
    ~CInstalledWaypointGraph() { SetWaypointGraph(m_previous); }
    CInstalledWaypointGraph(const CInstalledWaypointGraph&) = delete;
    CInstalledWaypointGraph& operator=(const CInstalledWaypointGraph&) = delete;

private:
    CWaypointMapGraph m_graph;
    IWaypointGraph* m_previous;
};
