#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Graphics
{

// One hit of a ray: how far along the ray from its start, and the name of
// the scene node hit (the id of its entity).
struct SRayHit
{
    float distance;
    std::string name;
};

// Hits in ascending order of distance; a hit goes behind the hits of equal
// distance already there, so ties keep the order they were found in.
class CRayHitList
{
public:
    void Insert(float distance, std::string name);
    void Clear() { m_hits.clear(); }
    bool IsEmpty() const { return m_hits.empty(); }
    size_t GetCount() const { return m_hits.size(); }
    const SRayHit& operator[](size_t index) const { return m_hits[index]; }
    std::vector<SRayHit>::const_iterator begin() const { return m_hits.begin(); }
    std::vector<SRayHit>::const_iterator end() const { return m_hits.end(); }

private:
    std::vector<SRayHit> m_hits;
};

} // namespace Graphics
