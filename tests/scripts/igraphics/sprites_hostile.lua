--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- Hostile arguments for the sprite-bank, screen-sprite and font-builder
-- functions, with and without a device: wrong types, NaN and huge
-- numbers, removed sprites, stale builder handles, foreign objects, calls
-- from coroutines. Each call returns or raises an error in the
-- "[Class::Method] ..." form; the bank stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
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

local weak = setmetatable({}, {__mode = "v"})
weak[1] = function() return true end
local state = {}
local hostile = {
    nil, false, true, 0, -1, 1, 2, 3, 0.5, 2 ^ 32 + 1, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 31,
    -(2 ^ 31) - 1, 2 ^ 53, "", "walk", "sheet.png", "gone", "ANSI", "0.5 0.5 0 0", "nan nan nan nan",
    "1e30 -1e30 1e30 -1e30", "-5 -5 -1 -1", "\255\254 not utf-8", string.rep("w", 20000),
    {}, {"0 0 16 16", "nan 1 inf 2", {}}, {1e30, -1e30}, weak, IMisc:pointCreate(0.5, 0.5),
    IMisc:rectCreate(0, 0, 8, 8), IMisc:colorCreate(1, 0, 0, 1), IMisc:vectorCreate(1, 2, 3),
    coroutine.create(function() end), tostring, function() error("callback failed") end,
}

local function expectCleanCall(name, ...)
    local ok, message = pcall(G[name], G, ...)
    if not ok then
        check.eq(type(message), "string", name .. " error type")
        check.truthy(string.find(message, "[", 1, true), name .. " failed without a clear message: " .. message)
    end
    return ok
end

local function fuzz(rounds)
    local calls, failures = 0, 0
    for _ = 1, rounds do
        for _, name in ipairs(functions) do
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
            calls = calls + 1
            if not expectCleanCall(name, unpack(arguments, 1, count)) then failures = failures + 1 end
            local co = coroutine.create(function() return expectCleanCall(name, unpack(arguments, 1, count)) end)
            local resumed, result = coroutine.resume(co)
            check.truthy(resumed, name .. " from a coroutine: " .. tostring(result))
        end
        collectgarbage("collect")
    end
    return calls, failures
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
for _, name in ipairs(functions) do
    for index = 1, #hostile do
        restore()
        local value = hostile[index]
        expectCleanCall(name, value, value, value, value, value, value, value, value, value)
    end
end
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
