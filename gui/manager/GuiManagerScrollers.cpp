// The GUI manager's scrollers: one per parent element, each moving the
// parent's children on the graphics tick.

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManagerParts.h"

#include <cmath>

namespace Graphics::GUI
{

using TickChannel = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsTick>;

bool CGuiManager::AddScroller(irr::gui::IGUIElement* parent, float speedX, float speedY, uint32_t period,
                              bool removeWhenOut)
{
    if (parent == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::AddScroller] Invalid parent element");
    // A speed that is no number would carry every child to nowhere.
    if (!std::isfinite(speedX) || !std::isfinite(speedY))
        throw Misc::Error::CKVOError(L"[CGuiManager::AddScroller] Invalid scroller speed");
    const uint32_t nextDue = m_host != nullptr ? m_host->GetNextDueTime() : 0;
    auto scroller = std::make_shared<CScroller>(this, parent, speedX, speedY, period, removeWhenOut, nextDue);
    m_parts->scrollers.Set(parent, scroller);
    TickChannel::Subscribe(scroller.get(), 0);
    return true;
}

void CGuiManager::AddToScroller(irr::gui::IGUIElement* element, irr::gui::IGUIElement* parent)
{
    if (parent == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::AddToScroller] Invalid parent element");
    if (element == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::AddToScroller] Invalid element");
    CScroller* scroller = m_parts->scrollers.Find(parent);
    if (scroller == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::AddToScroller] Scroller does not exist");
    scroller->Add(element);
}

} // namespace Graphics::GUI
