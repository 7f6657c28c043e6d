--! stdout: CHECKS PASSED
-- The frame as scripts see it on the NULL device: a recorder on every
-- channel of IEvents shows each step of the loop drawing the GUI pass and
-- then publishing the graphics tick (no camera: no scene pass); a frame on
-- request has no tick. The tick's fields, the frame counter, the lock, the
-- frame rate and background rendering decide which frames there are.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local journal = {}
local ticks = {}
local loopTicks = {}
local channels = {"Log", "Close", "State", "Run", "Gui", "Key", "Mouse", "MouseButton", "Tick",
    "TickGraphics", "TickPhysics", "CameraChange", "AnimationComplete", "DrawPreScene", "DrawPostScene",
    "DrawPreGui", "DrawPostGui", "Activated", "LeaveWorld", "CollisionEnter", "CollisionExit", "WorldSave",
    "WorldDataLoad", "WorldGraphicsLoad", "WorldPhysicsLoad", "WorldSoundLoad", "WorldLoad", "WorldUnload"}
for _, channel in ipairs(channels) do
    IEvents["subscribe" .. channel](IEvents, function(...)
        local args = {...}
        if channel == "Tick" then
            loopTicks[#loopTicks + 1] = args[1]
            return false
        end
        journal[#journal + 1] = channel
        if channel == "TickGraphics" then
            ticks[#ticks + 1] = args
        end
        return false
    end, channel, 0)
end

local function take()
    local taken = table.concat(journal, " ")
    journal, ticks, loopTicks = {}, {}, {}
    return taken
end

-- Frames of the loop: every group is the GUI pass and the tick.
local function frames(text)
    local count = 0
    local rest = string.gsub(text, "DrawPreGui DrawPostGui TickGraphics ?", function()
        count = count + 1
        return ""
    end)
    return count, rest
end

-- Before init nothing draws.
check.eq(IGraphics:draw(false, false, false), false, "draw before init")
IApp:run(30)
check.eq(take(), "Run Run", "a loop without a device: start and stop only")

check.truthy(IGraphics:init("NULL", 320, 240, false, 16, false, false, false, 100, false), "init")
check.eq(take(), "", "init publishes nothing")

-- The NULL device has no window: it is never active, so nothing is drawn
-- until background rendering is on.
check.eq(IGraphics:isWindowActive(), false, "NULL window active")
check.eq(IGraphics:draw(false, false, true), false, "draw of an inactive window")
IApp:run(40)
check.eq(take(), "Run Run", "no frame while the window is inactive")

IGraphics:setBackgroundRenderingEnabled(true)
check.eq(IGraphics:getBackgroundRenderingEnabled(), true, "background rendering")
check.eq(IGraphics:isWindowActive(), true, "active with background rendering")

-- A frame on request: the GUI pass, no tick.
check.eq(IGraphics:draw(true, true, true), true, "draw")
check.eq(take(), "DrawPreGui DrawPostGui", "a frame on request")

-- The loop: frames in the fixed order, between the loop's start and stop.
IGraphics:enableFrameCounter(true, true)
IApp:run(150)
local seenTicks, seenLoopTicks = ticks, loopTicks
local text = take()
check.eq(string.sub(text, 1, 4), "Run ", "the loop starts first: " .. text)
check.eq(string.sub(text, -4), " Run", "the loop stops last: " .. text)
local count, rest = frames(string.sub(text, 5, -5))
check.eq(rest, "", "nothing but whole frames in between: " .. text)
check.truthy(count >= 2, "frames in 150 ms at 100 frames a second: " .. count)

-- The tick: the loop's time of the step, the time of the step drawn
-- before, the window's own state (the NULL device is never active, whatever
-- background rendering says), then the user data and whether a subscriber
-- before took it.
check.eq(#seenTicks, count, "one tick per frame")
for index, tick in ipairs(seenTicks) do
    local time, previous, active, data, handled = unpack(tick, 1, 5)
    check.eq(active, false, "tick " .. index .. " window state")
    check.eq(data, "TickGraphics", "tick " .. index .. " user data")
    check.eq(handled, false, "tick " .. index .. " handled")
    local seen = false
    for _, loopTime in ipairs(seenLoopTicks) do seen = seen or loopTime == time end
    check.truthy(seen, "tick " .. index .. " at a time of the loop: " .. time)
    if index > 1 then
        check.eq(previous, seenTicks[index - 1][1], "tick " .. index .. " previous time")
        check.truthy(time > previous, "tick " .. index .. " later than the one before")
    end
end

-- The frame counter counts the loop's steps, not frames on request.
check.eq(IGraphics:isFrameCounterEnabled(), true, "frame counter on")
check.eq(IGraphics:getTotalFrames(), count, "frames counted")
local total = IGraphics:getTotalProcessingTime()
check.truthy(total >= 0, "processing time")
check.near(IGraphics:getAveProcessingTime(), total / count, 1e-4, "average processing time")
IGraphics:draw(false, false, false)
take()
check.eq(IGraphics:getTotalFrames(), count, "a frame on request is not counted")
-- With the counter off the steps are still counted, their time is not.
IGraphics:enableFrameCounter(false, false)
IApp:run(40)
local more = frames(take())
check.eq(IGraphics:getTotalFrames(), count + more, "steps counted with the counter off")
check.eq(IGraphics:getTotalProcessingTime(), total, "no time summed with the counter off")
check.eq(IGraphics:isFrameCounterEnabled(), false, "frame counter off")
IGraphics:enableFrameCounter(false, true)
check.eq(IGraphics:getTotalFrames(), 0, "reset frames")
check.eq(IGraphics:getTotalProcessingTime(), 0, "reset time")
check.eq(IGraphics:getAveProcessingTime(), 0, "average without frames")

-- Locked, the graphics engine skips its frames; unlocked it draws again.
IGraphics:lock(true)
IApp:run(40)
check.eq(take(), "Run Run", "no frame while locked")
check.eq(IGraphics:draw(false, false, false), true, "a frame on request while locked")
take()
IGraphics:lock(false)
IApp:run(40)
check.truthy(frames(take()) >= 1, "frames after unlocking")

-- A frame rate of 0 never steps; the rate is kept as given.
IGraphics:setDesiredFrameRate(0)
check.eq(IGraphics:getDesiredFrameRate(), 0, "rate 0")
IApp:run(40)
check.eq(take(), "Run Run", "no frame at rate 0")
IGraphics:setDesiredFrameRate(50)
check.eq(IGraphics:getDesiredFrameRate(), 50, "rate 50")
IApp:run(60)
check.truthy(frames(take()) >= 1, "frames at rate 50")

-- Background rendering off again: the loop draws nothing.
IGraphics:setBackgroundRenderingEnabled(false)
IApp:run(40)
check.eq(take(), "Run Run", "background rendering off")

-- A window id switches background rendering on (the NULL device makes no
-- window, so any id serves).
check.truthy(IGraphics:initEx("NULL", 64, 64, false, 16, false, false, false, 100, 4711, false), "initEx")
check.eq(IGraphics:getBackgroundRenderingEnabled(), true, "background rendering after initEx with a window id")
IApp:run(40)
check.truthy(frames(take()) >= 1, "frames after initEx")

-- After destroy the loop has no graphics frames; the rate went with the
-- device.
IGraphics:destroy()
check.eq(IGraphics:getDesiredFrameRate(), 0, "rate after destroy")
IApp:run(30)
check.eq(take(), "Run Run", "no frame after destroy")
check.done()
