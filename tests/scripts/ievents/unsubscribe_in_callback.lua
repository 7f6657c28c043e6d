--! stdout: CHECKS PASSED
-- A handler may unsubscribe itself, or another handler, from inside its
-- callback: the publication goes on without the removed ones, and their
-- handles are dead afterwards.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local calls = {}
local self, victim, released

-- Called first (latest at equal priority): removes itself and answers.
local function selfRemoving(args, userData, handled)
    calls[#calls + 1] = "self"
    check.eq(IEvents:unsubscribe(self), true, "unsubscribe itself")
    return true
end
local function remover(args, userData, handled)
    calls[#calls + 1] = "remover(" .. tostring(handled) .. ")"
    if victim then
        check.eq(IEvents:unsubscribe(victim), true, "unsubscribe the next one")
        released = victim
        victim = nil
    end
end
local function victimCallback()
    calls[#calls + 1] = "victim"
end

victim = IEvents:subscribeUserEvent("e", victimCallback, nil, 0)
IEvents:subscribeUserEvent("e", remover, nil, 0)
self = IEvents:subscribeUserEvent("e", selfRemoving, nil, 0)

check.eq(IEvents:publishUserEvent("e", nil), true, "the removed handler's answer counts")
check.eq(table.concat(calls, " "), "self remover(true)", "first publication")

calls = {}
check.eq(IEvents:publishUserEvent("e", nil), false, "second publication")
check.eq(table.concat(calls, " "), "remover(false)", "only the remover is left")
check.raises("Invalid event handler handle", function() IEvents:unsubscribe(self) end)
check.raises("Invalid event handler handle", function() IEvents:setUserData(released, 1) end)

-- Released and subscribed again inside one publication: the new handler
-- waits for the next publication.
calls = {}
local again
again = IEvents:subscribeKey(function()
    calls[#calls + 1] = "again"
    IEvents:unsubscribe(again)
    again = IEvents:subscribeKey(function() calls[#calls + 1] = "new" end, nil, 0)
end, nil, 0)
IEvents:publishKeyEvent(1, true, false, false, false)
check.eq(table.concat(calls, " "), "again", "the new one is not called yet")
IEvents:publishKeyEvent(1, false, false, false, false)
check.eq(table.concat(calls, " "), "again new", "the new one is called next time")

check.done()
