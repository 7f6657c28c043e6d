#pragma once

#include "world/navigation/BestFirstSearch.h"
#include "world/navigation/WaypointGraph.h"
#include "world/navigation/WaypointIndex.h"

#include <cstdint>
#include <memory>
#include <string>

// The cheapest route between waypoints of a world: a best-first search
// whose states are waypoints, whose successors are the destinations of a
// waypoint's connections, each at its own connection's cost, and whose
// estimate is the constant 1 (so routes come in order of summed cost).
//
// The navigators of a graph share its index (CWaypointIndex), which numbers
// the waypoints they meet and reads each one's connections from the graph
// once per change of the graph (its revision), so that searches run over
// numbers, not ids. A waypoint is looked up again whenever the graph changed
// since it was read, so a waypoint deleted under the navigator is an error,
// never a dangling pointer.
class CWaypointNavigator
{
public:
    enum EState : uint32_t
    {
        kSearching = 1,
        kFound = 2,
        kFailed = 3,
    };

    explicit CWaypointNavigator(IWaypointGraph& graph)
        : m_graph(&graph), m_index(graph.GetIndex()), m_search(SProblem{this})
    {
    }
    CWaypointNavigator(const CWaypointNavigator&) = delete;
    CWaypointNavigator& operator=(const CWaypointNavigator&) = delete;

    IWaypointGraph& GetGraph() const { return *m_graph; }

    void Reset() { m_search.Reset(); }
    void AddStart(const std::string& waypointId) { m_search.AddStart(m_index->SlotOf(waypointId)); }
    void SetGoal(const std::string& waypointId) { m_search.SetGoal(m_index->SlotOf(waypointId)); }

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
    static float StepCost(float cost) { return CWaypointIndex::StepCost(cost); }

private:
    struct SProblem
    {
        using State = uint32_t;
        static constexpr bool kDenseStates = true;

        float Heuristic(uint32_t, uint32_t) const { return 1.0f; }
        float Combine(float g, float h) const { return g + h; }
        // The waypoint is looked up as it is expanded, so a route never
        // runs through a waypoint that is gone: a connection to one fails
        // the step that would go on from it.
        void ConfirmGoal(uint32_t slot) const { navigator->m_index->Read(*navigator->m_graph, slot); }
        template <class Visit> void Successors(uint32_t slot, const Visit& visit) const
        {
            for (const CWaypointIndex::SStep& step : navigator->m_index->Read(*navigator->m_graph, slot))
                visit(step.slot, step.cost);
        }

        CWaypointNavigator* navigator;
    };

    IWaypointGraph* m_graph;
    // Shared with the graph and its other navigators; kept alive by each.
    std::shared_ptr<CWaypointIndex> m_index;
    CBestFirstSearch<SProblem> m_search;
};
