--! stdout: CHECKS PASSED
-- The control focus: focus lost then focused, once each; a handler that
-- answers true for focus lost keeps the focus; internal and unnamed
-- controls read as nil.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local keep = false
local handle = IEvents:subscribeGui(function(name, type)
    if type <= 1 then events[#events + 1] = name .. ":" .. type end
    return keep and IGraphics:controlExited(name, name, type)
end, nil, 0)
local function take()
    local text = table.concat(events, ",")
    events = {}
    return text
end

IGraphics:createCheckbox("one", "", "0 0 0.1 0.1", false)
IGraphics:createCheckbox("two", "", "0 0.2 0.1 0.3", false)
IGraphics:createCheckbox("x__GuiInternal__", "", "0 0.4 0.1 0.5", false)
check.eq(IGraphics:getControlFocus(), nil, "nothing focused")

local cases = {
    {"one", "one:1", "one"},
    {"two", "one:0,two:1", "two"},
    {"two", "two:0,two:1", "two"},
    {"x__GuiInternal__", "two:0", nil},
    {"", ":1", nil},
    {"", ":1", nil},
    {"one", "one:1", "one"},
}
for index, case in ipairs(cases) do
    IGraphics:setControlFocus(case[1])
    check.eq(take(), case[2], "events of case " .. index)
    check.eq(IGraphics:getControlFocus(), case[3], "focus after case " .. index)
end

-- Refused: the focus stays on "one".
keep = true
IGraphics:setControlFocus("two")
check.eq(take(), "one:0", "only focus lost")
check.eq(IGraphics:getControlFocus(), "one", "kept")
keep = false

-- A handler that removes the control that is to get the focus.
IEvents:unsubscribe(handle)
handle = IEvents:subscribeGui(function(name, type)
    if type == 0 and IGraphics:controlExists("two") then IGraphics:removeControl("two") end
    return false
end, nil, 0)
IGraphics:setControlFocus("two")
check.eq(IGraphics:getControlFocus(), "one", "no focus on a removed control")
check.eq(IGraphics:controlExists("two"), false, "removed")
check.raises("[CGuiManager::GetElement] Cannot find gui element:two", function() IGraphics:setControlFocus("two") end)
IEvents:unsubscribe(handle)

-- A handler that moves the focus causes GUI events inside the publication
-- of another: the later subscribers still get the outer event as it was.
IGraphics:createCheckbox("two", "", "0 0.2 0.1 0.3", false)
IGraphics:setControlFocus("")
local first = IEvents:subscribeGui(function(name, type)
    if name == "one" and type == 1 then IGraphics:setControlFocus("two") end
    return false
end, nil, 2)
local second = IEvents:subscribeGui(function(name, type)
    if type <= 1 then events[#events + 1] = name .. ":" .. type end
    return false
end, nil, 1)
take()
IGraphics:setControlFocus("one")
check.eq(take(), "one:0,two:1,one:1", "the outer event after the nested ones")
check.eq(IGraphics:getControlFocus(), "two", "focus moved by the handler")
IEvents:unsubscribe(first)
IEvents:unsubscribe(second)
check.done()
