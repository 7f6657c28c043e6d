--! stdout: CHECKS PASSED
-- Tab controls, pages and free-standing tabs, and scroll bars from a
-- script, with the events that changes publish.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createTabControl("tabs", "0.1 0.1 0.9 0.9", true, false), true, "tab control")
check.eq(IGraphics:controlType("tabs"), 18, "tab control type")
check.eq(IGraphics:getTabControlBackground("tabs"), true, "filled")
check.eq(IGraphics:getTabControlBorder("tabs"), false, "no border")
check.eq(IGraphics:createTabPage("red", "tabs", "Red", true, IMisc:colorCreate(1, 0, 0, 1)), true, "page")
check.eq(IGraphics:createTabPage("plain", "tabs", "Plain", false), true, "page without a colour")
check.eq(IGraphics:controlType("red"), 17, "tab type")
check.eq(IGraphics:getTabCount("tabs"), 2, "two pages")
check.eq(IGraphics:getTabId("tabs", 0), "red", "first page")
check.eq(IGraphics:getTabId("tabs", 1), "plain", "second page")
check.eq(IGraphics:getTabId("tabs", 2), "tabs", "past the pages: the tab control")
check.eq(IGraphics:getTabId("tabs", -1), "tabs", "before the pages")
check.eq(IGraphics:getTabId("tabs", 0 / 0), "red", "NaN reads as 0, as a missing number")
check.eq(IGraphics:getControlText("red"), "Red", "caption")
check.eq(IGraphics:getTabPageBackground("red"), true, "drawn")
check.eq(IGraphics:getTabPageBackground("plain"), false, "not drawn")
local red = IGraphics:getTabPageColor("red")
check.near(red:getRed(), 1, 1e-6, "red")
check.near(red:getAlpha(), 1, 1e-6, "opaque")
-- Alpha 0: the skin's face colour, whatever the colour given.
IGraphics:createTabPage("faced", "tabs", "Faced", true, "1 0 0 0")
local plain, faced = IGraphics:getTabPageColor("plain"), IGraphics:getTabPageColor("faced")
check.eq(tostring(plain), tostring(faced), "both the face colour")
check.truthy(plain:getAlpha() > 0, "which shows")
IGraphics:setTabPageColor("plain", "0 0 1 0.5")
check.near(IGraphics:getTabPageColor("plain"):getBlue(), 1, 1e-6, "set")
check.near(IGraphics:getTabPageColor("plain"):getAlpha(), 128 / 255, 1e-6, "rounded to 8 bits")
check.eq(IGraphics:setTabPageBackground("plain", true), true, "set background")
check.eq(IGraphics:getTabPageBackground("plain"), true, "drawn now")

-- The active tab: a change publishes the tab event (17) once.
events = {}
check.eq(IGraphics:getActiveTab("tabs"), 0, "the first page is active")
IGraphics:setActiveTab("tabs", 1)
IGraphics:setActiveTab("tabs", 1)
IGraphics:setActiveTab("tabs", 7)
IGraphics:setActiveTab("tabs", 2 ^ 32)
check.eq(IGraphics:getActiveTab("tabs"), 1, "the second page")
check.eq(table.concat(events, ","), "tabs:17", "one tab event")
check.eq(IGraphics:tabControlChanged("tabs", "tabs", 17), true, "the event test")

