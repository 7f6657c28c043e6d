--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- A world saved in each mode and loaded back by the real program: its
-- entities, its names, and its script, which runs only from inside the
-- world's folder.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

local function write(path, text)
    local file = assert(io.open(path, "w"))
    file:write(text)
    file:close()
end

IWorld:createLight()
IWorld:createLight()
IWorld:createUnit()
IWorld:setScriptName("level")
write(work .. "/level.lua", "levelRuns = (levelRuns or 0) + 1\n")

for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    local folder = work .. "/" .. mode
    check.eq(IWorld:save(folder, "world.kvoworld", mode, true), true, mode .. " saved")
    IWorld:unload()
    check.eq(IWorld:getNumberOfLights(), 0, mode .. " unloaded")
    levelRuns = 0
    write(folder .. "/level.lua", "levelRuns = (levelRuns or 0) + 1\n")
    check.eq(IWorld:load(folder, "world.kvoworld", nil, true, false), true, mode .. " loaded")
    check.eq(IWorld:getNumberOfLights(), 2, mode .. " lights")
    check.eq(IWorld:getNumberOfUnits(), 1, mode .. " units")
    check.eq(IWorld:getScriptName(), "level", mode .. " script name")
    check.eq(levelRuns, 1, mode .. " the world's script ran")
end

-- A script name that leads out of the world's folder is not run.
write(work .. "/evil.lua", "evilRuns = true\n")
IWorld:setScriptName("../evil")
check.eq(IWorld:save(work .. "/inside", "world.kvoworld", "UTF8", true), true, "saved with a stray script")
IWorld:unload()
check.eq(IWorld:load(work .. "/inside", "world.kvoworld", nil, true, false), true, "loaded with a stray script")
check.eq(evilRuns, nil, "a script outside the world's folder")

-- A load that fails keeps the names of the world that is there.
check.eq(IWorld:load(work .. "/missing", "world.kvoworld", nil, true, false), false, "missing world")
check.eq(IWorld:getPathLong(), work .. "/inside", "path after a failed load")
check.done()
