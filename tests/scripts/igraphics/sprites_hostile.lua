--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- Hostile arguments for the sprite-bank, screen-sprite and font-builder
-- functions, with and without a device: wrong types, NaN and huge
-- numbers, removed sprites, stale builder handles, foreign objects, calls
-- from coroutines. Each call returns or raises an error in the
-- "[Class::Method] ..." form; the bank stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

-- saveSpriteBank and createFont write files where they are told: they are
-- fuzzed below with paths in the work folder only.
local functions = {
    "loadSpriteBank", "spriteBankEntryExists", "getSpriteBankCount", "clearSpriteBank", "addSpriteBankEntry",
    "addSpriteToScreen", "screenSpriteExists", "getSpriteScreenPosition", "getSpriteScreenPositionAbsolute",
    "getSpriteScreenDimensions", "getSpriteScreenDimensionsAbsolute", "setSpriteScreenPosition",
    "changeSpriteColor", "removeSpriteFromScreen", "removeAllSpritesFromScreen", "createFontTool",
    "destroyFontTool", "getCharsets", "getFontnames",
}

local state = {}
local hostile = H.values({
    1, 2, 3, 0.5, 2 ^ 32 + 1, "walk", "sheet.png", "gone", "ANSI", "0.5 0.5 0 0", "1e30 -1e30 1e30 -1e30",
    "-5 -5 -1 -1", {"0 0 16 16", "nan 1 inf 2", {}}, {1e30, -1e30}, IMisc:pointCreate(0.5, 0.5),
    IMisc:rectCreate(0, 0, 8, 8), IMisc:colorCreate(1, 0, 0, 1), IMisc:vectorCreate(1, 2, 3), tostring,
})

local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, G, name, {}, ...)
end

local function fuzz(rounds)
    return H.fuzz({
        check = check, functions = functions, rounds = rounds, call = expectCleanCall,
        arguments = function()
            local arguments = {}
            local count = math.random(0, 9)
            for index = 1, count do
                -- Now and then the id of a screen sprite that exists or did.
                if state.sprite and math.random(1, 4) == 1 then
                    arguments[index] = state.sprite
                else
                    arguments[index] = hostile[math.random(1, #hostile)]
                end
            end
            return arguments, count
        end,
    })
end

-- The writers, fuzzed in the work folder; createFont only with handles
-- that name no builder.
local function fuzzWriters()
    for index = 1, #hostile do
        local value = hostile[index]
        local ok, message = pcall(G.saveSpriteBank, G, work .. "/fuzz.kvosprites", value)
        check.truthy(ok or string.find(message, "[", 1, true), "saveSpriteBank " .. index .. ": " .. tostring(message))
        if type(value) ~= "number" or value ~= math.floor(value) or value < 1 or value > 1000 then
            ok, message = pcall(G.createFont, G, value, {filenameBase = work .. "/fuzz"})
            check.truthy(not ok and string.find(message, "Invalid font tool handle", 1, true),
                "createFont " .. index .. ": " .. tostring(message))
        end
    end
end

math.randomseed(1210)
fuzz(4)
fuzzWriters()
check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
G:setBackgroundRenderingEnabled(true)
local function restore()
    G:createTexture("sheet.png", "64 64", 3)
    G:addSpriteBankEntry("sheet.png", {"0 0 16 16", "16 0 32 16"}, 50, "walk")
    state.sprite = G:addSpriteToScreen("walk", "0.1 0.1 0 0", 1, true, false, 0, nil, math.random(1, 2) == 1, "")
end
for _ = 1, 6 do
    restore()
    local calls, failures = fuzz(5)
    check.truthy(calls > failures, "most calls succeed")
    check.eq(G:draw(false, false, true), true, "the frame draws whatever the sprites hold")
end
fuzzWriters()

-- Each kind of argument in every position of every function.
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value, value, value, value, value)
end)
check.eq(G:draw(false, false, true), true, "a frame after all that")

-- The bank still works.
G:removeAllSpritesFromScreen()
G:clearSpriteBank()
restore()
check.eq(G:getSpriteBankCount(), 1, "one entry")
check.eq(G:screenSpriteExists(state.sprite), true, "on the screen")
check.eq(G:saveSpriteBank(work .. "/after.kvosprites", "COMPRESSED"), true, "saved afterwards")
G:clearSpriteBank()
check.eq(G:loadSpriteBank(work .. "/after"), true, "loaded afterwards")
check.eq(G:spriteBankEntryExists("walk"), true, "read afterwards")
G:destroy()
check.done()
