#pragma once

// The engine's colours and vectors as Irrlicht's, colours with 8 bits per
// channel (pixels: core/foundation/Pixels.h).

#include "core/foundation/Color.h"
#include "core/foundation/Vector.h"

#include <SColor.h>
#include <vector3d.h>

#include <cstdint>

namespace Graphics
{

// One colour component as an 8-bit channel: times 255, truncated toward
// zero, low 8 bits kept (2.0 gives 254). Not-a-number and negative values
// give 0.
uint32_t ToChannel(float component);

// Alpha in the highest byte, then red, green, blue.
irr::video::SColor ToIrrlichtColor(const CColor& color);

// Component by component, both ways.
inline irr::core::vector3df ToIrrlicht(const CVector& v)
{
    return irr::core::vector3df(v.x, v.y, v.z);
}
inline CVector ToVector(const irr::core::vector3df& v)
{
    return CVector(v.X, v.Y, v.Z);
}

} // namespace Graphics
