// The manager's tab control, tab and scroll bar operations: each checks
// the element's kind, then asks the element itself or the tab or scroll bar
// operations.

#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/elements/GuiElementKinds.h"

namespace Graphics::GUI
{

using namespace irr;

gui::IGUITabControl* CGuiManager::AddTabControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                                bool border)
{
    return m_parts->tabs.AddControl(id, pixelRect, fillBackground, border);
}

gui::IGUITabControl* CGuiManager::AddTabControlNamed(const std::wstring& name, const CRect& rect,
                                                     bool fillBackground, bool border)
{
    return m_parts->tabs.AddControlNamed(name, rect, fillBackground, border);
}

gui::IGUITab* CGuiManager::addTabPage(gui::IGUIElement* tabControl, int32_t id, const std::wstring& caption,
                                      const CColor& color, bool drawBackground)
{
    return m_parts->tabs.AddPage(tabControl, id, caption, color, drawBackground);
}

gui::IGUITab* CGuiManager::AddTabPageNamed(gui::IGUIElement* tabControl, const std::wstring& name,
                                           const std::wstring& caption, const CColor& color,
                                           bool drawBackground)
{
    return m_parts->tabs.AddPageNamed(tabControl, name, caption, color, drawBackground);
}

gui::IGUITab* CGuiManager::AddTab(int32_t id, const CRect& pixelRect, bool drawBackground,
                                  const CColor& color)
{
    return m_parts->tabs.Add(id, pixelRect, drawBackground, color);
}

gui::IGUITab* CGuiManager::AddTabNamed(const std::wstring& name, const CRect& rect, bool drawBackground,
                                       const CColor& color)
{
    return m_parts->tabs.AddNamed(name, rect, drawBackground, color);
}

void CGuiManager::SetTabPageColor(gui::IGUIElement* element, const CColor& color)
{
    m_parts->tabs.SetPageColor(*As<gui::IGUITab>(*this, element, L"SetTabPageColor"), color);
}

gui::IGUIScrollBar* CGuiManager::AddScrollBar(int32_t id, bool horizontal, const CRect& pixelRect,
                                              uint32_t maximum, int32_t position, int32_t upButtonId,
                                              int32_t downButtonId)
{
    return m_parts->scrollBars.Add(id, horizontal, pixelRect, maximum, position, upButtonId, downButtonId);
}

gui::IGUIScrollBar* CGuiManager::AddScrollBarNamed(const std::wstring& name, bool horizontal,
                                                   const CRect& rect, uint32_t maximum, int32_t position,
                                                   const std::wstring& upName, const std::wstring& downName)
{
    return m_parts->scrollBars.AddNamed(name, horizontal, rect, maximum, position, upName, downName);
}

void CGuiManager::SetScrollBarLimit(gui::IGUIElement* element, uint32_t maximum, float smallFraction,
                                    float largeFraction)
{
    m_parts->scrollBars.SetLimit(*As<gui::IGUIScrollBar>(*this, element, L"SetScrollBarLimit"), maximum,
                                 smallFraction, largeFraction);
}

void CGuiManager::SetScrollBarPos(gui::IGUIElement* element, int32_t position)
{
    m_parts->scrollBars.SetPosition(*As<gui::IGUIScrollBar>(*this, element, L"SetScrollBarPos"), position);
}

} // namespace Graphics::GUI
