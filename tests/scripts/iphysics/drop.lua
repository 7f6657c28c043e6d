--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- A box dropped onto a static ground in the running loop: the contact
-- events, the resting height, rays from points and from the cursor, joints
-- of every kind, physics types, and hostile arguments that must leave no
-- NaN in any body.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

-- A box mesh from (x1, y1, z1) to (x2, y2, z2), in the work folder.
local function writeBox(name, x1, y1, z1, x2, y2, z2)
    return meshes.box(work .. "/" .. name, x1, y1, z1, x2, y2, z2)
end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")

local function unit(mesh, mass, x, y, z)
    local id = IWorld:createUnit()
    IWorld:setEntityModelName(id, mesh)
    IWorld:addUnit(id)
    IWorld:manipulateEntity(id, "move", x, y, z, true)
    P:setEntityMass(id, mass)
    P:refreshEntity(id)
    check.eq(P:isEntityInitialised(id), true, "body of " .. id)
    return id
end

local ground = unit(writeBox("ground.obj", -20, -1, -20, 20, 0, 20), 1000, 0, 0, 0)
local box = unit(writeBox("box.obj", -0.5, -0.5, -0.5, 0.5, 0.5, 0.5), 1, 0, 3, 0)
check.eq(P:getEntityMassType(ground), 2, "ground is static")
check.eq(P:getEntityMassType(box), 1, "box is dynamic")
P:monitorEntityCollisions(box, 2)

