#include "world/navigation/WaypointNavigator.h"

#include "core/foundation/KVOError.h"

#include <algorithm>
#include <cmath>
#include <limits>

const std::string& CWaypointNavigator::GetSolutionCurrentId() const
{
    const uint32_t* slot = m_search.GetSolutionCurrent();
    if (slot == nullptr)
        throw Misc::Error::CKVOError(L"Invalid solution iterator");
    return m_ids[*slot];
}

uint32_t CWaypointNavigator::SlotOf(const std::string& id)
{
    const auto [at, added] = m_slotOf.try_emplace(id, static_cast<uint32_t>(m_slots.size()));
    if (added)
    {
        m_slots.emplace_back();
        m_ids.push_back(id);
    }
    return at->second;
}

CWaypointNavigator::SSteps CWaypointNavigator::Read(uint32_t slot)
{
    // A graph that keeps no revision is read at every step.
    const uint64_t revision = m_graph->GetRevision();
    if (revision == 0 || revision != m_stepsRevision)
    {
        m_steps.clear();
        m_stepsRevision = revision;
    }
    if (revision == 0 || m_slots[slot].revision != revision)
    {
        // Throws for a waypoint that is gone.
        const CManagedWaypoint& waypoint = m_graph->GetWaypoint(m_ids[slot]);
        const size_t first = m_steps.size();
        for (const CWaypointConnection& connection : waypoint.GetConnections())
            m_steps.push_back({SlotOf(connection.GetWaypoint()), StepCost(connection.GetCost())});
        SSlot& read = m_slots[slot];
        read.revision = revision;
        read.first = static_cast<uint32_t>(first);
        read.count = static_cast<uint32_t>(m_steps.size() - first);
    }
    const SSlot& known = m_slots[slot];
    return {m_steps.data() + known.first, m_steps.data() + known.first + known.count};
}

float CWaypointNavigator::StepCost(float cost)
{
    if (std::isnan(cost) || cost < 0.0f)
        return 0.0f;
    return std::min(cost, std::numeric_limits<float>::max());
}
