--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- Hostile arguments for every ISkin function, with and without a GUI:
-- wrong types, NaN and huge numbers, foreign objects, calls from
-- coroutines, callbacks that fail, yield, collect garbage or change the
-- skin while it is walked. Each call returns or raises an error in the
-- "[Class::Method] ..." form; the skin stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local work = os.getenv("HALVANE_TEST_WORK")

-- "save" writes where it is told: it is fuzzed below with paths in the
-- work folder only.
local functions = {
    "activate", "deactivate", "isInitialised", "getSkinName", "setFont", "getFont", "getFontTextureCount",
    "getFontTextureName", "getNumberOfFonts", "forEachFont", "getColor", "setColor", "getSize", "setSize",
    "getText", "setText", "getImageCount", "setImage", "getImage", "clearImage", "clearAllImages",
    "forEachImage", "setGuiAlpha", "areHighlightsEnabled", "enableHighlights",
}

local weak = H.weak()
local hostile = H.values({
    21, 2 ^ 32 + 3, "0", "4", "7", "-1", "CLASSIC", "BURN", "GUIICON_CHECK_BOX_CHECKED", "GUIIMAGE_WINDOW",
    "stone.png", "1e30 -1e30 1e30 -1e30", {"0 0 16 16", "x"}, {1, 2, {}}, IMisc:pointCreate(0.5, 0.5),
    IMisc:rectCreate(0, 0, 8, 8), IMisc:colorCreate(1, 0, 0, 1), IMisc:vectorCreate(1, 2, 3), tostring,
    function() error({"a table as error"}) end,
    function() collectgarbage("collect") return false end,
    function() return coroutine.yield(1) end,
    function() ISkin:deactivate() ISkin:clearAllImages() return false end,
    weak[1], "walkKey",
}, weak)
function walkKey() return false end

local accepted = {"callback failed", "yield", "error object", "m_functionObj.IsFunction()"}
local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, ISkin, name, accepted, ...)
end

local function fuzz(rounds)
    return H.fuzz({
        check = check, functions = functions, rounds = rounds, call = expectCleanCall,
        arguments = H.randomArguments(hostile, 6),
    })
end

-- The save, fuzzed in the work folder.
local function fuzzSave()
    for index = 1, #hostile do
        local mode = hostile[index]
        local ok, message = pcall(ISkin.save, ISkin, work .. "/fuzz.kvoskin", mode)
        check.truthy(ok, "save with mode " .. index .. ": " .. tostring(message))
    end
end

math.randomseed(20261210)
-- Without a GUI.
fuzz(5)
fuzzSave()
-- With a GUI, an own skin with an image and a font key.
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
IGraphics:createTexture("stone.png", "32 32", 3)
local function restore()
    if not ISkin:isInitialised() then ISkin:activate("Hostile", true) end
    ISkin:setImage("GUIIMAGE_WINDOW", "stone.png", {"0 0 8 8"}, 10)
    ISkin:setFont("title", "nowhere.xml")
end
restore()
for _ = 1, 6 do
    local calls, failures = fuzz(5)
    check.truthy(calls > failures, "most calls succeed")
    restore()
end
fuzzSave()

-- Each kind of argument in every position of every function.
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value)
end)

-- The skin still works.
ISkin:deactivate()
check.eq(ISkin:activate("After", false), true, "activated afterwards")
ISkin:setSize(0, 17)
check.eq(ISkin:getSize(0), 17, "edited afterwards")
check.eq(ISkin:save(work .. "/after.kvoskin", "BINARY"), true, "saved afterwards")
check.eq(ISkin:activate(work .. "/after", false), true, "loaded afterwards")
check.eq(ISkin:getSize(0), 17, "read afterwards")
IGraphics:destroy()
check.done()
