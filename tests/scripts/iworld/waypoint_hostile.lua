--! stdout: CHECKS PASSED
-- Hostile arguments for every IWorld waypoint connection and navigator
-- function: wrong types, NaN and huge numbers, stale and foreign handles,
-- calls from coroutines, a navigator destroyed or the world unloaded
-- between calls. Each call returns or raises an error in the
-- "[Class::Method] ..." form (or the navigator's "Invalid ..." texts); the
-- graph and the navigators stay usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")

local functions = {
    "getWaypointType", "setWaypointType", "createWaypointConnection", "deleteWaypointConnection",
    "getWaypointConnectionCount", "getWaypointConnectionId", "getWaypointConnectionDestinationId",
    "getWaypointConnectionDestinationName", "getWaypointConnectionCost", "setWaypointConnectionDestinationId",
    "setWaypointConnectionDestinationName", "setWaypointConnectionCost", "createWaypointNavigator",
    "destroyWaypointNavigator", "addWaypointNavigatorStart", "setWaypointNavigatorGoal",
    "resetWaypointNavigator", "doWaypointNavigatorSearch", "doWaypointNavigatorSearchStep",
    "isWaypointNavigatorSearchComplete", "getWaypointNavigatorSearchIterations",
    "getWaypointNavigatorSolutionCount", "getWaypointNavigatorSolutionCost",
    "moveWaypointNavigatorSolutionStart", "moveWaypointNavigatorSolutionEnd",
    "moveWaypointNavigatorSolutionNext", "moveWaypointNavigatorSolutionPrevious",
    "isWaypointNavigatorSolutionValid", "getWaypointNavigatorSolutionCurrentId",
}

-- A graph of two waypoints joined both ways, and a navigator over it; made
-- again whenever a call took it away.
local state = {}
local function restore()
    if not (state.a and IWorld:waypointExists(state.a) and IWorld:waypointExists(state.b)) then
        IWorld:unload()
        state.a, state.b = IWorld:createWaypoint(), IWorld:createWaypoint()
        for _, pair in ipairs({{state.a, state.b}, {state.b, state.a}}) do
            local connection = IWorld:createWaypointConnection(pair[1])
            IWorld:setWaypointConnectionDestinationId(pair[1], connection, pair[2])
            state.connection = connection
        end
    end
    if not state.navigator or not pcall(IWorld.isWaypointNavigatorSolutionValid, IWorld, state.navigator) then
        state.navigator = IWorld:createWaypointNavigator()
    end
end
restore()

local weak = H.weak()
local values = H.values({
    state.a, state.b, state.connection, state.navigator, 1, 2 ^ 32 + state.navigator, state.navigator + 0.5,
    -state.navigator, "00000000-0000-4000-8000-000000000000", IMisc:vectorCreate(1, 2, 3),
    function() IWorld:unload() return false end,
}, weak)

local accepted = {"Invalid waypoint connection id:", "Invalid solution iterator"}
local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, IWorld, name, accepted, ...)
end

math.randomseed(20261210)
-- Arguments mixed from the values and the live graph's own ids.
local function arguments()
    local list, count = {}, math.random(0, 4)
    for index = 1, count do
        local pick = math.random(1, 4)
        if pick == 1 then
            list[index] = state.navigator
        elseif pick == 2 then
            list[index] = state.a
        elseif pick == 3 then
            list[index] = state.connection
        else
            list[index] = values[math.random(1, #values)]
        end
    end
    return list, count
end
local calls, failures = H.fuzz({
    check = check, functions = functions, rounds = 30, call = expectCleanCall, arguments = arguments,
    restore = restore,
    afterRound = function()
        -- Now and then the world goes under the navigators.
        if math.random(1, 4) == 1 then IWorld:unload() end
    end,
})
H.expectSomeFail(check, calls, failures)

-- Each kind of argument in every position of every function.
H.sweep(functions, values, restore, function(name, value)
    expectCleanCall(name, value, value, value, value)
end)

-- Still usable: a route from a to b, in a graph made again (the fuzz left
-- connections that lead nowhere, which stop a search).
IWorld:unload()
state.a = nil
restore()
local navigator = IWorld:createWaypointNavigator()
IWorld:addWaypointNavigatorStart(navigator, state.a)
IWorld:setWaypointNavigatorGoal(navigator, state.b)
check.truthy(IWorld:doWaypointNavigatorSearch(navigator), "a route after the fuzz")
check.eq(IWorld:getWaypointNavigatorSolutionCount(navigator), 1, "one step")
H.fromCoroutine(check, function()
    check.truthy(IWorld:moveWaypointNavigatorSolutionEnd(navigator), "end from a coroutine")
    check.eq(IWorld:getWaypointNavigatorSolutionCurrentId(navigator), state.b, "the goal")
end)

check.done()
