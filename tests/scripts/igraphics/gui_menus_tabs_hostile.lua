--! stdout: CHECKS PASSED
-- Hostile arguments for the menu, tool bar, tab and scroll bar functions:
-- wrong types, NaN and huge numbers, removed controls, controls of other
-- kinds, calls from coroutines, and listeners of the tab and scroll bar
-- events that fail or remove the control. Each call either returns or
-- raises a clear error; the GUI stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local functions = {
    "createMenu", "createContextMenu", "createSubMenu", "createMenuItem", "createMenuSeparator", "createToolbar",
    "createToolbarButton", "getMenuCount", "getMenuItemId", "hasMenuGotSubMenu", "isMenuItemEnabled",
    "setMenuItemEnabled", "isMenuItemChecked", "setMenuItemChecked", "getMenuItemLabel", "setMenuItemLabel",
    "clearMenu", "createTabControl", "createTabPage", "createTab", "createScrollBar", "setScrollBarLimit",
    "getScrollBarLimit", "getScrollBarStep", "getScrollBarStepLarge", "setScrollBarHorizontal",
    "getScrollBarHorizontal", "setScrollBarPos", "getScrollBarPos", "getTabCount", "getActiveTab",
    "setActiveTab", "getTabId", "setTabControlBackground", "getTabControlBackground", "setTabControlBorder",
    "getTabControlBorder", "setTabPageBackground", "getTabPageBackground", "setTabPageColor", "getTabPageColor",
}
for _, name in ipairs(functions) do
    check.eq(type(IGraphics[name]), "function", name .. " is registered")
end

local hostile = H.values({
    2 ^ 32, "menu", "item", "sub", "tools", "tabs", "page", "bar", "gone", "box", "0.5 0.5", "x__GuiInternal__",
    IMisc:pointCreate(0.5, 0.5), IMisc:rectCreate(0.1, 0.1, 0.2, 0.2), IMisc:colorCreate(1, 0, 0, 1), tostring,
})

-- Listeners of the tab and scroll bar changes: one fails every other time,
-- one removes the control the event names now and then.
local changes = {[6] = true, [17] = true}
local count = 0
local failing = IEvents:subscribeGui(function(name, type)
    if not changes[type] then return false end
    count = count + 1
    if count % 2 == 0 then error("listener failed") end
    return false
end, nil, 0)
local removing = IEvents:subscribeGui(function(name, type)
    if changes[type] and count % 7 == 0 and IGraphics:controlExists(name) and name ~= "" then
        IGraphics:removeControl(name)
    end
    return false
end, nil, 0)

-- Controls of every kind that hostile names may meet, one of them removed.
local restore
function restore()
    IGraphics:setGuiParent("")
    local make = {
        menu = function() IGraphics:createContextMenu("menu", "0.1 0.1 0.2 0.2") end,
        sub = function() IGraphics:createSubMenu("sub", "menu", "Sub", true, -1) end,
        item = function() IGraphics:createMenuItem("item", "sub", "Item", true, false, -1) end,
        tools = function() IGraphics:createToolbar("tools", "0 0 1 0.1") end,
        tabs = function() IGraphics:createTabControl("tabs", "0.3 0.3 0.6 0.6", true, true) end,
        page = function() IGraphics:createTabPage("page", "tabs", "Page", true) end,
        bar = function() IGraphics:createScrollBar("bar", true, "0.1 0.8 0.5 0.85", 10, 5, "", "") end,
        box = function() IGraphics:createCheckbox("box", "", "0.7 0.7 0.8 0.8", false) end,
        gone = function() IGraphics:createCheckbox("gone", "", "0 0 0.1 0.1", false) end,
    }
    -- A hostile call may have given a name to a control of another kind:
    -- each name goes back to its own kind.
    local kinds = {menu = 3, sub = 3, item = 3, tools = 20, tabs = 18, page = 17, bar = 14, box = 1, gone = 1}
    for _, name in ipairs({"menu", "sub", "item", "tools", "tabs", "page", "bar", "box", "gone"}) do
        while IGraphics:controlExists(name) and IGraphics:controlType(name) ~= kinds[name] do
            -- A part of another control (a scroll bar's button) goes only
            -- with that control: the GUI is built again from nothing.
            if not pcall(IGraphics.removeControl, IGraphics, name) then
                IGraphics:removeGui()
                return restore()
            end
        end
        -- The failing listener may meet these calls too.
        if not IGraphics:controlExists(name) then pcall(make[name]) end
    end
    IGraphics:removeControl("gone")
end

local accepted = {"Menu item not found:", "Parent context menu is not defined.", "listener failed"}
local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, IGraphics, name, accepted, ...)
end

math.randomseed(20261210)
H.expectSomeFail(check, H.fuzz({
    check = check, functions = functions, rounds = 30, call = expectCleanCall, restore = restore,
    arguments = H.randomArguments(hostile, 9),
}))
check.truthy(count > 0, "the listeners heard changes")

-- Each kind of argument in every position.
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value, value, value, value)
end)

-- Every kind of control given to every function that names one.
local names = {"", "menu", "sub", "item", "tools", "tabs", "page", "bar", "box"}
for _, name in ipairs(functions) do
    for _, control in ipairs(names) do
        restore()
        expectCleanCall(name, control, control, "text", true, 0, 0, "", "")
        expectCleanCall(name, "new", control, "text", true, 1, -1, "", "")
    end
end

-- The GUI still works.
IEvents:unsubscribe(failing)
IEvents:unsubscribe(removing)
restore()
IGraphics:clearMenu("menu")
check.eq(IGraphics:createMenuItem("after", "menu", "After", true, true, 0), true, "created afterwards")
check.eq(IGraphics:isMenuItemChecked("after"), true, "read afterwards")
IGraphics:setScrollBarLimit("bar", 10, 0.1, 0.2)
check.eq(IGraphics:setScrollBarPos("bar", 3), true, "a scroll bar afterwards")
check.eq(IGraphics:getScrollBarPos("bar"), 3, "read afterwards")
check.done()
