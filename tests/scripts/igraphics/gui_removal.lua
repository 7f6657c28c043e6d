--! stdout: CHECKS PASSED
-- Removal: each control publishes controlDestroyed before it goes; a
-- handler that answers true keeps it; handlers may remove controls while a
-- removal runs; the parts of other controls are not removed on their own.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local function build()
    IGraphics:createCheckbox("window", "", "0 0 0.5 0.5", false)
    IGraphics:setGuiParent("window")
    IGraphics:createCheckbox("left", "", "0 0 100 100", false)
    IGraphics:createCheckbox("right", "", "100 0 200 100", false)
    IGraphics:setGuiParent("left")
    IGraphics:createCheckbox("leaf", "", "0 0 10 10", false)
    IGraphics:setGuiParent("")
end

local destroyed = {}
local policy = function() return false end
local handle = IEvents:subscribeGui(function(name, type)
    if not IGraphics:controlDestroyed(name, name, type) then return false end
    destroyed[#destroyed + 1] = name
    return policy(name)
end, nil, 0)
local function take()
    local text = table.concat(destroyed, ",")
    destroyed = {}
    return text
end

-- Parents before children.
build()
IGraphics:removeControl("window")
check.eq(take(), "window,left,leaf,right", "order")
for _, name in ipairs({"window", "left", "leaf", "right"}) do
    check.eq(IGraphics:controlExists(name), false, name .. " gone")
end

-- Kept: left and what is below it.
build()
policy = function(name) return name == "left" end
IGraphics:removeControl("left")
check.eq(take(), "left", "the children are not asked")
check.eq(IGraphics:controlExists("leaf"), true, "kept with its children")

-- Removed again from its own handler, and the window with it.
policy = function(name)
    if IGraphics:controlExists(name) then IGraphics:removeControl(name) end
    if IGraphics:controlExists("window") then IGraphics:removeControl("window") end
    return false
end
IGraphics:removeControl("left")
check.eq(take(), "left,window,right,leaf", "each control once")
check.eq(#IGraphics:getControlChildIds(""), 0, "nothing left")

-- Removing the GUI parent makes the root the GUI parent again.
policy = function() return false end
build()
IGraphics:setGuiParent("left")
IGraphics:removeControl("window")
take()
check.eq(IGraphics:getGuiParent(), nil, "the root again")
IGraphics:createCheckbox("later", "", "0 0 10 10", false)
check.eq(IGraphics:getControlParentId("later"), nil, "below the root")

-- A handler that fails ends the removal with its message.
policy = function() error("refusing to let go") end
check.raises("refusing to let go", function() IGraphics:removeControl("later") end)
check.eq(IGraphics:controlExists("later"), true, "still there")
IEvents:unsubscribe(handle)
IGraphics:removeControl("later")
check.eq(IGraphics:controlExists("later"), false, "removed once the handler is gone")

-- The named parts of a combo box or list box go only with their element,
-- which keeps using them: removing them, or what is below them, is refused.
IGraphics:createCombobox("combo", "10 10 200 30", "comboButton", "comboList")
IGraphics:createListbox("list", "0.1 0.1 0.4 0.2", true, "listScroll", "listUp", "listDown")
for _, name in ipairs({"comboButton", "listScroll", "listUp"}) do
    check.raises("[CGuiManager::Remove] Gui element is part of another element:" .. name,
        function() IGraphics:removeControl(name) end)
end
check.raises("[CGuiManager::RemoveChildren] Gui element is part of another element:listScroll",
    function() IGraphics:removeChildren("listScroll") end)
IGraphics:draw()
check.eq(IGraphics:controlExists("listUp"), true, "the part is still there")
IGraphics:removeControl("combo")
IGraphics:removeControl("list")
check.eq(IGraphics:controlExists("listUp"), false, "gone with its list box")
check.done()
