#pragma once

#include "core/foundation/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

// One body the ray met: where along the ray (0 at the start, 1 at the end),
// whose body, and the surface normal there.
struct CRayCastHit
{
    float parameter = 0.0f;
    std::string id;
    CVector normal;
};

// A ray-cast request and its answer. Only entities whose every kind bit is
// in the filter are tested (0 tests all); the hits are kept nearest first.
// The cast stops looking beyond each hit it takes, so that the first is the
// nearest; asked for every hit, it looks along the whole ray and keeps each
// entity once, where the ray first meets it.
struct CRayCastResult
{
    uint32_t filter = 0;
    bool everyHit = false;
    std::vector<CRayCastHit> hits;
};
