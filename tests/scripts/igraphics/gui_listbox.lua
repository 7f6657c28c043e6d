--! stdout: CHECKS PASSED
-- The engine's list box: items with data, insertion, selection with the
-- list box events 8 and 9, item colours by kind, the background flag, the
-- scroll bar's names, scrolling an item into view, and its removal.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createListbox("list", "0.1 0.1 0.4 0.2", true, "listScroll", "listUp", "listDown"), true,
    "created")
check.eq(IGraphics:controlType("list"), 10, "list box type")
check.near(IGraphics:getControlWidth("list"), 0.3, 1e-6, "rectangle from fractions")
check.eq(IGraphics:getListboxBackgroundVisible("list"), true, "background as created")
IGraphics:setListboxBackgroundVisible("list", false)
check.eq(IGraphics:getListboxBackgroundVisible("list"), false, "background switched off")
-- The scroll bar and its buttons answer to their own names.
for _, sub in ipairs({"listScroll", "listUp", "listDown"}) do
    check.eq(IGraphics:controlExists(sub), true, sub .. " exists")
end
check.eq(IGraphics:controlType("listScroll"), 14, "the scroll bar")
check.eq(IGraphics:controlType("listUp"), 0, "a scroll bar button")

-- Items with data; insertion moves the later items on.
check.eq(IGraphics:getListboxCount("list"), 0, "empty")
check.eq(IGraphics:addListboxItem("list", "zero", "d0", ""), 0, "first index")
check.eq(IGraphics:addListboxItem("list", "one", "d1"), 1, "second index")
check.eq(IGraphics:addListboxItem("list", "two", "d2", "no such sprite"), 2, "third index")
check.eq(IGraphics:insertListboxItem("list", "inserted", "di", "", 2), 2, "inserted at 2")
check.eq(IGraphics:getListboxText("list", 3), "two", "old item 2 moved to 3")
check.eq(IGraphics:getListboxData("list", 3), "d2", "its data moved with it")
check.eq(IGraphics:getListboxData("list", 2), "di", "the new data at 2")
check.eq(IGraphics:insertListboxItem("list", "end", "de", "", 4), 4, "index equal to the count appends")
check.eq(IGraphics:insertListboxItem("list", "tail", "dt", "", -1), 5, "index -1 appends")
check.eq(IGraphics:getListboxCount("list"), 6, "six items")
check.eq(IGraphics:findListboxText("list", "end"), 4, "found by text")
check.eq(IGraphics:findListboxData("list", "d1"), 1, "found by data")
check.eq(IGraphics:findListboxText("list", "none"), -1, "no text")
check.eq(IGraphics:findListboxData("list", "none"), -1, "no data")
IGraphics:setListboxText("list", 0, "nought")
IGraphics:setListboxData("list", 0, "dn")
check.eq(IGraphics:getListboxText("list", 0), "nought", "text changed")
check.eq(IGraphics:getListboxData("list", 0), "dn", "data changed")
check.eq(IGraphics:getListboxIcon("list", 0), nil, "no icon without a sprite")
for _, index in ipairs({-1, 6, 1e10, 0 / 0}) do
    check.eq(IGraphics:getListboxText("list", index), index ~= index and "nought" or "", "text outside " .. index)
end
IGraphics:setListboxText("list", 99, "x")
IGraphics:setListboxData("list", -5, "x")
IGraphics:removeListboxItem("list", 99)
check.eq(IGraphics:getListboxCount("list"), 6, "outside indices change nothing")

-- Selection publishes 8 then 9, also when nothing matched.
events = {}
IGraphics:setListboxSelection("list", 3)
check.eq(IGraphics:getListboxSelection("list"), 3, "selected")
check.eq(IGraphics:getListboxSelectedText("list"), "two", "selected text")
check.eq(IGraphics:getListboxSelectedData("list"), "d2", "selected data")
IGraphics:setListboxSelectedText("list", "nothing like it")
check.eq(IGraphics:getListboxSelection("list"), 3, "an unknown text keeps the selection")
IGraphics:setListboxSelectedData("list", "d1")
check.eq(IGraphics:getListboxSelection("list"), 1, "selected by data")
check.eq(table.concat(events, " "), "list:8 list:9 list:8 list:9 list:8 list:9", "events in order")
IGraphics:setListboxSelection("list", 42)
check.eq(IGraphics:getListboxSelection("list"), -1, "outside selects none")
check.eq(IGraphics:getListboxSelectedText("list"), "", "no selected text")

