#pragma once

// Scripts give GUI coordinates either as fractions of the screen or as
// pixels. These classes turn them into pixels by the GUI's rules; W and H
// are the screen's width and height in pixels.

#include "core/foundation/Pixels.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"

#include <position2d.h>
#include <rect.h>

#include <cstdint>

namespace Graphics::GUI
{

// A rectangle in pixels as whole pixels, each corner value by the one pixel
// clamp (Misc::ToPixels).
irr::core::rect<irr::s32> ToPixelRect(const CRect& pixelRect);

// A point: with W and H at least 1, x is multiplied by W when -2 < x < 2 and
// y by H when -2 < y < 2, each on its own; other values stay pixels. With W
// or H below 1 nothing is scaled.
class CScreenPoint
{
public:
    CScreenPoint(float x, float y, uint32_t width, uint32_t height);
    CScreenPoint(const CPoint& point, uint32_t width, uint32_t height);

    irr::core::position2di ToPixels() const;

    float x;
    float y;

private:
    void ScaleFractions(uint32_t width, uint32_t height);
};

// A rectangle: x2 becomes x1 when x1 > x2 (and y2 likewise); then, with W
// and H at least 1 and all four values strictly between -2 and 2, x1 and x2
// are multiplied by W and y1 and y2 by H. One value outside keeps all four
// in pixels.
class CScreenRect
{
public:
    CScreenRect(const CRect& rect, uint32_t width, uint32_t height);

    irr::core::rect<irr::s32> ToPixels() const;

    float x1;
    float y1;
    float x2;
    float y2;

private:
    void ScaleFractions(uint32_t width, uint32_t height);
};

// Minimum and maximum sizes: a component below 1 is a fraction of W or H,
// 1 and above is pixels. Negative and NaN sizes are 0.
uint32_t SizeToPixels(float value, uint32_t screenSize);

// A pixel value as a fraction of the screen size; with a screen size below
// 1 the value stays in pixels.
float PixelsToFraction(double pixels, uint32_t screenSize);

} // namespace Graphics::GUI
