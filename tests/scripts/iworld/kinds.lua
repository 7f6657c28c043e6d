--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- The block every kind shares, as one table over the eleven kinds: create,
-- exists, count, type id, visibility, selection, walks, add (and its
-- errors), saving and loading one entity, delete and clear.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

local kinds = {
    {"Cursor", "Cursors", 32768}, {"Camera", "Cameras", 16384}, {"Light", "Lights", 128},
    {"Trigger", "Triggers", 512}, {"Unit", "Units", 32}, {"Billboard", "Billboards", 1024},
    {"Water", "Waters", 8192}, {"Terrain", "Terrains", 4096}, {"Agent", "Agents", 16},
    {"ParticleSystem", "ParticleSystems", 64}, {"Waypoint", "Waypoints", 256},
}
local freshId = "0b7d2f7e-1111-4222-8333-444455556666"

local function call(name, ...)
    return IWorld[name](IWorld, ...)
end

local function collect(walk, stopAfter)
    local seen = {}
    call(walk, function(id, data)
        check.eq(data, "user", walk .. " user data")
        seen[#seen + 1] = id
        return #seen == stopAfter
    end, "user")
    return seen
end

local light = IWorld:createLight()
for _, kind in ipairs(kinds) do
    local stem, plural, typeId = kind[1], kind[2], kind[3]
    local lower = string.lower(string.sub(stem, 1, 1)) .. string.sub(stem, 2)
    local what = stem .. ": "
    local base = call("getNumberOf" .. plural)

    local a = call("create" .. stem)
    local b = call("create" .. stem)
    check.eq(#a, 36, what .. "id is a UUID text")
    check.truthy(call(lower .. "Exists", a), what .. "exists")
    check.eq(call(lower .. "Exists", "nobody"), false, what .. "unknown id")
    check.eq(call("getNumberOf" .. plural), base + 2, what .. "count")
    check.eq(call("get" .. stem .. "TypeId"), typeId, what .. "type id")
    check.eq(IWorld:getEntityTypeId(a), typeId, what .. "entity type id")

    check.eq(call("are" .. plural .. "Visible"), true, what .. "visible at first")
    call("set" .. plural .. "Visible", false)
    check.eq(call("are" .. plural .. "Visible"), false, what .. "hidden")
    call("set" .. plural .. "Visible", true)

    -- Selection through the world-wide function.
    IWorld:selectEntity(a)
    check.eq(call("getNumberOfSelected" .. plural), 1, what .. "selected count")
    check.eq(call("getSelected" .. stem, 0), a, what .. "selected 0")
    for _, index in ipairs({1, -1, 2 ^ 40, -(2 ^ 40)}) do
        check.eq(call("getSelected" .. stem, index), nil, what .. "selected " .. tostring(index))
    end

    -- Walks: all in the collection's order, the selected only, a true result
    -- ends the walk, a global function's name serves as the callback.
    check.eq(#collect("forEach" .. stem), base + 2, what .. "walk")
    local selected = collect("forEachSelected" .. stem)
    check.eq(#selected == 1 and selected[1], a, what .. "selected walk")
    check.eq(#collect("forEach" .. stem, 1), 1, what .. "walk stops")
    walked = 0
    function countWalk() walked = walked + 1 end
    call("forEach" .. stem, "countWalk", nil)
    check.eq(walked, base + 2, what .. "walk by name")
    check.raises("Lua assertion failed:m_functionObj.IsFunction()", IWorld["forEach" .. stem], IWorld, "noSuch", 1)
    check.raises("inside", IWorld["forEach" .. stem], IWorld, function() error("inside") end, 1)

    -- Into the running world, and the errors of add.
    call("add" .. stem, a, "", "")
    call("add" .. stem, a, "", "")
    check.raises("[CWorldMap::GetUnit] Unit not found [nobody]", IWorld["add" .. stem], IWorld, "nobody", "", "")
    check.raises("[CWorldMapGroup::GetUnit] Unit not found [nobody]", IWorld["add" .. stem], IWorld, b, "nobody", "")
    check.raises("[CGraphicsEngine::Add] When specifying a parent joint, the parent must be an Agent.",
        IWorld["add" .. stem], IWorld, b, light, "joint")
    call("add" .. stem, b, light, "")

    -- One entity saved alone and loaded back, in each mode.
    for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
        local file = work .. "/" .. stem .. "." .. mode
        IWorld:setEntityName(a, "named " .. mode)
        check.eq(IWorld:saveEntity(a, file, mode), true, what .. "saved " .. mode)
        -- The id is stored already: the stored entity stays.
        IWorld:setEntityName(a, "changed")
        check.eq(call("load" .. stem, file, ""), a, what .. "load of a stored id")
        check.eq(IWorld:getEntityName(a), "changed", what .. "stored entity kept")
        -- Under a new id.
        check.eq(call("load" .. stem, file, freshId), freshId, what .. "load under a new id")
        check.eq(IWorld:getEntityName(freshId), "named " .. mode, what .. "loaded name " .. mode)
        call("delete" .. stem, freshId)
    end
    check.raises("[CManagedEntity::SetId] Invalid id", IWorld["load" .. stem], IWorld,
        work .. "/" .. stem .. ".UTF8", "not a uuid")
    check.eq(call("load" .. stem, work .. "/missing.file", ""), "", what .. "no file")
    check.eq(IWorld:saveEntity("nobody", work .. "/nobody", "UTF8"), false, what .. "save of an unknown id")

    -- Delete: out of the collection and its selection.
    call("delete" .. stem, a)
    check.eq(call(lower .. "Exists", a), false, what .. "deleted")
    check.eq(call("getNumberOfSelected" .. plural), 0, what .. "deselected")
    check.raises("[CWorldMap::GetUnit] Unit not found [" .. a .. "]", IWorld["delete" .. stem], IWorld, a)
    -- Loaded back from its file with its own id.
    check.eq(call("load" .. stem, work .. "/" .. stem .. ".BINARY", ""), a, what .. "reloaded")
    check.eq(IWorld:getEntityName(a), "named BINARY", what .. "reloaded name")

    call("clear" .. plural)
    check.eq(call("getNumberOf" .. plural), 0, what .. "cleared")
    if stem == "Light" then light = IWorld:createLight() end
end

-- A file of one kind is not an entity of another.
local unit = IWorld:createUnit()
check.eq(IWorld:saveEntity(unit, work .. "/unit.txt", "UTF8"), true, "unit saved")
local ok, result = pcall(IWorld.loadLight, IWorld, work .. "/unit.txt", "")
check.truthy(not ok or result == "", "a unit file is no light")
check.eq(IWorld:getNumberOfLights(), 1, "no light loaded")

check.done()
