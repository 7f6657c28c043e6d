#pragma once

// Whole pixels from the floating-point positions and sizes that scripts
// give (fractions of the screen, or pixels): one clamp for every place that
// hands pixels to Irrlicht, the GUI or the window system.

#include <cmath>
#include <cstdint>

namespace Misc
{

// Pixel coordinates stay within this magnitude, so that the sums and
// differences that the GUI library and the video driver make of them never
// leave 32 bits. Far beyond any screen, so nothing visible changes.
constexpr int32_t kPixelLimit = 1 << 28;
// The X protocol carries window sizes and pointer positions in 16 signed
// bits: beyond this a place would wrap round to the other side.
constexpr int32_t kWindowPixelLimit = 32767;

// Pixels truncated toward zero and held within [-limit, limit]; NaN is 0.
inline int32_t ToPixels(double pixels, int32_t limit = kPixelLimit)
{
    if (pixels >= -limit && pixels <= limit)
        return static_cast<int32_t>(pixels);
    if (std::isnan(pixels))
        return 0;
    return pixels < 0.0 ? -limit : limit;
}

// A fraction of a size (the screen's width or height) in pixels, by the
// same clamp.
inline int32_t FractionToPixels(uint32_t size, float fraction, int32_t limit = kPixelLimit)
{
    return ToPixels(static_cast<double>(size) * static_cast<double>(fraction), limit);
}

// The fraction of a side, kept where the pixel it names stays within the
// limit; NaN is 0. A side of 0 keeps any fraction.
inline float LimitFraction(float fraction, uint32_t side, int32_t limit)
{
    if (std::isnan(fraction))
        return 0.0f;
    if (side == 0)
        return fraction;
    const double most = static_cast<double>(limit) / side;
    if (fraction > most)
        return static_cast<float>(most);
    if (fraction < -most)
        return static_cast<float>(-most);
    return fraction;
}

} // namespace Misc
