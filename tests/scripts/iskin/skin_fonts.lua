--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- ISkin's fonts on the NULL device, with a bitmap font that the font
-- builder makes from a system font: registered by key, its textures, the
-- walk over the keys, keys that name no skin font refused, and the one
-- registry that text drawing, skin files, deactivation and cache clearing
-- share.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local noGui = "[CGuiManager::GetFont] Font not available. Gui manager not initialised."

-- Before a device.
check.raises(noGui, ISkin.setFont, ISkin, "0", "x.xml")
check.raises(noGui, ISkin.getFontTextureCount, ISkin, "0")
check.raises(noGui, ISkin.getFontTextureName, ISkin, "0", 0)
check.eq(ISkin:getFont("0"), "", "no file")
check.eq(ISkin:getNumberOfFonts(), 0, "no fonts")

check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
local tool = IGraphics:createFontTool()
check.truthy(tool ~= 0, "a font builder")
-- One texture: opening the first texture moves the current folder back
-- to the base folder, so Irrlicht looks for the further textures of a
-- font outside the search paths in the wrong folder. Alpha, because the
-- NULL driver cannot lock textures to make a colour key.
check.eq(IGraphics:createFont(tool, {fontName = "DejaVu Sans Mono", fontSize = 12, textureWidth = 1024,
    textureHeight = 1024, alpha = 1, filenameBase = work .. "/mono"}), true, "a bitmap font")
check.eq(IGraphics:destroyFontTool(tool), true, "builder destroyed")
local font = work .. "/mono.xml"
local builtIn = IGraphics:getTextDimensions("", "Halvane")

-- Registered under a skin font's key, and under a key of the script's own.
check.eq(ISkin:setFont("1", font), true, "button font")
check.eq(ISkin:getFont("1"), font, "its file")
check.eq(ISkin:getFontTextureCount("1"), 1, "one texture")
check.eq(ISkin:getFontTextureName("1", 0), work .. "/mono0.png", "the texture's full name")
check.eq(ISkin:getFontTextureName("1", 1), nil, "no second texture")
check.eq(ISkin:getFontTextureName("1", -1), nil, "no texture -1")
check.eq(ISkin:getFontTextureCount("unknown"), 1, "an unknown key: the built-in font's texture")
check.eq(ISkin:getFontTextureName("unknown", 0) ~= work .. "/mono0.png", true, "not the built font's")
check.eq(ISkin:setFont("title", font), true, "a key of our own")
-- Asking by file name registers the file under its name.
check.eq(ISkin:getFontTextureCount(font), 1, "by file name")
check.eq(ISkin:getNumberOfFonts(), 3, "three keys")

-- Text drawing finds the fonts by key in the same registry.
local measured = IGraphics:getTextDimensions("title", "Halvane")
check.truthy(measured:getX() ~= builtIn:getX() or measured:getY() ~= builtIn:getY(), "the built font measures")

-- The walk: ascending keys, user data passed on, a true answer stops, a
-- callback may change the registry meanwhile.
local keys = {}
ISkin:forEachFont(function(key, data) keys[#keys + 1] = key .. data end, "!")
check.eq(table.concat(keys, ","), font .. "!,1!,title!", "keys in order")
keys = {}
ISkin:forEachFont(function(key) keys[#keys + 1] = key return true end)
check.eq(#keys, 1, "stopped at the first")
function collectKey(key, list) list[#list + 1] = key end
keys = {}
ISkin:forEachFont("collectKey", keys)
check.eq(#keys, 3, "a global function by name")
check.raises("callback failed", ISkin.forEachFont, ISkin, function() error("callback failed") end)

-- Keys past the skin's five fonts are refused, and files that are no font.
for _, key in ipairs({"5", "7", "-1", "2147483648"}) do
    check.raises("[CGuiManager::SetFont] Invalid font key:" .. key, ISkin.setFont, ISkin, key, font)
end
local notes = io.open(work .. "/notes.txt", "w")
notes:write("no font\n")
notes:close()
check.raises("[CGuiManager::SetFont] Failed to load font:" .. work .. "/notes.txt", ISkin.setFont, ISkin, "2",
    work .. "/notes.txt")
check.eq(ISkin:getFont("2"), "", "nothing registered")
-- A name no file has: the built-in font, with the name recorded.
check.eq(ISkin:setFont("4", "missing.xml"), true, "a missing file")
check.eq(ISkin:getFont("4"), "missing.xml", "recorded")
check.eq(ISkin:getNumberOfFonts(), 4, "four keys")

-- Own skin files carry the five skin fonts.
check.eq(ISkin:activate("Mono", true), true, "own skin keeping the fonts")
check.eq(ISkin:setFont("0", font), true, "default font")
check.eq(ISkin:save(work .. "/mono.kvoskin", "UTF8"), true, "saved")
ISkin:deactivate()
check.eq(ISkin:getNumberOfFonts(), 0, "deactivation drops the fonts")
check.eq(ISkin:activate(work .. "/mono", false), true, "loaded")
check.eq(ISkin:getFont("0"), font, "the default font came back")
check.eq(ISkin:getFont("1"), font, "and the button font")

-- The cache clearing drops them too.
IGraphics:clearCache()
check.eq(ISkin:getNumberOfFonts(), 0, "no fonts after clearing the cache")
check.eq(ISkin:getFont("1"), "", "key 1 is gone")
check.eq(ISkin:getFontTextureName("1", 0) ~= work .. "/mono0.png", true, "key 1 gives the built-in font")
IGraphics:destroy()
check.raises(noGui, ISkin.getFontTextureCount, ISkin, "1")
check.done()
