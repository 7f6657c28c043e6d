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
// Every node ever made stays in the pool until Reset, so the parent and
// child links between nodes stay valid; the pool, the heap and the index
// keep their memory from one search to the next. The open list is a heap ordered by
// f and, among equal f, by the order in which nodes were opened, so a
// search always takes the same route through ties. Nodes that a cheaper
// one replaces are only marked and dropped when they reach the top.

#include <cstdint>
#include <memory>
#include <optional>
#include <queue>
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
        if constexpr (kDense)
        {
            // Once the count wraps, entries of old searches could pass for
            // this one's.
            if (++m_generation == 0)
            {
                m_dense.assign(m_dense.size(), SDenseEntry{});
                m_generation = 1;
            }
        }
        else
            m_index.clear();
        m_used = 0;
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
    bool MoveSolutionNext() { return Move(m_cursor != nullptr ? Link(m_cursor->child) : nullptr); }
    bool MoveSolutionPrevious() { return Move(m_cursor != nullptr ? Link(m_cursor->parent) : nullptr); }
    bool IsSolutionValid() const { return m_cursor != nullptr; }
    // The state under the cursor; null when it is not set.
    const State* GetSolutionCurrent() const { return m_cursor != nullptr ? &m_cursor->state : nullptr; }

private:
    static constexpr uint32_t kNone = ~uint32_t(0);
    static constexpr uint32_t kGoal = kNone - 1;

    struct SNode
    {
        // Links by place in the pool (kNone, or kGoal for the goal's copy),
        // which keeps nodes small.
        uint32_t parent = kNone;
        uint32_t child = kNone;
        float g = 0.0f;
        float f = 0.0f;
        State state{};
        // The node's place in the pool, counted from 1.
        uint32_t order = 0;
        bool open = false;
        bool closed = false;
    };
    // The node is the pool's at order - 1.
    struct SEntry
    {
        float f;
        uint32_t order;
    };
    // The heap's top is the least f, then the earliest opened.
    struct SLater
    {
        bool operator()(const SEntry& a, const SEntry& b) const
        {
            return a.f > b.f || (!(b.f > a.f) && a.order > b.order);
        }
    };
    // The heap, emptied without giving back its memory.
    struct Heap : std::priority_queue<SEntry, std::vector<SEntry>, SLater>
    {
        void Clear() { this->c.clear(); }
    };

    static constexpr bool kDense = CDenseSearchStates<Problem>::value;
    static constexpr size_t kChunkNodes = 1024;

    SNode& NodeAt(uint32_t index) { return m_chunks[index / kChunkNodes][index % kChunkNodes]; }
    SNode* NodeOf(const SEntry& entry) { return &NodeAt(entry.order - 1); }

    // A node of the pool, as new.
    SNode& NewNode()
    {
        const size_t chunk = m_used / kChunkNodes;
        if (chunk == m_chunks.size())
            m_chunks.push_back(std::make_unique<SNode[]>(kChunkNodes));
        SNode& node = m_chunks[chunk][m_used % kChunkNodes];
        node = SNode{};
        ++m_used;
        return node;
    }

    // The state's cheapest node so far; null when it has none.
    SNode* Indexed(const State& state)
    {
        if constexpr (kDense)
        {
            const size_t at = static_cast<size_t>(state);
            return at < m_dense.size() && m_dense[at].generation == m_generation ? &NodeAt(m_dense[at].node)
                                                                                 : nullptr;
        }
        else
        {
            const auto known = m_index.find(Key(state));
            return known != m_index.end() ? known->second : nullptr;
        }
    }
    void SetIndexed(const State& state, SNode* node)
    {
        if constexpr (kDense)
        {
            const size_t at = static_cast<size_t>(state);
            if (at >= m_dense.size())
                m_dense.resize(at + 1);
            m_dense[at] = {m_generation, node->order - 1};
        }
        else
        {
            m_index[Key(node->state)] = node;
        }
    }

    void Open(SNode* parent, const State& state, float g, float h)
    {
        SNode& node = NewNode();
        node.parent = parent != nullptr ? parent->order - 1 : kNone;
        node.g = g;
        node.f = m_problem.Combine(g, h);
        node.state = state;
        node.order = static_cast<uint32_t>(m_used);
        node.open = true;
        m_open.push({node.f, node.order});
        // The state's cheapest node is the one later steps compare with.
        SNode* known = Indexed(node.state);
        if (known == nullptr || g < known->g || !(known->open || known->closed))
            SetIndexed(node.state, &node);
    }

    // The open node to expand next, with the replaced ones dropped; null
    // when none is left.
    SNode* Best()
    {
        while (!m_open.empty() && !NodeOf(m_open.top())->open)
            m_open.pop();
        return m_open.empty() ? nullptr : NodeOf(m_open.top());
    }

    void Follow(SNode& best, const State& state, float cost)
    {
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
        Open(&best, state, g, m_problem.Heuristic(state, *m_goalState));
    }

    void Found(const SNode& best)
    {
        m_goal = best;
        m_solutionStart = &m_goal;
        uint32_t previous = kGoal;
        for (uint32_t at = m_goal.parent; at != kNone; at = NodeAt(at).parent)
        {
            SNode& node = NodeAt(at);
            node.child = previous;
            m_solutionStart = &node;
            ++m_solutionCount;
            previous = at;
        }
    }

    SNode* Link(uint32_t link)
    {
        if (link == kNone)
            return nullptr;
        return link == kGoal ? &m_goal : &NodeAt(link);
    }

    bool Move(SNode* to)
    {
        m_cursor = to;
        return m_cursor != nullptr;
    }

    Problem m_problem;
    // The pool in chunks that never move; the first m_used nodes are this
    // search's.
    std::vector<std::unique_ptr<SNode[]>> m_chunks;
    size_t m_used = 0;
    Heap m_open;
    // Text states are found by views of the nodes' own texts, which stay
    // where they are until Reset.
    using Key = std::conditional_t<std::is_same_v<State, std::string>, std::string_view, State>;
    std::unordered_map<Key, SNode*> m_index;
    // Dense states: the node of each state, valid in the search of its
    // generation only, so that Reset need not empty the table.
    struct SDenseEntry
    {
        uint32_t generation = 0;
        uint32_t node = 0;
    };
    std::vector<SDenseEntry> m_dense;
    uint32_t m_generation = 1;
    uint32_t m_state = kSearching;
    int32_t m_iterations = 0;
    int32_t m_solutionCount = 0;
    std::optional<State> m_goalState;
    SNode m_goal;
    SNode* m_solutionStart = nullptr;
    SNode* m_cursor = nullptr;
};
