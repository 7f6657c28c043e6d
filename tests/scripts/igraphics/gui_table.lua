--! stdout: CHECKS PASSED
-- Tables: columns added, renamed, sized by the width rule and ordered;
-- rows and cells with texts, data and colours; data that stays with its
-- row through swaps, sorting and settings that rebuild the table; the
-- selection and its table event (type 21).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createTable("table", "0.1 0.1 0.9 0.9", true), true, "created")
check.eq(IGraphics:controlType("table"), 19, "table type")
check.eq(IGraphics:getControlTabStop("table"), true, "a tab stop")
check.eq(IGraphics:getTableBackgroundEnabled("table"), true, "background as created")

-- Columns: -1 and indices past the end append; 0 inserts in front.
check.eq(IGraphics:addTableColumn("table", "Name", -1), 0, "first column")
check.eq(IGraphics:addTableColumn("table", "Score", 7), 1, "past the end appends")
check.eq(IGraphics:addTableColumn("table", "Rank", 0), 0, "inserted in front")
check.eq(IGraphics:getTableColumnCount("table"), 3, "three columns")
check.eq(IGraphics:getTableColumnText("table", 0), "Rank", "front column")
check.eq(IGraphics:getTableColumnText("table", 2), "Score", "last column")
check.eq(IGraphics:getTableColumnText("table", 3), "", "no such column")

-- Widths: above 2.0 pixels, else a fraction of the 800-pixel screen.
local widths = {{0.5, 400}, {120, 120}, {2.0, 1600}, {150.9, 150}}
for _, case in ipairs(widths) do
    IGraphics:setTableColumnWidth("table", 1, case[1])
    check.near(IGraphics:getTableColumnWidth("table", 1), case[2] / 800, 1e-6, "width " .. case[1])
end

-- Ordering modes, and modes that are none.
IGraphics:setTableColumnOrdering("table", 2, 3)
check.eq(IGraphics:getTableColumnOrdering("table", 2), 3, "descending")
check.eq(IGraphics:getTableColumnOrdering("table", 0), 0, "none by default")
check.raises("[CGuiManager::SetTableColumnOrdering] Invalid column ordering:99",
    function() IGraphics:setTableColumnOrdering("table", 2, 99) end)
check.eq(IGraphics:getTableColumnOrdering("table", 2), 3, "an invalid mode changes nothing")

-- Rows and cells.
check.eq(IGraphics:addTableRow("table", -1), 0, "first row")
check.eq(IGraphics:addTableRow("table", 5), 1, "past the end appends")
check.eq(IGraphics:addTableRow("table", 0), 0, "inserted in front")
check.eq(IGraphics:getTableRowCount("table"), 3, "three rows")
local rows = {{"1", "carol", "30"}, {"2", "alice", "10"}, {"3", "bob", "20"}}
for row, cells in ipairs(rows) do
    for column, text in ipairs(cells) do
        IGraphics:setTableCellText("table", row - 1, column - 1, text)
        IGraphics:setTableCellData("table", row - 1, column - 1, "data " .. text)
    end
end
check.eq(IGraphics:getTableCellText("table", 1, 1), "alice", "cell text")
check.eq(IGraphics:getTableCellData("table", 1, 1), "data alice", "cell data")
IGraphics:setTableCellColor("table", 2, 1, IMisc:colorCreate(0, 1, 0, 1))
local color = IGraphics:getTableCellColor("table", 2, 1)
check.near(color:getGreen(), 1, 1e-6, "green")
check.near(color:getRed(), 0, 1e-6, "no red")
check.near(color:getAlpha(), 1, 1e-6, "opaque")

