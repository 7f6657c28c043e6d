--! stdout: CHECKS PASSED
-- Menus from a script: menu bars, context menus, sub-menus, items and
-- separators placed by position, items read and changed by name, cleared
-- and removed; tool bars with their buttons.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createMenu("bar"), true, "menu bar")
check.eq(IGraphics:controlType("bar"), 4, "menu bar type")
check.eq(IGraphics:createContextMenu("popup", "0.1 0.1 0.3 0.3"), true, "context menu")
check.eq(IGraphics:controlType("popup"), 3, "context menu type")

-- Items are appended, or inserted before the item at a position within the
-- items there are.
check.eq(IGraphics:createSubMenu("file", "bar", "File", true, -1), true, "sub-menu")
check.eq(IGraphics:createMenuItem("open", "file", "Open", true, false, -1), true, "item")
check.eq(IGraphics:createMenuItem("save", "file", "Save", false, true, 1), true, "item at the end")
check.eq(IGraphics:createMenuSeparator("line", "file", 2), true, "separator at the end")
check.eq(IGraphics:createMenuItem("new", "file", "New", true, false, 0), true, "item first")
check.eq(IGraphics:createMenuItem("quit", "file", "Quit", 0, nil, 4), true, "flags by the truth rule")
check.eq(IGraphics:createMenuItem("huge", "file", "Huge", true, false, 2 ^ 32), true, "a huge position")
local order = {}
for index = 0, IGraphics:getMenuCount("file") - 1 do order[#order + 1] = IGraphics:getMenuItemId("file", index) end
check.eq(table.concat(order, ","), "new,open,save,line,quit,huge", "item order")
check.eq(IGraphics:getMenuItemId("file", 6), "", "past the items")
check.eq(IGraphics:getMenuItemId("file", -1), "", "before the items")
check.eq(IGraphics:getMenuItemId("file", 0 / 0), "new", "NaN reads as 0, as a missing number")
check.eq(IGraphics:getMenuCount("bar"), 1, "the bar holds one item")

-- Items by name.
check.eq(IGraphics:getMenuItemLabel("save"), "Save", "label")
check.eq(IGraphics:getMenuItemLabel("line"), "", "a separator has no label")
check.eq(IGraphics:isMenuItemEnabled("save"), false, "disabled at creation")
check.eq(IGraphics:isMenuItemChecked("save"), true, "checked at creation")
check.eq(IGraphics:isMenuItemEnabled("quit"), true, "0 is true")
check.eq(IGraphics:isMenuItemChecked("quit"), false, "nil is false")
IGraphics:setMenuItemEnabled("save", true)
IGraphics:setMenuItemChecked("save", false)
IGraphics:setMenuItemLabel("save", "Save as")
check.eq(IGraphics:isMenuItemEnabled("save"), true, "enabled")
check.eq(IGraphics:isMenuItemChecked("save"), false, "unchecked")
check.eq(IGraphics:getMenuItemLabel("save"), "Save as", "relabelled")
check.eq(IGraphics:hasMenuGotSubMenu("file"), true, "opens a sub-menu")
check.eq(IGraphics:hasMenuGotSubMenu("open"), false, "opens none")
-- Disabling the item of a sub-menu disables the sub-menu.
IGraphics:setMenuItemEnabled("file", false)
check.eq(IGraphics:isControlEnabled("file"), false, "the sub-menu follows its item")
IGraphics:setMenuItemEnabled("file", true)
IGraphics:setMenuItemLabel("file", "Document")
check.eq(IGraphics:getControlText("file"), "Document", "the sub-menu's caption follows its item")

check.raises("Menu item not found:bar", function() return IGraphics:getMenuItemLabel("bar") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:none",
    function() return IGraphics:isMenuItemEnabled("none") end)
-- An item's name finds the menu that holds it; other controls are no menus.
check.eq(IGraphics:getMenuCount("open"), IGraphics:getMenuCount("file"), "an item's name finds its menu")
check.eq(IGraphics:createCheckbox("box", "", "0.5 0.5 0.6 0.6", false), true, "check box")
check.raises("[CGuiManager::GetMenuItemCount] Gui element is not a menu:box",
    function() return IGraphics:getMenuCount("box") end)
check.raises("[CGuiManager::ClearMenu] Gui element is not a menu:box", function() IGraphics:clearMenu("box") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere", function()
    return IGraphics:createMenuItem("x", "nowhere", "X", true, false, -1)
end)
check.raises("[CGuiManager::addMenuItem] Gui element is not a menu:", function()
    return IGraphics:createMenuItem("x", "", "X", true, false, -1)
end)
check.eq(IGraphics:controlExists("x"), false, "a refused item takes no name")

-- Removing items: by name, a sub-menu with what it holds, all of a menu.
IGraphics:removeControl("huge")
check.eq(IGraphics:getMenuCount("file"), 5, "one item fewer")
check.eq(IGraphics:controlExists("huge"), false, "its name is gone")
check.eq(IGraphics:createSubMenu("recent", "file", "Recent", true, 1), true, "nested sub-menu")
check.eq(IGraphics:createMenuItem("first", "recent", "First", true, false, -1), true, "nested item")
check.eq(IGraphics:getMenuItemId("file", 1), "recent", "inserted")
check.eq(IGraphics:getControlParentId("recent"), "file", "a sub-menu hangs below its menu")
IGraphics:removeControl("recent")
check.eq(IGraphics:getMenuItemId("file", 1), "open", "its item left the menu")
check.eq(IGraphics:controlExists("first"), false, "with the names below it")
IGraphics:clearMenu("file")
check.eq(IGraphics:getMenuCount("file"), 0, "cleared")
check.eq(IGraphics:controlExists("open"), false, "item names gone")
check.eq(IGraphics:controlExists("file"), true, "the menu stays")

-- The context menu and the control tree: sub-menus are part of their menu.
check.eq(IGraphics:createSubMenu("more", "popup", "More", true, -1), true, "sub-menu of the context menu")
check.eq(#IGraphics:getControlChildIds("popup"), 0, "sub-menus are no child controls")
local seen = {}
IGraphics:forEachControl(function(name) seen[name] = true return false end)
check.truthy(seen.popup and seen.bar and not seen.more and not seen.file, "the walk passes sub-menus by")

-- Tool bars: buttons left to right, 3 pixels apart.
check.eq(IGraphics:createToolbar("tools", "0 0.5 1 0.6"), true, "tool bar")
check.eq(IGraphics:controlType("tools"), 20, "tool bar type")
check.eq(IGraphics:createToolbarButton("b1", "tools", "One", "", "", "", true, false), true, "button")
check.eq(IGraphics:createToolbarButton("b2", "tools", "Two", "", "", "", false, true), true, "button")
check.eq(IGraphics:controlType("b1"), 0, "tool bar buttons are buttons")
local x1 = IGraphics:getControlPosX("b1") * 800
local w1 = IGraphics:getControlWidth("b1") * 800
local x2 = IGraphics:getControlPosX("b2") * 800
check.near(x1, 8, 1e-3, "the first button starts 8 pixels in")
check.near(x2, x1 + w1 + 3, 1e-3, "3 pixels after the first")
check.near(IGraphics:getControlPosY("b2") * 600, 2, 1e-3, "2 pixels down")
check.eq(IGraphics:getControlParentId("b2"), "tools", "on the tool bar")
check.eq(IGraphics:createToolbar("auto", "0 0 0 0"), true, "tool bar placed by the library")
check.truthy(IGraphics:getControlHeight("auto") > 0, "with a height of its own")
check.raises("[CGuiManager::addToolbarButton] Gui element is not a tool bar:b1", function()
    return IGraphics:createToolbarButton("b3", "b1", "Three", "", "", "", false, false)
end)

-- Nothing above was chosen by a user: no menu events.
for _, event in ipairs(events) do
    check.truthy(not string.find(event, ":18", 1, true), "no menu event: " .. event)
end
IEvents:unsubscribe(handle)
check.done()