-- Colours by kind: -1 for every item and every kind.
local red = IMisc:colorCreate(1, 0, 0, 1)
check.eq(IGraphics:getListboxLineColor("list", 0, 1), nil, "no colour yet")
check.eq(IGraphics:setListboxLineColor("list", -1, red, -1), true, "set everywhere")
for index = 0, 5 do
    for kind = 0, 3 do
        local color = IGraphics:getListboxLineColor("list", index, kind)
        check.truthy(color ~= nil, "colour of " .. index .. "/" .. kind)
        check.near(color:getRed(), 1, 1e-6, "red")
        check.near(color:getAlpha(), 1, 1e-6, "opaque")
    end
end
check.eq(IGraphics:clearListboxLineColor("list", 2, 1), true, "cleared one")
check.eq(IGraphics:getListboxLineColor("list", 2, 1), nil, "that kind is gone")
check.truthy(IGraphics:getListboxLineColor("list", 2, 0) ~= nil, "the others stay")
IGraphics:clearListboxLineColor("list", -1, -1)
check.eq(IGraphics:getListboxLineColor("list", 0, 0), nil, "all cleared")
-- A byte of 1 comes back as 1/255, and values beyond a byte hold at 255.
IGraphics:setListboxLineColor("list", 0, IMisc:colorCreate(0.5, 0, 0, 1), 3)
check.near(IGraphics:getListboxLineColor("list", 0, 3):getRed(), 128 / 255, 1e-6, "to the nearest byte")
IGraphics:setListboxLineColor("list", 0, IMisc:colorCreate(127 / 255, 0, 0, 1), 3)
check.near(IGraphics:getListboxLineColor("list", 0, 3):getRed(), 127 / 255, 1e-6, "a byte read back stays")
IGraphics:setListboxLineColor("list", 0, IMisc:colorCreate(255, 1 / 255, 0, 1), 2)
local icon = IGraphics:getListboxLineColor("list", 0, 2)
check.near(icon:getRed(), 1, 1e-6, "255 is a full channel")
check.near(icon:getGreen(), 1 / 255, 1e-6, "one step of a byte")
IGraphics:setListboxLineColor("list", 0, red, 4)
check.eq(IGraphics:getListboxLineColor("list", 0, 4), nil, "kind 4 is no kind")

-- Scrolling into view ends for every item, also in a list lower than a row.
for index = 1, 200 do IGraphics:addListboxItem("list", "row " .. index, "") end
for _, index in ipairs({205, 0, 100, -1, 9999}) do IGraphics:makeListboxItemVisible("list", index) end
IGraphics:setControlSize("list", 200, 3)
IGraphics:makeListboxItemVisible("list", 150)
IGraphics:makeListboxItemVisible("list", 3)

IGraphics:clearListbox("list")
check.eq(IGraphics:getListboxCount("list"), 0, "cleared")
check.eq(IGraphics:getListboxData("list", 0), "", "no data left")

-- Only list boxes have these; a removed list box is unknown.
IGraphics:createCheckbox("box", "", "0 0 0.1 0.1", false)
check.raises("[CGuiManager::AddListBoxItem] Gui element is not a list box:box",
    function() IGraphics:addListboxItem("box", "x", "") end)
check.raises("[CGuiManager::GetListBoxItemCount] Gui element is not a list box or combo box:box",
    function() IGraphics:getListboxCount("box") end)
IGraphics:removeControl("list")
check.raises("[CGuiManager::GetElement] Cannot find gui element:list",
    function() IGraphics:addListboxItem("list", "x", "") end)
check.eq(IGraphics:controlExists("listScroll"), false, "the scroll bar went with it")

IEvents:unsubscribe(handle)
check.done()
