// IGraphics functions that draw at once through the video driver (2D
// primitives, named textures and text in screen fractions, 3D primitives in
// world coordinates) and the colours of the frame. They show only when made
// while a frame is drawn, as from a handler of the frame's draw events;
// without a device they do nothing, and the colour getters answer zero.

#include "graphics/engine/GraphicsEngine.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsTextures.h"

#include <lua.hpp>

#include <string>

using Graphics::CGraphicsEngine;
using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

CGraphicsEngine& Engine()
{
    return GetScriptGraphicsEngine();
}

// The four sides of the rectangle as lines.
void DrawBox(const CRect& rect, const CColor& color)
{
    CGraphicsEngine& engine = Engine();
    engine.Draw2DLine(CPoint(rect.x1, rect.y1), CPoint(rect.x2, rect.y1), color);
    engine.Draw2DLine(CPoint(rect.x1, rect.y2), CPoint(rect.x2, rect.y2), color);
    engine.Draw2DLine(CPoint(rect.x1, rect.y1), CPoint(rect.x1, rect.y2), color);
    engine.Draw2DLine(CPoint(rect.x2, rect.y1), CPoint(rect.x2, rect.y2), color);
}

CColor getAmbientColor(LuaState*)
{
    return Engine().GetAmbientColor();
}

void setAmbientColor(LuaState*, const CColor& color)
{
    Engine().SetAmbientColor(color);
}

CColor getBackColor(LuaState*)
{
    return Engine().GetBackColor();
}

void setBackColor(LuaState*, const CColor& color)
{
    Engine().SetBackColor(color);
}

void draw2DLine(LuaState*, const CPoint& start, const CPoint& end, const CColor& color)
{
    Engine().Draw2DLine(start, end, color);
}

void draw2DBox(LuaState*, const CRect& rect, const CColor& color)
{
    DrawBox(rect, color);
}

// The box cut to the clip: its sides move onto the clip's edges, so a box
// wholly outside collapses onto an edge. Without a clip (nil), the box.
void draw2DBoxClipped(LuaState*, const CRect& rect, const LuaStackObject& clipArgument, const CColor& color)
{
    if (clipArgument.IsNil())
    {
        DrawBox(rect, color);
        return;
    }
    const CRect clip = CRectScript::Read(clipArgument.GetCState(), clipArgument.GetIndex());
    CRect cut = rect;
    if (cut.x2 > clip.x2)
        cut.x2 = clip.x2;
    if (cut.y2 > clip.y2)
        cut.y2 = clip.y2;
    if (cut.x1 < clip.x1)
        cut.x1 = clip.x1;
    if (cut.y1 < clip.y1)
        cut.y1 = clip.y1;
    if (cut.y2 < cut.y1)
        cut.y1 = cut.y2;
    if (cut.x2 < cut.x1)
        cut.x1 = cut.x2;
    DrawBox(cut, color);
}

void draw2DRectangle(LuaState*, const CRect& rect, const CColor& color)
{
    Engine().Draw2DRectangle(rect, color);
}

void draw2DRectangleClipped(LuaState*, const CRect& rect, const CRect& clip, const CColor& color)
{
    Engine().Draw2DRectangleClipped(rect, color, clip);
}

void draw2DRectangleGradient(LuaState*, const CRect& rect, const CColor& upperLeft, const CColor& upperRight,
                             const CColor& lowerLeft, const CColor& lowerRight)
{
    Engine().Draw2DRectangleGradient(rect, upperLeft, upperRight, lowerLeft, lowerRight);
}

void draw2DRectangleGradientClipped(LuaState*, const CRect& rect, const CRect& clip, const CColor& upperLeft,
                                    const CColor& upperRight, const CColor& lowerLeft,
                                    const CColor& lowerRight)
{
    Engine().Draw2DRectangleGradientClipped(rect, upperLeft, upperRight, lowerLeft, lowerRight, clip);
}

void draw2DCircle(LuaState*, const CPoint& centre, float radius, int32_t vertexCount, const CColor& color)
{
    Engine().Draw2DCircle(centre, radius, color, vertexCount);
}

void draw2DImage(LuaState*, const std::wstring& textureName, const CPoint& position, bool useAlpha)
{
    Engine().Draw2DImage(textureName, position, useAlpha);
}

void draw2DImageScaled(LuaState*, const std::wstring& textureName, const CRect& source,
                       const CRect& destination, const CColor& color, bool useAlpha)
{
    Engine().Draw2DImageScaled(textureName, source, destination, CRect(), color, useAlpha);
}

void draw3DLine(LuaState*, const CVector& start, const CVector& end, const CColor& color)
{
    Engine().Draw3DLine(start, end, color);
}

void draw3DBox(LuaState*, const CVector& minimum, const CVector& maximum, const CColor& color)
{
    Engine().Draw3DBox(minimum, maximum, color);
}

void draw3DTriangle(LuaState*, const CVector& a, const CVector& b, const CVector& c, const CColor& color)
{
    Engine().Draw3DTriangle(a, b, c, color);
}

void drawText(LuaState*, const std::wstring& fontKey, const std::wstring& text, const CColor& color,
              const CRect& rect, bool centreHorizontally, bool centreVertically)
{
    Engine().DrawText(fontKey, text, rect, color, centreHorizontally, centreVertically);
}

CPoint getTextDimensions(LuaState*, const std::wstring& fontKey, const std::wstring& text)
{
    return Engine().GetTextDimensions(fontKey, text);
}

} // namespace

void RegisterIGraphicsDrawingFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getAmbientColor", &getAmbientColor);
    table.RegisterHelper("setAmbientColor", &setAmbientColor);
    table.RegisterHelper("getBackColor", &getBackColor);
    table.RegisterHelper("setBackColor", &setBackColor);

    table.RegisterHelper("draw2DLine", &draw2DLine);
    table.RegisterHelper("draw2DBox", &draw2DBox);
    table.RegisterHelper("draw2DBoxClipped", &draw2DBoxClipped);
    table.RegisterHelper("draw2DRectangle", &draw2DRectangle);
    table.RegisterHelper("draw2DRectangleClipped", &draw2DRectangleClipped);
    table.RegisterHelper("draw2DRectangleGradient", &draw2DRectangleGradient);
    table.RegisterHelper("draw2DRectangleGradientClipped", &draw2DRectangleGradientClipped);
    table.RegisterHelper("draw2DCircle", &draw2DCircle);
    table.RegisterHelper("draw2DImage", &draw2DImage);
    table.RegisterHelper("draw2DImageScaled", &draw2DImageScaled);
    table.RegisterHelper("draw3DLine", &draw3DLine);
    table.RegisterHelper("draw3DBox", &draw3DBox);
    table.RegisterHelper("draw3DTriangle", &draw3DTriangle);
    table.RegisterHelper("drawText", &drawText);
    table.RegisterHelper("getTextDimensions", &getTextDimensions);
}
