--! stdout: CHECKS PASSED
--! stdout: [CGuiManager::SkinActivate] Loading
--! stdout: [CGuiManager::SaveSkin] Saving
-- ISkin on the NULL device: built-in and own skins by name, the skin name,
-- colours, sizes and texts with their index ranges, the GUI alpha,
-- highlights, images, and skins saved and activated again from files in
-- every form (colours exact, a skin saved after deactivation readable, a
-- failed save reported).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
-- The skin manager logs at the system level: shown on the console.
IApp:showConsoleWindow(0, 0)
ILog:setOutputLevel(ILog:getSystemLevel())

-- Before a device there is no GUI: neutral answers.
check.eq(ISkin:activate("CLASSIC", false), false, "no GUI to activate on")
check.eq(ISkin:isInitialised(), false, "nothing initialised")
check.eq(ISkin:getSkinName(), "", "no name")
check.eq(ISkin:getColor(1):isZero(), true, "the zero colour without a GUI")
check.eq(ISkin:getSize(0), 0, "no size")
check.eq(ISkin:getText(0), "", "no text")
check.eq(ISkin:getImageCount(), 0, "no images")
check.eq(ISkin:areHighlightsEnabled(), false, "no highlights")
ISkin:deactivate()
ISkin:setGuiAlpha(0.5, false)

check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
-- A fresh GUI: the classic skin, opaque.
check.eq(ISkin:isInitialised(), false, "the classic skin is built in")
check.near(ISkin:getColor(2):getAlpha(), 1, 1e-6, "opaque colours")

-- Built-in names are exact; anything else makes the own skin.
check.eq(ISkin:activate("METALLIC", false), true, "metallic")
check.eq(ISkin:getSkinName(), "METALLIC", "name")
check.eq(ISkin:isInitialised(), false, "built in")
check.eq(ISkin:activate("classic", false), true, "lower case")
check.eq(ISkin:isInitialised(), true, "lower case is an own skin")
check.eq(ISkin:areHighlightsEnabled(), true, "an own skin highlights")
ISkin:enableHighlights(false)
check.eq(ISkin:areHighlightsEnabled(), false, "highlights off")
ISkin:deactivate()
check.eq(ISkin:getSkinName(), "classic", "deactivation keeps the name")
check.eq(ISkin:isInitialised(), false, "deactivated")
ISkin:enableHighlights(true)
check.eq(ISkin:areHighlightsEnabled(), false, "built-in skins have no highlights")

-- Slots within their ranges; past them the setters change nothing.
check.eq(ISkin:activate("Slate", false), true, "own skin")
ISkin:setColor(3, IMisc:colorCreate(0.2, 0.4, 0.6, 1))
check.near(ISkin:getColor(3):getRed(), 51 / 255, 1e-6, "colour 3")
ISkin:setColor(21, "1 0 0 1")
check.eq(ISkin:getColor(21):isZero(), true, "colour 21 is no slot")
ISkin:setColor(-1, "1 0 0 1")
check.eq(ISkin:getColor(-1):isZero(), true, "colour -1 is no slot")
ISkin:setSize(9, 7)
check.eq(ISkin:getSize(9), 7, "size 9")
ISkin:setSize(10, 7)
check.eq(ISkin:getSize(10), 0, "size 10 is no slot")
ISkin:setText(7, "Wiederherstellen")
check.eq(ISkin:getText(7), "Wiederherstellen", "text 7")
ISkin:setText(8, "x")
check.eq(ISkin:getText(8), "", "text 8 is no slot")

-- The GUI alpha: absolute sets it, relative scales it.
ISkin:setGuiAlpha(0.5, false)
check.near(ISkin:getColor(3):getAlpha(), 127 / 255, 1e-6, "absolute 0.5")
ISkin:setGuiAlpha(0.5, true)
check.near(ISkin:getColor(3):getAlpha(), 63 / 255, 1e-6, "relative 0.5")
ISkin:setGuiAlpha(7, false)
check.near(ISkin:getColor(3):getAlpha(), 1, 1e-6, "held to opaque")
ISkin:setGuiAlpha(0 / 0, false)
check.near(ISkin:getColor(3):getAlpha(), 0, 1e-6, "not a number is transparent")
ISkin:setGuiAlpha(1, false)

-- Images of the own skin, from a texture of the engine.
check.eq(IGraphics:createTexture("stone.png", "64 64", 3), true, "a texture")
check.eq(ISkin:setImage("GUIIMAGE_BUTTON_NORMAL", "stone.png", {"0 0 16 16", IMisc:rectCreate(16, 0, 32, 16)}, 100),
    true, "an animated image")
