--! stdout: CHECKS PASSED
-- IEvents, like IApp and IState, answers only the main script state's own
-- thread: a coroutine is refused with the interface's message.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local cases = {
    { "subscribeTick", function() end, nil, 0 },
    { "isGuiEnabled" },
    { "enableMouse", true },
    { "publishUserEvent", "x", {} },
    { "unsubscribe", 0 },
}
for _, case in ipairs(cases) do
    local co = coroutine.create(function() return IEvents[case[1]](IEvents, unpack(case, 2)) end)
    local ok, message = coroutine.resume(co)
    check.eq(ok, false, case[1] .. " from a coroutine")
    check.truthy(string.find(message, "[IEvents] Can only be called from the main Lua state.", 1, true),
        case[1] .. " message: " .. tostring(message))
end

-- On the main thread the same calls work.
check.eq(IEvents:isGuiEnabled(), true, "isGuiEnabled on the main thread")
check.done()
