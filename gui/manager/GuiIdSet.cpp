#include "gui/manager/GuiIdSet.h"

#include <algorithm>

namespace Graphics::GUI
{

namespace
{

constexpr std::size_t kMinimumRoom = 64;

} // namespace

std::size_t CGuiIdSet::Home(int32_t id) const
{
    // Ids are often consecutive: multiplied by 2^64 / phi, they spread over
    // the whole table.
    const uint64_t mixed = static_cast<uint64_t>(static_cast<uint32_t>(id)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 32) & (m_slots.size() - 1);
}

std::size_t CGuiIdSet::Find(int32_t id) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t freePlace = m_slots.size();
    for (std::size_t slot = Home(id);; slot = (slot + 1) & mask)
    {
        if (m_slots[slot] == kEmpty)
            return freePlace != m_slots.size() ? freePlace : slot;
        if (m_slots[slot] == kErased)
        {
            if (freePlace == m_slots.size())
                freePlace = slot;
        }
        else if (m_ids[slot] == id)
            return slot;
    }
}

void CGuiIdSet::Add(int32_t id)
{
    if (2 * (m_used + 1) > m_slots.size())
        Grow();
    const std::size_t slot = Find(id);
    if (m_slots[slot] == kFull)
        return;
    if (m_slots[slot] == kEmpty)
        ++m_used;
    m_slots[slot] = kFull;
    m_ids[slot] = id;
    ++m_size;
}

void CGuiIdSet::Erase(int32_t id)
{
    if (m_size == 0)
        return;
    const std::size_t slot = Find(id);
    if (m_slots[slot] != kFull)
        return;
    m_slots[slot] = kErased;
    --m_size;
}

bool CGuiIdSet::Contains(int32_t id) const
{
    return m_size != 0 && m_slots[Find(id)] == kFull;
}

void CGuiIdSet::Clear()
{
    std::fill(m_slots.begin(), m_slots.end(), kEmpty);
    m_size = 0;
    m_used = 0;
}

void CGuiIdSet::Grow()
{
    // Erased slots are dropped on the way: a set that lost many ids is
    // rebuilt at its size rather than doubled.
    const std::size_t room =
        std::max(kMinimumRoom, m_size * 4 > m_slots.size() ? m_slots.size() * 2 : m_slots.size());
    std::vector<int32_t> ids(room);
    std::vector<ESlot> slots(room, kEmpty);
    ids.swap(m_ids);
    slots.swap(m_slots);
    m_size = 0;
    m_used = 0;
    for (std::size_t slot = 0; slot < slots.size(); ++slot)
    {
        if (slots[slot] == kFull)
            Add(ids[slot]);
    }
}

} // namespace Graphics::GUI
