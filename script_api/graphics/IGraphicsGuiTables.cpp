// IGraphics: tables: creation, columns, rows, cells with their texts, data
// and colours, selection with its event, and the drawing flags.

#include "core/script/lua/ScriptMetaTable.h"
#include "gui/manager/GuiManager.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/RectScript.h"
#include "script_api/graphics/IGraphicsGuiAccess.h"

using Graphics::GUI::CGuiManager;
using LuaPlus::LuaState;
using namespace IGraphicsGui;

namespace
{

bool createTable(LuaState*, const std::wstring& name, const CRect& rect, bool drawBackground)
{
    return GetGui().AddTableNamed(name, rect, drawBackground) != nullptr;
}

} // namespace

void RegisterIGraphicsGuiTables(CScriptMetaTable& table)
{
    table.RegisterHelper("createTable", &createTable);
    table.RegisterMethod<TheGui, Control>("getTableBackgroundEnabled", &CGuiManager::GetTableBackground);
    table.RegisterMethod<TheGui, Control>("setTableBackgroundEnabled", &CGuiManager::SetTableBackground);
    table.RegisterMethod<TheGui, Control>("addTableColumn", &CGuiManager::AddTableColumn);
    table.RegisterMethod<TheGui, Control>("removeTableColumn", &CGuiManager::RemoveTableColumn);
    table.RegisterMethod<TheGui, Control>("getTableColumnCount", &CGuiManager::GetTableColumnCount);
    table.RegisterMethod<TheGui, Control>("getTableColumnText", &CGuiManager::GetTableColumnText);
    table.RegisterMethod<TheGui, Control>("setTableColumnText", &CGuiManager::SetTableColumnText);
    table.RegisterMethod<TheGui, Control>("getTableColumnWidth", &CGuiManager::GetTableColumnWidth);
    table.RegisterMethod<TheGui, Control>("setTableColumnWidth", &CGuiManager::SetTableColumnWidth);
    table.RegisterMethod<TheGui, Control>("getTableColumnOrdering", &CGuiManager::GetTableColumnOrdering);
    table.RegisterMethod<TheGui, Control>("setTableColumnOrdering", &CGuiManager::SetTableColumnOrdering);
    table.RegisterMethod<TheGui, Control>("getTableActiveColumn", &CGuiManager::GetTableActiveColumn);
    table.RegisterMethod<TheGui, Control>("setTableActiveColumn", &CGuiManager::SetTableActiveColumn);
    table.RegisterMethod<TheGui, Control>("getTableResizableColumns", &CGuiManager::GetTableResizableColumns);
    table.RegisterMethod<TheGui, Control>("setTableResizableColumns", &CGuiManager::SetTableResizableColumns);
    table.RegisterMethod<TheGui, Control>("addTableRow", &CGuiManager::AddTableRow);
    table.RegisterMethod<TheGui, Control>("removeTableRow", &CGuiManager::RemoveTableRow);
    table.RegisterMethod<TheGui, Control>("removeTableAllRows", &CGuiManager::RemoveTableAllRows);
    table.RegisterMethod<TheGui, Control>("getTableRowCount", &CGuiManager::GetTableRowCount);
    table.RegisterMethod<TheGui, Control>("getTableSelectedRow", &CGuiManager::GetTableSelectedRow);
    table.RegisterMethod<TheGui, Control>("setTableSelectedRow", &CGuiManager::SetTableSelectedRow);
    table.RegisterMethod<TheGui, Control>("swapTableRows", &CGuiManager::SwapTableRows);
    table.RegisterMethod<TheGui, Control>("orderTable", &CGuiManager::OrderTable);
    table.RegisterMethod<TheGui, Control>("getTableCellText", &CGuiManager::GetTableCellText);
    table.RegisterMethod<TheGui, Control>("setTableCellText", &CGuiManager::SetTableCellText);
    table.RegisterMethod<TheGui, Control>("getTableCellData", &CGuiManager::GetTableCellData);
    table.RegisterMethod<TheGui, Control>("setTableCellData", &CGuiManager::SetTableCellData);
    table.RegisterMethod<TheGui, Control>("getTableCellColor", &CGuiManager::GetTableCellColor);
    table.RegisterMethod<TheGui, Control>("setTableCellColor", &CGuiManager::SetTableCellColor);
    table.RegisterMethod<TheGui, Control>("getTableDrawFlags", &CGuiManager::GetTableDrawFlags);
    table.RegisterMethod<TheGui, Control>("setTableDrawFlags", &CGuiManager::SetTableDrawFlags);
    table.RegisterMethod<TheGui, Control>("getTableMoveOverSelect", &CGuiManager::GetTableMoveOverSelect);
    table.RegisterMethod<TheGui, Control>("setTableMoveOverSelect", &CGuiManager::SetTableMoveOverSelect);
    table.RegisterMethod<TheGui, Control>("clearTable", &CGuiManager::ClearTable);
}
