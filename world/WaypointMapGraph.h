#pragma once

#include "world/WaypointGraph.h"
#include "world/WorldMapCollection.h"

// A world's waypoints collection as the graph of its waypoints.
class CWaypointMapGraph final : public IWaypointGraph
{
public:
    explicit CWaypointMapGraph(CWaypointMap& waypoints) : m_waypoints(waypoints) {}

    CManagedWaypoint* FindWaypoint(const std::string& id) override
    {
        CWaypointMap::Table& table = m_waypoints.GetTable();
        const auto found = table.find(id);
        return found != table.end() ? &found->second : nullptr;
    }
    bool IsWaypointSelected(const std::string& id) const override { return m_waypoints.IsSelected(id); }

private:
    CWaypointMap& m_waypoints;
};
