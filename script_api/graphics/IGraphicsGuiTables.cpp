// IGraphics: tables: creation, columns, rows, cells with their texts, data
// and colours, selection with its event, and the drawing flags.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createTable(LuaState*, const std::wstring& name, const CRect& rect, bool drawBackground)
{
    return GetGui().AddTableNamed(name, rect, drawBackground) != nullptr;
}

bool getTableBackgroundEnabled(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableBackground(GetControl(name));
}

void setTableBackgroundEnabled(LuaState*, const std::wstring& name, bool draw)
{
    GetGui().SetTableBackground(GetControl(name), draw);
}

int32_t addTableColumn(LuaState*, const std::wstring& name, const std::wstring& caption, int32_t index)
{
    return GetGui().AddTableColumn(GetControl(name), caption, index);
}

void removeTableColumn(LuaState*, const std::wstring& name, int32_t column)
{
    GetGui().RemoveTableColumn(GetControl(name), column);
}

int32_t getTableColumnCount(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableColumnCount(GetControl(name));
}

std::wstring getTableColumnText(LuaState*, const std::wstring& name, int32_t column)
{
    return GetGui().GetTableColumnText(GetControl(name), column);
}

void setTableColumnText(LuaState*, const std::wstring& name, int32_t column, const std::wstring& text)
{
    GetGui().SetTableColumnText(GetControl(name), column, text);
}

float getTableColumnWidth(LuaState*, const std::wstring& name, int32_t column)
{
    return GetGui().GetTableColumnWidth(GetControl(name), column);
}

void setTableColumnWidth(LuaState*, const std::wstring& name, int32_t column, float width)
{
    GetGui().SetTableColumnWidth(GetControl(name), column, width);
}

int32_t getTableColumnOrdering(LuaState*, const std::wstring& name, int32_t column)
{
    return GetGui().GetTableColumnOrdering(GetControl(name), column);
}

void setTableColumnOrdering(LuaState*, const std::wstring& name, int32_t column, int32_t mode)
{
    GetGui().SetTableColumnOrdering(GetControl(name), column, mode);
}

int32_t getTableActiveColumn(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableActiveColumn(GetControl(name));
}

bool setTableActiveColumn(LuaState*, const std::wstring& name, int32_t column, bool order)
{
    return GetGui().SetTableActiveColumn(GetControl(name), column, order);
}

bool getTableResizableColumns(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableResizableColumns(GetControl(name));
}

void setTableResizableColumns(LuaState*, const std::wstring& name, bool resizable)
{
    GetGui().SetTableResizableColumns(GetControl(name), resizable);
}

int32_t addTableRow(LuaState*, const std::wstring& name, int32_t index)
{
    return GetGui().AddTableRow(GetControl(name), index);
}

void removeTableRow(LuaState*, const std::wstring& name, int32_t row)
{
    GetGui().RemoveTableRow(GetControl(name), row);
}

void removeTableAllRows(LuaState*, const std::wstring& name)
{
    GetGui().RemoveTableAllRows(GetControl(name));
}

int32_t getTableRowCount(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableRowCount(GetControl(name));
}

int32_t getTableSelectedRow(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableSelectedRow(GetControl(name));
}

void setTableSelectedRow(LuaState*, const std::wstring& name, int32_t row)
{
    GetGui().SetTableSelectedRow(GetControl(name), row);
}

void swapTableRows(LuaState*, const std::wstring& name, int32_t a, int32_t b)
{
    GetGui().SwapTableRows(GetControl(name), a, b);
}

void orderTable(LuaState*, const std::wstring& name, int32_t column, int32_t mode)
{
    GetGui().OrderTable(GetControl(name), column, mode);
}

std::wstring getTableCellText(LuaState*, const std::wstring& name, int32_t row, int32_t column)
{
    return GetGui().GetTableCellText(GetControl(name), row, column);
}

void setTableCellText(LuaState*, const std::wstring& name, int32_t row, int32_t column,
                      const std::wstring& text)
{
    GetGui().SetTableCellText(GetControl(name), row, column, text);
}

std::wstring getTableCellData(LuaState*, const std::wstring& name, int32_t row, int32_t column)
{
    return GetGui().GetTableCellData(GetControl(name), row, column);
}

