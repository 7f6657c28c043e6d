#pragma once

#include "world/BestFirstSearch.h"
#include "world/WaypointGraph.h"

#include <string>
#include <utility>
#include <vector>

// The cheapest route between waypoints of a world: a best-first search
// whose states are waypoint ids, whose successors are the destinations of a
// waypoint's connections, each at its own connection's cost, and whose
// estimate is the constant 1 (so routes come in order of summed cost).
//
// The navigator holds ids only and looks every waypoint up in the graph as
// it steps, so a waypoint deleted under it is an error, never a dangling
// pointer.
class CWaypointNavigator
{
public:
    enum EState : uint32_t
    {
        kSearching = 1,
        kFound = 2,
        kFailed = 3,
    };

    explicit CWaypointNavigator(IWaypointGraph& graph) : m_graph(&graph), m_search(SProblem{&graph}) {}

    IWaypointGraph& GetGraph() const { return *m_graph; }

    void Reset() { m_search.Reset(); }
    void AddStart(const std::string& waypointId) { m_search.AddStart(waypointId); }
    void SetGoal(const std::string& waypointId) { m_search.SetGoal(waypointId); }

    // One step; the search state after it. A waypoint the graph does not
    // hold (the destination of a connection to one that is gone) throws
    // "[CWorldMap::GetUnit] Unit not found [%s]" from the step that would
    // expand it, or that would end on it as the goal, and leaves the state
    // searching. Without a goal the search fails.
    uint32_t SearchStep() { return m_search.SearchStep(); }
    // Steps while searching; true when the goal was found.
    bool Search() { return m_search.Search(); }

    uint32_t GetState() const { return m_search.GetState(); }
    int32_t GetSearchIterations() const { return m_search.GetIterations(); }
    int32_t GetSolutionCount() const { return m_search.GetSolutionCount(); }
    float GetSolutionCost() const { return m_search.GetSolutionCost(); }

    bool MoveSolutionStart() { return m_search.MoveSolutionStart(); }
    bool MoveSolutionEnd() { return m_search.MoveSolutionEnd(); }
    bool MoveSolutionNext() { return m_search.MoveSolutionNext(); }
    bool MoveSolutionPrevious() { return m_search.MoveSolutionPrevious(); }
    bool IsSolutionValid() const { return m_search.IsSolutionValid(); }
    // The id of the waypoint under the cursor; throws "Invalid solution
    // iterator" when the cursor is not set.
    const std::string& GetSolutionCurrentId() const;

    // What a connection's cost adds to a route: costs below 0 or not a
    // number add nothing and infinity the largest float, so that every
    // search ends.
    static float StepCost(float cost);

private:
    struct SProblem
    {
        using State = std::string;

        float Heuristic(const std::string&, const std::string&) const { return 1.0f; }
        float Combine(float g, float h) const { return g + h; }
        // The waypoint is looked up as it is expanded, so a route never
        // runs through a waypoint that is gone: a connection to one fails
        // the step that would go on from it.
        void ConfirmGoal(const std::string& id) const { graph->GetWaypoint(id); }
        template <class Visit> void Successors(const std::string& id, const Visit& visit) const
        {
            for (const CWaypointConnection& connection : graph->GetWaypoint(id).GetConnections())
                visit(connection.GetWaypoint(), StepCost(connection.GetCost()));
        }

        IWaypointGraph* graph;
    };

    IWaypointGraph* m_graph;
    CBestFirstSearch<SProblem> m_search;
};
