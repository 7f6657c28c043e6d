#include "world/navigation/WaypointIndex.h"

#include "world/navigation/WaypointGraph.h"

#include <algorithm>
#include <cmath>
#include <limits>

uint32_t CWaypointIndex::SlotOf(std::string_view id)
{
    const auto known = m_slotOf.find(id);
    if (known != m_slotOf.end())
        return known->second;
    const uint32_t slot = static_cast<uint32_t>(m_slots.size());
    const std::string& kept = m_ids.emplace_back(id);
    m_slots.emplace_back();
    m_slotOf.emplace(kept, slot);
    return slot;
}

CWaypointIndex::SSteps CWaypointIndex::Read(IWaypointGraph& graph, uint32_t slot)
{
    // A graph that keeps no revision is read at every step.
    const uint64_t revision = graph.GetRevision();
    if (revision == 0 || revision != m_stepsRevision)
    {
        m_steps.clear();
        m_stepsRevision = revision;
        // Once the count wraps, slots of old stretches could pass for
        // this one's.
        if (++m_stretch == 0)
        {
            for (SSlot& stale : m_slots)
                stale.stretch = 0;
            m_stretch = 1;
        }
    }
    if (revision == 0 || m_slots[slot].stretch != m_stretch)
    {
        // Throws for a waypoint that is gone.
        const CManagedWaypoint& waypoint = graph.GetWaypoint(m_ids[slot]);
        const size_t first = m_steps.size();
        for (const CWaypointConnection& connection : waypoint.GetConnections())
            m_steps.push_back({SlotOf(connection.GetWaypoint()), StepCost(connection.GetCost())});
        SSlot& read = m_slots[slot];
        read.stretch = m_stretch;
        read.first = static_cast<uint32_t>(first);
        read.count = static_cast<uint32_t>(m_steps.size() - first);
    }
    const SSlot& known = m_slots[slot];
    return {m_steps.data() + known.first, m_steps.data() + known.first + known.count};
}

float CWaypointIndex::StepCost(float cost)
{
    if (std::isnan(cost) || cost < 0.0f)
        return 0.0f;
    return std::min(cost, std::numeric_limits<float>::max());
}
