--! stdout: CHECKS PASSED
-- The sprite bank and screen sprites on the NULL device: entries cut from
-- a texture, screen sprites placed by screen fractions or pixels, sized by
-- their start frame, moved, tinted and removed; unknown ids named in the
-- errors; the bank saved and loaded in every form; and the bank's life
-- with the device and the cache.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function rect(r)
    return string.format("%g %g %g %g", r:getX1(), r:getY1(), r:getX2(), r:getY2())
end

-- No device, no bank.
local function noBank(method, fn, ...)
    check.raises("[CGuiManager::" .. method .. "] Graphics engine not initialised.", fn, G, ...)
end
noBank("GetSpriteBankCount", G.getSpriteBankCount)
noBank("SpriteBankEntryExists", G.spriteBankEntryExists, "a")
noBank("AddSpriteBankEntry", G.addSpriteBankEntry, "a.png", {}, 0, "a")
noBank("AddSpriteToScreen", G.addSpriteToScreen, "a", "0 0 1 1", 0, false, false, 0, nil, false, "0 0 0 0")
noBank("AddSpriteToScreen", G.screenSpriteExists, "a")
noBank("GetSpritePosition", G.getSpriteScreenPosition, "a")
noBank("MoveSprite", G.setSpriteScreenPosition, "a", "0 0 1 1")
noBank("ChangeSpriteColor", G.changeSpriteColor, "a", "1 1 1 1")
noBank("RemoveSprite", G.removeSpriteFromScreen, "a")
noBank("RemoveAllScreenSprites", G.removeAllSpritesFromScreen)
noBank("LoadSpriteBankFile", G.loadSpriteBank, "a")
noBank("SaveSpriteBankFile", G.saveSpriteBank, work .. "/a.kvosprites", "UTF8")
G:clearSpriteBank()

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
check.eq(G:getSpriteBankCount(), 0, "an empty bank")
check.eq(G:createTexture("sheet.png", "64 64", 3), true, "a texture")

