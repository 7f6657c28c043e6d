#include "world/navigation/WaypointNavigator.h"

#include "core/foundation/KVOError.h"

const std::string& CWaypointNavigator::GetSolutionCurrentId() const
{
    const uint32_t* slot = m_search.GetSolutionCurrent();
    if (slot == nullptr)
        throw Misc::Error::CKVOError(L"Invalid solution iterator");
    return m_index->GetId(*slot);
}
