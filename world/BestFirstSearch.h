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
//     };
//
// Every node ever made stays in the pool until Reset, so the parent and
// child links between nodes stay valid. The open list is a heap ordered by
// f and, among equal f, by the order in which nodes were opened, so a
// search always takes the same route through ties. Nodes that a cheaper
// one replaces are only marked and dropped when they reach the top.

#include <cstdint>
#include <deque>
#include <optional>
#include <queue>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

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
        m_open = Heap();
        m_index.clear();
        m_pool.clear();
        m_iterations = 0;
        m_solutionCount = 0;
        m_solutionStart = nullptr;
        m_cursor = nullptr;
        m_state = kSearching;
        m_goal = SNode{};
        if (m_goalState)
            m_goal.state = *m_goalState;
    }

    // Several starts may be added; the search runs from all of them.
    void AddStart(const State& state)
    {
        const float h = m_goalState ? m_problem.Heuristic(state, *m_goalState) : 0.0f;
        Open(nullptr, state, 0.0f, h);
    }

    void SetGoal(const State& state)
    {
        m_goalState = state;
        m_goal.state = state;
    }
    bool HasGoal() const { return m_goalState.has_value(); }

    // One step; the search state after it. Once found or failed, steps
    // change nothing until the next Reset.
    uint32_t SearchStep()
    {
        if (m_state != kSearching)
            return m_state;
        SNode* best = m_goalState ? Best() : nullptr;
        if (best == nullptr)
            return m_state = kFailed;
        ++m_iterations;
        if (best->state == *m_goalState)
        {
            m_problem.ConfirmGoal(best->state);
            Found(*best);
            return m_state = kFound;
        }
        // Closed before its successors are followed, so that a connection
        // back to itself finds it; its heap entry is dropped as stale.
        best->open = false;
        best->closed = true;
        try
        {
            m_problem.Successors(best->state, [this, best](const State& state, float cost)
                                 { Follow(*best, state, cost); });
        }
        catch (...)
        {
            // Thrown before the first successor: the node is as it was.
            best->open = true;
            best->closed = false;
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
    bool MoveSolutionStart()
    {
        m_cursor = m_solutionStart;
        return m_cursor != nullptr;
    }
    // Without a goal there is no end to stand on.
    bool MoveSolutionEnd()
    {
        m_cursor = m_goalState ? &m_goal : nullptr;
        return m_cursor != nullptr;
    }
    bool MoveSolutionNext() { return Move(m_cursor != nullptr ? m_cursor->child : nullptr); }
    bool MoveSolutionPrevious() { return Move(m_cursor != nullptr ? m_cursor->parent : nullptr); }
    bool IsSolutionValid() const { return m_cursor != nullptr; }
    // The state under the cursor; null when it is not set.
    const State* GetSolutionCurrent() const { return m_cursor != nullptr ? &m_cursor->state : nullptr; }

private:
    struct SNode
    {
        SNode* parent = nullptr;
        SNode* child = nullptr;
        float g = 0.0f;
        float h = 0.0f;
        float f = 0.0f;
        State state{};
        uint64_t order = 0;
        bool open = false;
        bool closed = false;
    };
    struct SEntry
    {
        float f;
        uint64_t order;
        SNode* node;
    };
    // The heap's top is the least f, then the earliest opened.
    struct SLater
    {
        bool operator()(const SEntry& a, const SEntry& b) const
        {
            return a.f > b.f || (!(b.f > a.f) && a.order > b.order);
        }
    };
    using Heap = std::priority_queue<SEntry, std::vector<SEntry>, SLater>;

    void Open(SNode* parent, const State& state, float g, float h)
    {
        SNode& node = m_pool.emplace_back();
        node.parent = parent;
        node.g = g;
        node.h = h;
        node.f = m_problem.Combine(g, h);
        node.state = state;
        node.order = m_pool.size();
        node.open = true;
        m_open.push({node.f, node.order, &node});
        // The state's cheapest node is the one later steps compare with.
        auto [at, added] = m_index.try_emplace(Key(node.state), &node);
        if (!added && (g < at->second->g || !(at->second->open || at->second->closed)))
            at->second = &node;
    }

    // The open node to expand next, with the replaced ones dropped; null
    // when none is left.
    SNode* Best()
    {
        while (!m_open.empty() && !m_open.top().node->open)
            m_open.pop();
        return m_open.empty() ? nullptr : m_open.top().node;
    }

    void Follow(SNode& best, const State& state, float cost)
    {
        // Never straight back to where the node came from.
        if (best.parent != nullptr && best.parent->state == state)
            return;
        const float g = best.g + cost;
        const auto known = m_index.find(Key(state));
        if (known != m_index.end())
        {
            SNode* other = known->second;
            if ((other->open || other->closed) && other->g <= g)
                return;
            other->open = false;
            other->closed = false;
        }
        Open(&best, state, g, m_problem.Heuristic(state, *m_goalState));
    }

    void Found(const SNode& best)
    {
        m_goal = best;
        m_solutionStart = &m_goal;
        SNode* previous = &m_goal;
        for (SNode* node = m_goal.parent; node != nullptr; node = node->parent)
        {
            node->child = previous;
            m_solutionStart = node;
            ++m_solutionCount;
            previous = node;
        }
    }

    bool Move(SNode* to)
    {
        m_cursor = to;
        return m_cursor != nullptr;
    }

    Problem m_problem;
    std::deque<SNode> m_pool;
    Heap m_open;
    // Text states are found by views of the nodes' own texts, which stay
    // where they are until Reset.
    using Key = std::conditional_t<std::is_same_v<State, std::string>, std::string_view, State>;
    std::unordered_map<Key, SNode*> m_index;
    uint32_t m_state = kSearching;
    int32_t m_iterations = 0;
    int32_t m_solutionCount = 0;
    std::optional<State> m_goalState;
    SNode m_goal;
    SNode* m_solutionStart = nullptr;
    SNode* m_cursor = nullptr;
};
