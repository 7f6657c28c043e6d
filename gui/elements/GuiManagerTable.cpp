// Tables: built under the GUI parent, and their columns, rows and cells
// read and changed for scripts and layouts.

#include "core/foundation/KVOError.h"
#include "gui/elements/GUITableEx.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManager.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <cmath>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

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

CGUITableEx* CGuiManager::AddTableNamed(const std::wstring& name, const CRect& rect, bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddTable(id, ScreenRectToPixels(rect), drawBackground);
}

CGUITableEx* CGuiManager::AddTable(int32_t id, const CRect& pixelRect, bool drawBackground)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    auto* table = new CGUITableEx(m_environment, GetGuiParent(), ToPixelRect(pixelRect), drawBackground);
    // The parent holds the table from here on.
    table->drop();
    table->setID(id);
    table->setTabStop(true);
    return table;
}

int32_t CGuiManager::AddTableColumn(gui::IGUIElement* table, const std::wstring& caption, int32_t index)
{
    return As<CGUITableEx>(*this, table, L"AddTableColumn")->AddColumn(caption, index);
}

void CGuiManager::RemoveTableColumn(gui::IGUIElement* table, int32_t column)
{
    As<CGUITableEx>(*this, table, L"RemoveTableColumn")->RemoveColumn(column);
}

int32_t CGuiManager::GetTableColumnCount(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableColumnCount")->GetColumnCount();
}

std::wstring CGuiManager::GetTableColumnText(gui::IGUIElement* table, int32_t column)
{
    return As<CGUITableEx>(*this, table, L"GetTableColumnText")->GetColumnText(column);
}

void CGuiManager::SetTableColumnText(gui::IGUIElement* table, int32_t column, const std::wstring& text)
{
    As<CGUITableEx>(*this, table, L"SetTableColumnText")->SetColumnText(column, text);
}

float CGuiManager::GetTableColumnWidth(gui::IGUIElement* table, int32_t column)
{
    return PixelsToFraction(As<CGUITableEx>(*this, table, L"GetTableColumnWidth")->GetColumnWidth(column),
                            GetScreenWidth());
}

void CGuiManager::SetTableColumnWidth(gui::IGUIElement* table, int32_t column, float width)
{
    As<CGUITableEx>(*this, table, L"SetTableColumnWidth")
        ->SetColumnWidth(column, ColumnWidthToPixels(width, GetScreenWidth()));
}

int32_t CGuiManager::GetTableColumnOrdering(gui::IGUIElement* table, int32_t column)
{
    return As<CGUITableEx>(*this, table, L"GetTableColumnOrdering")->GetColumnOrdering(column);
}

void CGuiManager::SetTableColumnOrdering(gui::IGUIElement* table, int32_t column, int32_t mode)
{
    // The library names each mode when it writes a table out: a number past
    // its names would be read beyond them.
    if (!As<CGUITableEx>(*this, table, L"SetTableColumnOrdering")->SetColumnOrdering(column, mode))
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::SetTableColumnOrdering] Invalid column ordering:%i", mode);
}

int32_t CGuiManager::GetTableActiveColumn(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableActiveColumn")->GetActiveColumn();
}

bool CGuiManager::SetTableActiveColumn(gui::IGUIElement* table, int32_t column, bool order)
{
    return As<CGUITableEx>(*this, table, L"SetTableActiveColumn")->SetActiveColumn(column, order);
}

bool CGuiManager::GetTableResizableColumns(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableResizableColumns")->HasResizableColumns();
}

void CGuiManager::SetTableResizableColumns(gui::IGUIElement* table, bool resizable)
{
    As<CGUITableEx>(*this, table, L"SetTableResizableColumns")->SetResizableColumns(resizable);
}

int32_t CGuiManager::GetTableSelectedRow(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableSelectedRow")->GetSelected();
}

void CGuiManager::SetTableSelectedRow(gui::IGUIElement* table, int32_t row)
{
    As<CGUITableEx>(*this, table, L"SetTableSelectedRow")->SetSelected(row);
    // Whether a subscriber handled it does not matter.
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(table->getID(), false), kGuiTableChanged, 0});
}

