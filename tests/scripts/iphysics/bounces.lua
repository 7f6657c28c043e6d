--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Bodies dropped onto a floor of their own type, without damping, for five
-- seconds at 60 Hz: no bounce rises above its drop (elastic ones come back
-- near it, less elastic ones lower), and a body that meets the floor at
-- 10 m/s sinks at most a centimetre into it. The highest rebound over the
-- drop and the deepest sinking of each are printed.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local bodies = dofile(os.getenv("HALVANE_TEST_LIB") .. "/bodies.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")
local cube = meshes.cube(work .. "/cube.obj", 0.5)
local floor = meshes.box(work .. "/floor.obj", -2, -1, -2, 2, 0, 2)
for _, e in ipairs({ 1, 0.5, 0 }) do
    P:createType("elastic" .. e, 0.6, 0.5, e)
end

local SPHERE, BOX = 1, 0
-- Height of the centre, speed downwards, and the bounds of the highest
-- rebound over the drop.
local cases = {
    { what = "elastic ball from 3.1 m", elasticity = 1, shape = SPHERE, height = 3.1, speed = 0, low = 0.8, high = 1.01 },
    { what = "elastic ball from 3.3 m", elasticity = 1, shape = SPHERE, height = 3.3, speed = 0, low = 0.8, high = 1.01 },
    { what = "elastic ball from 3.5 m", elasticity = 1, shape = SPHERE, height = 3.5, speed = 0, low = 0.8, high = 1.01 },
    { what = "elastic box from 3.4 m", elasticity = 1, shape = BOX, height = 3.4, speed = 0, low = 0.5, high = 1.01 },
    { what = "half elastic ball from 3.2 m", elasticity = 0.5, shape = SPHERE, height = 3.2, speed = 0, low = 0.1, high = 0.5 },
}
-- Thrown down at 10 m/s from heights a few hundredths apart, so the floor
-- is met at different points of a step.
for k = 0, 3 do
    local height = 1.5 + 0.0167 * k
    cases[#cases + 1] = { what = "ball at 10 m/s, " .. k, elasticity = 0, shape = SPHERE, height = height, speed = 10, low = 0, high = 0.1 }
    cases[#cases + 1] = { what = "box at 10 m/s, " .. k, elasticity = 0, shape = BOX, height = height, speed = 10, low = 0, high = 0.1 }
end

for i, case in ipairs(cases) do
    local x = 6 * i
    local type = "elastic" .. case.elasticity
    bodies.unit(check, floor, 1000, x, 0, 0, function(id) P:setEntityType(id, type) end)
    case.id = bodies.unit(check, cube, 1, x, case.height, 0, function(id)
        P:setEntityType(id, type)
        P:setEntityCollisionType(id, case.shape)
    end)
    P:setEntityLinearDamping(case.id, 0)
    P:setEntityAngularDamping(case.id, V(0, 0, 0))
    P:setEntityVelocity(case.id, V(0, -case.speed, 0))
    -- Heights of the bottom; the drop counts from where the body would stop.
    case.drop = case.height - 0.5 + case.speed * case.speed / 19.6
    case.lowest, case.highest, case.bounced = case.height, 0, false
end

local steps = bodies.watch(5000, function()
    for _, case in ipairs(cases) do
        local bottom = IWorld:getEntityPosition(case.id):getY() - 0.5
        case.lowest = math.min(case.lowest, bottom)
        case.bounced = case.bounced or P:getEntityVelocity(case.id):getY() > 0
        if case.bounced then case.highest = math.max(case.highest, bottom) end
    end
end)
check.truthy(steps >= 250, "five seconds of steps, got " .. steps)
for _, case in ipairs(cases) do
    local ratio = case.highest / case.drop
    print(string.format("%s: highest rebound / drop %.4f, deepest %.4f m", case.what, ratio, math.max(0, -case.lowest)))
    check.truthy(case.lowest > -0.01, case.what .. ": sank " .. -case.lowest .. " m into the floor")
    check.truthy(ratio <= case.high, case.what .. ": rebound ratio " .. ratio .. " above " .. case.high)
    check.truthy(ratio >= case.low, case.what .. ": rebound ratio " .. ratio .. " below " .. case.low)
end
check.done()
