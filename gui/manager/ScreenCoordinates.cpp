#include "gui/manager/ScreenCoordinates.h"

#include <cmath>

namespace Graphics::GUI
{

namespace
{

bool IsFraction(float value)
{
    return value > -2.0f && value < 2.0f;
}

} // namespace

irr::core::rect<irr::s32> ToPixelRect(const CRect& pixelRect)
{
    return irr::core::rect<irr::s32>(Misc::ToPixels(pixelRect.x1), Misc::ToPixels(pixelRect.y1),
                                     Misc::ToPixels(pixelRect.x2), Misc::ToPixels(pixelRect.y2));
}

CScreenPoint::CScreenPoint(float x_, float y_, uint32_t width, uint32_t height) : x(x_), y(y_)
{
    ScaleFractions(width, height);
}

CScreenPoint::CScreenPoint(const CPoint& point, uint32_t width, uint32_t height) : x(point.x), y(point.y)
{
    ScaleFractions(width, height);
}

void CScreenPoint::ScaleFractions(uint32_t width, uint32_t height)
{
    if (width < 1 || height < 1)
        return;
    if (IsFraction(x))
        x *= static_cast<float>(width);
    if (IsFraction(y))
        y *= static_cast<float>(height);
}

irr::core::position2di CScreenPoint::ToPixels() const
{
    return irr::core::position2di(Misc::ToPixels(x), Misc::ToPixels(y));
}

CScreenRect::CScreenRect(const CRect& rect, uint32_t width, uint32_t height)
    : x1(rect.x1), y1(rect.y1), x2(rect.x2), y2(rect.y2)
{
    if (x1 > x2)
        x2 = x1;
    if (y1 > y2)
        y2 = y1;
    ScaleFractions(width, height);
}

void CScreenRect::ScaleFractions(uint32_t width, uint32_t height)
{
    if (width < 1 || height < 1)
        return;
    if (!IsFraction(x1) || !IsFraction(y1) || !IsFraction(x2) || !IsFraction(y2))
        return;
    x1 *= static_cast<float>(width);
    x2 *= static_cast<float>(width);
    y1 *= static_cast<float>(height);
    y2 *= static_cast<float>(height);
}

irr::core::rect<irr::s32> CScreenRect::ToPixels() const
{
    return ToPixelRect(CRect(x1, y1, x2, y2));
}

uint32_t SizeToPixels(float value, uint32_t screenSize)
{
    // NaN fails both tests and ends as 0.
    double pixels = 0.0;
    if (value >= 1.0f)
        pixels = value;
    else if (value > 0.0f)
        pixels = static_cast<double>(value) * screenSize;
    return static_cast<uint32_t>(Misc::ToPixels(pixels));
}

float PixelsToFraction(double pixels, uint32_t screenSize)
{
    if (screenSize < 1)
        return static_cast<float>(pixels);
    return static_cast<float>(pixels / screenSize);
}

} // namespace Graphics::GUI