int32_t CGuiManager::GetTableRowCount(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableRowCount")->GetRowCount();
}

int32_t CGuiManager::AddTableRow(gui::IGUIElement* table, int32_t index)
{
    return As<CGUITableEx>(*this, table, L"AddTableRow")->AddRow(index);
}

void CGuiManager::RemoveTableRow(gui::IGUIElement* table, int32_t row)
{
    As<CGUITableEx>(*this, table, L"RemoveTableRow")->RemoveRow(row);
}

void CGuiManager::RemoveTableAllRows(gui::IGUIElement* table)
{
    As<CGUITableEx>(*this, table, L"RemoveTableAllRows")->ClearRows();
    SetTableSelectedRow(table, -1);
}

void CGuiManager::SwapTableRows(gui::IGUIElement* table, int32_t a, int32_t b)
{
    As<CGUITableEx>(*this, table, L"SwapTableRows")->SwapRows(a, b);
}

void CGuiManager::OrderTable(gui::IGUIElement* table, int32_t column, int32_t mode)
{
    CGUITableEx* tableEx = As<CGUITableEx>(*this, table, L"OrderTable");
    if (mode < 0 || mode >= gui::EGOM_COUNT)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::OrderTable] Invalid ordering mode:%i", mode);
    tableEx->OrderRows(column, mode);
}

std::wstring CGuiManager::GetTableCellText(gui::IGUIElement* table, int32_t row, int32_t column)
{
    return As<CGUITableEx>(*this, table, L"GetTableCellText")->GetCellText(row, column);
}

void CGuiManager::SetTableCellText(gui::IGUIElement* table, int32_t row, int32_t column,
                                   const std::wstring& text)
{
    As<CGUITableEx>(*this, table, L"SetTableCellText")->SetCellText(row, column, text);
}

std::wstring CGuiManager::GetTableCellData(gui::IGUIElement* table, int32_t row, int32_t column)
{
    return As<CGUITableEx>(*this, table, L"GetTableCellData")->GetCellData(row, column);
}

void CGuiManager::SetTableCellData(gui::IGUIElement* table, int32_t row, int32_t column,
                                   const std::wstring& data)
{
    As<CGUITableEx>(*this, table, L"SetTableCellData")->SetCellData(row, column, data);
}

CColor CGuiManager::GetTableCellColor(gui::IGUIElement* table, int32_t row, int32_t column)
{
    return FromSColor(As<CGUITableEx>(*this, table, L"GetTableCellColor")->GetCellColor(row, column));
}

void CGuiManager::SetTableCellColor(gui::IGUIElement* table, int32_t row, int32_t column, const CColor& color)
{
    As<CGUITableEx>(*this, table, L"SetTableCellColor")->SetCellColor(row, column, ToSColor(color));
}

int32_t CGuiManager::GetTableDrawFlags(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableDrawFlags")->GetDrawFlags();
}

void CGuiManager::SetTableDrawFlags(gui::IGUIElement* table, int32_t flags)
{
    As<CGUITableEx>(*this, table, L"SetTableDrawFlags")->SetDrawFlags(flags);
}

bool CGuiManager::GetTableBackground(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableBackground")->GetDrawBackground();
}

void CGuiManager::SetTableBackground(gui::IGUIElement* table, bool draw)
{
    As<CGUITableEx>(*this, table, L"SetTableBackground")->SetDrawBackground(draw);
}

bool CGuiManager::GetTableMoveOverSelect(gui::IGUIElement* table)
{
    return As<CGUITableEx>(*this, table, L"GetTableMoveOverSelect")->GetMoveOverSelect();
}

void CGuiManager::SetTableMoveOverSelect(gui::IGUIElement* table, bool moveOverSelect)
{
    As<CGUITableEx>(*this, table, L"SetTableMoveOverSelect")->SetMoveOverSelect(moveOverSelect);
}

void CGuiManager::ClearTable(gui::IGUIElement* table)
{
    As<CGUITableEx>(*this, table, L"ClearTable")->Clear();
}

} // namespace Graphics::GUI
