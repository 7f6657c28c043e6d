#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>

namespace Graphics::GUI
{

// A set of GUI element ids, hashed: looked up and added to for every
// element a script or a layout creates.
class CGuiIdSet
{
public:
    void Add(int32_t id) { m_ids.insert(id); }
    void Erase(int32_t id) { m_ids.erase(id); }
    bool Contains(int32_t id) const { return m_ids.count(id) != 0; }
    std::size_t Size() const { return m_ids.size(); }
    void Clear() { m_ids.clear(); }

private:
    std::unordered_set<int32_t> m_ids;
};

// The id a step after another, preferred for an element's parts (its
// buttons, its scroll bar): past the largest id it goes on from the lowest,
// as the search for a free id does.
inline int32_t IdAfter(int32_t id, int32_t step)
{
    return id <= INT32_MAX - step ? id + step : INT32_MIN + (step - 1 - (INT32_MAX - id));
}

} // namespace Graphics::GUI
