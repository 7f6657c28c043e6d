#pragma once

#include "world/WorldIdIndex.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ScriptWorld
{

// The entities that scripts named lately, found again without hashing the
// id. Scripts hand the same interned Lua string again and again, so a
// slot is picked by where the id's text lies, and holds a copy of the text
// that is compared in full: a text at the same place that says something
// else (a string collected and another made there) is no hit. Every slot
// is stale once the index adds or removes an entry (an entity made,
// destroyed or given another id), so an id used again after a delete never
// finds the entity that is gone.
class CEntityIdCache
{
public:
    // The index's entry of the first holder of the id in the search order;
    // null when none holds it.
    const CWorldIdIndex::SEntry* Find(const CWorldIdIndex& index, std::string_view id);

private:
    // Longer ids (no UUID is) are looked up in the index every time.
    static constexpr size_t kCopied = 40;
    static constexpr size_t kFewestSlots = 256;
    static constexpr size_t kMostSlots = size_t(1) << 16;

    // One cache line.
    struct SSlot
    {
        const char* text = nullptr;
        const CWorldIdIndex::SEntry* entry = nullptr;
        // The index's count of changes when filled, plus one (0: empty).
        uint32_t changes = 0;
        uint32_t size = 0;
        char copy[kCopied] = {};
    };

    SSlot& SlotOf(const char* text);
    // Grows the slots with the index, and empties them all when the
    // index's count of changes no longer fits a slot.
    void Fit(const CWorldIdIndex& index);

    std::vector<SSlot> m_slots;
    const CWorldIdIndex* m_index = nullptr;
    uint64_t m_firstChanges = 0;
};

} // namespace ScriptWorld
