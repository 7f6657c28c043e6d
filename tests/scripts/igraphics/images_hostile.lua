--! stdout: CHECKS PASSED
-- Image files that crashed, overflowed or exhausted Irrlicht's own loaders
-- reach no texture from any path a script has: textures, GUI images,
-- sprite entries, skin images, drawing, also from a mounted zip. Each is
-- refused (or, for the run-length TGA, read within its image); a good
-- file beside them still loads.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end
local function be32(n) return string.char(math.floor(n / 16777216) % 256, math.floor(n / 65536) % 256,
        math.floor(n / 256) % 256, n % 256) end
local function write(path, bytes)
    local file = assert(io.open(path, "wb"))
    file:write(bytes)
    file:close()
end
local function bmp(width, height, dataSize, pixels)
    return "BM" .. u32(0) .. u32(0) .. u32(54) .. u32(40) .. u32(width) .. u32(height) .. u16(1) .. u16(24) ..
        u32(0) .. u32(dataSize) .. u32(2835) .. u32(2835) .. u32(0) .. u32(0) .. pixels
end
local function tga(kind, width, height, bits) return string.char(0, 0, kind, 0, 0, 0, 0, 0, 0, 0, 0, 0) ..
        u16(width) .. u16(height) .. string.char(bits, 0) end
local function pcx(width, height, planes)
    return string.char(10, 5, 1, 8) .. u16(0) .. u16(0) .. u16(width - 1) .. u16(height - 1) ..
        string.rep("\0", 53) .. string.char(planes) .. u16(width) .. string.rep("\0", 60) .. string.rep("\197", 64)
end
local function psd(width, height, compression)
    return "8BPS" .. u16(256) .. string.rep("\0", 6) .. string.char(0, 3) .. be32(height) .. be32(width) ..
        string.char(0, 8, 0, 3) .. string.rep("\0", 12) .. string.char(0, compression) .. string.rep("\129", 64)
end

local hostile = {
    ["truncated.jpg"] = "\255\216\255\224\0\16JFIF\0\1",
    ["huge.tga"] = tga(2, 16384, 16384, 32) .. string.rep("x", 256),
    ["wide.tga"] = tga(2, 65535, 65535, 24) .. string.rep("x", 64),
    ["short.tga"] = tga(10, 64, 64, 24) .. "\255abc",
    ["deep.pcx"] = pcx(64, 64, 3),
    ["wrap.pcx"] = pcx(65535, 65535, 1),
    ["packed.psd"] = psd(64, 64, 1),
    ["huge.psd"] = psd(30000, 30000, 0),
    ["x.wal"] = string.rep("@", 100),
    ["lying.bmp"] = bmp(4, 4, 0xF0000000, string.rep("\127", 48)),
    ["huge.png"] = "\137PNG\r\n\26\n" .. be32(13) .. "IHDR" .. be32(30000) .. be32(30000) .. "\8\6\0\0\0" ..
        be32(0),
}
local good = bmp(2, 2, 16, string.rep("\255\255\255", 2) .. "\0\0" .. string.rep("\255\255\255", 2) .. "\0\0")

check.eq(G:init("NULL", 320, 240, false, 16, false, false, false, 100, true), true, "device")
check.eq(ISkin:activate("Images", false), true, "own skin")
local entries = {}
for name, bytes in pairs(hostile) do
    write(work .. "/" .. name, bytes)
    entries[#entries + 1] = { "zipped/" .. name, bytes }
end
write(work .. "/good.bmp", good)
entries[#entries + 1] = { "zipped/good.bmp", good }
zip.write(work .. "/images.zip", entries)
check.truthy(IApp:addSearchZip(work .. "/images.zip", true, 0, ""), "mounted")

for name in pairs(hostile) do
    for _, path in ipairs({ work .. "/" .. name, "zipped/" .. name }) do
        check.eq(G:loadTexture(path), false, "loadTexture " .. path)
        pcall(G.createImage, G, "image " .. path, path, "0 0 0.1 0.1", true, false)
        pcall(G.addSpriteBankEntry, G, path, {}, 0, "sprite " .. path)
        pcall(ISkin.setImage, ISkin, "GUIIMAGE_WINDOW", path, { "0 0 8 8" }, 10)
        G:draw2DImage(path, "0 0", true)
        check.eq(G:textureExists(path), false, "no texture for " .. path)
    end
end
G:draw(false, false, true)
check.eq(G:loadTexture(work .. "/good.bmp"), true, "a good file still loads")
check.eq(G:loadTexture("zipped/good.bmp"), true, "also from the zip")

check.done()
