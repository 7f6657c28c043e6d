#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

class CGuiManager;
class CGUIComboBoxEx;

// What the manager does with extended combo boxes beyond one call of the
// combo box itself: building them with their parts' names and the selection
// with its event. The manager's own operations hand over a combo box they
// have checked; the one for scripts checks the element's kind itself.
class CGuiComboBoxOperations
{
public:
    // The manager names the GUI, its parent element and the events' source.
    explicit CGuiComboBoxOperations(CGuiManager& manager) : m_manager(manager) {}

    // A combo box (through the element factory) under the GUI parent; a
    // non-empty button name is registered with the id one after the combo
    // box's, a non-empty list name with the id two after it. Null without a
    // GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUIComboBoxEx* Add(const std::wstring& name, const CRect& rect, const std::wstring& buttonName,
                        const std::wstring& listName);

    // Each selects (no match: nothing), then publishes the combo box event.
    void Select(CGUIComboBoxEx& combo, int32_t index);
    void SelectByText(CGUIComboBoxEx& combo, const std::wstring& text);
    void SelectByData(CGUIComboBoxEx& combo, const std::wstring& data);

    // The most rows the open list shows; an element of another kind is
    // refused with "[CGuiManager::GetComboBoxMaxItems] Gui element is not a
    // combo box:%s".
    uint32_t GetMaxItems(irr::gui::IGUIElement* combo);

private:
    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
