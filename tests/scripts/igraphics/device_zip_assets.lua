--! stdout: CHECKS PASSED
-- A texture in a zip archive the script mounted loads by its bare name (and
-- by a name written on Windows) on the NULL device; the caches count
-- textures and meshes apart and clearCache empties both.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")

local work = os.getenv("HALVANE_TEST_WORK")

local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end
-- A 1 x 1 bitmap of 24 bits: one white pixel, its row padded to 4 bytes.
local bitmap = "BM" .. u32(58) .. u32(0) .. u32(54) .. u32(40) .. u32(1) .. u32(1) .. u16(1) .. u16(24)
    .. u32(0) .. u32(4) .. u32(2835) .. u32(2835) .. u32(0) .. u32(0) .. "\255\255\255\0"
zip.write(work .. "/assets.zip", {{"images/white.bmp", bitmap}, {"readme.txt", "not a picture"}})

check.truthy(IGraphics:init("NULL", 64, 48, false, 16, false, false, false, 100, false), "init")
check.truthy(IApp:addSearchZip(work .. "/assets.zip", true, 0, ""), "mounted")

check.eq(IGraphics:getNumberOfLoadedTextures(), 0, "no texture yet")
check.eq(IGraphics:loadTexture("white.bmp"), true, "loaded by its bare name")
check.eq(IGraphics:getNumberOfLoadedTextures(), 1, "one texture")
check.eq(IGraphics:loadTexture("C:\\old\\project\\images\\white.bmp"), true, "by a name written on Windows")
check.eq(IGraphics:getNumberOfLoadedTextures(), 1, "the same texture")
check.eq(IGraphics:loadTexture("readme.txt"), false, "a file that is no picture")
check.eq(IGraphics:loadTexture("missing.bmp"), false, "a file that is not there")
check.eq(IGraphics:getNumberOfLoadedMeshes(), 0, "textures are no meshes")

IGraphics:clearCache()
check.eq(IGraphics:getNumberOfLoadedTextures(), 0, "textures after clearCache")
check.eq(IGraphics:getNumberOfLoadedMeshes(), 0, "meshes after clearCache")
check.eq(IGraphics:loadTexture("white.bmp"), true, "loaded again")
IGraphics:destroy()
check.eq(IGraphics:getNumberOfLoadedTextures(), 0, "no device, no textures")
check.done()
