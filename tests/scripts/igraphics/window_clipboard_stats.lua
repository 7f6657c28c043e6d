--! stdout: CHECKS PASSED
-- The render window's caption, icon, style and placement, the clipboard and
-- the frame statistics, before the device exists and on the NULL device.
-- The NULL device has no window: the clipboard is never touched there (the
-- library's clipboard would end the process), so it reads empty.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local G = IGraphics

local function checkQuiet(when)
    G:writeClipboard("copied " .. when)
    check.eq(G:readClipboard(), "", when .. ": the clipboard stays untouched")
    check.eq(G:setWindowIcon("icon.ico"), false, when .. ": no window icon")
    check.eq(type(G:getFrameRate()), "number", when .. ": frame rate")
    check.eq(G:getNumberOfTris(), 0, when .. ": nothing drawn")
end

-- Without a device the caption and the style are stored.
checkQuiet("no device")
check.eq(G:getFrameRate(), 0, "no frame rate without a device")
G:setWindowCaption("Before ünïcode")
check.eq(G:getWindowCaption(), "Before ünïcode", "caption stored")
G:setWindowParams(7, 10, 20, 320, 200)
check.eq(G:getWindowStyle(), 7, "style stored")

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
checkQuiet("NULL device")
G:setWindowCaption("Game")
check.eq(G:getWindowCaption(), "Game", "caption with a device")
G:setWindowParams(3, -1, -1, 0, 0)
check.eq(G:getWindowStyle(), 3, "style with a device")
G:draw()
check.eq(G:getNumberOfTris(), 0, "an empty scene draws nothing")

-- Hostile arguments end in an error of the "[Class::Method] ..." form or
-- nothing, nil past the end of the list, from the main thread and from a
-- coroutine.
local hostile = {0 / 0, 1 / 0, -1e308, 2 ^ 53, "", {}, string.rep("x", 100000), "\255\254", true, false, print,
    function() error("callback failed") end, coroutine.create(function() end)}
local function expectClean(name, ...)
    local ok, message = pcall(G[name], G, ...)
    if not ok then
        check.truthy(type(message) == "string" and string.find(message, "^%[%w+::%w+%] "),
            name .. " failed without a clear message: " .. tostring(message))
    end
end
local function sweep()
    for index = 1, #hostile + 1 do
        local value = hostile[index]
        expectClean("setWindowCaption", value)
        expectClean("setWindowParams", value, value, value, value, value)
        expectClean("writeClipboard", value)
        expectClean("setWindowIcon", value)
    end
end
sweep()
H.fromCoroutine(check, sweep)
check.eq(G:readClipboard(), "", "still untouched")
check.done()
