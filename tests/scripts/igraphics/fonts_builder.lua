--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- The bitmap-font builder through IGraphics on the NULL device: character
-- sets and their fonts, fonts built by options with defaults and refusals,
-- and builder handles that are refused once their builder is gone (by
-- destroyFontTool or with the device).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function exists(path)
    local file = io.open(path, "rb")
    if file then file:close() end
    return file ~= nil
end

-- Without a device there is no builder.
check.eq(G:createFontTool(), 0, "no builder without a device")
check.eq(G:destroyFontTool(0), true, "destroying no builder")
check.raises("[IGraphics::getCharsets] Invalid font tool handle: 0", G.getCharsets, G, 0)

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
local tool = G:createFontTool()
check.truthy(tool ~= 0, "a builder")
local charsets = G:getCharsets(tool)
check.eq(#charsets, 19, "nineteen character sets")
check.eq(charsets[1], "ANSI", "the first")
check.eq(charsets[11], "Russian", "Russian")
local russian = G:getFontnames(tool, "Russian")
local found = false
for _, name in ipairs(russian) do found = found or name == "DejaVu Sans Mono" end
check.truthy(found, "DejaVu Sans Mono covers Cyrillic")
check.eq(G:getFontnames(tool, "Klingon"), nil, "no such character set")
check.eq(G:getFontnames(tool, "russian"), nil, "names keep their case")

-- Built by options; a value of the wrong type is the default.
local base = work .. "/built"
check.eq(G:createFont(tool, {charSet = "Russian", fontName = "DejaVu Sans Mono", fontSize = 9,
    textureWidth = 512, textureHeight = 512, bold = true, italic = 1, antiAlias = "1", alpha = 1,
    filenameBase = base, imageFormat = "bmp"}), true, "a font")
check.truthy(exists(base .. ".xml"), "its description")
check.truthy(exists(base .. "0.bmp"), "its first image, as a bitmap")

-- Names that are not there, and sizes the builder refuses before it
-- allocates anything.
local function build(options)
    options.filenameBase = options.filenameBase or (work .. "/refused")
    return G:createFont(tool, options)
end
check.eq(build({charSet = "Klingon"}), false, "unknown character set")
check.eq(build({fontName = "No Such Font"}), false, "unknown font")
check.eq(build({fontName = "DejaVu Sans Mono", fontSize = 100000}), false, "a font size too big")
check.eq(build({fontName = "DejaVu Sans Mono", fontSize = -3}), false, "a negative font size")
check.eq(build({fontName = "DejaVu Sans Mono", textureWidth = 1e12}), false, "a texture too wide")
check.eq(build({fontName = "DejaVu Sans Mono", textureHeight = 0}), false, "a texture of no height")
check.eq(build({fontName = "DejaVu Sans Mono", fontSize = 40, textureWidth = 16, textureHeight = 16}), false,
    "glyphs bigger than the texture")
check.truthy(not exists(work .. "/refused.xml"), "nothing written for a refusal")
check.eq(build({fontName = "DejaVu Sans Mono", fontSize = 0 / 0, textureWidth = 1024, textureHeight = 1024,
    filenameBase = work .. "/nan"}), true, "a size that is not a number is the default")
check.eq(build({fontName = "DejaVu Sans Mono", textureWidth = 1024, textureHeight = 1024,
    filenameBase = work .. "/no/such/folder/font"}), false, "a folder that does not exist")

-- Handles: gone once destroyed, never used again.
check.eq(G:destroyFontTool(tool), true, "destroyed")
check.eq(G:destroyFontTool(tool), false, "destroyed already")
check.raises("[IGraphics::getCharsets] Invalid font tool handle: " .. tool, G.getCharsets, G, tool)
check.raises("[IGraphics::createFont] Invalid font tool handle", G.createFont, G, tool, {})
check.raises("[IGraphics::getFontnames] Invalid font tool handle", G.getFontnames, G, tool, "ANSI")
local second = G:createFontTool()
check.truthy(second ~= tool, "a new builder has a new handle")
check.raises("Invalid font tool handle", G.getCharsets, G, second + 0.5)
check.raises("Invalid font tool handle", G.getCharsets, G, -second)
check.eq(G:destroyFontTool(second + 0.5), false, "not a handle")
-- The device takes its builders along.
G:destroy()
check.raises("Invalid font tool handle", G.getCharsets, G, second)
check.eq(G:destroyFontTool(second), false, "gone with the device")
check.done()
