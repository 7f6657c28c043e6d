#include "world/WaypointNavigator.h"

#include "core/foundation/KVOError.h"

#include <algorithm>
#include <cmath>
#include <limits>

const std::string& CWaypointNavigator::GetSolutionCurrentId() const
{
    const std::string* id = m_search.GetSolutionCurrent();
    if (id == nullptr)
        throw Misc::Error::CKVOError(L"Invalid solution iterator");
    return *id;
}

float CWaypointNavigator::StepCost(float cost)
{
    if (std::isnan(cost) || cost < 0.0f)
        return 0.0f;
    return std::min(cost, std::numeric_limits<float>::max());
}
