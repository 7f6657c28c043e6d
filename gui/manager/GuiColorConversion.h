#pragma once

// Colours between the scripts' four fractions and the library's 8-bit
// colours: one rule for every colour of the GUI (elements, skin, sprites).

#include "core/foundation/Color.h"

#include <SColor.h>

#include <cmath>

namespace Graphics::GUI
{

// Each fraction times 255, to the nearest byte: layouts store byte / 255
// with six decimals, which truncation would read back one step lower on
// every load. Values outside 0-255 (a component of 2, or not a number)
// are held to the byte's range instead of wrapping.
inline irr::u32 ColorFractionToByte(float fraction)
{
    const float scaled = fraction * 255.0f + 0.5f;
    if (!(scaled > 0.0f))
        return 0;
    if (scaled >= 255.0f)
        return 255;
    return static_cast<irr::u32>(scaled);
}

inline irr::video::SColor ToSColor(const CColor& color)
{
    return irr::video::SColor(ColorFractionToByte(color.a), ColorFractionToByte(color.r),
                              ColorFractionToByte(color.g), ColorFractionToByte(color.b));
}

// Every byte divided by 255, so a channel of 1 reads back as 1/255 and not
// as a full channel.
inline CColor FromSColor(const irr::video::SColor& color)
{
    CColor result;
    result.r = static_cast<float>(color.getRed()) / 255.0f;
    result.g = static_cast<float>(color.getGreen()) / 255.0f;
    result.b = static_cast<float>(color.getBlue()) / 255.0f;
    result.a = static_cast<float>(color.getAlpha()) / 255.0f;
    return result;
}

} // namespace Graphics::GUI
