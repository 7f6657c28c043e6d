--! stdout: CHECKS PASSED
-- Check boxes: created from screen fractions, read, and set with the check
-- box event (type 7), also when the state stays.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

check.eq(IGraphics:createCheckbox("sound", "Sound on", "0.1 0.1 0.3 0.2", true), true, "created")
check.eq(IGraphics:createCheckbox("music", "Music", IMisc:rectCreate(10, 20, 200, 40), nil), true, "created with a rect")
check.eq(IGraphics:controlType("sound"), 1, "check box type")
check.eq(IGraphics:getControlText("sound"), "Sound on", "caption")
check.eq(IGraphics:getCheckbox("sound"), true, "checked at creation")
check.eq(IGraphics:getCheckbox("music"), false, "nil is false")
local position = IGraphics:getControlPos("sound")
check.near(position:getX(), 0.1, 1e-6, "x as a fraction")
check.near(IGraphics:getControlWidth("sound"), 0.2, 1e-6, "width as a fraction")
check.near(IGraphics:getControlPosY("music"), 20 / 600, 1e-6, "pixels read as fractions")

-- The flag follows the truth rule: 0 and "" are true.
local cases = {
    {false, false}, {true, true}, {nil, false}, {0, true}, {"", true}, {{}, true},
}
for index, case in ipairs(cases) do
    events = {}
    IGraphics:setCheckbox("music", case[1])
    check.eq(IGraphics:getCheckbox("music"), case[2], "case " .. index)
    check.eq(#events, 1, "one event in case " .. index)
    check.eq(events[1], "music:7", "the check box event in case " .. index)
end
-- The same state again still tells the listeners.
events = {}
IGraphics:setCheckbox("music", true)
IGraphics:setCheckbox("music", true)
check.eq(#events, 2, "an unchanged state publishes too")

-- Only check boxes have a check state.
check.eq(IGraphics:createCheckbox("", "no name", "0 0 0.1 0.1", false), true, "an empty name is a name")
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() return IGraphics:getCheckbox("nowhere") end)
check.raises("Gui element is not a check box", function() return IGraphics:getCheckbox("") end)
check.raises("[CGuiManager::SetCheckBoxChecked] Gui element is not a check box",
    function() IGraphics:setCheckbox("", true) end)

IEvents:unsubscribe(handle)
check.done()
