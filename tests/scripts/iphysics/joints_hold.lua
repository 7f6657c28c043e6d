--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Ten seconds at 60 Hz: a fixed joint without a parent holds its child to
-- the world (whose pivot is the origin) wherever in a level the child is,
-- and a hinge holds its child on a 10 m arm, as a door on an upright pin
-- and as a pendulum swinging from level. The worst drift of the point each
-- holds is printed; none reaches a centimetre.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local bodies = dofile(os.getenv("HALVANE_TEST_LIB") .. "/bodies.lua")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")
local cube = meshes.cube(os.getenv("HALVANE_TEST_WORK") .. "/cube.obj", 0.5)

-- All in one world, far enough apart never to touch.
local cases = {
    { what = "fixed 5 m out", child = { 0, 0, 5 } },
    { what = "fixed 10 m out", child = { 10, 0, 0 } },
    { what = "fixed 32 m out", child = { 30, 10, 0 } },
    { what = "fixed 100 m out", child = { 100, 0, 0 } },
    { what = "fixed 100 m out, below", child = { 0, -60, -80 } },
    { what = "door on a 10 m arm", child = { 0, 10, 60 }, pivot = { 0, 10, 50 }, pin = { 0, 1, 0 } },
    { what = "pendulum on a 10 m arm", child = { 20, 10, 60 }, pivot = { 20, 10, 50 }, pin = { 1, 0, 0 } },
}

for i, case in ipairs(cases) do
    local c = case.child
    case.id = bodies.unit(check, cube, 1, c[1], c[2], c[3], function(id)
        P:setEntityAutoDeactivationMode(id, false)
    end)
    local made
    if case.pivot then
        made = P:createJointHinge("joint" .. i, nil, case.id, V(unpack(case.pivot)), V(unpack(case.pin)))
    else
        made = P:createJointFixed("joint" .. i, nil, case.id)
    end
    check.eq(made, true, case.what .. ": joint made")
    case.worst, case.lowest = 0, c[2]
end

-- How far the held point is from where it was: the child's centre for a
-- fixed joint; for a hinge, the pivot on the child, which keeps the
-- child's centre on the circle of the arm around the pin.
local function drift(case)
    local p = IWorld:getEntityPosition(case.id)
    local x, y, z = p:getX(), p:getY(), p:getZ()
    local c = case.child
    if not case.pivot then
        return math.sqrt((x - c[1]) ^ 2 + (y - c[2]) ^ 2 + (z - c[3]) ^ 2)
    end
    local o, n = case.pivot, case.pin
    local dx, dy, dz = x - o[1], y - o[2], z - o[3]
    local along = dx * n[1] + dy * n[2] + dz * n[3]
    local radius = math.sqrt(dx * dx + dy * dy + dz * dz - along * along)
    return math.sqrt(along * along + (radius - 10) ^ 2)
end

local steps = bodies.watch(10000, function()
    for _, case in ipairs(cases) do
        case.worst = math.max(case.worst, drift(case))
        case.lowest = math.min(case.lowest, IWorld:getEntityPosition(case.id):getY())
    end
end)
check.truthy(steps >= 500, "ten seconds of steps, got " .. steps)
for _, case in ipairs(cases) do
    print(string.format("%s: worst drift %.4f m", case.what, case.worst))
    check.truthy(case.worst < 0.01, case.what .. ": held within 1 cm, drifted " .. case.worst)
end
check.truthy(cases[#cases].lowest < 1, "the pendulum swung down")
check.done()
