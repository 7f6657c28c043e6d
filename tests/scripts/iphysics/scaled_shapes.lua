--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Bodies of one mesh at several scales: each stands as its own scale's
-- hull, whatever the others do and however often a scale comes back; the
-- same scale set again keeps the body it has (a resting box stays asleep
-- and on the ground).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local P = IPhysics
local W = IWorld

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

-- A wedge: 2 m wide and deep, its ridge 1 m up along z over x = 0, so its
-- top is 1 - |x| high.
local function writeWedge(name)
    local path = work .. "/" .. name
    local file = assert(io.open(path, "w"))
    file:write("v -1 0 -1\nv 1 0 -1\nv 0 1 -1\nv -1 0 1\nv 1 0 1\nv 0 1 1\n")
    file:write("f 1 2 3\nf 4 6 5\nf 1 4 5\nf 1 5 2\nf 2 5 6\nf 2 6 3\nf 1 3 6\nf 1 6 4\n")
    file:close()
    return path
end

local function writeBox(name, half)
    return meshes.cube(work .. "/" .. name, half)
end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")

local function unit(mesh, mass, kind, x, y, z)
    local id = W:createUnit()
    W:setEntityModelName(id, mesh)
    W:addUnit(id)
    W:manipulateEntity(id, "move", x, y, z, true)
    P:setEntityMass(id, mass)
    P:setEntityCollisionType(id, kind)
    P:refreshEntity(id)
    check.eq(P:isEntityInitialised(id), true, "body of " .. id)
    return id
end

-- The top of what stands under (x, z), from high above.
local function top(x, z)
    local hit = P:rayCast(V(x, 50, z), V(x, -50, z))
    return hit and hit.intersection:getY()
end

-- Three wedges without gravity, so they stay where they are made.
P:setGravity(V(0, 0, 0))
local wedge = writeWedge("wedge.obj")
local wedges = {}
for i = 1, 3 do
    wedges[i] = unit(wedge, 1, 2, 10 * i, 0, 0)
end
local function expectWedge(i, scale, what)
    -- Half way down the slope, and at the ridge.
    check.near(top(10 * i + 0.5 * scale, 0), 0.5 * scale, 0.02, what .. ": wedge " .. i .. " half way down")
    check.near(top(10 * i, 0), scale, 0.02, what .. ": wedge " .. i .. " at its ridge")
end
for i = 1, 3 do
    expectWedge(i, 1, "as made")
end

W:setEntityScale(wedges[2], V(2, 2, 2))
expectWedge(1, 1, "another scaled")
expectWedge(2, 2, "scaled up")
expectWedge(3, 1, "another scaled")
W:setEntityScale(wedges[3], V(2, 2, 2))
expectWedge(3, 2, "the same scale as another")
W:setEntityScale(wedges[2], V(1, 1, 1))
expectWedge(2, 1, "back")
expectWedge(3, 2, "another back")

-- Many scales come and go (more than are ever kept unused); the ones in
-- use keep their hulls.
for step = 1, 300 do
    W:setEntityScale(wedges[1], V(1 + step / 100, 1 + step / 100, 1 + step / 100))
end
W:setEntityScale(wedges[1], V(0.5, 0.5, 0.5))
expectWedge(1, 0.5, "after many scales")
expectWedge(2, 1, "after many scales")
expectWedge(3, 2, "after many scales")

-- A box comes to rest on the ground and sleeps. Its scale set again as it
-- is changes nothing; a new scale gives it a new body (awake).
P:setGravity(V(0, -9.8, 0))
local ground = unit(writeBox("ground.obj", 5), 1000, 0, 0, -5, 50)
local box = unit(writeBox("box.obj", 0.5), 1, 0, 0, 1, 50)
P:monitorEntityCollisions(box, 2)
IApp:run(3000)
check.truthy(P:isColliding(box, ground), "the box rests on the ground")
check.eq(P:isEntityActive(box), false, "the box sleeps")
W:setEntityScale(box, V(1, 1, 1))
check.eq(P:isEntityActive(box), false, "the same scale lets it sleep")
check.truthy(P:isColliding(box, ground), "the same scale keeps it on the ground")
W:setEntityScale(box, IMisc:vectorCreate(1, 1, 1))
check.eq(P:isEntityActive(box), false, "an equal vector is the same scale")
W:setEntityScale(box, V(0.5, 0.5, 0.5))
check.eq(P:isEntityActive(box), true, "a new scale makes a new body")
IApp:run(1000)
check.near(top(0, 50), 0.5, 0.02, "the half-size box rests on the ground, its top half a metre up")

check.done()
