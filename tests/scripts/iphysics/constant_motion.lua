--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- A small constant force, torque, velocity or omega (each below the speeds
-- a body sleeps at), set on a resting body as it is made or once it has
-- fallen asleep, keeps that body awake and acting while it is set; unset,
-- the body may sleep again. What each did in four seconds is printed.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local bodies = dofile(os.getenv("HALVANE_TEST_LIB") .. "/bodies.lua")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")
P:setGravity(V(0, 0, 0))
local cube = meshes.cube(os.getenv("HALVANE_TEST_WORK") .. "/cube.obj", 0.5)

-- What each moved in four seconds, and the least it must be: 0.01 m/s2
-- moves 8 cm, 0.002 N m on an inertia of 1/6 turns at 0.048 rad/s, 0.05
-- m/s moves 20 cm, 0.05 rad/s turns 11 degrees.
local function moved(id) return IWorld:getEntityPosition(id):getX() end
local function spin(id) return math.abs(P:getEntityOmega(id):getY()) end
local function turned(id) return math.abs(IWorld:getEntityRotation(id):getY()) end
local kinds = {
    { what = "force", set = "setEntityConstantForce", value = V(0.01, 0, 0), measure = moved, least = 0.07 },
    { what = "torque", set = "setEntityConstantTorque", value = V(0, 0.002, 0), measure = spin, least = 0.04 },
    { what = "velocity", set = "setEntityConstantVelocity", value = V(0.05, 0, 0), measure = moved, least = 0.18 },
    { what = "omega", set = "setEntityConstantOmega", value = V(0, 0.05, 0), measure = turned, least = 10 },
}
local cases = {}
for _, kind in ipairs(kinds) do
    for _, later in ipairs({ false, true }) do
        local case = { kind = kind, later = later }
        case.id = bodies.unit(check, cube, 1, 0, 0, 5 * #cases)
        case.start = IWorld:getEntityPosition(case.id):getX()
        P:setEntityLinearDamping(case.id, 0)
        P:setEntityAngularDamping(case.id, V(0, 0, 0))
        if not later then P[kind.set](P, case.id, kind.value) end
        cases[#cases + 1] = case
    end
end

IApp:run(2000)
for _, case in ipairs(cases) do
    if case.later then
        check.eq(P:isEntityActive(case.id), false, case.kind.what .. ": asleep before it is set")
        P[case.kind.set](P, case.id, case.kind.value)
    end
end
IApp:run(4000)
for _, case in ipairs(cases) do
    local what = case.kind.what .. (case.later and ", set once asleep" or ", set as made")
    local amount = case.kind.measure(case.id)
    if case.kind.measure == moved then amount = amount - case.start end
    print(string.format("%s: %.4f", what, amount))
    check.eq(P:isEntityActive(case.id), true, what .. ": awake")
    check.truthy(amount > case.kind.least, what .. ": " .. amount .. ", at least " .. case.kind.least)
end
-- Unset, they may sleep again.
for _, case in ipairs(cases) do
    P:stopEntityMotion(case.id)
end
IApp:run(1000)
for _, case in ipairs(cases) do
    check.eq(P:isEntityActive(case.id), false, case.kind.what .. ": asleep once unset")
end
check.done()
