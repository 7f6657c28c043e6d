#include "gui/elements/GuiTableOperations.h"

#include "core/foundation/KVOError.h"
#include "gui/elements/GUITableEx.h"
#include "gui/elements/GuiElementEvents.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

namespace
{
// A column width above 2.0 is pixels; 2.0 and below a fraction of the
// screen width. Truncated; negative or not a number is 0.
uint32_t ColumnWidthToPixels(float width, uint32_t screenWidth)
{
    const double pixels =
        width > 2.0f ? static_cast<double>(width) : static_cast<double>(width) * screenWidth;
    const int32_t whole = Misc::ToPixels(pixels);
    return whole > 0 ? static_cast<uint32_t>(whole) : 0;
}

} // namespace

CGUITableEx* CGuiTableOperations::AddNamed(const std::wstring& name, const CRect& rect, bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    return Add(id, m_manager.ScreenRectToPixels(rect), drawBackground);
}

CGUITableEx* CGuiTableOperations::Add(int32_t id, const CRect& pixelRect, bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    auto* table =
        new CGUITableEx(environment, m_manager.GetGuiParent(), ToPixelRect(pixelRect), drawBackground);
    // The parent holds the table from here on.
    table->drop();
    table->setID(id);
    table->setTabStop(true);
    return table;
}

float CGuiTableOperations::GetColumnWidth(const CGUITableEx& table, int32_t column) const
{
    return PixelsToFraction(table.GetColumnWidth(column), m_manager.GetScreenWidth());
}

void CGuiTableOperations::SetColumnWidth(CGUITableEx& table, int32_t column, float width)
{
    table.SetColumnWidth(column, ColumnWidthToPixels(width, m_manager.GetScreenWidth()));
}

void CGuiTableOperations::SetColumnOrdering(CGUITableEx& table, int32_t column, int32_t mode)
{
    // The library names each mode when it writes a table out: a number past
    // its names would be read beyond them.
    if (!table.SetColumnOrdering(column, mode))
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::SetTableColumnOrdering] Invalid column ordering:%i", mode);
}

void CGuiTableOperations::SetSelectedRow(CGUITableEx& table, int32_t row)
{
    table.SetSelected(row);
    PublishElementEvent(m_manager, table, kGuiTableChanged);
}

void CGuiTableOperations::RemoveAllRows(CGUITableEx& table)
{
    table.ClearRows();
    SetSelectedRow(table, -1);
}

void CGuiTableOperations::Order(CGUITableEx& table, int32_t column, int32_t mode)
{
    if (mode < 0 || mode >= gui::EGOM_COUNT)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::OrderTable] Invalid ordering mode:%i", mode);
    table.OrderRows(column, mode);
}

} // namespace Graphics::GUI
