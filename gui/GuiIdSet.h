#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Graphics::GUI
{

// A set of GUI element ids in one sorted array: gathered once (Add, then
// Seal), then looked up and added to while a layout loads, without a heap
// node per id.
class CGuiIdSet
{
public:
    // Gathering: any order, repeats allowed, until Seal sorts them.
    void Add(int32_t id) { m_ids.push_back(id); }
    void Seal()
    {
        std::sort(m_ids.begin(), m_ids.end());
        m_ids.erase(std::unique(m_ids.begin(), m_ids.end()), m_ids.end());
    }

    // After Seal.
    bool Contains(int32_t id) const { return std::binary_search(m_ids.begin(), m_ids.end(), id); }
    void Insert(int32_t id)
    {
        const auto at = std::lower_bound(m_ids.begin(), m_ids.end(), id);
        if (at == m_ids.end() || *at != id)
            m_ids.insert(at, id);
    }

private:
    std::vector<int32_t> m_ids;
};

// The id a step after another, preferred for an element's parts (its
// buttons, its scroll bar): past the largest id it goes on from the lowest,
// as the search for a free id does.
inline int32_t IdAfter(int32_t id, int32_t step)
{
    return id <= INT32_MAX - step ? id + step : INT32_MIN + (step - 1 - (INT32_MAX - id));
}

} // namespace Graphics::GUI
