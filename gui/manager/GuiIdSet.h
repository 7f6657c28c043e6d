#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Graphics::GUI
{

// A set of GUI element ids, looked up and added to for every element a
// script or a layout creates. Open addressing in flat arrays: a GUI of
// thousands of elements adds its ids without an allocation each, and a
// cleared set keeps its room for the next GUI.
class CGuiIdSet
{
public:
    void Add(int32_t id);
    void Erase(int32_t id);
    bool Contains(int32_t id) const;
    std::size_t Size() const { return m_size; }
    // Keeps the room.
    void Clear();

private:
    enum ESlot : uint8_t
    {
        kEmpty,
        kFull,
        // Erased: probes go on past it.
        kErased
    };

    // The slot of the id, or of the first free place for it on its probe.
    std::size_t Find(int32_t id) const;
    std::size_t Home(int32_t id) const;
    void Grow();

    std::vector<int32_t> m_ids;
    std::vector<ESlot> m_slots;
    std::size_t m_size = 0;
    // Full and erased slots: kept below half the room, so probes stay short.
    std::size_t m_used = 0;
};

// The id a step after another, preferred for an element's parts (its
// buttons, its scroll bar): past the largest id it goes on from the lowest,
// as the search for a free id does.
inline int32_t IdAfter(int32_t id, int32_t step)
{
    return id <= INT32_MAX - step ? id + step : INT32_MIN + (step - 1 - (INT32_MAX - id));
}

} // namespace Graphics::GUI
