--! stdout: CHECKS PASSED
-- Game-style arithmetic with the value classes and the IMisc geometry
-- functions: a unit walks towards a target, its camera looks at it, a
-- picking box and a screen rectangle are tested, a colour fades.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local position = IMisc:vectorCreate(0, 0, 0)
local target = IMisc:vectorCreate(3, 0, 4)
local direction = (target - position):normalise()
check.near(direction:getX(), 0.6, 1e-6, "direction x")
check.near(direction:getZ(), 0.8, 1e-6, "direction z")

for step = 1, 5 do
    position:add(direction * 1)
end
check.near(position:getDistanceFrom(target), 0, 1e-5, "arrived")
check.eq(tostring(position), "3.000000 0.000000 4.000000", "text form")

-- The camera behind the unit looks along +x.
local camera = position - "10 0 0"
local rotation = IMisc:getLookAtRotations(position, camera)
check.near(rotation:getY(), 90, 1e-4, "camera yaw")
local forward = IMisc:getOrientation(rotation, "0 0 1")
check.near(forward:getX(), 1, 1e-6, "forward x")

-- Picking: the ray from the camera passes through the unit's box.
local box = IMisc:boxCreate(position - "0.5 0.5 0.5", position + "0.5 0.5 0.5")
local ray = IMisc:lineCreate(camera, position + "10 0 0")
check.truthy(IMisc:boxIntersectsLine(box, ray), "ray hits the box")
check.truthy(IMisc:boxPointInside(box, position), "unit inside its box")
check.eq(#IMisc:boxGetVertices(box), 8, "box corners")

-- Screen rectangles and points.
local button = IMisc:rectCreate(0.1, 0.1, 0.3, 0.2)
check.truthy(button:isPointInside(IMisc:pointCreate(0.2, 0.15)), "mouse over the button")
check.truthy(not IMisc:rectIsPointInside(button, "0.2 0.1"), "a point on the top edge is outside")
check.near(button:getWidth(), 0.2, 1e-6, "button width")
check.eq("button " .. button:getUpperLeftPoint(), "button 0.100000 0.100000", "concatenation")

-- A colour given in bytes, faded by half.
local red = IMisc:colorCreate(255, 0, 0, 255)
local faded = red * 0.5
check.eq(tostring(faded), "0.50 0.00 0.00 0.50", "faded colour")
check.truthy(IMisc:colorCreateFromString("0.25 0 0 0.25") == faded, "a colour below another counts as equal")
check.truthy(faded ~= IMisc:colorCreateFromString("0.25 0 0 0.25"), "but not the other way round")

-- Values of one class are never read as another.
check.raises("[CVectorScript] A CPointScript value was given where a CVectorScript value is expected",
    function() return position + IMisc:pointCreate(1, 2) end)
check.done()
