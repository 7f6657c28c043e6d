#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIElement;
class IGUIScrollBar;
} // namespace irr::gui

namespace Graphics::GUI
{

class CGuiManager;

// What the manager does with scroll bars beyond one call of the bar itself:
// building them with their buttons' ids, steps as fractions of the maximum,
// the position with its event and the orientation kept in the attributes.
// The manager's own operations hand over a bar they have checked; those
// for scripts check the element's kind themselves.
class CGuiScrollBarOperations
{
public:
    // The manager names the GUI, its parent element, the device and the
    // events' source.
    explicit CGuiScrollBarOperations(CGuiManager& manager) : m_manager(manager) {}

    // A scroll bar under the GUI parent; non-zero button ids go to its up
    // (left) and down (right) buttons. Steps of a tenth and a fifth of the
    // maximum, then the position (with its event).
    irr::gui::IGUIScrollBar* Add(int32_t id, bool horizontal, const CRect& pixelRect, uint32_t maximum,
                                 int32_t position, int32_t upButtonId, int32_t downButtonId);
    // Registers the bar's name, then each non-empty button name with the
    // bar's id + 1 (up) and + 2 (down) as preferred ids.
    irr::gui::IGUIScrollBar* AddNamed(const std::wstring& name, bool horizontal, const CRect& rect,
                                      uint32_t maximum, int32_t position, const std::wstring& upName,
                                      const std::wstring& downName);

    // The maximum (at most 2147483647), and each step as the maximum times
    // its fraction, truncated, at least 1: a fraction at or below 0 (or not
    // a number) takes 0.1 (small) or 0.2 (large), one above 1 takes 1.
    void SetLimit(irr::gui::IGUIScrollBar& bar, uint32_t maximum, float smallFraction, float largeFraction);
    // Sets the position, then publishes the scroll bar event.
    void SetPosition(irr::gui::IGUIScrollBar& bar, int32_t position);

    // What scripts read and change on scroll bars. Each refuses an element
    // of another kind with "[CGuiManager::<method>] Gui element is not a
    // scroll bar:%s", the method named after the operation
    // (GetScrollBarPos, GetScrollBarMax, GetScrollBarSmallStep, ...).
    int32_t GetPosition(irr::gui::IGUIElement* bar);
    int32_t GetMaximum(irr::gui::IGUIElement* bar);
    // The steps as fractions of the maximum; 0 for a maximum of 0.
    float GetSmallStep(irr::gui::IGUIElement* bar);
    float GetLargeStep(irr::gui::IGUIElement* bar);
    // The ids of the up and down buttons; -1 for a null bar or one without
    // the button.
    int32_t GetUpButtonId(irr::gui::IGUIElement* bar);
    int32_t GetDownButtonId(irr::gui::IGUIElement* bar);
    bool IsHorizontal(irr::gui::IGUIElement* bar);
    void SetHorizontal(irr::gui::IGUIElement* bar, bool horizontal);

private:
    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
