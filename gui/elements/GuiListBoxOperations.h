#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace Graphics::GUI
{

class CGuiManager;
class CGUIListBoxEx;

// What the manager does with extended list boxes beyond one call of the
// list box itself: building them with their parts' names, icons by sprite
// name and the selection with its events. Operations take a list box the
// manager has checked already.
class CGuiListBoxOperations
{
public:
    // The manager names the GUI, its parent element, the sprite bank and the
    // events' source.
    explicit CGuiListBoxOperations(CGuiManager& manager) : m_manager(manager) {}

    // A list box (through the element factory) under the GUI parent; the
    // non-empty part names are registered with the ids one, two and three
    // after the list box's. Null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUIListBoxEx* Add(const std::wstring& name, const CRect& rect, bool background,
                       const std::wstring& scrollBarName, const std::wstring& upButtonName,
                       const std::wstring& downButtonName);

    // Icons are the sprite bank's entries, by name (-1 when unknown).
    int32_t AddItem(CGUIListBoxEx& list, const std::wstring& text, const std::wstring& data,
                    const std::wstring& iconName, int32_t index);
    void SetItemIcon(CGUIListBoxEx& list, int32_t index, const std::wstring& iconName);
    // "" when the item has no icon.
    std::wstring GetItemIcon(const CGUIListBoxEx& list, int32_t index) const;

    // Each selects, then publishes the list box events 8 and 9 with the list
    // box's name, also when nothing matched.
    void Select(CGUIListBoxEx& list, int32_t index);
    void SelectByText(CGUIListBoxEx& list, const std::wstring& text);
    void SelectByData(CGUIListBoxEx& list, const std::wstring& data);

private:
    void PublishSelection(const CGUIListBoxEx& list);

    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
