// Tab controls with their pages, free-standing tabs and scroll bars. The
// settings the library keeps without accessors (a tab control's border and
// background fill, a scroll bar's orientation) go through the element's
// attributes.

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManager.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <climits>
#include <cmath>
#include <functional>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

constexpr float kDefaultSmallStep = 0.1f;
constexpr float kDefaultLargeStep = 0.2f;

bool ReadBoolAttribute(IrrlichtDevice* device, const gui::IGUIElement* element, const char* name)
{
    return IrrlichtGui::CElementAttributes(device, element).Bool(name);
}

// Writes one setting through the element's attributes. Reading them back
// resets what the element keeps (a tab control its active tab, announced
// as a change): the GUI's events are held back meanwhile.
void WriteBoolAttribute(IrrlichtDevice* device, gui::IGUIEnvironment* environment, gui::IGUIElement* element,
                        const char* name, bool value)
{
    if (device == nullptr || environment == nullptr)
        return;
    IrrlichtGui::CElementAttributes attributes(device, element);
    if (!attributes.IsRead())
        return;
    environment->setUserEventReceiver(nullptr);
    attributes.WriteBool(element, name, value);
    environment->setUserEventReceiver(device->getEventReceiver());
}

// A step fraction of the maximum: at most 0 (or not a number) the default,
// above 1 the whole; the step is at least 1.
s32 ScrollStep(uint32_t maximum, float fraction, float fallback)
{
    if (!(fraction > 0.0f))
        fraction = fallback;
    if (fraction > 1.0f)
        fraction = 1.0f;
    const double step = std::trunc(static_cast<double>(maximum) * static_cast<double>(fraction));
    if (step < 1.0)
        return 1;
    return step > static_cast<double>(INT32_MAX) ? INT32_MAX : static_cast<s32>(step);
}

} // namespace

gui::IGUITabControl* CGuiManager::AddTabControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                                bool border)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    return m_environment->addTabControl(ToPixelRect(pixelRect), GetGuiParent(), fillBackground, border, id);
}

gui::IGUITabControl* CGuiManager::AddTabControlNamed(const std::wstring& name, const CRect& rect,
                                                     bool fillBackground, bool border)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddTabControl(id, ScreenRectToPixels(rect), fillBackground, border);
}

gui::IGUITab* CGuiManager::addTabPage(gui::IGUIElement* tabControl, int32_t id, const std::wstring& caption,
                                      const CColor& color, bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_events);
    if (tabControl == nullptr || tabControl->getType() != gui::EGUIET_TAB_CONTROL)
        throw Misc::Error::CKVOError(L"[CGuiManager::addTabPage] Parent tab control not defined.");
    gui::IGUITab* tab = static_cast<gui::IGUITabControl*>(tabControl)->addTab(caption.c_str(), id);
    if (tab == nullptr)
        return nullptr;
    tab->setID(id);
    SetTabPageColor(tab, color);
    tab->setDrawBackground(drawBackground);
    return tab;
}

gui::IGUITab* CGuiManager::AddTabPageNamed(gui::IGUIElement* tabControl, const std::wstring& name,
                                           const std::wstring& caption, const CColor& color,
                                           bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_events);
    // The tab control is checked before the name is taken.
    if (tabControl == nullptr || tabControl->getType() != gui::EGUIET_TAB_CONTROL)
        throw Misc::Error::CKVOError(L"[CGuiManager::addTabPage] Parent tab control not defined.");
    return addTabPage(tabControl, RegisterElementName(name, 0), caption, color, drawBackground);
}

gui::IGUITab* CGuiManager::AddTab(int32_t id, const CRect& pixelRect, bool drawBackground,
                                  const CColor& color)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUITab* tab = m_environment->addTab(ToPixelRect(pixelRect), GetGuiParent(), id);
    if (tab == nullptr)
        return nullptr;
    SetTabPageColor(tab, color);
    tab->setDrawBackground(drawBackground);
    return tab;
}

