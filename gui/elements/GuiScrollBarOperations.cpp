#include "gui/elements/GuiScrollBarOperations.h"

#include "gui/elements/GuiElementEvents.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/elements/GuiElementSwitches.h"
#include "gui/manager/GuiIdSet.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <climits>
#include <cmath>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

constexpr float kDefaultSmallStep = 0.1f;
constexpr float kDefaultLargeStep = 0.2f;

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

float StepFraction(s32 step, s32 maximum)
{
    // A maximum of 0 has no fractions.
    if (maximum == 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(step) / maximum);
}

// The id of the bar's up or down button; -1 when it has none.
int32_t ButtonId(const gui::IGUIScrollBar& bar, bool up)
{
    const gui::IGUIElement* button = IrrlichtGui::ScrollBarButton(&bar, up ? 0 : 1, true);
    return button != nullptr ? button->getID() : -1;
}

} // namespace

gui::IGUIScrollBar* CGuiScrollBarOperations::Add(int32_t id, bool horizontal, const CRect& pixelRect,
                                                 uint32_t maximum, int32_t position, int32_t upButtonId,
                                                 int32_t downButtonId)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    gui::IGUIScrollBar* bar =
        environment->addScrollBar(horizontal, ToPixelRect(pixelRect), m_manager.GetGuiParent(), id);
    if (bar == nullptr)
        return nullptr;
    if (gui::IGUIElement* up = IrrlichtGui::ScrollBarButton(bar, 0, true); up != nullptr && upButtonId != 0)
        up->setID(upButtonId);
    if (gui::IGUIElement* down = IrrlichtGui::ScrollBarButton(bar, 1, true);
        down != nullptr && downButtonId != 0)
        down->setID(downButtonId);
    SetLimit(*bar, maximum, kDefaultSmallStep, kDefaultLargeStep);
    SetPosition(*bar, position);
    return bar;
}

gui::IGUIScrollBar* CGuiScrollBarOperations::AddNamed(const std::wstring& name, bool horizontal,
                                                      const CRect& rect, uint32_t maximum, int32_t position,
                                                      const std::wstring& upName,
                                                      const std::wstring& downName)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    // The preferred ids follow the bar's.
    const int32_t upId = upName.empty() ? 0 : m_manager.RegisterElementName(upName, IdAfter(id, 1));
    const int32_t downId = downName.empty() ? 0 : m_manager.RegisterElementName(downName, IdAfter(id, 2));
    return Add(id, horizontal, m_manager.ScreenRectToPixels(rect), maximum, position, upId, downId);
}

void CGuiScrollBarOperations::SetLimit(gui::IGUIScrollBar& bar, uint32_t maximum, float smallFraction,
                                       float largeFraction)
{
    // The element keeps a signed maximum.
    if (maximum > static_cast<uint32_t>(INT32_MAX))
        maximum = static_cast<uint32_t>(INT32_MAX);
    bar.setMax(static_cast<s32>(maximum));
    bar.setSmallStep(ScrollStep(maximum, smallFraction, kDefaultSmallStep));
    bar.setLargeStep(ScrollStep(maximum, largeFraction, kDefaultLargeStep));
}

void CGuiScrollBarOperations::SetPosition(gui::IGUIScrollBar& bar, int32_t position)
{
    bar.setPos(position);
    PublishElementEvent(m_manager, bar, kGuiScrollBarChanged);
}

int32_t CGuiScrollBarOperations::GetPosition(gui::IGUIElement* bar)
{
    return As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarPos")->getPos();
}

int32_t CGuiScrollBarOperations::GetMaximum(gui::IGUIElement* bar)
{
    return As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarMax")->getMax();
}

float CGuiScrollBarOperations::GetSmallStep(gui::IGUIElement* bar)
{
    const gui::IGUIScrollBar* scrollBar = As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarSmallStep");
    return StepFraction(scrollBar->getSmallStep(), scrollBar->getMax());
}

float CGuiScrollBarOperations::GetLargeStep(gui::IGUIElement* bar)
{
    const gui::IGUIScrollBar* scrollBar = As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarLargeStep");
    return StepFraction(scrollBar->getLargeStep(), scrollBar->getMax());
}

int32_t CGuiScrollBarOperations::GetUpButtonId(gui::IGUIElement* bar)
{
    if (bar == nullptr)
        return -1;
    return ButtonId(*As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarUpButtonId"), true);
}

int32_t CGuiScrollBarOperations::GetDownButtonId(gui::IGUIElement* bar)
{
    if (bar == nullptr)
        return -1;
    return ButtonId(*As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarDownButtonId"), false);
}

bool CGuiScrollBarOperations::IsHorizontal(gui::IGUIElement* bar)
{
    return ReadElementSwitch(m_manager, *As<gui::IGUIScrollBar>(m_manager, bar, L"GetScrollBarHorizontal"),
                             "Horizontal");
}

void CGuiScrollBarOperations::SetHorizontal(gui::IGUIElement* bar, bool horizontal)
{
    WriteElementSwitch(m_manager, *As<gui::IGUIScrollBar>(m_manager, bar, L"SetScrollBarHorizontal"),
                       "Horizontal", horizontal);
}

} // namespace Graphics::GUI
