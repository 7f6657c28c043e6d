#pragma once

// A best-first (A*) search over a graph that a problem class describes:
//
//     struct Problem
//     {
//         using State = ...;                      // hashable, compared with ==
//         float Heuristic(const State& state, const State& goal);
//         float Combine(float g, float h);        // f from g and h
//         // Calls visit(successor, cost of the step to it) for each
//         // successor. It may throw before its first visit, which leaves
//         // the search as it was before the step.
//         template <class Visit> void Successors(const State& state, const Visit& visit);
//         // Throws when the goal, once reached, is no longer a state of the
//         // graph.
//         void ConfirmGoal(const State& goal);
//         // Optional: states are small numbers (indices into the problem's
//         // own table), kept in a table of their own instead of a hash.
//         static constexpr bool kDenseStates = true;
//     };
//
// Every node ever made stays in the pool until Reset, so the parent links
// between nodes stay valid; the pool, the heap and the index
// keep their memory from one search to the next. The open list gives nodes
// by f and, among equal f, in the order in which they were opened, so a
// search always takes the same route through ties. Nodes that a cheaper
// one replaces are only marked and dropped when they reach the top.

#include "world/navigation/SearchOpenList.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// Whether the problem says its states are small numbers.
template <class Problem, class = void> struct CDenseSearchStates : std::false_type
{
};
template <class Problem>
struct CDenseSearchStates<Problem, std::void_t<decltype(Problem::kDenseStates)>>
    : std::bool_constant<Problem::kDenseStates>
{
};

