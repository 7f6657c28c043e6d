// The drawing operations of the engine's own skin: every pane is either a
// skin image stretched over its rectangle or a gradient in the skin's
// colours, followed by a one-pixel highlight frame while highlights are on.

#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/skin/SkinImpl.h"

#include <IGUISpriteBank.h>
#include <IVideoDriver.h>

namespace Graphics
{

using namespace irr;
using Rect32 = core::rect<s32>;

namespace
{

const video::SColor kWhite(255, 255, 255, 255);

// The rectangle clipped against the clip rectangle, when one is given.
Rect32 Clipped(const Rect32& rect, const Rect32* clip)
{
    Rect32 result = rect;
    if (clip)
        result.clipAgainst(*clip);
    return result;
}

bool IsEmpty(const Rect32& rect)
{
    return rect.LowerRightCorner.X <= rect.UpperLeftCorner.X ||
           rect.LowerRightCorner.Y <= rect.UpperLeftCorner.Y;
}

} // namespace

void CSkinImpl::DrawImage(s32 index, const Rect32& rect, const Rect32* clip)
{
    // Skin images run from application start and always loop.
    m_ownBank->draw2DSpriteInRect(static_cast<u32>(index), rect, clip, kWhite, 0,
                                  Sprite::CGuiKVOSpriteBank::GetApplicationTime(), true);
}

void CSkinImpl::DrawGradient(const Rect32& rect, video::SColor top, video::SColor bottom, const Rect32* clip)
{
    if (m_driver)
        m_driver->draw2DRectangle(rect, top, top, bottom, bottom, clip);
}

void CSkinImpl::DrawHighlightFrame(const Rect32& rect, video::SColor a, video::SColor b, const Rect32* clip)
{
    if (!m_highlights || !m_driver)
        return;
    const Rect32 r = Clipped(rect, clip);
    if (IsEmpty(r))
        return;
    const core::position2di topLeft = r.UpperLeftCorner;
    const core::position2di topRight(r.LowerRightCorner.X, r.UpperLeftCorner.Y);
    const core::position2di bottomLeft(r.UpperLeftCorner.X, r.LowerRightCorner.Y);
    const core::position2di bottomRight = r.LowerRightCorner;
    m_driver->draw2DLine(topLeft, topRight, a);
    m_driver->draw2DLine(topLeft, bottomLeft, a);
    m_driver->draw2DLine(topRight, bottomRight, b);
    m_driver->draw2DLine(bottomLeft, bottomRight, b);
}

void CSkinImpl::DrawPane(gui::IGUIElement* element, const wchar_t* imageId, const Rect32& rect,
                         const Rect32* clip, video::SColor a, video::SColor b)
{
    const s32 image = FindElementImage(element, imageId);
    if (image >= 0)
        DrawImage(image, rect, clip);
    else
        DrawGradient(rect, getColor(gui::EGDC_3D_FACE), getColor(gui::EGDC_3D_SHADOW), clip);
    DrawHighlightFrame(rect, a, b, clip);
}

void CSkinImpl::draw3DButtonPaneStandard(gui::IGUIElement* element, const Rect32& rect, const Rect32* clip)
{
    DrawPane(element, L"GUIIMAGE_BUTTON_NORMAL", rect, clip, getColor(gui::EGDC_3D_HIGH_LIGHT),
             getColor(gui::EGDC_3D_DARK_SHADOW));
}

void CSkinImpl::draw3DButtonPanePressed(gui::IGUIElement* element, const Rect32& rect, const Rect32* clip)
{
    DrawPane(element, L"GUIIMAGE_BUTTON_PRESSED", rect, clip, getColor(gui::EGDC_3D_DARK_SHADOW),
             getColor(gui::EGDC_3D_HIGH_LIGHT));
}

void CSkinImpl::draw3DSunkenPane(gui::IGUIElement* element, video::SColor bgcolor, bool flat,
                                 bool fillBackGround, const Rect32& rect, const Rect32* clip)
{
    if (fillBackGround)
    {
        const s32 image = FindElementImage(element, L"GUIIMAGE_PANE_SUNKEN");
        if (image >= 0)
            DrawImage(image, rect, clip);
        else if (flat)
            DrawGradient(rect, bgcolor, bgcolor, clip);
        else
            DrawGradient(rect, bgcolor, getColor(gui::EGDC_3D_SHADOW), clip);
    }
    const video::SColor light = getColor(gui::EGDC_3D_HIGH_LIGHT);
    if (flat)
        DrawHighlightFrame(rect, light, light, clip);
    else
        DrawHighlightFrame(rect, getColor(gui::EGDC_3D_DARK_SHADOW), light, clip);
}

Rect32 CSkinImpl::draw3DWindowBackground(gui::IGUIElement* element, bool drawTitleBar,
                                         video::SColor titleBarColor, const Rect32& rect, const Rect32* clip,
                                         Rect32* checkClientArea)
{
    const Rect32 title(rect.UpperLeftCorner.X + 2, rect.UpperLeftCorner.Y + 2, rect.LowerRightCorner.X - 2,
                       rect.UpperLeftCorner.Y + 4 + getSize(gui::EGDS_WINDOW_BUTTON_WIDTH));
    if (checkClientArea)
    {
        // Only the measure: the area inside the frame and below the title.
        Rect32 client(rect.UpperLeftCorner.X + 1, rect.UpperLeftCorner.Y + 1, rect.LowerRightCorner.X - 1,
                      rect.LowerRightCorner.Y - 1);
        if (drawTitleBar)
            client.UpperLeftCorner.Y = title.LowerRightCorner.Y;
        *checkClientArea = client;
        return drawTitleBar ? title : rect;
    }
    DrawPane(element, L"GUIIMAGE_WINDOW", rect, clip, getColor(gui::EGDC_3D_HIGH_LIGHT),
             getColor(gui::EGDC_3D_DARK_SHADOW));
    if (!drawTitleBar)
        return rect;
    if (m_driver)
    {
        const video::SColor dark = getColor(gui::EGDC_3D_DARK_SHADOW);
        m_driver->draw2DRectangle(title, titleBarColor, dark, titleBarColor, dark, clip);
    }
    return title;
}

void CSkinImpl::draw3DMenuPane(gui::IGUIElement* element, const Rect32& rect, const Rect32* clip)
{
    DrawPane(element, L"GUIIMAGE_MENU", rect, clip, getColor(gui::EGDC_3D_HIGH_LIGHT),
             getColor(gui::EGDC_3D_DARK_SHADOW));
}

void CSkinImpl::draw3DToolBar(gui::IGUIElement* element, const Rect32& rect, const Rect32* clip)
{
    DrawPane(element, L"GUIIMAGE_TOOLBAR", rect, clip, getColor(gui::EGDC_3D_HIGH_LIGHT),
             getColor(gui::EGDC_3D_DARK_SHADOW));
}

void CSkinImpl::draw3DTabButton(gui::IGUIElement* element, bool, const Rect32& rect, const Rect32* clip,
                                gui::EGUI_ALIGNMENT)
{
    const s32 image = FindElementImage(element, L"GUIIMAGE_TAB_BUTTON");
    if (image >= 0)
        DrawImage(image, rect, clip);
    else if (m_driver)
        m_driver->draw2DRectangle(getColor(gui::EGDC_3D_FACE), rect, clip);

    if (!m_highlights || !m_driver)
        return;
    const Rect32 r = Clipped(rect, clip);
    if (IsEmpty(r))
        return;
    // No bottom line: the tab stays open towards its body.
    const video::SColor light = getColor(gui::EGDC_3D_HIGH_LIGHT);
    const s32 right = r.LowerRightCorner.X - 1;
    m_driver->draw2DLine(r.UpperLeftCorner, core::position2di(right, r.UpperLeftCorner.Y), light);
    m_driver->draw2DLine(r.UpperLeftCorner, core::position2di(r.UpperLeftCorner.X, r.LowerRightCorner.Y),
                         light);
    m_driver->draw2DLine(core::position2di(right, r.UpperLeftCorner.Y),
                         core::position2di(right, r.LowerRightCorner.Y), getColor(gui::EGDC_3D_DARK_SHADOW));
}

void CSkinImpl::draw3DTabBody(gui::IGUIElement* element, bool border, bool background, const Rect32& rect,
                              const Rect32* clip, s32, gui::EGUI_ALIGNMENT)
{
    Rect32 body = rect;
    body.UpperLeftCorner.Y += getSize(gui::EGDS_BUTTON_HEIGHT) + 2;
    if (background)
    {
        const s32 image = FindElementImage(element, L"GUIIMAGE_TAB_BODY");
        if (image >= 0)
            DrawImage(image, body, clip);
        else
            DrawGradient(body, getColor(gui::EGDC_3D_FACE), getColor(gui::EGDC_3D_SHADOW), clip);
    }
    if (!border || !m_highlights || !m_driver)
        return;
    // No top line: the tab buttons sit there.
    const video::SColor dark = getColor(gui::EGDC_3D_DARK_SHADOW);
    const core::position2di topLeft = body.UpperLeftCorner;
    const core::position2di topRight(body.LowerRightCorner.X, body.UpperLeftCorner.Y);
    const core::position2di bottomLeft(body.UpperLeftCorner.X, body.LowerRightCorner.Y);
    const core::position2di bottomRight = body.LowerRightCorner;
    m_driver->draw2DLine(topLeft, bottomLeft, getColor(gui::EGDC_3D_HIGH_LIGHT));
    m_driver->draw2DLine(topRight, bottomRight, dark);
    m_driver->draw2DLine(bottomLeft, bottomRight, dark);
}

void CSkinImpl::drawIcon(gui::IGUIElement*, gui::EGUI_DEFAULT_ICON icon, const core::position2di position,
                         u32 starttime, u32 currenttime, bool, const Rect32* clip)
{
    if (static_cast<u32>(icon) >= kIconCount)
        return;
    // Icons from skin images loop; the inherited icons are drawn once.
    if (m_iconFromImage[icon])
        m_ownBank->draw2DSprite(m_icons[icon], position, clip, kWhite, starttime, currenttime, true, true);
    else if (m_iconBank)
        m_iconBank->draw2DSprite(m_icons[icon], position, clip, kWhite, starttime, currenttime, false, true);
}

void CSkinImpl::draw2DRectangle(gui::IGUIElement* element, const video::SColor& color, const Rect32& pos,
                                const Rect32* clip)
{
    if (IsEmpty(Clipped(pos, clip)))
        return;
    const s32 image = FindElementImage(element, L"GUIIMAGE_RECTANGLE");
    if (image >= 0)
        DrawImage(image, pos, clip);
    else if (m_driver)
        m_driver->draw2DRectangle(color, pos, clip);
}

} // namespace Graphics