-- The flags change alone.
events = {}
check.eq(IGraphics:setTabControlBorder("tabs", true), true, "border")
check.eq(IGraphics:setTabControlBackground("tabs", false), true, "background")
check.eq(IGraphics:getTabControlBorder("tabs"), true, "border on")
check.eq(IGraphics:getTabControlBackground("tabs"), false, "background off")
check.eq(IGraphics:getActiveTab("tabs"), 1, "the active tab stays")
check.eq(#events, 0, "no events")

-- A free-standing tab.
check.eq(IGraphics:createTab("single", "10 10 100 100", true, "0 1 0 1"), true, "tab")
check.eq(IGraphics:getControlParentId("single"), nil, "below the root")
check.near(IGraphics:getTabPageColor("single"):getGreen(), 1, 1e-6, "its colour")
check.raises("[CGuiManager::addTabPage] Parent tab control not defined.",
    function() return IGraphics:createTabPage("x", "single", "X", true) end)
check.raises("[CGuiManager::GetTabCount] Gui element is not a tab control:single",
    function() return IGraphics:getTabCount("single") end)
check.raises("[CGuiManager::GetTabPageBackground] Gui element is not a tab:tabs",
    function() return IGraphics:getTabPageBackground("tabs") end)

-- Scroll bars: creating one publishes its position (event 6).
events = {}
check.eq(IGraphics:createScrollBar("bar", true, "0.1 0.9 0.5 0.95", 100, 30, "up", "down"), true, "scroll bar")
check.eq(table.concat(events, ","), "bar:6", "one scroll bar event")
check.eq(IGraphics:controlType("bar"), 14, "scroll bar type")
check.eq(IGraphics:getScrollBarLimit("bar"), 100, "maximum")
check.eq(IGraphics:getScrollBarPos("bar"), 30, "position")
check.near(IGraphics:getScrollBarStep("bar"), 0.1, 1e-6, "a tenth")
check.near(IGraphics:getScrollBarStepLarge("bar"), 0.2, 1e-6, "a fifth")
check.eq(IGraphics:getScrollBarHorizontal("bar"), true, "horizontal")
check.eq(IGraphics:controlExists("up"), true, "the up button's name")
check.eq(IGraphics:controlExists("down"), true, "the down button's name")
check.eq(IGraphics:getControlParentId("up"), "bar", "its button")

-- Steps as fractions: at or below 0 a tenth and a fifth, above 1 the whole,
-- at least 1.
local cases = {
    {100, 0, 5, 0.1, 1}, {3, 0, 0, 1 / 3, 1 / 3}, {5, 0.1, 0.2, 0.2, 0.2}, {1000, 0 / 0, -1, 0.1, 0.2},
    {200, 0.25, 0.5, 0.25, 0.5},
}
for index, case in ipairs(cases) do
    check.eq(IGraphics:setScrollBarLimit("bar", case[1], case[2], case[3]), true, "limit " .. index)
    check.eq(IGraphics:getScrollBarLimit("bar"), case[1], "maximum " .. index)
    check.near(IGraphics:getScrollBarStep("bar"), case[4], 1e-6, "small step " .. index)
    check.near(IGraphics:getScrollBarStepLarge("bar"), case[5], 1e-6, "large step " .. index)
end
-- Maximums the bar cannot hold.
IGraphics:setScrollBarLimit("bar", -5, 0.1, 0.2)
check.eq(IGraphics:getScrollBarLimit("bar"), 0, "a negative maximum is 0")
check.eq(IGraphics:getScrollBarStep("bar"), 0, "no fractions of 0")
IGraphics:setScrollBarLimit("bar", 2 ^ 40, 0.1, 0.2)
check.eq(IGraphics:getScrollBarLimit("bar"), 2 ^ 31 - 1, "the largest maximum")
IGraphics:setScrollBarLimit("bar", 0 / 0, 0.1, 0.2)
check.eq(IGraphics:getScrollBarLimit("bar"), 0, "NaN is 0")

-- Setting the position publishes the same event as a user's change.
IGraphics:setScrollBarLimit("bar", 50, 0.1, 0.2)
events = {}
check.eq(IGraphics:setScrollBarPos("bar", 20), true, "position set")
check.eq(IGraphics:getScrollBarPos("bar"), 20, "position")
IGraphics:setScrollBarPos("bar", 1e300)
check.eq(IGraphics:getScrollBarPos("bar"), 50, "kept within the range")
IGraphics:setScrollBarPos("bar", 0 / 0)
check.eq(IGraphics:getScrollBarPos("bar"), 0, "NaN is 0")
check.eq(table.concat(events, ","), "bar:6,bar:6,bar:6", "an event for each")
check.eq(IGraphics:scrollBarChanged("bar", "bar", 6), true, "the event test")

events = {}
check.eq(IGraphics:setScrollBarHorizontal("bar", false), true, "turned")
check.eq(IGraphics:getScrollBarHorizontal("bar"), false, "vertical")
check.eq(IGraphics:getScrollBarLimit("bar"), 50, "keeps its maximum")
check.eq(#events, 0, "turning publishes nothing")
check.raises("[CGuiManager::GetScrollBarPos] Gui element is not a scroll bar:tabs",
    function() return IGraphics:getScrollBarPos("tabs") end)

IEvents:unsubscribe(handle)
check.done()
