#pragma once

#include <cstddef>
#include <map>
#include <memory>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

class CScroller;

// The GUI manager's scrollers, one per parent element. A scroller is shared
// so that one removed while it steps (by a script answering a removal it
// made) lives to the end of its step.
class CGuiScrollers
{
public:
    CGuiScrollers() = default;
    ~CGuiScrollers() = default;
    CGuiScrollers(const CGuiScrollers&) = delete;
    CGuiScrollers& operator=(const CGuiScrollers&) = delete;

    // The scroller becomes the parent's, replacing (and stopping) one it
    // had.
    void Set(irr::gui::IGUIElement* parent, std::shared_ptr<CScroller> scroller);
    /// The parent's scroller, or null; owned here, valid until it is removed
    /// or replaced (Remove, Set, Clear) or its step ends, whichever is last.
    CScroller* Find(irr::gui::IGUIElement* parent) const;
    // Stops and forgets the parent's scroller; false when it had none.
    bool Remove(irr::gui::IGUIElement* parent);
    // Stops and forgets every scroller.
    void Clear();
    size_t GetCount() const { return m_scrollers.size(); }

private:
    std::map<irr::gui::IGUIElement*, std::shared_ptr<CScroller>> m_scrollers;
};

} // namespace Graphics::GUI
