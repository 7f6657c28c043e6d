--! stdout: CHECKS PASSED
-- IGraphics drawing, text and colour functions before a device exists: the
-- drawing does nothing, the colour getters answer zero or what was set, and
-- values of any type or size are taken without a crash.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics

local function same(color, r, g, b, a, what)
    check.near(color:getRed(), r, 1e-6, what .. " red")
    check.near(color:getGreen(), g, 1e-6, what .. " green")
    check.near(color:getBlue(), b, 1e-6, what .. " blue")
    check.near(color:getAlpha(), a, 1e-6, what .. " alpha")
end

-- The back colour is the engine's, kept without a device; the ambient light
-- is the scene's, zero without one.
G:setBackColor(IMisc:colorCreate(0.25, 0.5, 0.75, 1))
same(G:getBackColor(), 0.25, 0.5, 0.75, 1, "back colour")
G:setBackColor("0 0 0 0")
G:setAmbientColor("1 1 1 1")
same(G:getAmbientColor(), 0, 0, 0, 0, "ambient colour")

-- Every drawing call with value objects...
local white = IMisc:colorCreate(1, 1, 1, 1)
local rect = IMisc:rectCreate(0, 0, 1, 1)
local point = IMisc:pointCreate(0.5, 0.5)
local vector = IMisc:vectorCreate(1, 2, 3)
G:draw2DLine(point, point, white)
G:draw2DBox(rect, white)
G:draw2DBoxClipped(rect, rect, white)
G:draw2DRectangle(rect, white)
G:draw2DRectangleClipped(rect, rect, white)
G:draw2DRectangleGradient(rect, white, white, white, white)
G:draw2DRectangleGradientClipped(rect, rect, white, white, white, white)
G:draw2DCircle(point, 0.1, 8, white)
G:draw2DImage("image.png", point, true)
G:draw2DImageScaled("image.png", rect, rect, white, true)
G:draw3DLine(vector, vector, white)
G:draw3DBox(vector, vector, white)
G:draw3DTriangle(vector, vector, vector, white)
G:drawText("", "text", white, rect, true, true)
-- ...and with values of any other type or size: text forms, numbers,
-- tables, booleans, nothing.
local values = {"0 0 1 1", "nan nan nan nan", "1e300 -1e300 1e300 -1e300", 0 / 0, 1 / 0, -1, 1e300, {}, true,
    nil, "", "not a value"}
for index = 1, 12 do
    local v = values[index]
    G:draw2DLine(v, v, v)
    G:draw2DBox(v, v)
    G:draw2DBoxClipped(v, v, v)
    G:draw2DBoxClipped(v, nil, v)
    G:draw2DRectangle(v, v)
    G:draw2DRectangleClipped(v, v, v)
    G:draw2DRectangleGradient(v, v, v, v, v)
    G:draw2DRectangleGradientClipped(v, v, v, v, v, v)
    G:draw2DCircle(v, v, 8, v)
    G:draw2DImage(v, v, v)
    G:draw2DImageScaled(v, v, v, v, v)
    G:draw3DLine(v, v, v)
    G:draw3DBox(v, v, v)
    G:draw3DTriangle(v, v, v, v)
    G:drawText(v, v, v, v, v, v)
    local size = G:getTextDimensions(v, v)
    check.eq(size:getX(), 0, "text width without a device")
end
-- A circle of too many corners is refused whether or not a device exists.
check.raises("[CGraphicsEngine::Draw2DCircle] Too many vertices: 65537",
    function() G:draw2DCircle("0.5 0.5", 0.1, 65537, white) end)
G:draw2DCircle("0.5 0.5", 0.1, -2147483648, white)

-- Userdata of another kind, or a value of another class, is no value.
check.raises("[CPointScript]", function() G:draw2DLine(io.stdout, "1 1", white) end)
check.raises("[CColorScript]", function() G:setBackColor(io.stdout) end)
check.raises("[CRectScript] A CPointScript value was given", function() G:draw2DRectangle(point, white) end)

-- The same from a coroutine.
local drawn = coroutine.wrap(function()
    G:draw2DRectangle("0 0 1 1", white)
    coroutine.yield(true)
    G:draw3DLine("0 0 0", "1 1 1", white)
    return true
end)
check.eq(drawn(), true, "drawing in a coroutine")
check.eq(drawn(), true, "drawing after a yield")
check.done()
