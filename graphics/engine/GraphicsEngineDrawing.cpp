// Immediate drawing of the graphics engine: 2D primitives and text in
// screen fractions, 3D primitives in world coordinates, and the projection
// of world positions to the screen.

#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "irrlicht/IrrlichtConversions.h"
#include "gui/manager/GuiManager.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>

namespace Graphics
{

using namespace irr;
using Misc::Error::CKVOError;

namespace
{

// Pixel coordinates handed to the driver stay within this distance of the
// screen's origin, so that no width or step the driver computes from them
// overflows. Far beyond any screen, so nothing visible changes.
constexpr int32_t kDrawPixelLimit = 1 << 22;

// A screen fraction in pixels, truncated toward zero, kept within the
// driver's limit; not a number gives 0.
inline s32 ScreenPixel(uint32_t size, float fraction)
{
    return Misc::FractionToPixels(size, fraction, kDrawPixelLimit);
}

// A rectangle of screen fractions in pixels, each coordinate truncated.
inline core::rect<s32> ScreenRect(const CRect& rect, uint32_t width, uint32_t height)
{
    return core::rect<s32>(ScreenPixel(width, rect.x1), ScreenPixel(height, rect.y1),
                           ScreenPixel(width, rect.x2), ScreenPixel(height, rect.y2));
}

// ToIrrlichtColor with the usual case first: every component a fraction
// from 0 to 1 needs no reduction to 8 bits, which costs more than the rest
// of a rectangle's call.
inline video::SColor DrawColor(const CColor& color)
{
    const auto fraction = [](float component) { return component >= 0.0f && component <= 1.0f; };
    if (!(fraction(color.r) && fraction(color.g) && fraction(color.b) && fraction(color.a)))
        return ToIrrlichtColor(color);
    const auto channel = [](float component)
    { return static_cast<u32>(static_cast<double>(component) * 255.0); };
    return video::SColor(channel(color.a), channel(color.r), channel(color.g), channel(color.b));
}

bool IsAllZero(const CRect& rect)
{
    return rect.x1 == 0.0f && rect.y1 == 0.0f && rect.x2 == 0.0f && rect.y2 == 0.0f;
}

// Cuts the segment to the square of kDrawPixelLimit around the origin
// (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double limit = kDrawPixelLimit;
    const double q[4] = {x1 + limit, limit - x1, y1 + limit, limit - y1};
    for (int edge = 0; edge < 4; ++edge)
    {
        if (p[edge] == 0.0)
        {
            if (q[edge] < 0.0)
                return false;
            continue;
        }
        const double t = q[edge] / p[edge];
        if (p[edge] < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave)
        return false;
    const double startX = x1 + enter * dx;
    const double startY = y1 + enter * dy;
    x2 = x1 + leave * dx;
    y2 = y1 + leave * dy;
    x1 = startX;
    y1 = startY;
    return true;
}

// A line between two pixel positions, cut to what the driver can take.
void DrawPixelLine(video::IVideoDriver* driver, double x1, double y1, double x2, double y2,
                   video::SColor color)
{
    if (!ClipSegment(x1, y1, x2, y2))
        return;
    driver->draw2DLine(
        core::position2d<s32>(Misc::ToPixels(x1, kDrawPixelLimit), Misc::ToPixels(y1, kDrawPixelLimit)),
        core::position2d<s32>(Misc::ToPixels(x2, kDrawPixelLimit), Misc::ToPixels(y2, kDrawPixelLimit)),
        color);
}

// The material of the 3D primitives: unlit, in the colour, world
// coordinates.
void Begin3D(video::IVideoDriver* driver, const video::SColor& color)
{
    video::SMaterial material;
    material.AmbientColor = color;
    material.DiffuseColor = color;
    material.Lighting = false;
    driver->setMaterial(material);
    driver->setTransform(video::ETS_WORLD, core::IdentityMatrix);
}

core::vector3df ToVector(const CVector& vector)
{
    return core::vector3df(vector.x, vector.y, vector.z);
}

} // namespace

void CGraphicsEngine::Draw2DLine(const CPoint& start, const CPoint& end, const CColor& color)
{
    if (m_device == nullptr)
        return;
    DrawPixelLine(m_device->getVideoDriver(), Misc::FractionToPixels(m_screenWidth, start.x),
                  Misc::FractionToPixels(m_screenHeight, start.y),
                  Misc::FractionToPixels(m_screenWidth, end.x), Misc::FractionToPixels(m_screenHeight, end.y),
                  DrawColor(color));
}

void CGraphicsEngine::Draw2DRectangle(const CRect& rect, const CColor& color)
{
    if (m_device == nullptr)
        return;
    m_device->getVideoDriver()->draw2DRectangle(DrawColor(color),
                                                ScreenRect(rect, m_screenWidth, m_screenHeight));
}

void CGraphicsEngine::Draw2DRectangleGradient(const CRect& rect, const CColor& upperLeft,
                                              const CColor& upperRight, const CColor& lowerLeft,
                                              const CColor& lowerRight)
{
    if (m_device == nullptr)
        return;
    m_device->getVideoDriver()->draw2DRectangle(ScreenRect(rect, m_screenWidth, m_screenHeight),
                                                DrawColor(upperLeft), DrawColor(upperRight),
                                                DrawColor(lowerLeft), DrawColor(lowerRight));
}

void CGraphicsEngine::Draw2DRectangleClipped(const CRect& rect, const CColor& color, const CRect& clip)
{
    if (m_device == nullptr)
        return;
    const core::rect<s32> clipPixels = ScreenRect(clip, m_screenWidth, m_screenHeight);
    m_device->getVideoDriver()->draw2DRectangle(DrawColor(color),
                                                ScreenRect(rect, m_screenWidth, m_screenHeight),
                                                IsAllZero(clip) ? nullptr : &clipPixels);
}

void CGraphicsEngine::Draw2DRectangleGradientClipped(const CRect& rect, const CColor& upperLeft,
                                                     const CColor& upperRight, const CColor& lowerLeft,
                                                     const CColor& lowerRight, const CRect& clip)
{
    if (m_device == nullptr)
        return;
    const core::rect<s32> clipPixels = ScreenRect(clip, m_screenWidth, m_screenHeight);
    m_device->getVideoDriver()->draw2DRectangle(
        ScreenRect(rect, m_screenWidth, m_screenHeight), DrawColor(upperLeft), DrawColor(upperRight),
        DrawColor(lowerLeft), DrawColor(lowerRight), IsAllZero(clip) ? nullptr : &clipPixels);
}

void CGraphicsEngine::Draw2DCircle(const CPoint& centre, float radius, const CColor& color,
                                   int32_t vertexCount)
{
    if (vertexCount > 65536)
        throw CKVOError::Format(L"[CGraphicsEngine::Draw2DCircle] Too many vertices: %d", vertexCount);
    if (m_device == nullptr || vertexCount < 2)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const video::SColor pixelColor = DrawColor(color);
    const double centreX = Misc::FractionToPixels(m_screenWidth, centre.x);
    const double centreY = Misc::FractionToPixels(m_screenHeight, centre.y);
    const double pixels = static_cast<double>(m_screenWidth) * radius;
    // The corners as the driver's polygon places them: the first straight
    // below the centre, then around.
    const auto corner = [&](int32_t index, double& x, double& y)
    {
        const double angle = static_cast<double>(index) / vertexCount * (2.0 * core::PI64);
        x = centreX + std::trunc(std::sin(angle) * pixels);
        y = centreY + std::trunc(std::cos(angle) * pixels);
    };
    double firstX = 0.0;
    double firstY = 0.0;
    corner(0, firstX, firstY);
    double lastX = firstX;
    double lastY = firstY;
    for (int32_t index = 1; index < vertexCount; ++index)
    {
        double x = 0.0;
        double y = 0.0;
        corner(index, x, y);
        DrawPixelLine(driver, x, y, lastX, lastY, pixelColor);
        lastX = x;
        lastY = y;
    }
    DrawPixelLine(driver, lastX, lastY, firstX, firstY, pixelColor);
}

void CGraphicsEngine::DrawText(const std::wstring& fontName, const std::wstring& text, const CRect& rect,
                               const CColor& color, bool centreHorizontally, bool centreVertically)
{
    if (m_device == nullptr)
        return;
    gui::IGUIFont* font = m_guiManager->GetFont(fontName, false);
    if (font == nullptr)
        return;
    font->draw(text.c_str(), ScreenRect(rect, m_screenWidth, m_screenHeight), DrawColor(color),
               centreHorizontally, centreVertically, nullptr);
}

void CGraphicsEngine::Draw3DLine(const CVector& start, const CVector& end, const CColor& color)
{
    if (m_device == nullptr)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const video::SColor pixelColor = DrawColor(color);
    Begin3D(driver, pixelColor);
    driver->draw3DLine(ToVector(start), ToVector(end), pixelColor);
}

void CGraphicsEngine::Draw3DBox(const CVector& minimum, const CVector& maximum, const CColor& color)
{
    if (m_device == nullptr)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const video::SColor pixelColor = DrawColor(color);
    Begin3D(driver, pixelColor);
    driver->draw3DBox(core::aabbox3d<f32>(ToVector(minimum), ToVector(maximum)), pixelColor);
}

void CGraphicsEngine::Draw3DTriangle(const CVector& a, const CVector& b, const CVector& c,
                                     const CColor& color)
{
    if (m_device == nullptr)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const video::SColor pixelColor = DrawColor(color);
    Begin3D(driver, pixelColor);
    driver->draw3DTriangle(core::triangle3df(ToVector(a), ToVector(b), ToVector(c)), pixelColor);
}

CPoint CGraphicsEngine::GetScreenPosFrom3DPos(const CVector& position, IFrameCamera* camera) const
{
    if (m_device == nullptr || m_screenWidth == 0 || m_screenHeight == 0)
        return CPoint();
    scene::ICameraSceneNode* node = camera != nullptr ? camera->GetCameraNode() : nullptr;
    const core::position2d<s32> pixels =
        m_device->getSceneManager()->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
            ToVector(position), node, false);
    return CPoint(static_cast<float>(pixels.X) / static_cast<float>(m_screenWidth),
                  static_cast<float>(pixels.Y) / static_cast<float>(m_screenHeight));
}

void CGraphicsEngine::RemoveChild(scene::ISceneNode* node)
{
    if (node == nullptr)
        throw CKVOError(L"[CGraphicsEngine::RemoveChild] Graphical entity not initialised");
    if (m_device == nullptr)
        return;
    // Out of its parent first: ISceneNode::setParent would search the
    // root's whole list of children for it.
    scene::ISceneNode* root = m_device->getSceneManager()->getRootSceneNode();
    node->grab();
    node->remove();
    root->addChild(node);
    node->drop();
}

} // namespace Graphics
