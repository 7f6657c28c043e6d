--! stdout: CHECKS PASSED
-- The control tree: existence and types, parents and children, the GUI
-- parent, renaming, hit tests in screen fractions and the walk over every
-- control.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local function box(name, rect) check.truthy(IGraphics:createCheckbox(name, name, rect, false), name) end
local function list(t) return table.concat(t, ",") end

-- panel > (a > a1, b), c; built below the GUI parent of the moment.
box("panel", "0 0 0.5 0.5")
IGraphics:setGuiParent("panel")
check.eq(IGraphics:getGuiParent(), "panel", "the GUI parent's name")
box("a", "0 0 100 100")
box("b", "100 0 200 100")
IGraphics:setGuiParent("a")
box("a1", "10 10 50 50")
IGraphics:setGuiParent("")
check.eq(IGraphics:getGuiParent(), nil, "the root has no name")
box("c", "0.6 0.6 0.9 0.9")

for _, case in ipairs({{"panel", true}, {"a1", true}, {"", true}, {"missing", false}, {"PANEL", false}}) do
    check.eq(IGraphics:controlExists(case[1]), case[2], "exists " .. case[1])
end
check.eq(IGraphics:controlType(""), 22, "the root is a plain element")
check.eq(IGraphics:getControlParentId("a1"), "a", "parent of a1")
check.eq(IGraphics:getControlParentId("panel"), nil, "parent of panel: the unnamed root")
check.eq(IGraphics:getControlParentId(""), nil, "the root has no parent")
check.eq(list(IGraphics:getControlChildIds("panel")), "a,b", "children of panel")
check.eq(#IGraphics:getControlChildIds("a1"), 0, "no children")
check.eq(list(IGraphics:getControlChildIds("")), "panel,c", "children of the root")

-- Hit tests: fractions of the screen below the named parent; the top-most
-- control wins.
local cases = {
    {"", 0.05, 0.05, "a1"}, {"", 20, 20, "a1"}, {"", 0.1, 0.1, "a"}, {"", 150, 50, "b"},
    {"", 0.7, 0.7, "c"}, {"", 0.3, 0.4, "panel"}, {"", 0.95, 0.05, nil}, {"b", 20, 20, nil},
    {"panel", 0.7, 0.7, nil}, {"", 0 / 0, 0 / 0, "a"}, {"", 1e30, -1e30, nil},
}
for index, case in ipairs(cases) do
    check.eq(IGraphics:getControlAtPoint(case[1], case[2], case[3]), case[4], "hit test " .. index)
end
IGraphics:setControlVisible("a", false)
check.eq(IGraphics:getControlAtPoint("", 20, 20), "panel", "hidden controls are not hit")
IGraphics:setControlVisible("a", true)

-- Renaming keeps the control.
check.eq(IGraphics:changeControlId("b", "bee"), true, "renamed")
check.eq(IGraphics:controlExists("b"), false, "old name gone")
check.eq(IGraphics:getControlAtPoint("", 150, 50), "bee", "found by the new name")
check.eq(IGraphics:changeControlId("bee", ""), false, "an empty new name is refused")
check.eq(IGraphics:controlExists("bee"), true, "and changes nothing")
check.raises("[CGuiManager::GetElement] Cannot find gui element:b", function() IGraphics:changeControlId("b", "x") end)

-- The walk: parents before children, unnamed controls with "", the root
-- never; a true result ends that level.
local seen = {}
IGraphics:forEachControl(function(name, type, parent, data)
    seen[#seen + 1] = name .. "<" .. parent .. ":" .. type
    check.eq(data, "user data", "user data")
    return false
end, "user data")
check.eq(list(seen), "panel<:1,a<panel:1,a1<a:1,bee<panel:1,c<:1", "all controls")

seen = {}
IGraphics:forEachControl(function(name)
    seen[#seen + 1] = name
    return name == "a"
end)
check.eq(list(seen), "panel,a,c", "true at a skips a's children and b")

-- The callback may be the name of a global function; its errors end the
-- walk and reach the caller.
visits = 0
function countControls() visits = visits + 1 end
IGraphics:forEachControl("countControls")
check.eq(visits, 5, "global function by name")
visits = 0
check.raises("walk stopped here", function()
    IGraphics:forEachControl(function() visits = visits + 1; error("walk stopped here") end)
end)
check.eq(visits, 1, "ended at the first error")
-- Anything else is no callback.
for _, callback in ipairs({42, "noSuchFunction", {}, nil}) do
    check.raises("Lua assertion failed:m_functionObj.IsFunction()",
        function() IGraphics:forEachControl(callback) end)
end

-- A callback that removes controls while the walk runs.
seen = {}
IGraphics:forEachControl(function(name)
    seen[#seen + 1] = name
    if name == "panel" then IGraphics:removeControl("bee") end
    if name == "a1" then IGraphics:removeControl("c") end
end)
check.eq(list(seen), "panel,a,a1", "removed controls are not visited")

-- Removing children keeps the parent.
check.eq(IGraphics:removeChildren("panel"), true, "children removed")
check.eq(#IGraphics:getControlChildIds("panel"), 0, "none left")
check.eq(IGraphics:controlExists("a1"), false, "grandchildren too")
check.eq(IGraphics:removeControl("panel"), true, "removed")
check.raises("[CGuiManager::Remove] Cannot find gui element:panel", function() IGraphics:removeControl("panel") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:panel", function() IGraphics:controlType("panel") end)
check.done()
