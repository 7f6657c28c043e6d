--! stdout: CHECKS PASSED
--! stdout: [IWorld::load] World script failed:
--! stdout: /broken/world.lua:2: the level is broken
--! stdout: [IWorld::load] World loads nested too deeply: 16 world scripts are running
-- A world's script runs after its load, and its outcome is not the load's:
-- a script that fails is logged with its error and the load still answers
-- true; a script that loads its own world nests a bounded number of times.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")

IApp:showConsoleWindow(65001, 0)
ILog:setOutputLevel(ILog:getSystemLevel())
check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
IWorld:createUnit()
IWorld:setScriptName("world")

-- Each world: its folder, its saved file and its script.
local function world(name, script)
    local folder = work .. "/" .. name
    check.eq(IWorld:save(folder, "w.kvoworld", "UTF8", true), true, name .. " saved")
    files.write(folder .. "/world.lua", script)
    return folder
end

local broken = world("broken", "brokenRan = true\nerror('the level is broken')\n")
local nested = world("nested", "depth = (depth or 0) + 1\n" ..
    "nestedResult = IWorld:load(IWorld:getPathLong(), 'w.kvoworld', nil, true, false)\n" ..
    "returned = (returned or 0) + 1\n")
local plain = world("plain", "plainRan = true\n")

check.eq(IWorld:load(broken, "w.kvoworld", nil, true, false), true, "a failing world script")
check.eq(brokenRan, true, "the failing script ran up to its error")
check.eq(IWorld:getNumberOfUnits(), 1, "the world loaded all the same")

check.eq(IWorld:load(nested, "w.kvoworld", nil, true, false), true, "a world script that loads its world")
check.eq(depth, 16, "sixteen world scripts ran nested")
check.eq(returned, 15, "the innermost stopped at the refused load, the others ran on")
check.eq(nestedResult, true, "each nested load answered true")

-- The bound counts running scripts only: loads go on afterwards.
check.eq(IWorld:load(plain, "w.kvoworld", nil, true, false), true, "a later load")
check.eq(plainRan, true, "its script ran")
-- An error deep inside ends at the load whose script raised it.
depth, returned = nil, nil
files.write(nested .. "/world.lua", "depth = (depth or 0) + 1\nif depth == 3 then error('deep') end\n" ..
    "IWorld:load(IWorld:getPathLong(), 'w.kvoworld', nil, true, false)\nreturned = (returned or 0) + 1\n")
check.eq(IWorld:load(nested, "w.kvoworld", nil, true, false), true, "an error three levels down")
check.eq(depth, 3, "three levels ran")
check.eq(returned, 2, "the two outer scripts ran on")
check.done()
