--! stdout: CHECKS PASSED
--! xvfb
-- Screen sprites and the own skin on the software renderer (a virtual X
-- server): a sprite drawn before the GUI lies under a check box, one drawn
-- after it on top; moves reach the pixels; an image the own skin binds to
-- a control's name replaces the control's pane. (This renderer leaves out
-- the corner colours of stretched images: tints are not seen here.)
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function open(driver, width, height)
    for _ = 1, 5 do
        if G:init(driver, width, height, false, 32, false, false, false, 100, true) then return true end
    end
    return false
end

local function u32(value)
    return string.char(value % 256, math.floor(value / 256) % 256, math.floor(value / 65536) % 256,
        math.floor(value / 16777216) % 256)
end

-- An 8 x 8 bitmap of one colour (24 bits, rows of 24 bytes need no padding).
local function writeBitmap(path, r, g, b)
    local pixels = string.rep(string.char(b, g, r), 64)
    local file = assert(io.open(path, "wb"))
    file:write("BM", u32(54 + #pixels), u32(0), u32(54), u32(40), u32(8), u32(8), string.char(1, 0, 24, 0),
        u32(0), u32(#pixels), u32(2835), u32(2835), u32(0), u32(0), pixels)
    file:close()
end

-- The pixel at (x, y) of a screen shot as "r g b".
local shots = 0
local function shot()
    shots = shots + 1
    local path = work .. "/shot" .. shots .. ".bmp"
    check.eq(G:draw(false, false, true), true, "draw")
    check.eq(G:screenShot(path, 0), true, "screen shot")
    local file = assert(io.open(path, "rb"))
    local data = file:read("*a")
    file:close()
    local function at(offset)
        local a, b, c, d = string.byte(data, offset + 1, offset + 4)
        return a + b * 256 + c * 65536 + d * 16777216
    end
    local offset, width, height = at(10), at(18), at(22)
    local rowSize = math.floor((width * 3 + 3) / 4) * 4
    return function(x, y)
        local index = offset + (height - 1 - y) * rowSize + x * 3
        local b, g, r = string.byte(data, index + 1, index + 3)
        return r .. " " .. g .. " " .. b
    end
end

writeBitmap(work .. "/red.bmp", 255, 0, 0)
writeBitmap(work .. "/blue.bmp", 0, 0, 255)
writeBitmap(work .. "/yellow.bmp", 255, 255, 0)
check.truthy(open("SOFTWARE", 64, 48), "the software renderer opens")
G:setBackgroundRenderingEnabled(true)
G:setBackColor("0 0 0 1")

-- Sprites alone: where they are placed.
check.eq(G:addSpriteBankEntry(work .. "/red.bmp", {}, 0, "red"), "red", "an entry of the whole texture")
check.eq(G:addSpriteBankEntry(work .. "/blue.bmp", {"0 0 4 4"}, 0, "blue"), "blue", "an entry of a part")
local red = G:addSpriteToScreen("red", "8 8 24 24", 0, true, false, 0, nil, false, "")
local pixel = shot()
check.eq(pixel(16, 16), "255 0 0", "the sprite")
check.eq(pixel(30, 30), "0 0 0", "nothing beside it")
G:setSpriteScreenPosition(red, "32 8 0 0")
pixel = shot()
check.eq(pixel(16, 16), "0 0 0", "moved away")
check.eq(pixel(40, 16), "255 0 0", "moved here")
G:removeSpriteFromScreen(red)
pixel = shot()
check.eq(pixel(40, 16), "0 0 0", "removed")

-- Under and over the GUI: the white inside of a check box.
check.eq(G:createCheckbox("box", "", "0 0 64 48", false), true, "a check box")
pixel = shot()
local white = "255 255 255"
local boxX, boxY
for y = 2, 45 do
    for x = 2, 61 do
        if not boxX and pixel(x, y) == white and pixel(x + 2, y) == white and pixel(x, y + 2) == white
            and pixel(x - 2, y) == white and pixel(x, y - 2) == white then
            boxX, boxY = x, y
        end
    end
end
check.truthy(boxX, "the check box draws its inside")
local under = G:addSpriteToScreen("red", "0 0 64 48", 0, true, false, 0, nil, true, "")
pixel = shot()
check.eq(pixel(boxX, boxY), white, "the check box covers the sprite drawn before it")
check.eq(pixel(60, 2), "255 0 0", "the sprite around it")
local over = G:addSpriteToScreen("blue", "0 0 64 48", 0, true, false, 0, nil, false, "")
pixel = shot()
check.eq(pixel(boxX, boxY), "0 0 255", "the sprite drawn after the GUI covers the check box")
G:removeAllSpritesFromScreen()
check.eq(G:screenSpriteExists(under) or G:screenSpriteExists(over), false, "all removed")

-- The own skin draws the image bound to the control's name in its pane.
check.eq(ISkin:activate("Pixels", true), true, "an own skin")
check.eq(ISkin:setImage("box", work .. "/yellow.bmp", {}, 0), true, "an image for the control named box")
pixel = shot()
check.eq(pixel(boxX, boxY), "255 255 0", "the control's image")
ISkin:clearImage("box")
pixel = shot()
check.truthy(pixel(boxX, boxY) ~= "255 255 0", "without it the pane is drawn again")
G:destroy()
check.done()
