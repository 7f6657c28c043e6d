--! exit: 1
--! stderr: callback_error.lua
--! stderr: the callback gave up
--! not-stderr: CHECK FAILED
-- A failing callback ends the publication with the script's message: a
-- script can catch it with pcall; uncaught, it ends the program through the
-- script error path. The handler stays subscribed.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

-- Subscribed first, so called after the failing one: never reached.
local after = 0
IEvents:subscribeUserEvent("fail", function() after = after + 1 end, nil, 0)
local calls = 0
IEvents:subscribeUserEvent("fail", function()
    calls = calls + 1
    error("the callback gave up")
end, nil, 0)

local ok, message = pcall(function() return IEvents:publishUserEvent("fail", nil) end)
check.eq(ok, false, "the error reaches the publisher")
check.truthy(string.find(message, "the callback gave up", 1, true), "the script's message: " .. tostring(message))
check.eq(calls, 1, "called once")
check.eq(after, 0, "later handlers are not called")

-- Uncaught this time: the program ends with the message.
IEvents:publishUserEvent("fail", nil)
check.fail("not reached")
