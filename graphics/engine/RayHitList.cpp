#include "graphics/engine/RayHitList.h"

#include <algorithm>

namespace Graphics
{

void CRayHitList::Insert(float distance, std::string name)
{
    const auto at = std::upper_bound(m_hits.begin(), m_hits.end(), distance,
                                     [](float value, const SRayHit& hit) { return value < hit.distance; });
    m_hits.insert(at, SRayHit{distance, std::move(name)});
}

} // namespace Graphics