void setTableCellData(LuaState*, const std::wstring& name, int32_t row, int32_t column,
                      const std::wstring& data)
{
    GetGui().SetTableCellData(GetControl(name), row, column, data);
}

CColor getTableCellColor(LuaState*, const std::wstring& name, int32_t row, int32_t column)
{
    return GetGui().GetTableCellColor(GetControl(name), row, column);
}

void setTableCellColor(LuaState*, const std::wstring& name, int32_t row, int32_t column, const CColor& color)
{
    GetGui().SetTableCellColor(GetControl(name), row, column, color);
}

int32_t getTableDrawFlags(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableDrawFlags(GetControl(name));
}

void setTableDrawFlags(LuaState*, const std::wstring& name, int32_t flags)
{
    GetGui().SetTableDrawFlags(GetControl(name), flags);
}

bool getTableMoveOverSelect(LuaState*, const std::wstring& name)
{
    return GetGui().GetTableMoveOverSelect(GetControl(name));
}

void setTableMoveOverSelect(LuaState*, const std::wstring& name, bool moveOverSelect)
{
    GetGui().SetTableMoveOverSelect(GetControl(name), moveOverSelect);
}

void clearTable(LuaState*, const std::wstring& name)
{
    GetGui().ClearTable(GetControl(name));
}

} // namespace

void RegisterIGraphicsGuiTables(CScriptMetaTable& table)
{
    table.RegisterHelper("createTable", &createTable);
    table.RegisterHelper("getTableBackgroundEnabled", &getTableBackgroundEnabled);
    table.RegisterHelper("setTableBackgroundEnabled", &setTableBackgroundEnabled);
    table.RegisterHelper("addTableColumn", &addTableColumn);
    table.RegisterHelper("removeTableColumn", &removeTableColumn);
    table.RegisterHelper("getTableColumnCount", &getTableColumnCount);
    table.RegisterHelper("getTableColumnText", &getTableColumnText);
    table.RegisterHelper("setTableColumnText", &setTableColumnText);
    table.RegisterHelper("getTableColumnWidth", &getTableColumnWidth);
    table.RegisterHelper("setTableColumnWidth", &setTableColumnWidth);
    table.RegisterHelper("getTableColumnOrdering", &getTableColumnOrdering);
    table.RegisterHelper("setTableColumnOrdering", &setTableColumnOrdering);
    table.RegisterHelper("getTableActiveColumn", &getTableActiveColumn);
    table.RegisterHelper("setTableActiveColumn", &setTableActiveColumn);
    table.RegisterHelper("getTableResizableColumns", &getTableResizableColumns);
    table.RegisterHelper("setTableResizableColumns", &setTableResizableColumns);
    table.RegisterHelper("addTableRow", &addTableRow);
    table.RegisterHelper("removeTableRow", &removeTableRow);
    table.RegisterHelper("removeTableAllRows", &removeTableAllRows);
    table.RegisterHelper("getTableRowCount", &getTableRowCount);
    table.RegisterHelper("getTableSelectedRow", &getTableSelectedRow);
    table.RegisterHelper("setTableSelectedRow", &setTableSelectedRow);
    table.RegisterHelper("swapTableRows", &swapTableRows);
    table.RegisterHelper("orderTable", &orderTable);
    table.RegisterHelper("getTableCellText", &getTableCellText);
    table.RegisterHelper("setTableCellText", &setTableCellText);
    table.RegisterHelper("getTableCellData", &getTableCellData);
    table.RegisterHelper("setTableCellData", &setTableCellData);
    table.RegisterHelper("getTableCellColor", &getTableCellColor);
    table.RegisterHelper("setTableCellColor", &setTableCellColor);
    table.RegisterHelper("getTableDrawFlags", &getTableDrawFlags);
    table.RegisterHelper("setTableDrawFlags", &setTableDrawFlags);
    table.RegisterHelper("getTableMoveOverSelect", &getTableMoveOverSelect);
    table.RegisterHelper("setTableMoveOverSelect", &setTableMoveOverSelect);
    table.RegisterHelper("clearTable", &clearTable);
}
