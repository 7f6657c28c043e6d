#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace Graphics::GUI
{

class CGuiManager;
class CGUITableEx;

// What the manager does with tables beyond one call of the table itself:
// building them, column widths in the screen's terms, the checked orderings
// and the selection with its event. Operations take a table the manager has
// checked already.
class CGuiTableOperations
{
public:
    // The manager names the GUI, its parent element, the screen and the
    // events' source.
    explicit CGuiTableOperations(CGuiManager& manager) : m_manager(manager) {}

    // A table under the GUI parent with its tab stop set; null without a GUI
    // environment. The named one registers the name and takes the screen
    // rule.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUITableEx* Add(int32_t id, const CRect& pixelRect, bool drawBackground);
    CGUITableEx* AddNamed(const std::wstring& name, const CRect& rect, bool drawBackground);

    // The width as a fraction of the screen width.
    float GetColumnWidth(const CGUITableEx& table, int32_t column) const;
    // Above 2.0 pixels (truncated), else a fraction of the screen width.
    void SetColumnWidth(CGUITableEx& table, int32_t column, float width);
    // Throws "[CGuiManager::SetTableColumnOrdering] Invalid column
    // ordering:%i" for a mode that is no column ordering.
    void SetColumnOrdering(CGUITableEx& table, int32_t column, int32_t mode);
    // Selects the row, then publishes the table changed event.
    void SetSelectedRow(CGUITableEx& table, int32_t row);
    // Every row goes, then the selection of none is published.
    void RemoveAllRows(CGUITableEx& table);
    // Throws "[CGuiManager::OrderTable] Invalid ordering mode:%i" for a mode
    // that is no ordering mode.
    void Order(CGUITableEx& table, int32_t column, int32_t mode);

private:
    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
