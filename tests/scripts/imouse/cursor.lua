--! stdout: CHECKS PASSED
-- The cursor as scripts place and read it: fractions of the window, kept
-- within what the window system carries; 0 in a window of no size; shown
-- and hidden; shapes by their exact names.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

-- Without a device nothing moves and everything reads 0.
IMouse:setPosition(0.5, 0.5)
check.eq(IMouse:getX(), 0, "no device: x")
check.eq(IMouse:getPosition():getY(), 0, "no device: y")

check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
IMouse:setPosition(0.25, 0.75)
check.near(IMouse:getX(), 0.25, 1e-6, "x")
check.near(IMouse:getY(), 0.75, 1e-6, "y")
local position = IMouse:getPosition()
check.near(position:getX(), 0.25, 1e-6, "point x")
check.near(position:getY(), 0.75, 1e-6, "point y")
IMouse:setPositionPoint(IMisc:pointCreate(0.5, 0.125))
check.near(IMouse:getX(), 0.5, 1e-6, "x from a point")
check.near(IMouse:getY(), 0.125, 1e-6, "y from a point")
IMouse:setPositionPoint("0.75 0.5")
check.near(IMouse:getX(), 0.75, 1e-6, "x from a point's text")

-- Outside the window is allowed, as far as a pointer coordinate reaches
-- (16 signed bits of pixels); beyond, the place is that limit, not a
-- number wrapped around to the other side.
for _, case in ipairs({{-0.5, -0.5}, {2, 2}, {1e9, 32767 / 800}, {-1e30, -32767 / 800}, {1 / 0, 32767 / 800},
                       {-1 / 0, -32767 / 800}, {0 / 0, 0}}) do
    IMouse:setPosition(case[1], 0.5)
    check.near(IMouse:getX(), case[2], 1e-5, "x placed at " .. tostring(case[1]))
    check.near(IMouse:getY(), 0.5, 1e-5, "y beside x " .. tostring(case[1]))
end

-- Shown and hidden.
IMouse:show(false)
check.eq(IMouse:isVisible(), false, "hidden")
IMouse:show(true)
check.eq(IMouse:isVisible(), true, "shown")

-- Shapes by exact name; others change nothing (and fail nothing).
for _, name in ipairs({"ARROW", "arrow", "WAIT", "IBEAM", "nonsense", ""}) do
    IMouse:setType(name)
end

-- A window of no size: every fraction reads 0.
check.truthy(IGraphics:init("NULL", 0, 0, false, 32, false, false, false, 60, true), "NULL device of no size")
IMouse:setPosition(0.5, 0.5)
check.eq(IMouse:getX(), 0, "x in no window")
check.eq(IMouse:getY(), 0, "y in no window")
IMouse:setPosition(1e30, -1e30)
check.eq(IMouse:getPosition():getX(), 0, "point in no window")
check.done()
