#pragma once

// The engine's values as Irrlicht's: colours with 8 bits per channel and
// screen fractions as whole pixels.

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

// A fraction of a size in pixels, truncated toward zero; values beyond the
// 32-bit range saturate, not-a-number gives 0.
int32_t ToPixels(uint32_t size, float fraction);

} // namespace Graphics
