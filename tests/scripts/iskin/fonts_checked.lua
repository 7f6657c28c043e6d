--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- Bitmap fonts are checked before Irrlicht reads them: damaged or hostile
-- descriptions fail with the font error, never a crash or a runaway
-- allocation; good fonts load by their own path (their images beside them),
-- from a mounted zip, and as the font builder saves them with several
-- images.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function write(path, text)
    local file = assert(io.open(path, "wb"))
    file:write(text)
    file:close()
end

check.eq(G:init("NULL", 320, 240, false, 16, false, false, false, 100, true), true, "device")
check.eq(ISkin:activate("Fonts", false), true, "own skin")
-- A 16 x 8 white bitmap of 24 bits for the fonts.
local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end
local pixels = string.rep("\255", 16 * 8 * 3)
local bitmap = "BM" .. u32(54 + #pixels) .. u32(0) .. u32(54) .. u32(40) .. u32(16) .. u32(8) .. u16(1) ..
    u16(24) .. u32(0) .. u32(#pixels) .. u32(2835) .. u32(2835) .. u32(0) .. u32(0) .. pixels
os.execute("mkdir -p '" .. work .. "/fonts'")
write(work .. "/fonts/tiny0.bmp", bitmap)

local function font(body)
    return '<?xml version="1.0"?>\n<font type="bitmap">\n' ..
        '<Texture index="0" filename="tiny0.bmp" hasAlpha="true" />\n' .. body .. '</font>\n'
end
local good = font('<c c="A" r="0, 0, 5, 8" />\n<c c="B" r="6, 0, 13, 8" u="1" />\n')
write(work .. "/fonts/tiny.xml", good)
-- By its own path, from any current folder: the image is beside it.
check.eq(ISkin:setFont("tiny", work .. "/fonts/tiny.xml"), true, "a good font")
check.eq(ISkin:getFontTextureCount("tiny"), 1, "with its image")

local cases = {
    { "a character without its text", font('<c r="0, 0, 5, 8" />\n') },
    { "a negative texture index", '<font type="bitmap"><Texture index="-1" filename="tiny0.bmp" />' ..
        '<c c="A" r="0, 0, 5, 8" /></font>' },
    { "a huge texture index", '<font type="bitmap"><Texture index="4294967295" filename="tiny0.bmp" />' ..
        '<c c="A" r="0, 0, 5, 8" /></font>' },
    { "a truncated description", string.sub(good, 1, 90) },
    { "a description cut inside a tag", string.sub(good, 1, #good - 4) },
    { "a texture that is not there", '<font type="bitmap"><Texture index="0" filename="none.png" />' ..
        '<c c="A" r="0, 0, 5, 8" /></font>' },
    { "a texture that is no image", '<font type="bitmap"><Texture index="0" filename="tiny.xml" />' ..
        '<c c="A" r="0, 0, 5, 8" /></font>' },
    { "a rectangle outside the image", font('<c c="A" r="0, 0, 50, 8" />\n') },
    { "a rectangle that is no rectangle", font('<c c="A" r="0, 0, 5" />\n') },
    { "a texture the font does not have", font('<c c="A" r="0, 0, 5, 8" i="3" />\n') },
    { "no characters", font('') },
    { "no bitmap font", '<font type="vector"><c c="A" r="0, 0, 5, 8" /></font>' },
    { "no XML", bitmap },
    { "an empty file", "" },
}
for index, case in ipairs(cases) do
    local path = work .. "/fonts/bad" .. index .. ".xml"
    write(path, case[2])
    check.raises("[CGuiManager::SetFont] Failed to load font:", ISkin.setFont, ISkin, "bad", path)
end
-- A hostile image behind a good description.
write(work .. "/fonts/huge0.tga", string.char(0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 32, 0) ..
    string.rep("x", 64))
write(work .. "/fonts/huge.xml", (good:gsub("tiny0.bmp", "huge0.tga")))
check.raises("Failed to load font", ISkin.setFont, ISkin, "bad", work .. "/fonts/huge.xml")

-- From a mounted zip, by the name inside it.
zip.write(work .. "/fonts.zip", { { "font/ok.xml", good }, { "font/tiny0.bmp", bitmap } })
check.truthy(IApp:addSearchZip(work .. "/fonts.zip", true, 0, ""), "mounted")
check.eq(ISkin:setFont("zipped", "font/ok.xml"), true, "a font in a zip")
check.eq(ISkin:getFontTextureCount("zipped"), 1, "with its image")

-- Saved by the font builder with several images, loaded by its own path.
local tool = G:createFontTool()
check.eq(G:createFont(tool, { charSet = "ANSI", fontName = "DejaVu Sans Mono", fontSize = 16,
    textureWidth = 128, textureHeight = 128, filenameBase = work .. "/fonts/built", imageFormat = "png" }), true,
    "a built font")
G:destroyFontTool(tool)
check.eq(ISkin:setFont("built", work .. "/fonts/built.xml"), true, "the built font loads back")
check.truthy(ISkin:getFontTextureCount("built") > 1, "with several images")

check.done()
