--! stdout: CHECKS PASSED
--! xvfb
-- The software renderer in a real window (a virtual X server of 1024 x
-- 768): the clear colour reaches the pixels of a screen shot, a frame that
-- keeps the back buffer keeps the picture before, and windows X cannot make
-- fail as devices instead of ending the process.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local work = os.getenv("HALVANE_TEST_WORK")

-- The X server may refuse a connection right after another client's: a
-- few attempts, silenced.
local function open(driver, width, height)
    for _ = 1, 5 do
        if IGraphics:init(driver, width, height, false, 32, false, false, false, 100, true) then
            return true
        end
    end
    return false
end

-- Width, height and the pixel at (x, y) as "r g b" of a 24-bit bitmap.
local function readBitmap(path)
    local file = assert(io.open(path, "rb"))
    local data = file:read("*a")
    file:close()
    local function u32(at)
        local a, b, c, d = string.byte(data, at + 1, at + 4)
        return a + b * 256 + c * 65536 + d * 16777216
    end
    check.eq(string.sub(data, 1, 2), "BM", "bitmap signature")
    local offset, width, height = u32(10), u32(18), u32(22)
    local bits = string.byte(data, 29) + string.byte(data, 30) * 256
    check.eq(bits, 24, "bits per pixel")
    local rowSize = math.floor((width * 3 + 3) / 4) * 4
    return width, height, function(x, y)
        local at = offset + (height - 1 - y) * rowSize + x * 3
        local b, g, r = string.byte(data, at + 1, at + 3)
        return r .. " " .. g .. " " .. b
    end
end

local function shot(name)
    local path = work .. "/" .. name
    check.eq(IGraphics:screenShot(path, 0), true, "screen shot " .. name)
    return readBitmap(path)
end

check.truthy(open("SOFTWARE", 64, 48), "the software renderer opens")
check.eq(IGraphics:getCurrentDriverName(), "SOFTWARE", "driver")
check.eq(IGraphics:getCurrentVideoModeWidth(), 64, "width")
check.eq(IGraphics:getCurrentVideoModeHeight(), 48, "height")
check.eq(IGraphics:getDesktopWidth(), 1024, "desktop width")
check.eq(IGraphics:getDesktopHeight(), 768, "desktop height")
check.eq(IGraphics:getCurrentWindowHandle(), 0, "the software renderer tells no window")
check.eq(IGraphics:queryFeature(0), true, "render targets")
check.eq(IGraphics:queryFeature(1e6), false, "a code that is no feature")
IGraphics:setBackgroundRenderingEnabled(true)

-- Each channel times 255, truncated: 0.2 0.4 0.6 is 51 102 153.
IGraphics:setBackColor(IMisc:colorCreate(0.2, 0.4, 0.6, 1))
check.eq(IGraphics:draw(false, false, true), true, "draw")
local width, height, pixel = shot("first.bmp")
check.eq(width .. "x" .. height, "64x48", "picture size")
for _, at in ipairs({{0, 0}, {63, 0}, {0, 47}, {63, 47}, {32, 24}}) do
    check.eq(pixel(at[1], at[2]), "51 102 153", "clear colour at " .. at[1] .. "," .. at[2])
end

-- A frame that keeps the back buffer shows the colour before.
IGraphics:setBackColor("1 0 0 1")
check.eq(IGraphics:draw(true, false, true), true, "draw keeping the back buffer")
width, height, pixel = shot("kept.bmp")
check.eq(pixel(10, 10), "51 102 153", "the kept picture")
check.eq(IGraphics:draw(false, false, true), true, "draw clearing the back buffer")
width, height, pixel = shot("red.bmp")
check.eq(pixel(10, 10), "255 0 0", "the new clear colour")
-- The loop's frames clear as the flag says.
IGraphics:setBackColor("0 1 0 1")
IGraphics:enableBackBuffer(false)
IApp:run(50)
width, height, pixel = shot("loop-kept.bmp")
check.eq(pixel(10, 10), "255 0 0", "the loop kept the back buffer")
IGraphics:enableBackBuffer(true)
IApp:run(50)
width, height, pixel = shot("loop.bmp")
check.eq(pixel(10, 10), "0 255 0", "the loop cleared the back buffer")
check.eq(IGraphics:screenShot(work .. "/loop.png", 0), true, "a PNG screen shot")
check.eq(IGraphics:screenShot(work .. "/missing/loop.png", 0), false, "into a missing folder")

-- Windows X cannot make: no device, no end of the process.
for _, size in ipairs({{0, 48}, {64, 0}, {40000, 48}, {64, 40000}, {-1, -1}}) do
    check.eq(IGraphics:init("SOFTWARE", size[1], size[2], false, 32, false, false, false, 100, true), false,
        "a window of " .. size[1] .. " x " .. size[2])
    check.raises("[CGraphicsEngine::Init] Failed to create the graphics device.", IGraphics.init, IGraphics,
        "SOFTWARE", size[1], size[2], false, 32, false, false, false, 100, false)
end
for _, driver in ipairs({"SOFTWARE", "OPENGL"}) do
    check.eq(IGraphics:initEx(driver, 64, 48, false, 32, false, false, false, 100, 4711, true), false,
        driver .. " in a window that does not exist")
    check.eq(IGraphics:isInitialised(), false, "no device")
end
check.truthy(open("SOFTWARE", 64, 48), "the software renderer opens again")
IGraphics:destroy()
check.done()
