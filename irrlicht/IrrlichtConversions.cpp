#include "irrlicht/IrrlichtConversions.h"

#include <cmath>

namespace Graphics
{

uint32_t ToChannel(float component)
{
    const double scaled = std::trunc(static_cast<double>(component) * 255.0);
    if (!(scaled > 0.0))
        return 0;
    // Only the low 8 bits count, so reduce first: a huge value must not
    // overflow the integer conversion.
    return static_cast<uint32_t>(std::fmod(scaled, 256.0));
}

irr::video::SColor ToIrrlichtColor(const CColor& color)
{
    return irr::video::SColor(ToChannel(color.a), ToChannel(color.r), ToChannel(color.g), ToChannel(color.b));
}

} // namespace Graphics
