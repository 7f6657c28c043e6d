--! stdout: CHECKS PASSED
-- Publishing from a script: key clicks, mouse events (button events reach
-- Mouse and then MouseButton, moves only Mouse), GUI events, user events
-- with their argument, and native Tick subscribers named by handle only.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local seen = {}
local function log(line) seen[#seen + 1] = line end
local function take()
    local text = table.concat(seen, " | ")
    seen = {}
    return text
end

IEvents:subscribeKey(function(code, pressed, control, shift)
    log(string.format("key %d %s %s %s", code, tostring(pressed), tostring(control), tostring(shift)))
end, nil, 0)
IEvents:publishKeyClickEvents(13, true, false, false)
check.eq(take(), "key 13 true true false | key 13 false true false", "a click is a press and a release")
-- The key code is an unsigned 16-bit number.
IEvents:publishKeyEvent(65536 + 27, true, false, false, false)
check.eq(take(), "key 27 true false false", "key code cut to 16 bits")

-- Mouse positions travel as pixels of the screen and arrive as fractions.
local function mouse(channel)
    return function(kind, x, y, wheel)
        log(string.format("%s %d %.4g %.4g %.4g", channel, kind, x, y, wheel))
    end
end
IEvents:subscribeMouse(mouse("mouse"), nil, 0)
IEvents:subscribeMouseButton(mouse("button"), nil, 0)
IEvents:publishMouseEvent(6, 0.25, 0.5, 0, false)
check.eq(take(), "mouse 6 0.25 0.5 0", "a move reaches Mouse only")
IEvents:publishMouseEvent(7, 0, 0, -1.5, false)
check.eq(take(), "mouse 7 0 0 -1.5", "the wheel reaches Mouse only")
IEvents:publishMouseEvent(3, 1, 0.75, 0, false)
check.eq(take(), "mouse 3 1 0.75 0 | button 3 1 0.75 0", "a button event reaches both, Mouse first")

-- GUI events: the GUI's own elements never reach scripts.
IEvents:subscribeGui(function(name, kind) log("gui " .. name .. " " .. kind) end, nil, 0)
IEvents:publishGuiEvent("menu__GuiInternal__bar", 1, false)
IEvents:publishGuiEvent("Fenêtre", 7, false)
check.eq(take(), "gui Fenêtre 7", "internal elements are dropped")

-- User events: only the handlers of that name run, each gets the argument.
local payload = { 1, 2, 3 }
IEvents:subscribeUserEvent("score", function(args, userData, handled)
    check.truthy(rawequal(args, payload), "the argument is the very table")
    log("score " .. #args .. " " .. userData)
    return true
end, "ud", 0)
IEvents:subscribeUserEvent("other", function() log("other") end, nil, 0)
check.eq(IEvents:publishUserEvent("score", payload), true, "handled")
check.eq(take(), "score 3 ud", "only the score handler ran")

-- Native Tick subscribers: only the "CEvtTick" class, and only by a handle
-- the engine gave out; a number is never taken as an address.
check.eq(IEvents:subscribeEvent("CEvtGraphicsTick", 1234, 0), false, "other classes are refused")
check.eq(IEvents:unsubscribeEvent("CEvtLog", 1234), false, "other classes are refused")
check.raises("[IEvents::subscribeEvent] Invalid subscriber handle",
    function() IEvents:subscribeEvent("CEvtTick", 140737488355328, 0) end)
check.raises("[IEvents::unsubscribeEvent] Invalid subscriber handle",
    function() IEvents:unsubscribeEvent("CEvtTick", 0) end)

check.done()
