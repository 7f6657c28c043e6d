#pragma once

// The engine's colours as Irrlicht's, with 8 bits per channel (pixels:
// core/foundation/Pixels.h).

#include "core/foundation/Color.h"

#include <SColor.h>

#include <cstdint>

namespace Graphics
{

// One colour component as an 8-bit channel: times 255, truncated toward
// zero, low 8 bits kept (2.0 gives 254). Not-a-number and negative values
// give 0.
uint32_t ToChannel(float component);

// Alpha in the highest byte, then red, green, blue.
irr::video::SColor ToIrrlichtColor(const CColor& color);

} // namespace Graphics
