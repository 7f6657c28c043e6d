-- Units with bodies for physics script tests, and a watch over each step:
--   local bodies = dofile(os.getenv("HALVANE_TEST_LIB") .. "/bodies.lua")
--   bodies.unit(check, mesh, mass, x, y, z, setup)
--       a unit of the mesh at (x, y, z) with a body; setup(id), if given,
--       runs before the body is made (collision type, physics type, ...)
--   bodies.watch(milliseconds, fn)
--       runs the loop that long, calling fn() after every physics step;
--       answers the number of steps
local bodies = {}

function bodies.unit(check, mesh, mass, x, y, z, setup)
    local id = IWorld:createUnit()
    IWorld:setEntityModelName(id, mesh)
    IWorld:addUnit(id)
    IWorld:manipulateEntity(id, "move", x, y, z, true)
    IPhysics:setEntityMass(id, mass)
    if setup then setup(id) end
    IPhysics:refreshEntity(id)
    check.eq(IPhysics:isEntityInitialised(id), true, "body of " .. id)
    return id
end

function bodies.watch(milliseconds, fn)
    local steps = 0
    local subscription = IEvents:subscribeTickPhysics(function()
        steps = steps + 1
        fn()
    end, nil, 0)
    IApp:run(milliseconds)
    IEvents:unsubscribe(subscription)
    return steps
end

return bodies
