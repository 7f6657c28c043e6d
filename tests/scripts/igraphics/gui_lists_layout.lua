--! stdout: CHECKS PASSED
-- List boxes, combo boxes and tables through GUI layouts from scripts: a
-- saved GUI loads back with its items, data, colours, cells and settings,
-- each box made again through the element factory by its type name; the
-- table's loaded selection tells the listeners once.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

check.eq(IGraphics:createListbox("list", "0.1 0.1 0.4 0.4", true, "listScroll", "", ""), true, "list box")
IGraphics:addListboxItem("list", "one", "first", "")
IGraphics:addListboxItem("list", "two", "", "")
IGraphics:setListboxLineColor("list", 1, IMisc:colorCreate(0, 0, 1, 1), 1)
check.eq(IGraphics:createCombobox("combo", "0.5 0.1 0.8 0.15", "", "comboList"), true, "combo box")
IGraphics:addComboboxItem("combo", "small", "s")
IGraphics:addComboboxItem("combo", "large", "l")
IGraphics:setComboMaxVisibleItems("combo", 9)
check.eq(IGraphics:createTable("table", "0.1 0.5 0.9 0.9", true), true, "table")
IGraphics:addTableColumn("table", "Name", -1)
IGraphics:addTableColumn("table", "Score", -1)
IGraphics:setTableColumnWidth("table", 1, 0.25)
for row = 0, 2 do
    IGraphics:addTableRow("table", -1)
    IGraphics:setTableCellText("table", row, 0, "player " .. row)
    IGraphics:setTableCellData("table", row, 1, "id " .. row)
end
IGraphics:setTableSelectedRow("table", 1)

for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    check.eq(IGraphics:saveGui(work .. "/lists-" .. mode .. ".kvogui", mode, true), true, "saved " .. mode)
end
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    IGraphics:removeGui()
    check.eq(IGraphics:controlExists("list"), false, "removed " .. mode)
    local events = {}
    local handle = IEvents:subscribeGui(function(name, type)
        events[#events + 1] = name .. ":" .. type
        return false
    end, nil, 0)
    check.eq(IGraphics:loadGui(work .. "/lists-" .. mode .. ".kvogui", ""), true, "loaded " .. mode)
    IEvents:unsubscribe(handle)
    check.eq(table.concat(events, " "), "table:21", "one table event " .. mode)

    check.eq(IGraphics:controlType("list"), 10, "list box type " .. mode)
    check.eq(IGraphics:getListboxCount("list"), 2, "items " .. mode)
    check.eq(IGraphics:getListboxData("list", 0), "first", "data " .. mode)
    check.eq(IGraphics:getListboxLineColor("list", 0, 1), nil, "no colour " .. mode)
    check.near(IGraphics:getListboxLineColor("list", 1, 1):getBlue(), 1, 1e-6, "colour " .. mode)
    check.eq(IGraphics:controlType("listScroll"), 14, "scroll bar name " .. mode)

    check.eq(IGraphics:controlType("combo"), 2, "combo box type " .. mode)
    check.eq(IGraphics:getComboboxSelectedText("combo"), "small", "selection " .. mode)
    check.eq(IGraphics:getComboboxData("combo", 1), "l", "combo data " .. mode)
    check.eq(IGraphics:getComboMaxVisibleItems("combo"), 9, "rows " .. mode)

    check.eq(IGraphics:controlType("table"), 19, "table type " .. mode)
    check.eq(IGraphics:getTableColumnText("table", 1), "Score", "column " .. mode)
    check.near(IGraphics:getTableColumnWidth("table", 1), 0.25, 1e-6, "width " .. mode)
    check.eq(IGraphics:getTableRowCount("table"), 3, "rows " .. mode)
    check.eq(IGraphics:getTableCellText("table", 2, 0), "player 2", "cell " .. mode)
    check.eq(IGraphics:getTableCellData("table", 2, 1), "id 2", "cell data " .. mode)
    check.eq(IGraphics:getTableSelectedRow("table"), 1, "selected row " .. mode)
end
check.done()
