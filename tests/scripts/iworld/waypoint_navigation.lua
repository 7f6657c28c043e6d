--! stdout: CHECKS PASSED
-- A small waypoint graph built from a script, its connections read back,
-- and navigators over it: a route found at once and step by step, ties
-- taken the same way every time, the route walked both ways, gone
-- waypoints, null handles and handles that outlive their world.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local notFound = "[CWorldMap::GetUnit] Unit not found ["

-- Waypoints named by letters; connect("A", "B", 2) adds one connection.
local ids, letters = {}, {}
for letter in ("ABCDG"):gmatch(".") do
    local id = IWorld:createWaypoint()
    IWorld:setEntityName(id, letter)
    ids[letter], letters[id] = id, letter
end
local function connect(from, to, cost)
    local connection = IWorld:createWaypointConnection(ids[from])
    IWorld:setWaypointConnectionDestinationId(ids[from], connection, ids[to])
    IWorld:setWaypointConnectionCost(ids[from], connection, cost)
    return connection
end

-- A new connection: a fresh id, no destination, cost 0.
local A = ids.A
check.eq(IWorld:getWaypointConnectionId(A, 0), nil, "no connection yet")
local first = IWorld:createWaypointConnection(A)
check.eq(IWorld:getWaypointConnectionDestinationId(A, first), "", "no destination")
check.eq(IWorld:getWaypointConnectionCost(A, first), 0, "no cost")
check.raises(notFound .. "]", IWorld.getWaypointConnectionDestinationName, IWorld, A, first)
check.raises("Invalid waypoint connection id:nope", IWorld.getWaypointConnectionCost, IWorld, A, "nope")
IWorld:deleteWaypointConnection(A, "nope")
IWorld:deleteWaypointConnection(A, first)
check.eq(IWorld:getWaypointConnectionCount(A), 0, "deleted")

IWorld:setWaypointType(A, "door \195\169")
check.eq(IWorld:getWaypointType(A), "door \195\169", "type")
local ab = connect("A", "B", 1)
local ac = connect("A", "C", 1)
connect("A", "D", 5)
connect("B", "G", 1)
connect("C", "G", 1)
connect("D", "G", 0)
check.eq(IWorld:getWaypointConnectionCount(A), 3, "count")
check.eq(IWorld:getWaypointConnectionId(A, 0), ab, "first")
check.eq(IWorld:getWaypointConnectionId(A, 1), ac, "second")
local last = IWorld:getWaypointConnectionId(A, 2)
for _, index in ipairs({5, -1, 2 ^ 40, 0 / 0 + 0, "x"}) do
    local expected = (index == "x" or index ~= index) and ab or last
    check.eq(IWorld:getWaypointConnectionId(A, index), expected, "index " .. tostring(index))
end
check.eq(IWorld:getWaypointConnectionDestinationName(A, ab), "B", "destination name")
IWorld:setWaypointConnectionDestinationName(A, ab, "Bee")
check.eq(IWorld:getEntityName(ids.B), "Bee", "renamed")
check.eq(IWorld:getWaypointConnectionDestinationId(A, ab), ids.B, "the destination stays")
check.raises(notFound .. "nope]", IWorld.getWaypointType, IWorld, "nope")

local function route(navigator)
    local text = ""
    local more = IWorld:moveWaypointNavigatorSolutionStart(navigator)
    while more do
        text = text .. letters[IWorld:getWaypointNavigatorSolutionCurrentId(navigator)]
        more = IWorld:moveWaypointNavigatorSolutionNext(navigator)
    end
    return text
end
local function routeBack(navigator)
    local text = ""
    local more = IWorld:moveWaypointNavigatorSolutionEnd(navigator)
    while more do
        text = letters[IWorld:getWaypointNavigatorSolutionCurrentId(navigator)] .. text
        more = IWorld:moveWaypointNavigatorSolutionPrevious(navigator)
    end
    return text
end
local function navigator(start, goal)
    local handle = IWorld:createWaypointNavigator()
    IWorld:addWaypointNavigatorStart(handle, ids[start])
    IWorld:setWaypointNavigatorGoal(handle, ids[goal])
    return handle
end

-- At once: of the two routes of cost 2, the one through the first
-- connection, every time.
for run = 1, 20 do
    local at = navigator("A", "G")
    check.truthy(IWorld:doWaypointNavigatorSearch(at), "found " .. run)
    check.eq(route(at), "ABG", "route " .. run)
    check.eq(routeBack(at), "ABG", "back " .. run)
    check.eq(IWorld:getWaypointNavigatorSolutionCost(at), 2, "cost")
    check.eq(IWorld:getWaypointNavigatorSolutionCount(at), 2, "count")
    check.eq(IWorld:getWaypointNavigatorSearchIterations(at), 4, "iterations")
    check.eq(IWorld:destroyWaypointNavigator(at), true, "destroyed")
end

-- Step by step: searching until the step that takes the goal.
local steps = navigator("A", "G")
local count = 0
while not IWorld:isWaypointNavigatorSearchComplete(steps) do
    check.truthy(IWorld:doWaypointNavigatorSearchStep(steps), "step " .. count)
    count = count + 1
