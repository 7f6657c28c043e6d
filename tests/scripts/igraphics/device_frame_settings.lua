--! stdout: CHECKS PASSED
-- What the frame is drawn with, set and read from scripts on the NULL
-- device: the buffer flags, the clear and ambient colours, the driver's
-- texture options, the caches and their counts, the size of text on the
-- screen and the world box, before init, with a device and after destroy.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local function colour(value)
    check.truthy(rawequal(debug.getmetatable(value), CColorScript), "a colour object")
    return string.format("%.2f %.2f %.2f %.2f", value:getRed(), value:getGreen(), value:getBlue(), value:getAlpha())
end
local function vector(value)
    check.truthy(rawequal(debug.getmetatable(value), CVectorScript), "a vector object")
    return tostring(value)
end

local function withoutDevice(when)
    -- The stored settings answer; what lives in the driver is neutral.
    check.eq(colour(IGraphics:getAmbientColor()), "0.00 0.00 0.00 0.00", when .. ": ambient colour")
    IGraphics:setAmbientColor(IMisc:colorCreate(1, 1, 1, 1))
    check.eq(colour(IGraphics:getAmbientColor()), "0.00 0.00 0.00 0.00", when .. ": no ambient light to set")
    for _, option in ipairs({"TextureSpeedOptimized", "TextureQualityOptimized", "TextureMipMapping"}) do
        IGraphics["set" .. option](IGraphics, true)
        check.eq(IGraphics["get" .. option](IGraphics), false, when .. ": " .. option)
    end
    check.eq(IGraphics:getNumberOfLoadedTextures(), 0, when .. ": textures")
    check.eq(IGraphics:getNumberOfLoadedMeshes(), 0, when .. ": meshes")
    IGraphics:clearCache()
    check.eq(tostring(IGraphics:getTextDimensions("", "Hello")), "0.000000 0.000000", when .. ": text size")
    check.eq(vector(IGraphics:getWorldMin()), "-1.000000 -1.000000 -1.000000", when .. ": world min")
    check.eq(vector(IGraphics:getWorldMax()), "1.000000 1.000000 1.000000", when .. ": world max")
    check.eq(IGraphics:screenShot(os.getenv("HALVANE_TEST_WORK") .. "/none.png", 0), false, when .. ": screen shot")
    check.eq(IGraphics:draw(false, false, true), false, when .. ": draw")
end

withoutDevice("before init")

-- Buffer flags and the clear colour are the engine's own: kept whatever
-- the device does.
check.eq(IGraphics:isBackBufferEnabled(), true, "back buffer cleared by default")
check.eq(IGraphics:isZBufferEnabled(), true, "z-buffer cleared by default")
IGraphics:enableBackBuffer(false)
IGraphics:enableZBuffer(false)
check.eq(IGraphics:isBackBufferEnabled(), false, "back buffer flag")
check.eq(IGraphics:isZBufferEnabled(), false, "z-buffer flag")
check.eq(colour(IGraphics:getBackColor()), "0.00 0.00 0.00 0.00", "back colour at the start")
IGraphics:setBackColor(IMisc:colorCreate(0.2, 0.4, 0.6, 1))
check.eq(colour(IGraphics:getBackColor()), "0.20 0.40 0.60 1.00", "back colour")
-- The text form serves as well; each answer is a new object.
IGraphics:setBackColor("1 0.5 0.25 1")
local back = IGraphics:getBackColor()
check.eq(colour(back), "1.00 0.50 0.25 1.00", "back colour from text")
back:set(0, 0, 0, 0)
check.eq(colour(IGraphics:getBackColor()), "1.00 0.50 0.25 1.00", "the answer is a copy")
check.truthy(not rawequal(IGraphics:getBackColor(), IGraphics:getBackColor()), "new objects")

check.truthy(IGraphics:init("NULL", 320, 200, false, 16, false, false, false, 60, false), "init")
check.eq(IGraphics:isBackBufferEnabled(), false, "the flag outlives init")
check.eq(colour(IGraphics:getBackColor()), "1.00 0.50 0.25 1.00", "the colour outlives init")
IGraphics:enableBackBuffer(true)
IGraphics:enableZBuffer(true)

-- The scene's ambient light.
IGraphics:setAmbientColor(IMisc:colorCreate(0.25, 0.5, 0.75, 1))
check.eq(colour(IGraphics:getAmbientColor()), "0.25 0.50 0.75 1.00", "ambient colour")

-- Texture options: the driver's creation flags. Speed and quality exclude
-- each other in the driver.
check.eq(IGraphics:getTextureMipMapping(), true, "mip maps by default")
IGraphics:setTextureMipMapping(false)
check.eq(IGraphics:getTextureMipMapping(), false, "mip maps off")
IGraphics:setTextureSpeedOptimized(true)
check.eq(IGraphics:getTextureSpeedOptimized(), true, "speed")
IGraphics:setTextureQualityOptimized(true)
check.eq(IGraphics:getTextureQualityOptimized(), true, "quality")
check.eq(IGraphics:getTextureSpeedOptimized(), false, "quality replaces speed")
IGraphics:setTextureQualityOptimized(false)
check.eq(IGraphics:getTextureQualityOptimized(), false, "quality off")
check.eq(IGraphics:getTextureMipMapping(), false, "mip maps still off")

-- Text sizes are fractions of the screen: the same text on a screen twice
-- as large is half the fraction. An empty text has no width.
local small = IGraphics:getTextDimensions("", "Hello")
check.truthy(small:getX() > 0 and small:getY() > 0, "text size " .. tostring(small))
check.eq(IGraphics:getTextDimensions("", ""):getX(), 0, "empty text")
check.truthy(IGraphics:getTextDimensions("", "Hello Hello"):getX() > small:getX(), "longer text")
check.truthy(IGraphics:init("NULL", 640, 400, false, 16, false, false, false, 60, false), "init, larger")
local large = IGraphics:getTextDimensions("", "Hello")
check.near(large:getX() * 2, small:getX(), 1e-6, "width fraction")
check.near(large:getY() * 2, small:getY(), 1e-6, "height fraction")
-- A new device starts with the driver's own options.
check.eq(IGraphics:getTextureMipMapping(), true, "options of the new device")

-- The world box of an empty scene.
check.eq(vector(IGraphics:getWorldMin()), "-1.000000 -1.000000 -1.000000", "world min")
check.eq(vector(IGraphics:getWorldMax()), "1.000000 1.000000 1.000000", "world max")
IGraphics:getWorldMin():set(5, 5, 5)
check.eq(vector(IGraphics:getWorldMin()), "-1.000000 -1.000000 -1.000000", "the answer is a copy")

-- The caches of an empty device; the NULL driver takes no screen shot.
check.eq(IGraphics:getNumberOfLoadedTextures(), 0, "textures")
check.eq(IGraphics:getNumberOfLoadedMeshes(), 0, "meshes")
IGraphics:clearCache()
check.eq(IGraphics:isInitialised(), true, "clearCache keeps the device")
check.eq(IGraphics:screenShot(os.getenv("HALVANE_TEST_WORK") .. "/null.png", 0), false, "NULL screen shot")

IGraphics:destroy()
withoutDevice("after destroy")
check.eq(colour(IGraphics:getBackColor()), "1.00 0.50 0.25 1.00", "the colour outlives the device")
check.done()
