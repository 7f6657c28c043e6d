--! stdout: lenscart flew
--! env: DISPLAY=
-- A script flies a world camera with the camera module: a key action held
-- through IKey moves the camera forward while the loop runs, releasing it
-- stops the camera, a second start keeps one subscription, and deleting
-- the camera while the control runs is harmless.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
local camera = IWorld:createCamera()
IWorld:addCamera(camera, "", "")
IWorld:setEntityPosition(camera, V(0, 0, 0))
IWorld:setCameraLookAt(camera, V(0, 0, 10))

require "lenscart"
IKey:addActionKeyCode("fly", "", 0x57, false, false)
lenscart.setCameraKeyAction("cameraMoveForward", "fly")
lenscart.setCameraMoveSpeed(5)
check.eq(lenscart.start(camera), true, "start")
check.eq(lenscart.start(camera), true, "a second start")

IKey:setActionOn("fly", true)
IApp:run(400)
local z = IWorld:getEntityPosition(camera):getZ()
check.truthy(z > 0.5, "flew forward: " .. z)
check.near(IWorld:getEntityPosition(camera):getY(), 0, 1e-4, "stays level")

IKey:setActionOn("fly", false)
IApp:run(200)
local stopped = IWorld:getEntityPosition(camera):getZ()
IApp:run(200)
check.near(IWorld:getEntityPosition(camera):getZ(), stopped, 1e-4, "stops with the key")

IKey:setActionOn("fly", true)
IWorld:deleteCamera(camera)
IApp:run(200)
check.eq(lenscart.stop(), true, "stop")
print("lenscart flew")