gui::IGUITab* CGuiManager::AddTabNamed(const std::wstring& name, const CRect& rect, bool drawBackground,
                                       const CColor& color)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddTab(id, ScreenRectToPixels(rect), drawBackground, color);
}

void CGuiManager::SetTabPageColor(gui::IGUIElement* element, const CColor& color)
{
    gui::IGUITab* tab = As<gui::IGUITab>(*this, element, L"SetTabPageColor");
    if (color.a > 0.000001f)
    {
        tab->setBackgroundColor(ToSColor(color));
        return;
    }
    gui::IGUISkin* skin = m_environment != nullptr ? m_environment->getSkin() : nullptr;
    if (skin != nullptr)
        tab->setBackgroundColor(skin->getColor(gui::EGDC_3D_FACE));
}

CColor CGuiManager::GetTabPageColor(gui::IGUIElement* element)
{
    return FromSColor(As<gui::IGUITab>(*this, element, L"GetTabPageColor")->getBackgroundColor());
}

void CGuiManager::SetTabPageBackground(gui::IGUIElement* element, bool drawBackground)
{
    As<gui::IGUITab>(*this, element, L"SetTabPageBackground")->setDrawBackground(drawBackground);
}

bool CGuiManager::GetTabPageBackground(gui::IGUIElement* element)
{
    return As<gui::IGUITab>(*this, element, L"GetTabPageBackground")->isDrawingBackground();
}

int32_t CGuiManager::GetTabCount(gui::IGUIElement* element)
{
    return As<gui::IGUITabControl>(*this, element, L"GetTabCount")->getTabCount();
}

gui::IGUITab* CGuiManager::GetTab(gui::IGUIElement* element, int32_t index)
{
    gui::IGUITabControl* tabControl = As<gui::IGUITabControl>(*this, element, L"GetTab");
    if (index < 0 || index >= tabControl->getTabCount())
        return nullptr;
    return tabControl->getTab(index);
}

int32_t CGuiManager::GetActiveTab(gui::IGUIElement* element)
{
    return As<gui::IGUITabControl>(*this, element, L"GetActiveTab")->getActiveTab();
}

void CGuiManager::SetActiveTab(gui::IGUIElement* element, int32_t index)
{
    gui::IGUITabControl* tabControl = As<gui::IGUITabControl>(*this, element, L"SetActiveTab");
    if (index >= 0 && index < tabControl->getTabCount())
        tabControl->setActiveTab(index);
}

bool CGuiManager::GetTabControlBackground(gui::IGUIElement* element)
{
    return ReadBoolAttribute(m_device, As<gui::IGUITabControl>(*this, element, L"GetTabControlBackground"),
                             "FillBackground");
}

void CGuiManager::SetTabControlBackground(gui::IGUIElement* element, bool fill)
{
    WriteBoolAttribute(m_device, m_environment,
                       As<gui::IGUITabControl>(*this, element, L"SetTabControlBackground"), "FillBackground",
                       fill);
}

bool CGuiManager::GetTabControlBorder(gui::IGUIElement* element)
{
    return ReadBoolAttribute(m_device, As<gui::IGUITabControl>(*this, element, L"GetTabControlBorder"),
                             "Border");
}

void CGuiManager::SetTabControlBorder(gui::IGUIElement* element, bool border)
{
    WriteBoolAttribute(m_device, m_environment,
                       As<gui::IGUITabControl>(*this, element, L"SetTabControlBorder"), "Border", border);
}

gui::IGUIScrollBar* CGuiManager::AddScrollBar(int32_t id, bool horizontal, const CRect& pixelRect,
                                              uint32_t maximum, int32_t position, int32_t upButtonId,
                                              int32_t downButtonId)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    gui::IGUIScrollBar* bar =
        m_environment->addScrollBar(horizontal, ToPixelRect(pixelRect), GetGuiParent(), id);
    if (bar == nullptr)
        return nullptr;
    if (gui::IGUIElement* up = IrrlichtGui::ScrollBarButton(bar, 0, true); up != nullptr && upButtonId != 0)
        up->setID(upButtonId);
    if (gui::IGUIElement* down = IrrlichtGui::ScrollBarButton(bar, 1, true);
        down != nullptr && downButtonId != 0)
        down->setID(downButtonId);
    SetScrollBarLimit(bar, maximum, kDefaultSmallStep, kDefaultLargeStep);
    SetScrollBarPos(bar, position);
    return bar;
}

