--! stdout: CHECKS PASSED
-- run with a duration the loop cannot reach soon (2^31 ms and more, and what
-- arrives as 0xFFFFFFFF: -1, inf, 1e308) keeps running: here a tick handler
-- stops it at its fifth tick, and the run did not end by itself before.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

IApp:enableThrottling(false)
local ticks = 0
local handle = IEvents:subscribeTick(function()
    ticks = ticks + 1
    if ticks == 5 then IApp:stop() end
end, nil, 0)

for _, duration in ipairs({2147483648, 2147483649, 4294967295, -1, 1/0, -1/0, 1e308, 0/0, 0}) do
    ticks = 0
    IApp:run(duration)
    check.eq(ticks, 5, "run(" .. tostring(duration) .. ") ticks")
end

-- A short duration still ends by itself.
ticks = -1000000
local start = IApp:getTime()
IApp:run(20)
check.truthy(IApp:getTime() - start > 20, "run(20) lasted past its time")
check.truthy(ticks < 0, "run(20) ended before the handler stopped it")

IEvents:unsubscribe(handle)
IApp:enableThrottling(true)
check.done()
