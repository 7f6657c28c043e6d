#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIScrollBar;
}

namespace Graphics::GUI
{

class CGuiManager;

// What the manager does with scroll bars beyond one call of the bar itself:
// building them with their buttons' ids, steps as fractions of the maximum,
// the position with its event and the orientation kept in the attributes.
// Operations take a bar the manager has checked already.
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
    // The steps as fractions of the maximum; 0 for a maximum of 0.
    float GetSmallStep(const irr::gui::IGUIScrollBar& bar) const;
    float GetLargeStep(const irr::gui::IGUIScrollBar& bar) const;
    // The id of the up or down button; -1 when the bar has none.
    int32_t GetButtonId(const irr::gui::IGUIScrollBar& bar, bool up) const;
    bool IsHorizontal(const irr::gui::IGUIScrollBar& bar) const;
    void SetHorizontal(irr::gui::IGUIScrollBar& bar, bool horizontal);

private:
    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
