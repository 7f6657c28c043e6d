--! stdout: CHECKS PASSED
-- The GUI, key and mouse channels can be switched off: publications then
-- reach nobody, unless they are forced.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local got = {}
local function tally(name) return function() got[name] = (got[name] or 0) + 1 end end
IEvents:subscribeGui(tally("gui"), nil, 0)
IEvents:subscribeKey(tally("key"), nil, 0)
IEvents:subscribeMouse(tally("mouse"), nil, 0)
IEvents:subscribeMouseButton(tally("button"), nil, 0)

local function publishAll(force)
    got = {}
    IEvents:publishGuiEvent("b", 1, force)
    IEvents:publishKeyEvent(1, true, false, false, force)
    IEvents:publishMouseEvent(0, 0.5, 0.5, 0, force)
    return string.format("gui=%d key=%d mouse=%d button=%d",
        got.gui or 0, got.key or 0, got.mouse or 0, got.button or 0)
end
local function state()
    return tostring(IEvents:isGuiEnabled()) .. tostring(IEvents:isKeyEnabled()) ..
        tostring(IEvents:isMouseEnabled())
end

check.eq(state(), "truetruetrue", "all on at start")
check.eq(publishAll(false), "gui=1 key=1 mouse=1 button=1", "on")

IEvents:enableGui(false)
check.eq(state(), "falsetruetrue", "gui off")
check.eq(publishAll(false), "gui=0 key=1 mouse=1 button=1", "gui off")

IEvents:enableKey(false)
IEvents:enableMouse(false)
check.eq(state(), "falsefalsefalse", "all off")
check.eq(publishAll(false), "gui=0 key=0 mouse=0 button=0", "all off")
check.eq(publishAll(true), "gui=1 key=1 mouse=1 button=1", "forced")

IEvents:enableInteractiveMode(true)
check.eq(state(), "truetruetrue", "interactive mode on")
check.eq(publishAll(false), "gui=1 key=1 mouse=1 button=1", "back on")

IEvents:enableInteractiveMode(false)
check.eq(state(), "falsefalsefalse", "interactive mode off")
check.eq(publishAll(false), "gui=0 key=0 mouse=0 button=0", "off again")
IEvents:enableMouse(true)
check.eq(state(), "falsefalsetrue", "mouse alone")

check.done()
