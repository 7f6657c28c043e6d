--! stdout: CHECKS PASSED
-- The engine's combo box: items with data, insertion and new texts, the
-- first item selected, selection with the combo box event 19 (no match
-- selects nothing), the number of rows the list opens with, and the item
-- functions it shares with list boxes.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createCombobox("combo", "10 10 200 30", "comboButton", "comboList"), true, "created")
check.eq(IGraphics:controlType("combo"), 2, "combo box type")
check.eq(IGraphics:controlType("comboButton"), 0, "its list button has the button's name")
check.eq(IGraphics:getComboboxCount("combo"), 0, "empty")
check.eq(IGraphics:getComboboxSelection("combo"), -1, "nothing selected")
check.eq(IGraphics:addComboboxItem("combo", "alpha", "a"), 0, "first index")
check.eq(IGraphics:getComboboxSelection("combo"), 0, "the first item is selected")
check.eq(IGraphics:addComboboxItem("combo", "gamma", "c"), 1, "second")
check.eq(IGraphics:insertComboboxItem("combo", "beta", "b", 1), 1, "inserted")
check.eq(IGraphics:insertComboboxItem("combo", "delta", "d", 3), 3, "index equal to the count appends")
check.eq(IGraphics:insertComboboxItem("combo", "omega", "", -7), 4, "negative appends")
local texts = {}
for index = 0, IGraphics:getComboboxCount("combo") - 1 do
    texts[#texts + 1] = IGraphics:getComboboxText("combo", index) .. "=" .. IGraphics:getComboboxData("combo", index)
end
check.eq(table.concat(texts, " "), "alpha=a beta=b gamma=c delta=d omega=", "items in order")
check.eq(IGraphics:getComboboxSelection("combo"), 0, "insertion keeps the selected index")

IGraphics:setComboboxText("combo", 2, "GAMMA")
check.eq(IGraphics:getComboboxText("combo", 2), "GAMMA", "new text")
check.eq(IGraphics:getComboboxData("combo", 2), "c", "data kept")
IGraphics:setComboboxData("combo", 4, "o")
check.eq(IGraphics:findComboboxData("combo", "o"), 4, "data found")
check.eq(IGraphics:findComboboxText("combo", "GAMMA"), 2, "text found")
check.eq(IGraphics:findComboboxText("combo", "gamma"), -1, "exact comparison")
-- The list box functions that serve both kinds.
check.eq(IGraphics:getListboxCount("combo"), 5, "count through the list box function")
check.eq(IGraphics:getListboxData("combo", 1), "b", "data through the list box function")

events = {}
IGraphics:setComboboxSelection("combo", 3)
check.eq(IGraphics:getComboboxSelectedText("combo"), "delta", "selected text")
check.eq(IGraphics:getComboboxSelectedData("combo"), "d", "selected data")
IGraphics:setComboboxSelectedData("combo", "b")
check.eq(IGraphics:getComboboxSelection("combo"), 1, "selected by data")
IGraphics:setComboboxSelectedText("combo", "unknown")
check.eq(IGraphics:getComboboxSelection("combo"), -1, "no match selects nothing")
check.eq(IGraphics:getComboboxSelectedText("combo"), "", "no selected text")
IGraphics:setComboboxSelection("combo", 77)
check.eq(IGraphics:getComboboxSelection("combo"), -1, "outside selects nothing")
check.eq(table.concat(events, " "), "combo:19 combo:19 combo:19 combo:19", "one event each")

check.eq(IGraphics:getComboMaxVisibleItems("combo"), 5, "five rows by default")
IGraphics:setComboMaxVisibleItems("combo", 3)
check.eq(IGraphics:getComboMaxVisibleItems("combo"), 3, "three rows")

IGraphics:setComboboxSelection("combo", 4)
IGraphics:removeComboboxItem("combo", 0)
IGraphics:removeComboboxItem("combo", 10)
check.eq(IGraphics:getComboboxCount("combo"), 4, "one removed")
check.eq(IGraphics:getComboboxData("combo", 0), "b", "data went with the item")
IGraphics:clearCombobox("combo")
check.eq(IGraphics:getComboboxCount("combo"), 0, "cleared")
check.eq(IGraphics:getComboboxSelection("combo"), -1, "nothing selected after clearing")

IGraphics:createCheckbox("box", "", "0 0 0.1 0.1", false)
check.raises("[CGuiManager::SelectComboBoxItem] Gui element is not a combo box:box",
    function() IGraphics:setComboboxSelection("box", 0) end)
IGraphics:removeControl("combo")
check.raises("[CGuiManager::GetElement] Cannot find gui element:combo",
    function() IGraphics:getComboboxCount("combo") end)

IEvents:unsubscribe(handle)
check.done()
