--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Hostile input to every IWorld function: wrong types, NaN, huge numbers,
-- unknown and stale ids, coroutines, weak tables and callbacks that fail or
-- yield. Every call returns or fails with a clear message; the world stays
-- usable. The two savers only ever write inside the test's folder.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local hostile = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
math.randomseed(46)

local function populate()
    local ids = {}
    for _, stem in ipairs({"Unit", "Light", "Agent", "Waypoint", "Camera", "Cursor"}) do
        local id = IWorld["create" .. stem](IWorld)
        IWorld:selectEntity(id)
        ids[#ids + 1] = id
    end
    return ids
end
local ids = populate()
local stale = IWorld:createTrigger()
IWorld:deleteEntity(stale)

local extra = {stale, "move", "scale", "rotate", "UTF8", "BINARY", IMisc:vectorCreate(1, 2, 3),
               function() return true end, function() coroutine.yield() end}
for _, id in ipairs(ids) do extra[#extra + 1] = id end
local values = hostile.values(extra)

-- Every function, by its name, but the two that write files.
local functions = {}
local mt = debug.getmetatable(IWorld)
for name in pairs(mt.__index) do
    if name ~= "save" and name ~= "saveEntity" then functions[#functions + 1] = name end
end
table.sort(functions)
check.truthy(#functions > 200, "functions listed")

local accepted = {"callback failed", "Lua assertion failed:m_functionObj.IsFunction()", "yield",
                  "Joint not found:"}
local function call(name, ...)
    return hostile.expectCleanCall(check, IWorld, name, accepted, ...)
end

-- Every value in the first position, then in the second after a live id.
hostile.sweep(functions, values, nil, function(name, value) call(name, value) end)
hostile.sweep(functions, values, nil, function(name, value) call(name, ids[1], value) end)

-- Seeded rounds of random calls; the world is filled again after each.
local calls, failures = hostile.fuzz({
    check = check, functions = functions, rounds = 3, call = call,
    arguments = hostile.randomArguments(values, 6),
    afterRound = function()
        for _, id in ipairs(populate()) do values[#values + 1] = id end
    end,
})
hostile.expectSomeFail(check, calls, failures)

-- The savers: hostile ids, names and modes, inside the test folder only.
for index = 1, #values do
    local value = values[index]
    check.eq(type(IWorld:saveEntity(value, work .. "/entity", "UTF8")), "boolean", "saveEntity id")
    check.eq(type(IWorld:saveEntity(ids[1], work .. "/entity", value)), "boolean", "saveEntity mode")
    call("save", work .. "/world", "data", value, true)
end

-- Walks from a coroutine, and a walk whose callback yields.
hostile.fromCoroutine(check, function()
    IWorld:forEachEntity(function(id) IWorld:deleteEntity(id) end)
end)
check.eq(IWorld:getNumberOfEntities(), 0, "deleted from a coroutine")
IWorld:createUnit()
check.raises("yield", IWorld.forEachUnit, IWorld, function() coroutine.yield() end)

-- Still usable.
IWorld:unload()
local unit = IWorld:createUnit()
IWorld:addUnit(unit, "", "")
check.eq(IWorld:getNumberOfEntities(), 1, "the world still works")
check.done()
