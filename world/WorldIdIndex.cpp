#include "world/WorldIdIndex.h"

void CWorldIdIndex::Remove(std::string_view id, const IWorldMap* holder)
{
    auto [at, end] = m_entries.equal_range(id);
    for (; at != end; ++at)
    {
        if (at->second.holder == holder)
        {
            m_entries.erase(at);
            ++m_changes;
            return;
        }
    }
}

const CWorldIdIndex::SEntry* CWorldIdIndex::FindShared(std::string_view id, const IWorldMap* holder) const
{
    auto [at, end] = m_entries.equal_range(id);
    for (; at != end; ++at)
    {
        if (at->second.holder == holder)
            return &at->second;
    }
    return nullptr;
}

const CWorldIdIndex::SEntry* CWorldIdIndex::Find(std::string_view id) const
{
    // Entries of one id are neighbours: the walk stops at the first other.
    auto at = m_entries.find(id);
    const SEntry* first = nullptr;
    for (; at != m_entries.end() && at->first == id; ++at)
    {
        if (first == nullptr || at->second.rank < first->rank)
            first = &at->second;
    }
    return first;
}