check.eq(ISkin:setImage("GUIICON_CHECK_BOX_CHECKED", "stone.png", {}, 0), true, "an icon")
check.eq(ISkin:setImage("broken", "missing.png", {}, 0), false, "a texture that cannot be had")
check.eq(ISkin:getImageCount(), 2, "two images")
check.eq(ISkin:getImage("GUIIMAGE_BUTTON_NORMAL"), "stone.png", "image texture")
check.eq(ISkin:getImage("nothing"), nil, "unknown image")
local seen = {}
ISkin:forEachImage(function(id, data) seen[#seen + 1] = id .. data end, "!")
check.eq(table.concat(seen, ","), "GUIICON_CHECK_BOX_CHECKED!,GUIIMAGE_BUTTON_NORMAL!", "images in order")
seen = {}
ISkin:forEachImage(function(id) seen[#seen + 1] = id return true end)
check.eq(#seen, 1, "a true answer stops")
-- A callback that clears the images meanwhile ends the walk safely.
seen = {}
ISkin:forEachImage(function(id) seen[#seen + 1] = id ISkin:clearAllImages() end)
check.eq(#seen, 2, "the ids were taken before")
check.eq(ISkin:getImageCount(), 0, "cleared by the callback")
ISkin:setImage("a", "stone.png", {}, 0)
ISkin:clearImage("a")
check.eq(ISkin:getImage("a"), nil, "cleared image")
ISkin:setImage("b", "stone.png", {}, 0)
check.raises("callback failed", ISkin.forEachImage, ISkin, function() error("callback failed") end)

-- Saved and activated again in every form: the same slots, exact colours.
ISkin:enableHighlights(false)
local bytes = {1, 77, 127, 128, 200, 254}
for index, value in ipairs(bytes) do
    ISkin:setColor(index, IMisc:colorCreate(value / 255, (255 - value) / 255, 0, 1))
end
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    check.eq(ISkin:save(work .. "/slate-" .. mode .. ".kvoskin", mode), true, "saved " .. mode)
end
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    ISkin:deactivate()
    check.eq(ISkin:activate(work .. "/slate-" .. mode, false), true, "activated from " .. mode)
    check.eq(ISkin:isInitialised(), true, mode .. " is an own skin")
    check.eq(ISkin:getSkinName(), "Slate", mode .. " names its skin")
    check.eq(ISkin:getSize(9), 7, mode .. " size")
    check.eq(ISkin:getText(7), "Wiederherstellen", mode .. " text")
    check.eq(ISkin:areHighlightsEnabled(), false, mode .. " highlights")
    for index, value in ipairs(bytes) do
        local color = ISkin:getColor(index)
        check.near(color:getRed() * 255, value, 1e-3, mode .. " red of colour " .. index)
        check.near(color:getGreen() * 255, 255 - value, 1e-3, mode .. " green of colour " .. index)
    end
end
-- Saved and loaded a second time: still no step lost.
check.eq(ISkin:save(work .. "/again.kvoskin", "UTF8"), true, "saved again")
check.eq(ISkin:activate(work .. "/again.kvoskin", false), true, "loaded again")
check.near(ISkin:getColor(3):getRed() * 255, 127, 1e-3, "no drift")

-- A skin saved after deactivation, under a name that is not built in,
-- loads as what it is.
ISkin:deactivate()
check.eq(ISkin:getSkinName(), "Slate", "the name stays")
check.eq(ISkin:save(work .. "/plain.kvoskin", "UTF8"), true, "saved deactivated")
check.eq(ISkin:activate(work .. "/plain.kvoskin", false), true, "read back")
check.eq(ISkin:getSkinName(), "Slate", "its name")

-- A file that is not found leaves the new own skin as it is; a save that
-- cannot be written says so.
check.eq(ISkin:activate(work .. "/nowhere", true), true, "no file: an own skin all the same")
check.eq(ISkin:isInitialised(), true, "own skin without a file")
check.eq(ISkin:save(work .. "/no/such/folder/x.kvoskin", "UTF8"), false, "a save into a missing folder")
check.eq(ISkin:save(work .. "/plain.kvoskin", "BINARY"), true, "a save over an existing file")

-- Images die with the own skin.
ISkin:deactivate()
check.eq(ISkin:setImage("GUIIMAGE_MENU", "stone.png", {}, 0), false, "no images on a built-in skin")
check.eq(ISkin:getImageCount(), 0, "none counted")
local called = false
ISkin:forEachImage(function() called = true end)
check.eq(called, false, "no walk on a built-in skin")

IGraphics:destroy()
check.eq(ISkin:isInitialised(), false, "no GUI after the device")
check.done()
