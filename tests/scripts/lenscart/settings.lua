--! stdout: lenscart ok
-- The camera module as a script loads it: found beside the program, its
-- fourteen functions, the settings' documented forms, and what it refuses.
package.path = os.getenv("HALVANE_TEST_LIB") .. "/?.lua;" .. package.path
local check = require "check"

local module = require "lenscart"
check.eq(module, lenscart, "require gives the global table")
local names = {}
for name, value in pairs(lenscart) do
    check.eq(type(value), "function", name)
    names[#names + 1] = name
end
table.sort(names)
check.eq(table.concat(names, " "), "enableYComponent getCameraMoveSpeed getCameraRotateSpeed " ..
    "getCameraRotateThreshold invertMouse isMouseInverted isYComponentEnabled setCameraFrameRate " ..
    "setCameraKeyAction setCameraMoveSpeed setCameraRotateSpeed setCameraRotateThreshold start stop",
    "functions")

-- Defaults.
check.eq(lenscart.getCameraMoveSpeed(), 10, "move speed")
check.eq(lenscart.getCameraRotateSpeed(), 100, "rotate speed")
check.near(lenscart.getCameraRotateThreshold(), 0.1, 1e-6, "threshold")
check.eq(lenscart.isMouseInverted(), false, "inverted")
check.eq(lenscart.isYComponentEnabled(), false, "y component")

-- Half of the clamped threshold is kept.
for _, row in ipairs{{2, 0.5}, {-1, 0}, {0.4, 0.2}, {0 / 0, 0}} do
    lenscart.setCameraRotateThreshold(row[1])
    check.near(lenscart.getCameraRotateThreshold(), row[2], 1e-6, "threshold " .. tostring(row[1]))
end
lenscart.invertMouse(true)
check.eq(lenscart.isMouseInverted(), true, "inverted")
lenscart.enableYComponent(true)
check.eq(lenscart.isYComponentEnabled(), true, "y component")
lenscart.setCameraMoveSpeed(2.5)
check.eq(lenscart.getCameraMoveSpeed(), 2.5, "move speed")

-- Hostile arguments: no crash, the documented errors.
for _, rate in ipairs{0, 30, 1001, -5, 0 / 0, 1 / 0, -1 / 0, 1e300} do
    lenscart.setCameraFrameRate(rate)
end
for _, speed in ipairs{0 / 0, 1 / 0, -1 / 0} do
    check.raises("[lenscart::setCameraMoveSpeed] The speed must be a finite number",
        lenscart.setCameraMoveSpeed, speed)
    check.raises("[lenscart::setCameraRotateSpeed] The speed must be a finite number",
        lenscart.setCameraRotateSpeed, speed)
end
check.eq(lenscart.getCameraMoveSpeed(), 2.5, "move speed kept")
-- Every finite speed is taken, held to the largest single-precision number.
local largest = 3.4028234663852886e38
for _, row in ipairs{{1e38, 1e38}, {3.5e38, largest}, {1e300, largest}, {-1e300, -largest}, {-7, -7}} do
    lenscart.setCameraMoveSpeed(row[1])
    check.near(lenscart.getCameraMoveSpeed(), row[2], math.abs(row[2]) * 1e-7,
        "move speed " .. row[1])
    lenscart.setCameraRotateSpeed(row[1])
    check.near(lenscart.getCameraRotateSpeed(), row[2], math.abs(row[2]) * 1e-7, "rotate speed " .. row[1])
end
lenscart.setCameraMoveSpeed(2.5)
check.raises("number expected", lenscart.setCameraFrameRate, {})
check.raises("string expected", lenscart.start)
check.raises("string expected", lenscart.start, {})
lenscart.setCameraKeyAction()
lenscart.setCameraKeyAction("cameraMoveForward", "fly\0forward")
check.raises("[CWorldMap::GetUnit] Unit not found [no-camera]", lenscart.start, "no-camera")
local co = coroutine.create(function() return lenscart.start("no-camera") end)
local ok, message = coroutine.resume(co)
check.eq(ok, false, "start in a coroutine")
check.truthy(message:find("[lenscart::start] Can only be called from the main Lua state.", 1, true), message)
check.eq(lenscart.stop(), true, "stop without start")
check.eq(lenscart.stop(), true, "stop twice")

-- A replaced IEvents is not called: start and stop still answer.
IEvents = nil
check.eq(lenscart.stop(), true, "stop without IEvents")

print("lenscart ok")