end
check.eq(count, 4, "steps")
check.eq(route(steps), "ABG", "stepped route")
check.truthy(IWorld:doWaypointNavigatorSearchStep(steps), "a step after the end")
check.eq(IWorld:getWaypointNavigatorSearchIterations(steps), 4, "no more iterations")
check.eq(IWorld:isWaypointNavigatorSolutionValid(steps), false, "walked off the end")
check.raises("Invalid solution iterator", IWorld.getWaypointNavigatorSolutionCurrentId, IWorld, steps)

-- Start at the goal.
local here = navigator("G", "G")
check.truthy(IWorld:doWaypointNavigatorSearch(here), "start is goal")
check.eq(IWorld:getWaypointNavigatorSolutionCount(here), 0, "nothing before the goal")
check.eq(route(here) .. routeBack(here), "GG", "start and end are the goal")

-- Without a start, and without a goal: failed, not complete.
local empty = IWorld:createWaypointNavigator()
IWorld:setWaypointNavigatorGoal(empty, ids.G)
check.eq(IWorld:doWaypointNavigatorSearch(empty), false, "no start")
check.eq(IWorld:isWaypointNavigatorSearchComplete(empty), false, "not complete")
check.eq(IWorld:doWaypointNavigatorSearchStep(empty), false, "failed stays failed")
local aimless = IWorld:createWaypointNavigator()
IWorld:addWaypointNavigatorStart(aimless, ids.A)
check.eq(IWorld:doWaypointNavigatorSearch(aimless), false, "no goal")
check.raises(notFound .. "nope]", IWorld.addWaypointNavigatorStart, IWorld, aimless, "nope")
check.raises(notFound .. "nope]", IWorld.setWaypointNavigatorGoal, IWorld, aimless, "nope")

-- Deleting B takes its connections with it: the other route of cost 2.
IWorld:deleteWaypoint(ids.B)
local again = navigator("A", "G")
check.truthy(IWorld:doWaypointNavigatorSearch(again), "found without B")
check.eq(route(again), "ACG", "the route without B")
-- A connection to a waypoint that is not there stops the search.
IWorld:setWaypointConnectionDestinationId(A, ac, "gone")
IWorld:resetWaypointNavigator(again)
IWorld:addWaypointNavigatorStart(again, A)
check.raises(notFound .. "gone]", IWorld.doWaypointNavigatorSearch, IWorld, again)
check.eq(IWorld:isWaypointNavigatorSearchComplete(again), false, "still searching")

-- A null handle answers without a navigator.
local null = {
    {"destroyWaypointNavigator", false}, {"doWaypointNavigatorSearch", false},
    {"doWaypointNavigatorSearchStep", false}, {"isWaypointNavigatorSearchComplete", true},
    {"getWaypointNavigatorSearchIterations", -1}, {"getWaypointNavigatorSolutionCount", -1},
    {"getWaypointNavigatorSolutionCost", -1}, {"moveWaypointNavigatorSolutionStart", false},
    {"moveWaypointNavigatorSolutionEnd", false}, {"moveWaypointNavigatorSolutionNext", false},
    {"moveWaypointNavigatorSolutionPrevious", false}, {"isWaypointNavigatorSolutionValid", false},
    {"getWaypointNavigatorSolutionCurrentId", ""}, {"resetWaypointNavigator", nil},
    {"addWaypointNavigatorStart", nil}, {"setWaypointNavigatorGoal", nil},
}
for _, row in ipairs(null) do
    check.eq(IWorld[row[1]](IWorld, 0, "nope"), row[2], row[1] .. " with a null handle")
end

-- A destroyed navigator, and every navigator once the world is unloaded,
-- is refused.
check.eq(IWorld:destroyWaypointNavigator(here), true, "destroyed")
check.raises("[IWorld::doWaypointNavigatorSearch] Invalid waypoint navigator handle: " .. here,
    IWorld.doWaypointNavigatorSearch, IWorld, here)
-- The world announces its unload; the navigators go with it.
local announced = false
IEvents:subscribeWorldUnload(function() announced = true end)
IWorld:unload()
check.eq(IWorld:getNumberOfWaypoints(), 0, "unloaded")
for _, handle in ipairs(announced and {steps, empty, again} or {}) do
    check.raises("[IWorld::resetWaypointNavigator] Invalid waypoint navigator handle: " .. handle,
        IWorld.resetWaypointNavigator, IWorld, handle)
    check.raises("[IWorld::destroyWaypointNavigator] Invalid waypoint navigator handle: " .. handle,
        IWorld.destroyWaypointNavigator, IWorld, handle)
end
-- New navigators work in the new world.
local fresh = IWorld:createWaypointNavigator()
check.eq(IWorld:doWaypointNavigatorSearch(fresh), false, "an empty world")
check.eq(IWorld:destroyWaypointNavigator(fresh), true, "destroyed")

check.done()