-- Entries: named, generated names, a texture that cannot be had.
local frames = {"0 0 16 16", IMisc:rectCreate(16, 0, 48, 16), "0 16 8 24", "8 16 48 56"}
check.eq(G:addSpriteBankEntry("sheet.png", frames, 100, "walk"), "walk", "a named entry")
check.eq(G:addSpriteBankEntry("missing.png", {}, 0, "lost"), nil, "no texture, no entry")
local still = G:addSpriteBankEntry("sheet.png", {}, 50, "")
check.eq(type(still), "string", "a generated name")
check.eq(#still, 36, "a UUID")
check.eq(G:addSpriteBankEntry("sheet.png", frames, 100, "walk"), "walk", "the name again")
check.eq(G:getSpriteBankCount(), 2, "two entries")
check.eq(G:spriteBankEntryExists("walk"), true, "walk exists")
check.eq(G:spriteBankEntryExists("lost"), false, "lost does not")
check.eq(G:spriteBankEntryExists("WALK"), false, "names keep their case")

-- A screen sprite placed by fractions with no size takes its start
-- frame's size; one given in pixels keeps its own.
local one = G:addSpriteToScreen("walk", "0.5 0.5 0 0", 2, true, false, 0, nil, false, "0 0 0 0")
check.eq(G:screenSpriteExists(one), true, "on the screen")
check.eq(rect(G:getSpriteScreenPositionAbsolute(one)), "400 300 408 308", "frame 2 is 8 x 8")
local fractions = G:getSpriteScreenPosition(one)
check.near(fractions:getX1(), 0.5, 1e-6, "x1 as a fraction")
check.near(fractions:getY2(), 308 / 600, 1e-6, "y2 as a fraction")
local size = G:getSpriteScreenDimensionsAbsolute(one)
check.eq(size:getX() .. "x" .. size:getY(), "8x8", "pixel size")
size = G:getSpriteScreenDimensions(one)
check.near(size:getX(), 8 / 800, 1e-6, "width as a fraction")
check.near(size:getY(), 8 / 600, 1e-6, "height as a fraction")
local two = G:addSpriteToScreen("walk", "100 50 300 90", 0, false, false, -1, "1 0 0 0.5", true, "0 0 50 50")
check.eq(rect(G:getSpriteScreenPositionAbsolute(two)), "100 50 300 90", "pixels")
-- A start frame past the last one is the last one.
local late = G:addSpriteToScreen("walk", "10 10 0 0", 99, true, false, 0, nil, false, "")
check.eq(rect(G:getSpriteScreenPositionAbsolute(late)), "10 10 50 50", "the last frame's size")

-- Moving: a rectangle without size keeps the size.
check.eq(G:setSpriteScreenPosition(one, "10 20 0 0"), true, "moved")
check.eq(rect(G:getSpriteScreenPositionAbsolute(one)), "10 20 18 28", "moved, same size")
check.eq(G:setSpriteScreenPosition(one, "0.25 0.25 0.5 0.5"), true, "moved by fractions")
check.eq(rect(G:getSpriteScreenPositionAbsolute(one)), "200 150 400 300", "resized")
check.eq(G:changeSpriteColor(one, IMisc:colorCreate(0, 1, 0, 1)), true, "tinted")

-- Frames are drawn (no pixels here); a one-shot sprite without animation
-- has shown its one frame after one frame.
local still1 = G:addSpriteToScreen(still, "0 0 0 0", 0, false, true, 3, nil, true, "")
G:setBackgroundRenderingEnabled(true)
check.eq(G:draw(false, false, true), true, "a frame")
check.eq(G:screenSpriteExists(still1), false, "the still one-shot went")
check.eq(G:screenSpriteExists(one), true, "the looping one stays")

-- Unknown ids are named in the errors.
check.raises("[CGuiKVOSpriteBank::AddSpriteToScreen] Sprite bank id not found:nope", G.addSpriteToScreen, G,
    "nope", "0 0 1 1", 0, false, false, 0, nil, false, "")
check.raises("[CGuiKVOSpriteBank::GetSpritePosition] Screen sprite id not found:zz", G.getSpriteScreenPosition, G,
    "zz")
check.raises("[CGuiKVOSpriteBank::GetSpritePosition] Screen sprite id not found:zz",
    G.getSpriteScreenDimensionsAbsolute, G, "zz")
check.raises("[CGuiKVOSpriteBank::MoveSprite] Screen sprite id not found:zz", G.setSpriteScreenPosition, G, "zz",
    "0 0 1 1")
check.raises("[CGuiKVOSpriteBank::ChangeSpriteColor] Screen sprite id not found:zz", G.changeSpriteColor, G, "zz",
    "1 1 1 1")
check.eq(G:removeSpriteFromScreen(two), true, "removed")
check.eq(G:screenSpriteExists(two), false, "gone")
check.raises("[CGuiKVOSpriteBank::RemoveSprite] Screen sprite id not found:" .. two, G.removeSpriteFromScreen, G,
    two)
check.eq(G:removeAllSpritesFromScreen(), true, "all removed")
check.eq(G:screenSpriteExists(one), false, "none left")
check.eq(G:screenSpriteExists(late), false, "none at all")

-- Saved and loaded in every form; entries whose texture is gone are left
-- out when loading.
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    local path = work .. "/bank-" .. mode .. ".kvosprites"
    check.eq(G:saveSpriteBank(path, mode), true, "saved " .. mode)
    G:clearSpriteBank()
    check.eq(G:getSpriteBankCount(), 0, "cleared")
    check.eq(G:loadSpriteBank(work .. "/bank-" .. mode), true, "loaded " .. mode .. " with the extension added")
    check.eq(G:getSpriteBankCount(), 2, mode .. " entries")
    check.eq(G:spriteBankEntryExists("walk"), true, mode .. " walk")
    check.eq(G:spriteBankEntryExists(still), true, mode .. " the generated name")
    local again = G:addSpriteToScreen("walk", "5 5 0 0", 3, true, false, 0, nil, false, "")
    check.eq(rect(G:getSpriteScreenPositionAbsolute(again)), "5 5 45 45", mode .. " frames kept")
    G:removeAllSpritesFromScreen()
end
check.eq(G:loadSpriteBank(work .. "/nowhere"), false, "no file")
check.eq(G:saveSpriteBank(work .. "/no/such/folder/bank.kvosprites", "UTF8"), false, "a save that cannot be made")
local notes = io.open(work .. "/notes.kvosprites", "w")
notes:write("no sprite bank\n")
notes:close()
check.raises("Expected:KVOSPRITEBANK", G.loadSpriteBank, G, work .. "/notes")
check.eq(G:getSpriteBankCount(), 2, "a file that is no sprite bank changes nothing")
G:unloadTexture("sheet.png")
G:clearSpriteBank()
check.eq(G:loadSpriteBank(work .. "/bank-UTF8.kvosprites"), true, "a bank whose texture is gone")
check.eq(G:getSpriteBankCount(), 0, "its entries are left out")

-- The cache clearing empties the bank; a new device has a new one.
G:createTexture("sheet.png", "64 64", 3)
G:addSpriteBankEntry("sheet.png", {}, 0, "a")
local kept = G:addSpriteToScreen("a", "0 0 1 1", 0, true, false, 0, nil, false, "")
G:clearCache()
check.eq(G:getSpriteBankCount(), 0, "no entries after clearing the cache")
check.eq(G:screenSpriteExists(kept), false, "no screen sprites either")
G:destroy()
noBank("GetSpriteBankCount", G.getSpriteBankCount)
check.truthy(G:init("NULL", 640, 480, false, 32, false, false, false, 60, true), "NULL device again")
check.eq(G:getSpriteBankCount(), 0, "a new bank")
G:destroy()
check.done()
