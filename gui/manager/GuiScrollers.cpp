#include "gui/manager/GuiScrollers.h"

#include "gui/manager/Scroller.h"

#include <utility>

namespace Graphics::GUI
{

void CGuiScrollers::Set(irr::gui::IGUIElement* parent, std::shared_ptr<CScroller> scroller)
{
    Remove(parent);
    m_scrollers[parent] = std::move(scroller);
}

CScroller* CGuiScrollers::Find(irr::gui::IGUIElement* parent) const
{
    const auto entry = m_scrollers.find(parent);
    return entry != m_scrollers.end() ? entry->second.get() : nullptr;
}

bool CGuiScrollers::Remove(irr::gui::IGUIElement* parent)
{
    const auto entry = m_scrollers.find(parent);
    if (entry == m_scrollers.end())
        return false;
    // Out of the map first: whatever the scroller's release sets off finds
    // it gone.
    const std::shared_ptr<CScroller> scroller = std::move(entry->second);
    m_scrollers.erase(entry);
    scroller->Detach();
    return true;
}

void CGuiScrollers::Clear()
{
    std::map<irr::gui::IGUIElement*, std::shared_ptr<CScroller>> scrollers;
    scrollers.swap(m_scrollers);
    for (auto& entry : scrollers)
        entry.second->Detach();
}

} // namespace Graphics::GUI
