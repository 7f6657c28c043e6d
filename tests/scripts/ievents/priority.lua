--! stdout: CHECKS PASSED
-- Delivery order: higher priority first, the later of equal priorities
-- first; the channel calls everybody and tells each whether an earlier one
-- took the event. The fixed-priority subscriptions use 0 whatever is given,
-- and setPriority changes nothing.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local order = {}
local function named(name, result)
    return function(code, pressed, control, shift, userData, handled)
        order[#order + 1] = name .. (handled and "+" or "-")
        return result
    end
end

local a = IEvents:subscribeKey(named("a5"), nil, 5)
IEvents:subscribeKey(named("b0", true), nil, 0)
IEvents:subscribeKey(named("c5"), nil, 5)
IEvents:subscribeKey(named("d-1"), nil, -1)
IEvents:setPriority(a, -100)

IEvents:publishKeyEvent(1, true, false, false, false)
check.eq(table.concat(order, " "), "c5- a5- b0- d-1+", "order and handled flags")

-- publishUserEvent answers whether any handler returned true.
local function answer(value) return function() return value end end
IEvents:subscribeUserEvent("ask", answer(nil), nil, 0)
check.eq(IEvents:publishUserEvent("ask", nil), false, "nil is not handled")
IEvents:subscribeUserEvent("ask", answer(0), nil, 0)
check.eq(IEvents:publishUserEvent("ask", nil), true, "0 counts as handled")
check.eq(IEvents:publishUserEvent("nobody", nil), false, "a name nobody filters on")

-- User event subscriptions ignore the priority argument: both are at 0, so
-- the later one comes first.
order = {}
local function user(name)
    return function() order[#order + 1] = name end
end
IEvents:subscribeUserEvent("go", user("high"), nil, 100)
IEvents:subscribeUserEvent("go", user("low"), nil, -100)
IEvents:publishUserEvent("go", nil)
check.eq(table.concat(order, " "), "low high", "priority argument not used")

check.done()
