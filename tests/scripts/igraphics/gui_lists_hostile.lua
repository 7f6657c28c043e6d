--! stdout: CHECKS PASSED
-- Hostile arguments for the list box, combo box and table functions: wrong
-- types, NaN and huge numbers, indices out of range, removed controls,
-- controls of another kind, calls from coroutines, and listeners of the
-- selection events that fail. Each call returns or raises an error in the
-- "[Class::Method] ..." form; the controls stay usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local functions = {
    "createCombobox", "createListbox", "setListboxBackgroundVisible", "getListboxBackgroundVisible",
    "getListboxCount", "setListboxText", "setListboxIcon", "getListboxText", "findListboxText",
    "getListboxData", "findListboxData", "getListboxIcon", "setListboxLineColor", "getListboxLineColor",
    "clearListboxLineColor", "getListboxSelection", "setListboxSelection", "setListboxSelectedText",
    "setListboxSelectedData", "getListboxSelectedText", "getListboxSelectedData", "addListboxItem",
    "insertListboxItem", "setListboxData", "removeListboxItem", "clearListbox", "makeListboxItemVisible",
    "getComboboxCount", "setComboMaxVisibleItems", "getComboMaxVisibleItems", "setComboboxText",
    "getComboboxText", "findComboboxText", "getComboboxData", "setComboboxData", "findComboboxData",
    "getComboboxSelection", "setComboboxSelection", "getComboboxSelectedText", "getComboboxSelectedData",
    "setComboboxSelectedText", "setComboboxSelectedData", "addComboboxItem", "insertComboboxItem",
    "removeComboboxItem", "clearCombobox",
    "createTable", "getTableBackgroundEnabled", "setTableBackgroundEnabled", "addTableColumn",
    "removeTableColumn", "getTableColumnCount", "getTableColumnText", "setTableColumnText",
    "getTableColumnWidth", "setTableColumnWidth", "getTableColumnOrdering", "setTableColumnOrdering",
    "getTableActiveColumn", "setTableActiveColumn", "getTableResizableColumns", "setTableResizableColumns",
    "addTableRow", "removeTableRow", "removeTableAllRows", "getTableRowCount", "getTableSelectedRow",
    "setTableSelectedRow", "swapTableRows", "orderTable", "getTableCellText", "setTableCellText",
    "getTableCellData", "setTableCellData", "getTableCellColor", "setTableCellColor", "getTableDrawFlags",
    "setTableDrawFlags", "getTableMoveOverSelect", "setTableMoveOverSelect", "clearTable",
}
for _, name in ipairs(functions) do
    check.eq(type(IGraphics[name]), "function", name .. " is registered")
end

local hostile = H.values({
    1, 2, 2 ^ 32, "list", "combo", "table", "box", "gone", "0.5 0.5", IMisc:colorCreate(1, 0, 0, 1),
    IMisc:rectCreate(0.1, 0.1, 0.2, 0.2),
})

-- Listeners of the selection events: one fails every other time, one
-- removes the control the event names now and then.
local selection = {[8] = true, [9] = true, [19] = true, [21] = true}
local count = 0
local failing = IEvents:subscribeGui(function(name, type)
    if not selection[type] then return false end
    count = count + 1
    if count % 2 == 0 then error("listener failed") end
    return false
end, nil, 0)
local removing = IEvents:subscribeGui(function(name, type)
    if selection[type] and count % 7 == 0 and IGraphics:controlExists(name) and name ~= "" then
        IGraphics:removeControl(name)
    end
    return false
end, nil, 0)

local restore
function restore()
    IGraphics:setGuiParent("")
    if not IGraphics:controlExists("list") then
        IGraphics:createListbox("list", "0.1 0.1 0.3 0.3", true, "", "", "")
        IGraphics:addListboxItem("list", "a", "1", "")
        IGraphics:addListboxItem("list", "b", "2", "")
    end
    if not IGraphics:controlExists("combo") then
        IGraphics:createCombobox("combo", "0.4 0.1 0.6 0.15", "", "")
        IGraphics:addComboboxItem("combo", "a", "1")
    end
    if not IGraphics:controlExists("table") then
        IGraphics:createTable("table", "0.1 0.4 0.9 0.9", true)
        IGraphics:addTableColumn("table", "A", -1)
        IGraphics:addTableRow("table", -1)
        IGraphics:setTableCellData("table", 0, 0, "data")
    end
    if not IGraphics:controlExists("box") then IGraphics:createCheckbox("box", "", "0 0 0.1 0.1", false) end
    if not IGraphics:controlExists("gone") then IGraphics:createCheckbox("gone", "", "0 0 0.1 0.1", false) end
    -- A hostile call may have named a part of another control (a combo
    -- box's button) "gone": it goes only with that control, so the GUI is
    -- built again from nothing.
    if not pcall(IGraphics.removeControl, IGraphics, "gone") then
        IGraphics:removeGui()
        return restore()
    end
end

local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, IGraphics, name, {"failed"}, ...)
end

math.randomseed(20261210)
local randomArguments = H.randomArguments(hostile, 7)
H.expectSomeFail(check, H.fuzz({
    check = check, functions = functions, rounds = 25, call = expectCleanCall, restore = restore,
    arguments = function()
        local arguments, argumentCount = randomArguments()
        -- Mostly a control that exists, so the element operations are reached.
        if argumentCount > 0 and math.random() < 0.7 then
            arguments[1] = ({"list", "combo", "table"})[math.random(1, 3)]
        end
        return arguments, argumentCount
    end,
}))

-- Each kind of argument in every position.
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value, value)
    expectCleanCall(name, "list", value, value, value, value, value)
    expectCleanCall(name, "combo", value, value, value, value)
    expectCleanCall(name, "table", value, value, value, value)
end)

IEvents:unsubscribe(failing)
IEvents:unsubscribe(removing)
IGraphics:removeControl("list")
IGraphics:removeControl("combo")
IGraphics:removeControl("table")
restore()
check.eq(IGraphics:getListboxData("list", 1), "2", "list box usable afterwards")
check.eq(IGraphics:getComboboxSelectedText("combo"), "a", "combo box usable afterwards")
check.eq(IGraphics:getTableCellData("table", 0, 0), "data", "table usable afterwards")
check.done()
