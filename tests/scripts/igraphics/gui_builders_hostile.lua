--! stdout: CHECKS PASSED
-- Hostile arguments for the functions of buttons, images, static texts,
-- edit boxes, spin boxes and windows: wrong types, NaN and huge numbers,
-- controls of another kind, removed controls, calls from coroutines and
-- event handlers that fail or yield. Each call either returns or raises an
-- error in the "[Class::Method] ..." form; the GUI stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local functions = {
    "createWindow", "createButton", "createImage", "createText", "createEditText", "createSpinbox",
    "isButtonDown", "setButtonImage", "getButtonImage", "setButtonActiveImage", "getButtonActiveImage",
    "setButtonFont", "getButtonFont", "isButtonBorderEnabled", "setButtonBorderEnabled", "setButtonType",
    "getButtonType", "setButtonSprite", "setButtonAlphaEnabled", "isButtonAlphaEnabled", "setButtonState",
    "setEditTextColor", "getEditTextColor", "setEditTextBorder", "getEditTextBorder", "setEditTextFont",
    "getEditTextFont", "setEditTextMaxChars", "getEditTextMaxChars", "setEditTextSelection",
    "getEditTextSelection", "setEditTextPasswordEnabled", "getEditTextPasswordEnabled",
    "setEditTextAutoScrollEnabled", "setEditTextMultilineEnabled", "getEditTextMultilineEnabled",
    "setEditTextAlignment", "getEditTextAlignmentHorizontal", "getEditTextAlignmentVertical",
    "setStaticTextColor", "getStaticTextColor", "setStaticTextBackgroundColor", "getStaticTextBackgroundColor",
    "setStaticTextFont", "getStaticTextFont", "setStaticTextWordWrap", "getStaticTextWordWrap",
    "setStaticTextBorder", "getStaticTextBorder", "setStaticTextBackground", "getStaticTextBackground",
    "setStaticTextAlignment", "getStaticTextAlignmentHorizontal", "getStaticTextAlignmentVertical",
    "getStaticTextWidth", "getStaticTextHeight", "setSpinboxValue", "getSpinboxValue", "setSpinboxStepSize",
    "getSpinboxStepSize", "setSpinboxDecimals", "getSpinboxDecimals", "setSpinboxRange", "getSpinboxMinValue",
    "getSpinboxMaxValue", "setImageTexture", "getImageTexture", "setImageAlphaEnabled", "getImageAlphaEnabled",
    "setImageScaleEnabled", "getImageScaleEnabled",
}
for _, name in ipairs(functions) do
    check.eq(type(IGraphics[name]), "function", name .. " is registered")
end

local weak = setmetatable({}, {__mode = "v"})
weak[1] = function() return true end
local hostile = {
    nil, false, true, 0, -1, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 31, -(2 ^ 31) - 1, 2 ^ 53,
    "", "button", "text", "edit", "spin", "image", "window", "gone", "0.5 0.5", "nan nan nan nan",
    "-1e30 -1e30 1e30 1e30", "\255\254 not utf-8", string.rep("w", 20000), "x__GuiInternal__", {}, weak,
    IMisc:pointCreate(0.5, 0.5), IMisc:rectCreate(0.1, 0.1, 0.2, 0.2), IMisc:colorCreate(1, 0, 0, 1),
    IMisc:vectorCreate(1, 2, 3), coroutine.create(function() end), tostring,
    function() error("callback failed") end,
}

-- A handler that fails, yields or collects garbage on every spin box event.
local mood = 0
local handle = IEvents:subscribeGui(function(name, type)
    mood = mood + 1
    if mood % 3 == 0 then error("handler failed") end
    if mood % 3 == 1 then collectgarbage("collect") end
    return coroutine.yield(false)
end, nil, 0)

-- One control of each kind, and one removed.
local function restore()
    pcall(IGraphics.setGuiParent, IGraphics, "")
    local kinds = {
        button = function() IGraphics:createButton("button", "B", "0.1 0.1 0.2 0.2") end,
        text = function() IGraphics:createText("text", "T", "0.3 0.1 0.4 0.2") end,
        edit = function() IGraphics:createEditText("edit", "E", "0.5 0.1 0.6 0.2") end,
        spin = function() IGraphics:createSpinbox("spin", "1", "0.7 0.1 0.8 0.2", 0, 10, 1, 0) end,
        image = function() IGraphics:createImage("image", "", "0.1 0.3 0.2 0.4") end,
        window = function() IGraphics:createWindow("window", "", "W", "0.3 0.3 0.6 0.6") end,
        gone = function() IGraphics:createButton("gone", "", "0 0 0.1 0.1") end,
    }
    -- The failing handler may meet these calls too.
    for name, make in pairs(kinds) do
        if not IGraphics:controlExists(name) then pcall(make) end
    end
    pcall(IGraphics.removeControl, IGraphics, "gone")
end

local function expectCleanCall(name, ...)
    local ok, message = pcall(IGraphics[name], IGraphics, ...)
    if not ok then
        check.eq(type(message), "string", name .. " error type")
        local known = string.find(message, "[", 1, true) or string.find(message, "handler failed", 1, true)
            or string.find(message, "yield", 1, true)
        check.truthy(known, name .. " failed without a clear message: " .. message)
    end
    return ok
end

math.randomseed(20261210)
local calls, failures = 0, 0
for round = 1, 20 do
    for _, name in ipairs(functions) do
        restore()
        local arguments = {}
        local count = math.random(0, 10)
        for index = 1, count do arguments[index] = hostile[math.random(1, #hostile)] end
        calls = calls + 1
        if not expectCleanCall(name, unpack(arguments, 1, count)) then failures = failures + 1 end
        local co = coroutine.create(function() return expectCleanCall(name, unpack(arguments, 1, count)) end)
        restore()
        local resumed, result = coroutine.resume(co)
        check.truthy(resumed, name .. " from a coroutine: " .. tostring(result))
    end
    collectgarbage("collect")
end
check.truthy(calls > failures and failures > 0, "some calls fail, most do not")

-- Each kind of argument against every function, and every kind of control.
for _, name in ipairs(functions) do
    for index = 1, #hostile do
        restore()
        expectCleanCall(name, hostile[index], hostile[index], hostile[index], hostile[index], hostile[index],
            hostile[index], hostile[index], hostile[index], hostile[index])
    end
end

-- The GUI still works.
IEvents:unsubscribe(handle)
restore()
check.eq(IGraphics:createButton("after", "A", "0.8 0.8 0.9 0.9"), true, "created afterwards")
check.eq(IGraphics:getControlAtPoint("", 0.85, 0.85), "after", "found afterwards")
check.done()
