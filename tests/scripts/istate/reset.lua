--! stdout: CHECKS PASSED
-- reset drops every waiting state; the running one goes on to its end.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local ran = {}
IState:queue(function() ran[#ran + 1] = "dropped 1" end)
IState:queue(function() ran[#ran + 1] = "dropped 2" end)
IState:reset()
check.eq(IState:getName(), string.sub(debug.getinfo(1, "S").source, 2), "the running state stays")
IState:queue(function()
    check.eq(#ran, 0, "the dropped states never ran")
    check.done()
end)
