--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Entities of any kind by id: selection, copies, deletes, walks whose
-- callbacks delete or clear, edit mode, entity scripts, and entity data
-- beside world data.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

local unit = IWorld:createUnit()
local light = IWorld:createLight()
local cursor = IWorld:createCursor()
IWorld:addUnit(unit, "", "")

-- Selection across the kinds, in the group's order (cursors, units, ...,
-- lights).
check.eq(IWorld:getNumberOfEntities(), 3, "count")
IWorld:selectEntity(light)
IWorld:selectEntity(unit)
IWorld:selectEntity(cursor)
IWorld:selectEntity("nobody")
check.eq(IWorld:getNumberOfSelectedEntities(), 3, "selected")
check.eq(IWorld:getSelectedEntity(0), cursor, "selected 0")
check.eq(IWorld:getSelectedEntity(1), unit, "selected 1")
check.eq(IWorld:getSelectedEntity(2), light, "selected 2")
check.eq(IWorld:getSelectedEntity(3), nil, "index at the count")
check.eq(IWorld:isEntitySelected(unit), true, "unit selected")
IWorld:deselectEntity(unit)
IWorld:deselectEntity("nobody")
check.eq(IWorld:isEntitySelected(unit), false, "unit deselected")
local walked = {}
IWorld:forEachSelectedEntity(function(id, data) walked[#walked + 1] = id .. data end, "!")
check.eq(table.concat(walked, " "), cursor .. "! " .. light .. "!", "selected walk")
IWorld:deselectAll()
check.eq(IWorld:getNumberOfSelectedEntities(), 0, "none selected")

-- Copies: new ids, the copies become the selection.
check.eq(IWorld:copySelectedEntities(), 0, "nothing to copy")
check.eq(IWorld:getNumberOfEntities(), 3, "nothing copied")
IWorld:setEntityName(unit, "original")
local copy = IWorld:copyEntity(unit)
check.truthy(copy ~= unit and IWorld:entityExists(copy), "copied")
check.eq(IWorld:getEntityName(copy), "original", "copy's name")
check.raises("[CWorldMapGroup::CopyUnit] Unit not found [nobody]", IWorld.copyEntity, IWorld, "nobody")
IWorld:selectEntity(unit)
IWorld:selectEntity(light)
check.eq(IWorld:copySelectedEntities(), 2, "two copied")
check.eq(IWorld:getNumberOfEntities(), 6, "six entities")
check.eq(IWorld:getNumberOfSelectedEntities(), 2, "the copies are selected")
check.eq(IWorld:isEntitySelected(unit) or IWorld:isEntitySelected(light), false, "originals not selected")
check.eq(IWorld:deleteSelectedEntities(), 2, "copies deleted")
check.eq(IWorld:getNumberOfEntities(), 4, "four left")
check.eq(IWorld:deleteEntity(copy), true, "deleted")
check.raises("[CWorldMapGroup::GetUnit] Unit not found [" .. copy .. "]", IWorld.deleteEntity, IWorld, copy)

-- Walks whose callbacks delete the next entity, their own, or clear.
for _ = 1, 4 do IWorld:createTrigger() end
local seen = 0
IWorld:forEachTrigger(function(id)
    seen = seen + 1
    IWorld:deleteTrigger(id)
    IWorld:forEachTrigger(function(other) IWorld:deleteEntity(other) return true end)
end)
check.eq(seen, 2, "every other trigger deleted by the callback")
check.eq(IWorld:getNumberOfTriggers(), 0, "triggers gone")
for _ = 1, 3 do IWorld:createBillboard() end
seen = 0
IWorld:forEachEntity(function() seen = seen + 1 IWorld:clearBillboards() IWorld:clearUnits() end)
check.eq(IWorld:getNumberOfBillboards() + IWorld:getNumberOfUnits(), 0, "cleared from a walk")
check.eq(seen, 2, "the walk skips what was cleared (cursor, then light)")

-- Edit mode: bits by mask; mask 0 is the whole word.
check.eq(IWorld:getEntityEditMode(light, 0), 0, "no flags")
IWorld:setEntityEditMode(light, true, 2048)
IWorld:setEntityEditMode(light, true, 1)
check.eq(IWorld:getEntityEditMode(light, 2048), 2048, "bit set")
check.eq(IWorld:getEntityEditMode(light, 0), 2049, "whole word")
IWorld:setEntityEditMode(light, false, 1)
check.eq(IWorld:getEntityEditMode(light, 0), 2048, "bit cleared")
IWorld:setEntityEditMode(light, true, 0)
check.eq(IWorld:getEntityEditMode(light, 0), 4294967295, "all ones")
IWorld:setEntityEditMode(light, false, 0)
check.eq(IWorld:getEntityEditMode(light, 0), 0, "all off")

-- Entity scripts: "<script>_<name>" with the id, an argument and nils.
IWorld:setEntityScript(light, "door")
local got
function door_open(...) got = {n = select("#", ...), ...} end
check.eq(IWorld:callEntityScript(light, "open"), true, "called")
check.eq(got[1], light, "id first")
check.eq(got.n, 7, "seven arguments")
check.eq(IWorld:callEntityScript1(light, "open", {tag = 5}), true, "called with an argument")
check.eq(got[2].tag, 5, "the argument")
check.eq(IWorld:callEntityScript(light, "close"), true, "no such function: nothing")
function door_fail() error("door is stuck") end
check.raises("door is stuck", IWorld.callEntityScript, IWorld, light, "fail")

-- Entity data against world data.
local cases = {
    {"setEntityDataFloat", "setDataFloat", 0.5, "0.500000", "0.5"},
    {"setEntityDataInt", "setDataInt", -7, "-7", "-7"},
    {"setEntityDataBool", "setDataBool", true, "1", "1"},
}
for _, c in ipairs(cases) do
    IWorld[c[1]](IWorld, light, "k", c[3])
    IWorld[c[2]](IWorld, "k", c[3])
    check.eq(IWorld:getEntityData(light, "k"), c[4], c[1])
    check.eq(IWorld:getData("k"), c[5], c[2])
end
IWorld:setEntityData(light, "hex", "0x10")
IWorld:setData("hex", "0x10")
check.eq(IWorld:getEntityDataInt(light, "hex"), 0, "entity data reads decimal")
check.eq(IWorld:getDataInt("hex"), 16, "world data reads hexadecimal")
check.eq(IWorld:getEntityDataFloat(light, "nothing"), 0, "missing float")
check.eq(IWorld:getEntityDataBool(light, "k"), true, "bool")
check.eq(IWorld:dataExistsEntity(light, "hex"), true, "exists")
check.eq(IWorld:getEntityDataCount(light), 2, "count")
local entries = {}
IWorld:forEachEntityData(light, function(id, key, value, data)
    entries[#entries + 1] = key .. "=" .. value
    check.eq(id, light, "id first")
    check.eq(data, 9, "user data")
    IWorld:clearEntityData(id)
end, 9)
check.eq(table.concat(entries, ","), "hex=0x10", "entries cleared by a callback are not walked")
check.eq(IWorld:getEntityDataCount(light), 0, "cleared from the walk")

-- Walks whose callbacks change the bag: an entry deleted before its turn is
-- skipped, one changed before its turn is seen as it is now, one added is
-- not walked; a callback that deletes the entity ends the walk.
local function fill(set)
    for _, key in ipairs({ "a", "b", "c", "d", "e" }) do set(key, key .. "0") end
end
local walks = {
    { "clear", function(key, del, set, clear) clear() end, "a=a0" },
    { "delete the next", function(key, del) if key == "a" then del("b") end end, "a=a0,c=c0,d=d0,e=e0" },
    { "delete itself", function(key, del) del(key) end, "a=a0,b=b0,c=c0,d=d0,e=e0" },
    { "change the next", function(key, del, set) set(string.char(key:byte() + 1), "new") end,
        "a=a0,b=new,c=new,d=new,e=new" },
    { "add", function(key, del, set) set(key .. "x", "added") end, "a=a0,b=b0,c=c0,d=d0,e=e0" },
}
local copyOf = IWorld:copyEntity(light)
for _, walk in ipairs(walks) do
    local seen = {}
    IWorld:clearEntityData(copyOf)
    fill(function(key, value) IWorld:setEntityData(copyOf, key, value) end)
    IWorld:forEachEntityData(copyOf, function(id, key, value)
        seen[#seen + 1] = key .. "=" .. value
        walk[2](key, function(k) IWorld:deleteEntityData(id, k) end,
            function(k, v) IWorld:setEntityData(id, k, v) end, function() IWorld:clearEntityData(id) end)
    end)
    check.eq(table.concat(seen, ","), walk[3], "entity data: " .. walk[1])
    seen = {}
    IWorld:clearData()
    fill(function(key, value) IWorld:setData(key, value) end)
    IWorld:forEachData(function(key, value)
        seen[#seen + 1] = key .. "=" .. value
        walk[2](key, function(k) IWorld:deleteData(k) end, function(k, v) IWorld:setData(k, v) end,
            function() IWorld:clearData() end)
    end)
    check.eq(table.concat(seen, ","), walk[3], "world data: " .. walk[1])
end
local calls = 0
IWorld:forEachEntityData(copyOf, function(id)
    calls = calls + 1
    IWorld:deleteEntity(id)
end)
check.eq(calls, 1, "the walk ends with its entity")
check.eq(IWorld:entityExists(copyOf), false, "deleted from its walk")
IWorld:deleteData("k")
check.eq(IWorld:dataExists("k"), false, "world data deleted")
IWorld:clearData()
check.eq(IWorld:getDataCount(), 0, "world data cleared")

-- Properties by id.
IWorld:setEntityModelName(light, "lamp.x")
check.eq(IWorld:getEntityModelName(light), "lamp.x", "model name")
IWorld:setEntityRotation(light, IMisc:vectorCreate(0, 90, 0))
check.near(IWorld:getEntityRotation(light):getY(), 90, 1e-3, "rotation")
IWorld:refreshEntity(light)
check.raises("[CWorldMapGroup::GetUnit] Unit not found [nobody]", IWorld.getEntityPosition, IWorld, "nobody")

check.done()
