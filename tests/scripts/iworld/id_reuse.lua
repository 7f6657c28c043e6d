--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Ids that come back after their entities were deleted: a whole world
-- deleted in a shuffled order and loaded again, and one id taken by an
-- entity of another kind and then by its own kind again. Every lookup must
-- reach the new entity, never what the old one left.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

local count = 200
local ids = {}
for i = 1, count do
    local id = IWorld:createUnit()
    IWorld:setEntityName(id, "unit " .. i)
    IWorld:setEntityPosition(id, V(i, 0, 0))
    IWorld:addUnit(id, i % 10 == 0 and ids[1] or "", "")
    ids[i] = id
end
check.eq(IWorld:save(work, "world.kvoworld", "BINARY", false), true, "saved")
local lightFile = work .. "/light.kvoentity"
local light = IWorld:createLight()
IWorld:setEntityName(light, "a light")
check.eq(IWorld:saveEntity(light, lightFile, "UTF8"), true, "light saved")
IWorld:deleteEntity(light)

-- The same ids, each round deleted in another order.
math.randomseed(61)
for round = 1, 3 do
    local order = {}
    for i = 1, count do order[i] = i end
    for i = count, 2, -1 do
        local j = math.random(i)
        order[i], order[j] = order[j], order[i]
    end
    for _, i in ipairs(order) do
        check.eq(IWorld:deleteEntity(ids[i]), true, "deleted " .. i)
    end
    check.eq(IWorld:getNumberOfEntities(), 0, "round " .. round .. ": none left")
    for i = 1, count, 37 do
        check.eq(IWorld:entityExists(ids[i]), false, "round " .. round .. ": gone " .. i)
    end
    check.eq(IWorld:load(work, "world.kvoworld", nil, false, true), true, "round " .. round .. ": loaded")
    check.eq(IWorld:getNumberOfUnits(), count, "round " .. round .. ": all back")
    for i = 1, count do
        local id = ids[i]
        check.eq(IWorld:getEntityName(id), "unit " .. i, "round " .. round .. ": name " .. i)
        check.eq(IGraphics:isEntityInitialised(id), true, "round " .. round .. ": node of " .. i)
        IWorld:setEntityPosition(id, V(0, i, 0))
        check.eq(IWorld:getEntityPosition(id):getY(), i, "round " .. round .. ": moved " .. i)
    end
end

-- One id as a light, then as a unit again.
local id = ids[5]
IWorld:deleteEntity(id)
check.eq(IWorld:loadLight(lightFile, id), id, "a light under the unit's id")
check.eq(IWorld:lightExists(id), true, "it is a light")
check.eq(IWorld:unitExists(id), false, "no unit of that id")
check.eq(IWorld:getEntityName(id), "a light", "the light answers")
check.eq(IWorld:getNumberOfEntities(), count, "as many entities")
check.eq(IWorld:deleteEntity(id), true, "the light deleted")
check.eq(IWorld:lightExists(id), false, "no light of that id")
check.eq(IWorld:load(work, "world.kvoworld", nil, false, true), true, "loaded over the world")
check.eq(IWorld:unitExists(id), true, "the unit is back")
check.eq(IWorld:getEntityName(id), "unit 5", "the unit answers")
check.eq(IWorld:getEntityPosition(id):getX(), 5, "with its saved place")
check.eq(IWorld:getNumberOfEntities(), count, "nothing doubled")

IWorld:unload()
check.eq(IWorld:getNumberOfEntities(), 0, "unloaded")
check.done()