gui::IGUIScrollBar* CGuiManager::AddScrollBarNamed(const std::wstring& name, bool horizontal,
                                                   const CRect& rect, uint32_t maximum, int32_t position,
                                                   const std::wstring& upName, const std::wstring& downName)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    // The preferred ids follow the bar's.
    const int32_t upId = upName.empty() ? 0 : RegisterElementName(upName, IdAfter(id, 1));
    const int32_t downId = downName.empty() ? 0 : RegisterElementName(downName, IdAfter(id, 2));
    return AddScrollBar(id, horizontal, ScreenRectToPixels(rect), maximum, position, upId, downId);
}

void CGuiManager::SetScrollBarLimit(gui::IGUIElement* element, uint32_t maximum, float smallFraction,
                                    float largeFraction)
{
    gui::IGUIScrollBar* bar = As<gui::IGUIScrollBar>(*this, element, L"SetScrollBarLimit");
    // The element keeps a signed maximum.
    if (maximum > static_cast<uint32_t>(INT32_MAX))
        maximum = static_cast<uint32_t>(INT32_MAX);
    bar->setMax(static_cast<s32>(maximum));
    bar->setSmallStep(ScrollStep(maximum, smallFraction, kDefaultSmallStep));
    bar->setLargeStep(ScrollStep(maximum, largeFraction, kDefaultLargeStep));
}

void CGuiManager::SetScrollBarPos(gui::IGUIElement* element, int32_t position)
{
    gui::IGUIScrollBar* bar = As<gui::IGUIScrollBar>(*this, element, L"SetScrollBarPos");
    bar->setPos(position);
    // The same event as a change by the user; whether a subscriber handled
    // it does not matter.
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(bar->getID(), false), kGuiScrollBarChanged, 0});
}

int32_t CGuiManager::GetScrollBarPos(gui::IGUIElement* element)
{
    return As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarPos")->getPos();
}

int32_t CGuiManager::GetScrollBarMax(gui::IGUIElement* element)
{
    return As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarMax")->getMax();
}

float CGuiManager::GetScrollBarSmallStep(gui::IGUIElement* element)
{
    gui::IGUIScrollBar* bar = As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarSmallStep");
    // A maximum of 0 has no fractions.
    if (bar->getMax() == 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(bar->getSmallStep()) / bar->getMax());
}

float CGuiManager::GetScrollBarLargeStep(gui::IGUIElement* element)
{
    gui::IGUIScrollBar* bar = As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarLargeStep");
    if (bar->getMax() == 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(bar->getLargeStep()) / bar->getMax());
}

int32_t CGuiManager::GetScrollBarUpButtonId(gui::IGUIElement* element)
{
    if (element == nullptr)
        return -1;
    gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(
        As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarUpButtonId"), 0, true);
    return button != nullptr ? button->getID() : -1;
}

int32_t CGuiManager::GetScrollBarDownButtonId(gui::IGUIElement* element)
{
    if (element == nullptr)
        return -1;
    gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(
        As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarDownButtonId"), 1, true);
    return button != nullptr ? button->getID() : -1;
}

bool CGuiManager::GetScrollBarHorizontal(gui::IGUIElement* element)
{
    return ReadBoolAttribute(m_device, As<gui::IGUIScrollBar>(*this, element, L"GetScrollBarHorizontal"),
                             "Horizontal");
}

void CGuiManager::SetScrollBarHorizontal(gui::IGUIElement* element, bool horizontal)
{
    WriteBoolAttribute(m_device, m_environment,
                       As<gui::IGUIScrollBar>(*this, element, L"SetScrollBarHorizontal"), "Horizontal",
                       horizontal);
}

} // namespace Graphics::GUI
