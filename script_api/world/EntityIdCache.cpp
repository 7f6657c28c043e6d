#include "script_api/world/EntityIdCache.h"

#include <cstring>

namespace ScriptWorld
{

const CWorldIdIndex::SEntry* CEntityIdCache::Find(const CWorldIdIndex& index, std::string_view id)
{
    if (id.data() == nullptr || id.size() > kCopied)
        return index.Find(id);
    Fit(index);
    const uint64_t changes = index.GetChanges() - m_firstChanges + 1;
    SSlot& slot = SlotOf(id.data());
    if (slot.text == id.data() && slot.changes == changes && slot.size == id.size() &&
        std::memcmp(slot.copy, id.data(), id.size()) == 0)
        return slot.entry;
    const CWorldIdIndex::SEntry* entry = index.Find(id);
    if (entry != nullptr)
    {
        slot.text = id.data();
        slot.entry = entry;
        slot.changes = static_cast<uint32_t>(changes);
        slot.size = static_cast<uint32_t>(id.size());
        std::memcpy(slot.copy, id.data(), id.size());
    }
    return entry;
}

CEntityIdCache::SSlot& CEntityIdCache::SlotOf(const char* text)
{
    // Lua strings lie at least 8 bytes apart; the multiply spreads the
    // rest of the address over the slots.
    const uint64_t place = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(text) >> 3);
    const uint64_t mixed = place * 0x9E3779B97F4A7C15ull;
    return m_slots[static_cast<size_t>(mixed >> 32) & (m_slots.size() - 1)];
}

void CEntityIdCache::Fit(const CWorldIdIndex& index)
{
    // Counted from the first change seen, so that a slot's 32 bits hold it;
    // past that, and for another index, start again.
    const bool recount = m_index != &index || index.GetChanges() - m_firstChanges >= UINT32_MAX;
    const bool small = m_slots.size() < index.GetCount() && m_slots.size() < kMostSlots;
    if (!recount && !small && !m_slots.empty())
        return;
    size_t wanted = m_slots.empty() ? kFewestSlots : m_slots.size();
    while (wanted < index.GetCount() && wanted < kMostSlots)
        wanted *= 2;
    m_slots.assign(wanted, SSlot{});
    m_index = &index;
    m_firstChanges = index.GetChanges();
}

} // namespace ScriptWorld
