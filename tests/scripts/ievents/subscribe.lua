--! stdout: CHECKS PASSED
-- Subscribing: every subscription gives its own handle, the callback gets
-- the event's fields, then the user data (passed through untouched), then
-- whether an earlier handler took the event. Handles are checked on every
-- use.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local calls = {}
local function record(...)
    calls[#calls + 1] = { n = select("#", ...), ... }
end

-- The user data is the very value given, nil included.
local data = { name = "hud" }
local gui = IEvents:subscribeGui(record, data, 0)
local key = IEvents:subscribeKey(record, nil, 0)
check.truthy(type(gui) == "number" and gui > 0, "a handle is a positive number")
check.truthy(key ~= gui, "each subscription has its own handle")

IEvents:publishGuiEvent("okButton", 3, false)
check.eq(#calls, 1, "one GUI call")
check.eq(calls[1].n, 4, "element, type, user data, handled")
check.eq(calls[1][1], "okButton", "element name")
check.eq(calls[1][2], 3, "GUI event type")
check.truthy(rawequal(calls[1][3], data), "the user data is the same table")
check.eq(calls[1][4], false, "nobody handled it before")

-- Key arguments: code, pressed, control, shift.
calls = {}
IEvents:publishKeyEvent(65, true, false, true, false)
check.eq(calls[1].n, 6, "key arguments")
check.eq(calls[1][1], 65, "key code")
check.eq(calls[1][2], true, "pressed")
check.eq(calls[1][3], false, "control")
check.eq(calls[1][4], true, "shift")
check.eq(calls[1][5], nil, "nil user data")

-- setUserData replaces the user data.
IEvents:setUserData(gui, "replaced")
calls = {}
IEvents:publishGuiEvent("okButton", 3, false)
check.eq(calls[1][3], "replaced", "new user data")

-- A callback named by a global is resolved once, when subscribing.
local named = {}
function onUser(args, userData) named[#named + 1] = args .. "/" .. userData end
local byName = IEvents:subscribeUserEvent("ping", "onUser", "first", 0)
onUser = nil
IEvents:publishUserEvent("ping", "a")
check.eq(named[1], "a/first", "the function that onUser named")

-- Two subscriptions of one callback are two handlers.
local twice = 0
local function count() twice = twice + 1 end
local c1 = IEvents:subscribeClose(count, nil, 0)
local c2 = IEvents:subscribeDrawPreGui(count, nil, 0)
check.truthy(c1 ~= c2, "distinct handles")

-- A callback must be a function or the name of a global function.
check.raises("[CManagedEventHandler] Callback function if not found",
    function() IEvents:subscribeTick("noSuchFunction", nil, 0) end)
check.raises("[CManagedEventHandler] Callback function if not found",
    function() IEvents:subscribeTick(42, nil, 0) end)

-- Handle 0 means no handler; any other number must be a live handle.
IEvents:setUserData(0, "ignored")
check.eq(IEvents:setTickPeriod(0, 100), false, "setTickPeriod(0)")
check.eq(IEvents:unsubscribe(0), false, "unsubscribe(0)")
check.eq(IEvents:unsubscribe(byName), true, "unsubscribe")
check.raises("[IEvents::unsubscribe] Invalid event handler handle",
    function() IEvents:unsubscribe(byName) end)
check.raises("[IEvents::setUserData] Invalid event handler handle",
    function() IEvents:setUserData(byName, 1) end)
check.raises("[IEvents::setTickPeriod] Invalid event handler handle",
    function() IEvents:setTickPeriod(key + 0.5, 10) end)
check.raises("[IEvents::unsubscribe] Invalid event handler handle",
    function() IEvents:unsubscribe(123456789) end)
check.eq(IEvents:setTickPeriod(key, 100), true, "setTickPeriod on a live handle")
IEvents:setPriority(key, 99)

-- The interface table is sealed.
check.eq(getmetatable(IEvents), "Metatable is readonly", "sealed metatable")

check.done()