local entered, exited = {}, {}
local enter = IEvents:subscribeCollisionEnter(function(a, b) entered[#entered + 1] = a .. ">" .. b end, nil, 0)
local exit = IEvents:subscribeCollisionExit(function(a, b) exited[#exited + 1] = a .. ">" .. b end, nil, 0)
IApp:run(2500)
check.truthy(#entered >= 1, "an enter event")
check.truthy(P:isColliding(box, ground), "resting on the ground")
local hit = P:rayCast(V(0, 10, 0), V(0, -10, 0))
check.eq(hit and hit.entity, box, "the ray meets the box first")
check.near(hit.intersection:getY(), 1, 0.05, "the box's top: it rests half a metre up")
check.eq(P:rayCastFilter(V(5, 10, 5), V(5, -10, 5), 32).entity, ground, "the ground is a unit too")
check.eq(P:rayCast(V(50, 10, 50), V(50, -10, 50)), nil, "nothing out there")

-- Three slabs stacked above the ground: rayCastAll meets each body along
-- the ray once (a mesh is not met again on its far side), nearest first.
local slabs = {}
for i = 1, 3 do
    slabs[i] = unit(writeBox("slab" .. i .. ".obj", -1, -0.1, -1, 1, 0.1, 1), 1000, 10, i, 10)
end
local all = P:rayCastAll(V(10, 10, 10), V(10, -0.5, 10), 0)
check.eq(all and #all, 4, "three slabs and the ground")
for i, id in ipairs({ slabs[3], slabs[2], slabs[1], ground }) do
    check.eq(all[i].entity, id, "hit " .. i)
end
for i, y in ipairs({ 3.1, 2.1, 1.1, 0 }) do
    check.near(all[i].intersection:getY(), y, 0.01, "the top face of hit " .. i)
end
check.eq(P:rayCast(V(10, 10, 10), V(10, -0.5, 10)).entity, slabs[3], "the nearest is the top slab")

-- Thrown up, with gravity off: the contact ends.
P:setGravity(V(0, 0, 0))
P:setEntityVelocity(box, V(0, 20, 0))
IApp:run(500)
check.truthy(#exited >= 1, "an exit event")
check.eq(P:isColliding(box, ground), false, "no longer touching")
P:setGravity(V(0, -9.8, 0))
IEvents:unsubscribe(enter)
IEvents:unsubscribe(exit)

-- Rays from the cursor go through the world's active camera: none here.
check.raises("[CWorldMap::GetUnit] Unit not found []", function() return P:rayCastMousePosition(false) end)

-- Joints of each kind between the box and a second box.
local other = unit(writeBox("other.obj", -0.5, -0.5, -0.5, 0.5, 0.5, 0.5), 1, 3, 3, 0)
local makers = {
    function(id) return P:createJointHinge(id, box, other, V(1.5, 3, 0), V(0, 0, 1)) end,
    function(id) return P:createJointHingeLimited(id, box, other, V(1.5, 3, 0), V(0, 0, 1), -10, 10) end,
    function(id) return P:createJointCorkscrew(id, box, other, V(1.5, 3, 0), V(1, 0, 0)) end,
    function(id) return P:createJointCorkscrewLimited(id, box, other, V(1.5, 3, 0), V(1, 0, 0), -1, 1) end,
    function(id) return P:createJointSlider(id, box, other, V(1.5, 3, 0), V(1, 0, 0)) end,
    function(id) return P:createJointSliderLimited(id, box, other, V(1.5, 3, 0), V(1, 0, 0), -1, 1) end,
    function(id) return P:createJointSpring(id, box, other, V(1.5, 3, 0), V(1, 0, 0), -1, 1, 1, 2, 3) end,
    function(id) return P:createJointBallAndSocket(id, box, other, V(1.5, 3, 0)) end,
    function(id) return P:createJointBallAndSocketLimited(id, box, other, V(1.5, 3, 0), 30, V(1, 0, 0)) end,
    function(id) return P:createJointUpVector(id, other, V(0, 1, 0)) end,
    function(id) return P:createJointPulley(id, box, other, V(1, 0, 0), V(0, 1, 0), 1) end,
    function(id) return P:createJointGear(id, box, other, V(1, 0, 0), V(0, 1, 0), 2) end,
    function(id) return P:createJointFixed(id, box, other) end,
}
for i, make in ipairs(makers) do
    local id = "joint" .. i
    check.eq(make(id), true, id)
    check.eq(P:getJointChildId(id), other, id .. " child")
    IApp:run(20)
    check.eq(P:destroyJoint(id), true, id .. " destroyed")
end
check.eq(P:createJointHinge("none", box, "nobody", V(0, 0, 0), V(0, 0, 1)), false, "no child, no joint")

-- Types: deleteAllTypes leaves "default", and bodies keep working.
P:createType("ice", 0.05, 0.02, 0)
P:setEntityType(box, "ice")
P:refreshEntity(box)
P:deleteAllTypes()
check.eq(P:getNumberOfTypes(), 1, "one type left")
check.eq(P:getTypeName(0), "default", "the default type")

-- Hostile values: no crash, and no NaN reaches a body.
local nan, inf = 0 / 0, math.huge
for _, v in ipairs({ V(nan, 0, 0), V(inf, -inf, 0), V(1e38, 1e38, 1e38), "x", {}, 42 }) do
    for _, name in ipairs({ "setEntityVelocity", "setEntityOmega", "addEntityImpulseForce", "setEntityConstantForce",
        "setEntityCentreOfMass", "setEntityBuoyancyParams" }) do
        pcall(P[name], P, box, v)
    end
    pcall(P.setGravity, P, v)
end
pcall(P.setEntityMass, P, other, inf)
pcall(P.refreshEntity, P, other)
check.eq(P:getCollisionData(box, ground, 4294967295) ~= false, true, "a huge contact count is capped")
P:setGravity(V(0, -9.8, 0))
IApp:run(200)
for _, id in ipairs({ box, other, ground }) do
    for _, v in ipairs({ P:getEntityVelocity(id), P:getEntityOmega(id) }) do
        local x, y, z = v:getX(), v:getY(), v:getZ()
        check.truthy(x == x and y == y and z == z, "no NaN in " .. id)
    end
end

-- Stopping the engine with a world loaded: no entity keeps a dead body.
P:destroy()
check.eq(P:isEntityInitialised(box), false, "no body after destroy")
P:setEntityVelocity(box, V(1, 0, 0))
check.eq(P:getNumberOfSimulatingEntitites(), 0, "nothing simulates")
print("CHECKS PASSED")
