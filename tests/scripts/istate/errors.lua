--! stdout: CHECKS PASSED
-- Error handlers: given with queueEx, set by the running state (also by the
-- name of a global function, looked up when the error happens), and the
-- default handler for states without one.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local handled = {}
local function handler(tag)
    return function(message) handled[#handled + 1] = tag .. ": " .. string.match(message, ":%s*([^:]*)$") end
end

IState:queueEx{state = function() error("first") end, onerror = handler("onerror")}
IState:queue(function()
    IState:setErrorHandler("namedHandler")
    error("second")
end)
namedHandler = handler("named")
IState:queue(function()
    IState:setDefaultErrorHandler(handler("default"))
    error("third")
end)
IState:queue(function()
    check.eq(table.concat(handled, ", "), "onerror: first, named: second, default: third", "handlers")
    IState:setDefaultErrorHandler(nil)
    check.done()
end)
