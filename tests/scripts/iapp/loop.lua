--! stdout: CHECKS PASSED
-- The main loop from a script: run for a time, single ticks, the settings
-- run takes along, the frame counters, and the guard that keeps every
-- other state (here a coroutine) away from the loop.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

-- No sub-engine works here: a tick reports no work and counts a frame.
check.eq(IApp:getAveFrameTime(), 0, "no frames: average 0")
check.eq(IApp:getAveProcessingTime(), 0, "no frames: average 0")
local frames = IApp:getTotalFrames()
check.eq(IApp:tick(), false, "tick")
check.eq(IApp:getTotalFrames(), frames + 1, "a tick is a frame")

-- run with a run time returns by itself once the time is over; a stop
-- asked for before the loop does not cut the next run short.
check.eq(IApp:isFrameCounterEnabled(), false, "frame counter off at start")
IApp:enableFrameCounter(true, true)
check.eq(IApp:isFrameCounterEnabled(), true, "frame counter on")
check.eq(IApp:getTotalFrames(), 0, "reset frames")
IApp:stop()
local start = IApp:getTime()
IApp:run(40)
local elapsed = IApp:getTime() - start
check.truthy(elapsed >= 40 and elapsed < 5000, "run lasted its time: " .. elapsed)
local counted = IApp:getTotalFrames()
check.truthy(counted > 0, "frames counted")
local frameTime = IApp:getTotalFrameTime()
check.truthy(frameTime > 0 and frameTime <= elapsed + 1, "frame time within the run: " .. frameTime)
check.truthy(IApp:getTotalProcessingTime() <= IApp:getTotalFrameTime(), "processing within frame time")
check.near(IApp:getAveFrameTime(), IApp:getTotalFrameTime() / counted, 1e-3, "average frame time")
IApp:enableFrameCounter(false, false)
IApp:sleep(2)
IApp:tick()
check.eq(IApp:getTotalFrames(), counted + 1, "frames count with the counter off")
check.eq(IApp:getTotalFrameTime(), frameTime, "times are not summed with the counter off")

-- Throttling: run's fourth argument turns it off when true; anything but
-- a boolean leaves it alone.
check.eq(IApp:isThrottlingEnabled(), true, "throttling at start")
IApp:run(1, nil, nil, true)
check.eq(IApp:isThrottlingEnabled(), false, "run(..., true) turned throttling off")
IApp:run(1, nil, nil, "yes")
check.eq(IApp:isThrottlingEnabled(), false, "a text changes nothing")
IApp:run(1, "x", "y", false)
check.eq(IApp:isThrottlingEnabled(), true, "run(..., false) turned it on")
IApp:enableThrottling(false)
check.eq(IApp:isThrottlingEnabled(), false, "enableThrottling")
IApp:enableThrottling(true)

-- stop, from a tick handler, ends the loop after the current tick.
local ticks = 0
local handle = IEvents:subscribeTick(function()
    ticks = ticks + 1
    if ticks == 3 then IApp:stop() end
end, nil, 0)
IApp:run(0)
check.eq(ticks, 3, "the loop ended after the tick that stopped it")
IEvents:unsubscribe(handle)

-- Only the main state drives the loop.
local guarded = {
    {"run", {1}}, {"tick", {}}, {"stop", {}}, {"isThrottlingEnabled", {}}, {"enableThrottling", {true}},
}
for _, case in ipairs(guarded) do
    local co = coroutine.create(function() return IApp[case[1]](IApp, unpack(case[2])) end)
    local ok, message = coroutine.resume(co)
    check.eq(ok, false, case[1] .. " from a coroutine")
    check.truthy(string.find(message, "[IApp::" .. case[1] .. "] Can only be called from the main Lua state.", 1, true),
        case[1] .. ": " .. tostring(message))
end
check.done()
