#include "gui/elements/GuiTabOperations.h"

#include "core/foundation/KVOError.h"
#include "gui/elements/GuiElementSwitches.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

namespace
{
// The tab control a page is added to; anything else is refused.
gui::IGUITabControl* PageParent(gui::IGUIElement* tabControl)
{
    if (tabControl == nullptr || tabControl->getType() != gui::EGUIET_TAB_CONTROL)
        throw Misc::Error::CKVOError(L"[CGuiManager::addTabPage] Parent tab control not defined.");
    return static_cast<gui::IGUITabControl*>(tabControl);
}

} // namespace

gui::IGUITabControl* CGuiTabOperations::AddControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                                   bool border)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    return environment->addTabControl(ToPixelRect(pixelRect), m_manager.GetGuiParent(), fillBackground,
                                      border, id);
}

gui::IGUITabControl* CGuiTabOperations::AddControlNamed(const std::wstring& name, const CRect& rect,
                                                        bool fillBackground, bool border)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    return AddControl(id, m_manager.ScreenRectToPixels(rect), fillBackground, border);
}

gui::IGUITab* CGuiTabOperations::AddPage(gui::IGUIElement* tabControl, int32_t id,
                                         const std::wstring& caption, const CColor& color,
                                         bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUITab* tab = PageParent(tabControl)->addTab(caption.c_str(), id);
    if (tab == nullptr)
        return nullptr;
    tab->setID(id);
    SetUpTab(*tab, color, drawBackground);
    return tab;
}

gui::IGUITab* CGuiTabOperations::AddPageNamed(gui::IGUIElement* tabControl, const std::wstring& name,
                                              const std::wstring& caption, const CColor& color,
                                              bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    // The tab control is checked before the name is taken.
    PageParent(tabControl);
    return AddPage(tabControl, m_manager.RegisterElementName(name, 0), caption, color, drawBackground);
}

gui::IGUITab* CGuiTabOperations::Add(int32_t id, const CRect& pixelRect, bool drawBackground,
                                     const CColor& color)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    gui::IGUITab* tab = environment->addTab(ToPixelRect(pixelRect), m_manager.GetGuiParent(), id);
    if (tab == nullptr)
        return nullptr;
    SetUpTab(*tab, color, drawBackground);
    return tab;
}

gui::IGUITab* CGuiTabOperations::AddNamed(const std::wstring& name, const CRect& rect, bool drawBackground,
                                          const CColor& color)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    return Add(id, m_manager.ScreenRectToPixels(rect), drawBackground, color);
}

void CGuiTabOperations::SetUpTab(gui::IGUITab& tab, const CColor& color, bool drawBackground)
{
    SetPageColor(tab, color);
    tab.setDrawBackground(drawBackground);
}

void CGuiTabOperations::SetPageColor(gui::IGUITab& tab, const CColor& color)
{
    if (color.a > 0.000001f)
    {
        tab.setBackgroundColor(ToSColor(color));
        return;
    }
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    gui::IGUISkin* skin = environment != nullptr ? environment->getSkin() : nullptr;
    if (skin != nullptr)
        tab.setBackgroundColor(skin->getColor(gui::EGDC_3D_FACE));
}

gui::IGUITab* CGuiTabOperations::GetTab(gui::IGUITabControl& tabControl, int32_t index)
{
    if (index < 0 || index >= tabControl.getTabCount())
        return nullptr;
    return tabControl.getTab(index);
}

void CGuiTabOperations::SetActiveTab(gui::IGUITabControl& tabControl, int32_t index)
{
    if (index >= 0 && index < tabControl.getTabCount())
        tabControl.setActiveTab(index);
}

bool CGuiTabOperations::GetBackground(const gui::IGUITabControl& tabControl) const
{
    return ReadElementSwitch(m_manager, tabControl, "FillBackground");
}

void CGuiTabOperations::SetBackground(gui::IGUITabControl& tabControl, bool fill)
{
    WriteElementSwitch(m_manager, tabControl, "FillBackground", fill);
}

bool CGuiTabOperations::GetBorder(const gui::IGUITabControl& tabControl) const
{
    return ReadElementSwitch(m_manager, tabControl, "Border");
}

void CGuiTabOperations::SetBorder(gui::IGUITabControl& tabControl, bool border)
{
    WriteElementSwitch(m_manager, tabControl, "Border", border);
}

} // namespace Graphics::GUI
