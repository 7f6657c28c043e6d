--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- A 0.1 m box (or spinning ball) thrown at a static 0.2 m wall at 60 Hz,
-- without gravity: with collision prediction on it never reaches into the
-- wall at 20, 100 or 200 m/s, whatever its threshold; with it off nothing
-- looks after it (at 200 m/s it goes through). The furthest each centre
-- came is printed; the wall's near face is at 2.9 m.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local bodies = dofile(os.getenv("HALVANE_TEST_LIB") .. "/bodies.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")
P:setGravity(V(0, 0, 0))
local small = meshes.cube(work .. "/small.obj", 0.05)
local wall = meshes.box(work .. "/wall.obj", -0.1, -2, -2, 0.1, 2, 2)

local SPHERE, BOX = 1, 0
local cases = {}
for _, speed in ipairs({ 20, 100, 200 }) do
    cases[#cases + 1] = { speed = speed, predicted = true, threshold = 0.5, shape = BOX, spin = 0 }
    cases[#cases + 1] = { speed = speed, predicted = true, threshold = 0, shape = SPHERE, spin = 30 }
    cases[#cases + 1] = { speed = speed, predicted = false, threshold = 0, shape = BOX, spin = 0 }
end

-- Each in its own lane, 10 m apart.
for i, case in ipairs(cases) do
    local z = 10 * i
    case.what = string.format("%s at %d m/s, prediction %s", case.shape == BOX and "box" or "spinning ball",
        case.speed, case.predicted and ("on, threshold " .. case.threshold) or "off")
    bodies.unit(check, wall, 1000, 3, 0, z)
    case.id = bodies.unit(check, small, 1, 0, 0.3, z + 0.2, function(id)
        P:setEntityCollisionType(id, case.shape)
        local t = case.threshold
        P:enableCollisionPredictionEx(id, case.predicted, V(t, t, t), V(1.5, 1.5, 1.5), V(0.9, 0.9, 0.9))
    end)
    P:setEntityVelocity(case.id, V(case.speed, 0, 0))
    P:setEntityOmega(case.id, V(0, case.spin, case.spin * 2 / 3))
    case.furthest = 0
end

local steps = bodies.watch(1000, function()
    for _, case in ipairs(cases) do
        case.furthest = math.max(case.furthest, IWorld:getEntityPosition(case.id):getX())
    end
end)
check.truthy(steps >= 50, "a second of steps, got " .. steps)
for _, case in ipairs(cases) do
    print(string.format("%s: furthest %.3f m", case.what, case.furthest))
    local x = IWorld:getEntityPosition(case.id):getX()
    check.truthy(x == x, case.what .. ": a number")
    if case.predicted then
        check.truthy(case.furthest < 2.9, case.what .. ": reached " .. case.furthest .. " m, into the wall")
    elseif case.speed >= 200 then
        check.truthy(x > 3.1, case.what .. ": passes, at " .. x)
    end
end
check.done()
