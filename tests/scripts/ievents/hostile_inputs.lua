--! stdout: CHECKS PASSED
-- Hostile input to IEvents: numbers that name no handler, callbacks that
-- release, re-enter, yield or fail, weakly held user data.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local live = IEvents:subscribeUserEvent("live", function() end, nil, 0)
local released = IEvents:subscribeUserEvent("gone", function() end, nil, 0)
IEvents:unsubscribe(released)

-- Numbers that are no handle: an error naming the function, before anything
-- happens. 0 and values that are not numbers (read as 0) name no handler.
local hostile = {0 / 0, -1, 1e300, -1e300, 1 / 0, 2 ^ 32 + live, 2 ^ 53, live + 0.5, released, "1e999"}
for _, number in ipairs(hostile) do
    check.raises("[IEvents::unsubscribe] Invalid event handler handle",
        function() IEvents:unsubscribe(number) end)
    check.raises("[IEvents::setUserData] Invalid event handler handle",
        function() IEvents:setUserData(number, {}) end)
    check.raises("[IEvents::setTickPeriod] Invalid event handler handle",
        function() IEvents:setTickPeriod(number, 10) end)
    check.raises("[IEvents::subscribeEvent] Invalid subscriber handle",
        function() IEvents:subscribeEvent("CEvtTick", number, 0) end)
    check.raises("[IEvents::unsubscribeEvent] Invalid subscriber handle",
        function() IEvents:unsubscribeEvent("CEvtTick", number) end)
    -- Only "CEvtTick" looks at its handle at all.
    check.eq(IEvents:subscribeEvent("CEvtOther", number, 0), false, "other class")
end
for _, none in ipairs({0, "text", {}, false}) do
    check.eq(IEvents:unsubscribe(none), false, "unsubscribe of no handler")
    check.eq(IEvents:setTickPeriod(none, 5), false, "setTickPeriod of no handler")
    IEvents:setUserData(none, "ignored")
end
check.eq(IEvents:unsubscribe(live), true, "the live handler goes")

-- Priorities beyond the integer range are cut, not refused.
for _, priority in ipairs({0 / 0, 1e300, -1e300, "x"}) do
    check.eq(IEvents:unsubscribe(IEvents:subscribeUserEvent("p", function() end, nil, priority)), true,
        "subscribed with priority " .. tostring(priority))
end

-- User data held only by its handler survives collections.
local seen
local handle = IEvents:subscribeUserEvent("weak", function(args, data) seen = data end,
    setmetatable({tag = "kept"}, {__mode = "kv"}), 0)
collectgarbage()
collectgarbage()
IEvents:publishUserEvent("weak", nil)
check.eq(seen and seen.tag, "kept", "user data kept by the handler")
IEvents:unsubscribe(handle)

-- A handler that publishes to itself, and releases itself at the deepest
-- call: it lives until the outermost call returns, then its handle is dead.
local depth, deepest = 0, 0
local self
self = IEvents:subscribeUserEvent("again", function()
    depth = depth + 1
    deepest = math.max(deepest, depth)
    if depth < 5 then
        IEvents:publishUserEvent("again", nil)
    else
        check.eq(IEvents:unsubscribe(self), true, "released inside its own call")
        check.raises("Invalid event handler handle", function() IEvents:setUserData(self, 1) end)
    end
    IEvents:setUserData(0, depth) -- the interface still works from inside
    depth = depth - 1
    return true
end, nil, 0)
check.eq(IEvents:publishUserEvent("again", nil), true, "handled")
check.eq(deepest, 5, "re-entered four times")
check.raises("Invalid event handler handle", function() IEvents:unsubscribe(self) end)
check.eq(IEvents:publishUserEvent("again", nil), false, "nobody left")

-- A callback may not yield: the publisher gets the error, the handler stays.
local yielding = IEvents:subscribeUserEvent("yield", function() coroutine.yield(1) end, nil, 0)
check.raises("yield", IEvents.publishUserEvent, IEvents, "yield", nil)
check.raises("yield", IEvents.publishUserEvent, IEvents, "yield", nil)
check.eq(IEvents:unsubscribe(yielding), true, "still subscribed after failing twice")

-- A callback that fails after changing its own user data, and an error
-- object that is not a string.
local failing
failing = IEvents:subscribeUserEvent("fail", function(args, data)
    IEvents:setUserData(failing, (data or 0) + 1)
    error({code = 1})
end, nil, 0)
check.raises("(error object is not a string)", IEvents.publishUserEvent, IEvents, "fail", nil)
check.raises("(error object is not a string)", IEvents.publishUserEvent, IEvents, "fail", nil)
check.eq(IEvents:unsubscribe(failing), true, "unsubscribed after failures")
check.done()