template <class Problem> class CBestFirstSearch
{
public:
    using State = typename Problem::State;

    enum EState : uint32_t
    {
        kSearching = 1,
        kFound = 2,
        kFailed = 3,
    };

    explicit CBestFirstSearch(Problem problem) : m_problem(std::move(problem)) {}
    CBestFirstSearch(const CBestFirstSearch&) = delete;
    CBestFirstSearch& operator=(const CBestFirstSearch&) = delete;

    // Empties the pool and the lists and starts searching again. The goal
    // stays, without a route.
    void Reset()
    {
        m_open.Clear();
        // Dense states need no clearing: an entry is only believed when it
        // names a node of this search (see Indexed).
        if constexpr (!kDense)
            m_index.clear();
        m_used = 0;
        m_iterations = 0;
        m_solutionCount = 0;
        m_route.clear();
        m_cursor = kNoCursor;
        m_state = kSearching;
        m_goal = SNode{};
        if (m_goalState)
            m_goal.state = *m_goalState;
    }

    // Several starts may be added; the search runs from all of them.
    void AddStart(const State& state)
    {
        const float h = m_goalState ? m_problem.Heuristic(state, *m_goalState) : 0.0f;
        Open(kNone, state, 0.0f, h);
    }

    void SetGoal(const State& state)
    {
        m_goalState = state;
        m_goal.state = state;
    }

    // One step; the search state after it. Once found or failed, steps
    // change nothing until the next Reset.
    uint32_t SearchStep()
    {
        if (m_state != kSearching)
            return m_state;
        const uint32_t at = m_goalState ? Best() : kNone;
        if (at == kNone)
            return m_state = kFailed;
        ++m_iterations;
        SNode& best = NodeAt(at);
        if (best.state == *m_goalState)
        {
            m_problem.ConfirmGoal(best.state);
            Found(at);
            return m_state = kFound;
        }
        // Closed before its successors are followed, so that a connection
        // back to itself finds it; its heap entry is dropped as stale.
        best.open = false;
        best.closed = true;
        try
        {
            m_problem.Successors(best.state,
                                 [this, at](const State& state, float cost) { Follow(at, state, cost); });
        }
        catch (...)
        {
            // Thrown before the first successor: the node is as it was.
            best.open = true;
            best.closed = false;
            throw;
        }
        return m_state;
    }

    // Steps while searching; true when the goal was found.
    bool Search()
    {
        while (SearchStep() == kSearching)
        {
        }
        return m_state == kFound;
    }

    uint32_t GetState() const { return m_state; }
    int32_t GetIterations() const { return m_iterations; }
    // The nodes on the route before the goal.
    int32_t GetSolutionCount() const { return m_solutionCount; }
    // The cost of the route to the goal (0 until one is found).
    float GetSolutionCost() const { return m_goal.g; }

    // The cursor over the route: start, end, towards the goal and back.
    // The route is m_route, then the goal; without a route found the goal
    // stands alone, and there is no start to move to.
    bool MoveSolutionStart() { return Move(m_state == kFound ? 0 : kNoCursor); }
    // Without a goal there is no end to stand on.
    bool MoveSolutionEnd() { return Move(m_goalState ? m_route.size() : kNoCursor); }
    bool MoveSolutionNext()
    {
        return Move(m_cursor != kNoCursor && m_cursor < m_route.size() ? m_cursor + 1 : kNoCursor);
    }
    bool MoveSolutionPrevious()
    {
        return Move(m_cursor != kNoCursor && m_cursor > 0 ? m_cursor - 1 : kNoCursor);
    }
    bool IsSolutionValid() const { return m_cursor != kNoCursor; }
    // The state under the cursor; null when it is not set.
    const State* GetSolutionCurrent() const
    {
        if (m_cursor == kNoCursor)
            return nullptr;
        return m_cursor == m_route.size() ? &m_goal.state : &NodeAt(m_route[m_cursor]).state;
    }

private:
    static constexpr uint32_t kNone = ~uint32_t(0);
    static constexpr size_t kNoCursor = ~size_t(0);

    // Kept small: a search touches one or two nodes per state it meets.
    struct SNode
    {
        // The parent's place in the pool, or kNone.
        uint32_t parent = kNone;
        float g = 0.0f;
        State state{};
        bool open = false;
        bool closed = false;
    };
    static constexpr bool kDense = CDenseSearchStates<Problem>::value;
    static constexpr size_t kChunkNodes = 1024;

    SNode& NodeAt(uint32_t index) { return m_chunks[index / kChunkNodes][index % kChunkNodes]; }
    const SNode& NodeAt(uint32_t index) const { return m_chunks[index / kChunkNodes][index % kChunkNodes]; }

    // A node of the pool, as new; its place.
    uint32_t NewNode()
    {
        const size_t chunk = m_used / kChunkNodes;
        if (chunk == m_chunks.size())
            m_chunks.push_back(std::make_unique<SNode[]>(kChunkNodes));
        m_chunks[chunk][m_used % kChunkNodes] = SNode{};
        return static_cast<uint32_t>(m_used++);
    }

    // The state's cheapest node so far; null when it has none.
    SNode* Indexed(const State& state)
    {
        if constexpr (kDense)
        {
            // An entry left by an earlier search names a node that is no
            // longer in use or holds another state: every node this search
            // opens for a state makes the state's entry one of this search.
            const size_t at = static_cast<size_t>(state);
            if (at >= m_dense.size() || m_dense[at] >= m_used)
                return nullptr;
            SNode& node = NodeAt(m_dense[at]);
            return node.state == state ? &node : nullptr;
        }
        else
        {
            const auto known = m_index.find(Key(state));
            return known != m_index.end() ? known->second : nullptr;
        }
    }
    void SetIndexed(uint32_t at)
    {
        SNode& node = NodeAt(at);
        if constexpr (kDense)
        {
            const size_t state = static_cast<size_t>(node.state);
            if (state >= m_dense.size())
                m_dense.resize(state + 1, kNone);
            m_dense[state] = at;
        }
        else
        {
            m_index[Key(node.state)] = &node;
        }
    }

    void Open(uint32_t parent, const State& state, float g, float h)
    {
        const uint32_t at = NewNode();
        SNode& node = NodeAt(at);
        node.parent = parent;
        node.g = g;
        node.state = state;
        node.open = true;
        m_open.Push({m_problem.Combine(g, h), at});
        // The state's cheapest node is the one later steps compare with.
        SNode* known = Indexed(node.state);
        if (known == nullptr || g < known->g || !(known->open || known->closed))
            SetIndexed(at);
    }

    // The open node to expand next, with the replaced ones dropped; kNone
    // when none is left.
    uint32_t Best()
    {
        while (!m_open.Empty() && !NodeAt(m_open.Top().node).open)
            m_open.Pop();
        return m_open.Empty() ? kNone : m_open.Top().node;
    }

    void Follow(uint32_t at, const State& state, float cost)
    {
        const SNode& best = NodeAt(at);
        // Never straight back to where the node came from.
        if (best.parent != kNone && NodeAt(best.parent).state == state)
            return;
        const float g = best.g + cost;
        if (SNode* other = Indexed(state))
        {
            if ((other->open || other->closed) && other->g <= g)
                return;
            other->open = false;
            other->closed = false;
        }
        Open(at, state, g, m_problem.Heuristic(state, *m_goalState));
    }

    void Found(uint32_t at)
    {
        m_goal = NodeAt(at);
        m_route.clear();
        for (uint32_t step = m_goal.parent; step != kNone; step = NodeAt(step).parent)
            m_route.push_back(step);
        std::reverse(m_route.begin(), m_route.end());
        m_solutionCount = static_cast<int32_t>(m_route.size());
    }

    bool Move(size_t to)
    {
        m_cursor = to;
        return m_cursor != kNoCursor;
    }

    Problem m_problem;
    // The pool in chunks that never move; the first m_used nodes are this
    // search's.
    std::vector<std::unique_ptr<SNode[]>> m_chunks;
    size_t m_used = 0;
    // Nodes are numbered in the order they are opened, which breaks ties.
    CSearchOpenList m_open;
    // Text states are found by views of the nodes' own texts, which stay
    // where they are until Reset.
    using Key = std::conditional_t<std::is_same_v<State, std::string>, std::string_view, State>;
    std::unordered_map<Key, SNode*> m_index;
    // Dense states: the place of each state's cheapest node, believed only
    // when it names a node of this search that holds the state, so that
    // Reset need not empty the table.
    std::vector<uint32_t> m_dense;
    uint32_t m_state = kSearching;
    int32_t m_iterations = 0;
    int32_t m_solutionCount = 0;
    std::optional<State> m_goalState;
    SNode m_goal;
    // The places of the route's nodes before the goal, from the start.
    std::vector<uint32_t> m_route;
    // A place in the route, m_route.size() for the goal, or kNoCursor.
    size_t m_cursor = kNoCursor;
};
