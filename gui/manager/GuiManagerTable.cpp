// The manager's table operations: each checks that the element is a table,
// then asks the table itself or the table operations.

#include "gui/elements/GUITableEx.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/elements/GuiElementKinds.h"

namespace Graphics::GUI
{

using namespace irr;

CGUITableEx* CGuiManager::AddTableNamed(const std::wstring& name, const CRect& rect, bool drawBackground)
{
    return m_parts->tables.AddNamed(name, rect, drawBackground);
}

CGUITableEx* CGuiManager::AddTable(int32_t id, const CRect& pixelRect, bool drawBackground)
{
    return m_parts->tables.Add(id, pixelRect, drawBackground);
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
    return m_parts->tables.GetColumnWidth(*As<CGUITableEx>(*this, table, L"GetTableColumnWidth"), column);
}

void CGuiManager::SetTableColumnWidth(gui::IGUIElement* table, int32_t column, float width)
{
    m_parts->tables.SetColumnWidth(*As<CGUITableEx>(*this, table, L"SetTableColumnWidth"), column, width);
}

int32_t CGuiManager::GetTableColumnOrdering(gui::IGUIElement* table, int32_t column)
{
    return As<CGUITableEx>(*this, table, L"GetTableColumnOrdering")->GetColumnOrdering(column);
}

void CGuiManager::SetTableColumnOrdering(gui::IGUIElement* table, int32_t column, int32_t mode)
{
    m_parts->tables.SetColumnOrdering(*As<CGUITableEx>(*this, table, L"SetTableColumnOrdering"), column,
                                      mode);
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
    m_parts->tables.SetSelectedRow(*As<CGUITableEx>(*this, table, L"SetTableSelectedRow"), row);
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
    m_parts->tables.RemoveAllRows(*As<CGUITableEx>(*this, table, L"RemoveTableAllRows"));
}

void CGuiManager::SwapTableRows(gui::IGUIElement* table, int32_t a, int32_t b)
{
    As<CGUITableEx>(*this, table, L"SwapTableRows")->SwapRows(a, b);
}

void CGuiManager::OrderTable(gui::IGUIElement* table, int32_t column, int32_t mode)
{
    m_parts->tables.Order(*As<CGUITableEx>(*this, table, L"OrderTable"), column, mode);
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
