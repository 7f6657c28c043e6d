#pragma once

// The ids of the entities of several collections in one table, so that an
// id is found with one hash lookup whatever collection holds it. The
// collections file their entities here as they store and destroy them; the
// keys view the collections' own keys. Worlds read from files may hold one
// id in several collections: the index keeps every holder, and a lookup
// across the collections answers the holder first in the search order.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

class IWorldMap;

namespace Misc::World
{
class IEntityInterface;
}

class CWorldIdIndex
{
public:
    struct SEntry
    {
        IWorldMap* holder;
        // The holder's own entity type, and the same entity as its interface
        // (reaching the interface, a virtual base, would read the entity).
        void* entity;
        Misc::World::IEntityInterface* face;
        // The holder's place in the search order.
        uint32_t rank;
    };

    CWorldIdIndex() = default;
    CWorldIdIndex(const CWorldIdIndex&) = delete;
    CWorldIdIndex& operator=(const CWorldIdIndex&) = delete;

    // The id must stay valid until it is removed again.
    void Add(std::string_view id, const SEntry& entry)
    {
        m_entries.emplace(id, entry);
        ++m_changes;
    }
    // The holder's entry of the id; nothing when it has none.
    void Remove(std::string_view id, const IWorldMap* holder);
    // The holder's entry of the id; null when it has none.
    const SEntry* Find(std::string_view id, const IWorldMap* holder) const
    {
        const auto found = m_entries.find(id);
        if (found == m_entries.end())
            return nullptr;
        if (found->second.holder == holder)
            return &found->second;
        return FindShared(id, holder);
    }
    // The entry of the first holder in the search order; null when none
    // holds the id.
    const SEntry* Find(std::string_view id) const;
    size_t GetCount() const { return m_entries.size(); }
    void Clear()
    {
        m_entries.clear();
        ++m_changes;
    }
    void Reserve(size_t count) { m_entries.reserve(count); }
    // A count of the entries added and removed, so that what was found can
    // be kept until it changes (entries never move while they stay).
    uint64_t GetChanges() const { return m_changes; }

private:
    // The holder's entry among several holders of the id.
    const SEntry* FindShared(std::string_view id, const IWorldMap* holder) const;

    std::unordered_multimap<std::string_view, SEntry> m_entries;
    uint64_t m_changes = 0;
};
