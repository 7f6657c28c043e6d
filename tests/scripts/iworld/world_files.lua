--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- A world built by script, saved in the three modes, unloaded and loaded
-- back: the entities, their properties and data, the world's data and
-- names come back; the world script runs after a load.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

-- Fresh world: no path, the script name "world".
check.eq(IWorld:getPath(), "", "no path")
check.eq(IWorld:getScriptName(), "world", "script name")
IWorld:setScriptName("")
check.eq(IWorld:getScriptName(), "world", "an empty name keeps the old one")

local function build()
    local ids = {}
    for _, stem in ipairs({"Cursor", "Camera", "Light", "Trigger", "Unit", "Billboard", "Water", "Terrain",
                           "Agent", "ParticleSystem", "Waypoint"}) do
        local id = IWorld["create" .. stem](IWorld)
        IWorld:setEntityName(id, stem .. " \195\169")
        IWorld:setEntityPosition(id, IMisc:vectorCreate(#ids, 2, 3))
        IWorld:setEntityScript(id, "script" .. stem)
        IWorld:setEntityData(id, "kind", stem)
        IWorld["add" .. stem](IWorld, id, "", "")
        ids[#ids + 1] = id
    end
    IWorld:setData("level", "one")
    IWorld:setDataInt("hex", 16)
    IWorld:setScriptName("level")
    return ids
end

local function snapshot()
    local lines = {}
    IWorld:forEachEntity(function(id)
        lines[#lines + 1] = table.concat({id, IWorld:getEntityTypeId(id), IWorld:getEntityName(id),
            tostring(IWorld:getEntityPosition(id)), IWorld:getEntityScript(id), IWorld:getEntityData(id, "kind")}, "|")
    end)
    IWorld:forEachData(function(key, value) lines[#lines + 1] = key .. "=" .. value end)
    lines[#lines + 1] = IWorld:getScriptName()
    return table.concat(lines, "\n")
end

build()
local before = snapshot()
check.eq(IWorld:getNumberOfEntities(), 11, "built")

-- The world's script: it runs after each load.
local scriptFile = io.open(work .. "/level.lua", "w")
scriptFile:write("loadedTimes = (loadedTimes or 0) + 1\n")
scriptFile:close()

for index, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    check.eq(IWorld:save(work, "world." .. mode, mode, true), true, "saved " .. mode)
    check.eq(IWorld:getPath(), work, "path after save")
    check.eq(IWorld:getName(), IWorld:getPath(), "name is the path")
    check.eq(IWorld:getDataFilename(), "world." .. mode, "file name after save")
    check.eq(IWorld:getNameLong(), IWorld:getPathLong(), "long name is the long path")
    check.eq(IWorld:exists(work, "/world." .. mode), true, "the file exists")

    IWorld:unload()
    check.eq(IWorld:getNumberOfEntities(), 0, "unloaded " .. mode)
    check.eq(IWorld:getDataCount(), 0, "no world data")
    check.eq(IWorld:getPath(), "", "no path after unload")

    check.eq(IWorld:load(work, "world." .. mode, nil, true, false), true, "loaded " .. mode)
    check.eq(loadedTimes, index, "the world script ran")
    check.eq(snapshot(), before, "round trip " .. mode)
end

-- A script given as a string replaces the stored name; "keep name" keeps
-- the stored path and file name.
IWorld:unload()
check.eq(IWorld:load(work, "world.BINARY", "level", true, false), true, "loaded with a script name")
check.eq(IWorld:getScriptName(), "level", "script name")
check.eq(IWorld:load(work, "world.UTF8", nil, true, true), true, "reloaded keeping the name")
check.eq(IWorld:getDataFilename(), "world.BINARY", "kept file name")

-- Failures answer false and change nothing else.
check.eq(IWorld:load(work, "missing", nil, true, false), false, "missing file")
check.eq(IWorld:exists(work, "/missing"), false, "no such file")
check.eq(IWorld:save(work .. "/level.lua/below", "x", "UTF8", true), false, "unwritable folder")

-- A walk whose callback unloads the world ends cleanly.
check.eq(IWorld:load(work, "world.UTF8", nil, true, false), true, "loaded again")
local calls = 0
IWorld:forEachEntity(function() calls = calls + 1 IWorld:unload() end)
check.eq(calls, 1, "the walk ends when the world is gone")
calls = 0
check.eq(IWorld:load(work, "world.UTF8", nil, true, false), true, "loaded again")
IWorld:forEachUnit(function() calls = calls + 1 IWorld:unload() end)
IWorld:forEachData(function() calls = calls + 1 IWorld:unload() end)
check.eq(calls, 1, "kind walk ends when the world is gone")

check.done()