-- Data stays with its row: swaps, sorting, renaming a column and the
-- settings the table is rebuilt for.
IGraphics:swapTableRows("table", 0, 2)
check.eq(IGraphics:getTableCellText("table", 0, 1), "bob", "swapped text")
check.eq(IGraphics:getTableCellData("table", 0, 1), "data bob", "swapped data")
IGraphics:orderTable("table", 1, 1)
local sorted = {}
for row = 0, 2 do
    sorted[#sorted + 1] = IGraphics:getTableCellText("table", row, 1) .. "/" .. IGraphics:getTableCellData("table", row, 2)
end
check.eq(table.concat(sorted, " "), "alice/data 10 bob/data 20 carol/data 30", "sorted with the data")
events = {}
IGraphics:setTableSelectedRow("table", 1)
IGraphics:setTableColumnText("table", 1, "Player")
IGraphics:setTableMoveOverSelect("table", true)
IGraphics:setTableBackgroundEnabled("table", false)
check.eq(IGraphics:getTableColumnText("table", 1), "Player", "renamed")
check.eq(IGraphics:getTableMoveOverSelect("table"), true, "move-over-select on")
check.eq(IGraphics:getTableBackgroundEnabled("table"), false, "background off")
check.eq(IGraphics:getTableCellData("table", 2, 1), "data carol", "data kept through the rebuilds")
check.eq(IGraphics:getTableSelectedRow("table"), 1, "selection kept")
check.eq(IGraphics:getTableColumnOrdering("table", 2), 3, "ordering kept")
check.near(IGraphics:getTableCellColor("table", 1, 1):getGreen(), 1, 1e-6, "colour kept with bob's row")
check.eq(table.concat(events, " "), "table:21", "only the selection told the listeners")

-- Active column, resizing, flags.
check.eq(IGraphics:setTableActiveColumn("table", 2, false), true, "column 2 active")
check.eq(IGraphics:getTableActiveColumn("table"), 2, "active column")
check.eq(IGraphics:setTableActiveColumn("table", 9, true), false, "no column 9")
IGraphics:setTableResizableColumns("table", false)
check.eq(IGraphics:getTableResizableColumns("table"), false, "not resizable")
IGraphics:setTableDrawFlags("table", 5)
check.eq(IGraphics:getTableDrawFlags("table"), 5, "draw flags")

-- Removing rows and columns.
IGraphics:removeTableRow("table", 0)
check.eq(IGraphics:getTableCellData("table", 0, 1), "data bob", "later rows move up with their data")
IGraphics:removeTableColumn("table", 0)
check.eq(IGraphics:getTableCellText("table", 0, 0), "bob", "columns move left")
check.eq(IGraphics:getTableCellData("table", 0, 1), "data 20", "with their data")
events = {}
IGraphics:removeTableAllRows("table")
check.eq(IGraphics:getTableRowCount("table"), 0, "no rows")
check.eq(IGraphics:getTableSelectedRow("table"), -1, "nothing selected")
check.eq(table.concat(events, " "), "table:21", "clearing the rows tells the listeners")
check.eq(IGraphics:getTableColumnCount("table"), 2, "columns stay")
IGraphics:clearTable("table")
check.eq(IGraphics:getTableColumnCount("table"), 0, "columns gone")

-- Outside the table nothing changes and nothing breaks.
IGraphics:addTableColumn("table", "A", -1)
IGraphics:addTableRow("table", -1)
for _, index in ipairs({-1, 1, 2 ^ 31, -(2 ^ 31), 1e300, 0 / 0, 1 / 0}) do
    IGraphics:setTableCellText("table", index, index, "x")
    IGraphics:setTableCellData("table", index, 5, "x")
    IGraphics:setTableCellColor("table", 3, index, IMisc:colorCreate(1, 1, 1, 1))
    IGraphics:swapTableRows("table", index, 0)
    IGraphics:removeTableRow("table", index == index and index or 7)
    IGraphics:removeTableColumn("table", 4)
    IGraphics:setTableColumnWidth("table", 7, index)
    IGraphics:setTableSelectedRow("table", index ~= 0 and index or 3)
    check.eq(IGraphics:getTableCellData("table", index ~= 0 and index or 9, 0), "", "no data outside " .. index)
end
check.eq(IGraphics:getTableRowCount("table"), 1, "row kept")
check.eq(IGraphics:getTableSelectedRow("table"), -1, "nothing selected outside the rows")
IGraphics:setTableColumnWidth("table", 0, 0 / 0)
IGraphics:setTableColumnWidth("table", 0, 1e30)
IGraphics:setTableColumnWidth("table", 0, -5)
check.raises("[CGuiManager::OrderTable] Invalid ordering mode:7", function() IGraphics:orderTable("table", 0, 7) end)

-- Only tables have these; a removed table is unknown.
IGraphics:createCheckbox("box", "", "0 0 0.1 0.1", false)
check.raises("[CGuiManager::GetTableRowCount] Gui element is not a table:box",
    function() IGraphics:getTableRowCount("box") end)
IGraphics:removeControl("table")
check.raises("[CGuiManager::GetElement] Cannot find gui element:table",
    function() IGraphics:getTableRowCount("table") end)

IEvents:unsubscribe(handle)
check.done()
