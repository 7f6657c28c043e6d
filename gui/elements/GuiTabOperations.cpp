#include "gui/elements/GuiTabOperations.h"

#include "core/foundation/KVOError.h"
#include "gui/elements/GuiElementKinds.h"
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

int32_t CGuiTabOperations::GetCount(gui::IGUIElement* tabControl)
{
    return As<gui::IGUITabControl>(m_manager, tabControl, L"GetTabCount")->getTabCount();
}

gui::IGUITab* CGuiTabOperations::GetTab(gui::IGUIElement* tabControl, int32_t index)
{
    gui::IGUITabControl* control = As<gui::IGUITabControl>(m_manager, tabControl, L"GetTab");
    if (index < 0 || index >= control->getTabCount())
        return nullptr;
    return control->getTab(index);
}

int32_t CGuiTabOperations::GetActiveTab(gui::IGUIElement* tabControl)
{
    return As<gui::IGUITabControl>(m_manager, tabControl, L"GetActiveTab")->getActiveTab();
}

void CGuiTabOperations::SetActiveTab(gui::IGUIElement* tabControl, int32_t index)
{
    gui::IGUITabControl* control = As<gui::IGUITabControl>(m_manager, tabControl, L"SetActiveTab");
    if (index >= 0 && index < control->getTabCount())
        control->setActiveTab(index);
}

bool CGuiTabOperations::GetControlBackground(gui::IGUIElement* tabControl)
{
    return ReadElementSwitch(m_manager,
                             *As<gui::IGUITabControl>(m_manager, tabControl, L"GetTabControlBackground"),
                             "FillBackground");
}

void CGuiTabOperations::SetControlBackground(gui::IGUIElement* tabControl, bool fill)
{
    WriteElementSwitch(m_manager, *As<gui::IGUITabControl>(m_manager, tabControl, L"SetTabControlBackground"),
                       "FillBackground", fill);
}

bool CGuiTabOperations::GetControlBorder(gui::IGUIElement* tabControl)
{
    return ReadElementSwitch(
        m_manager, *As<gui::IGUITabControl>(m_manager, tabControl, L"GetTabControlBorder"), "Border");
}

void CGuiTabOperations::SetControlBorder(gui::IGUIElement* tabControl, bool border)
{
    WriteElementSwitch(m_manager, *As<gui::IGUITabControl>(m_manager, tabControl, L"SetTabControlBorder"),
                       "Border", border);
}

CColor CGuiTabOperations::GetPageColor(gui::IGUIElement* tab)
{
    return FromSColor(As<gui::IGUITab>(m_manager, tab, L"GetTabPageColor")->getBackgroundColor());
}

bool CGuiTabOperations::GetPageBackground(gui::IGUIElement* tab)
{
    return As<gui::IGUITab>(m_manager, tab, L"GetTabPageBackground")->isDrawingBackground();
}

void CGuiTabOperations::SetPageBackground(gui::IGUIElement* tab, bool drawBackground)
{
    As<gui::IGUITab>(m_manager, tab, L"SetTabPageBackground")->setDrawBackground(drawBackground);
}

} // namespace Graphics::GUI
