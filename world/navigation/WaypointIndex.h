#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IWaypointGraph;

// The waypoints of a graph as numbers, and each one's connections as read
// at a revision of the graph: what the navigators of one graph share, so
// that a waypoint's id is hashed and its connections are read once per
// change of the graph, not once per navigator or per search.
//
// A waypoint gets its number (its slot) when first met and keeps it; a
// change of the graph makes every slot's connections stale, so they are
// read again as they are next needed.
class CWaypointIndex
{
public:
    struct SStep
    {
        uint32_t slot;
        float cost;
    };
    // The steps out of a slot; valid until the next Read.
    struct SSteps
    {
        const SStep* first;
        const SStep* last;
        const SStep* begin() const { return first; }
        const SStep* end() const { return last; }
    };

    CWaypointIndex() = default;
    CWaypointIndex(const CWaypointIndex&) = delete;
    CWaypointIndex& operator=(const CWaypointIndex&) = delete;

    // The number of the id, given it when first met.
    uint32_t SlotOf(std::string_view id);
    // The id of a slot; it stays where it is for the index's life.
    const std::string& GetId(uint32_t slot) const { return m_ids[slot]; }
    uint32_t GetCount() const { return static_cast<uint32_t>(m_slots.size()); }

    // The slot's connections as the graph holds them now; throws the
    // graph's not-found error when the waypoint is gone.
    SSteps Read(IWaypointGraph& graph, uint32_t slot);

    // What a connection's cost adds to a route: costs below 0 or not a
    // number add nothing and infinity the largest float, so that every
    // search ends.
    static float StepCost(float cost);

private:
    // A slot's connections, a run of m_steps, read in one stretch of
    // unchanged graph.
    struct SSlot
    {
        // The stretch (m_stretch) when read; 0 for never.
        uint32_t stretch = 0;
        uint32_t first = 0;
        uint32_t count = 0;
    };

    std::vector<SSlot> m_slots;
    // The slots' ids; a deque never moves them, so the keys of m_slotOf
    // can view them.
    std::deque<std::string> m_ids;
    std::unordered_map<std::string_view, uint32_t> m_slotOf;
    // The steps read since the graph's revision m_stepsRevision: a change
    // of the graph makes every slot stale, so they start again, in a new
    // stretch.
    std::vector<SStep> m_steps;
    uint64_t m_stepsRevision = 0;
    uint32_t m_stretch = 0;
};
