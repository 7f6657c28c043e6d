--! stdout: CHECKS PASSED
-- Hostile arguments for the functions of buttons, images, static texts,
-- edit boxes, spin boxes and windows: wrong types, NaN and huge numbers,
-- controls of another kind, removed controls, calls from coroutines and
-- event handlers that fail or yield. Each call either returns or raises an
-- error in the "[Class::Method] ..." form; the GUI stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
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

local hostile = H.values({
    "button", "text", "edit", "spin", "image", "window", "gone", "0.5 0.5", "-1e30 -1e30 1e30 1e30",
    "x__GuiInternal__", IMisc:pointCreate(0.5, 0.5), IMisc:rectCreate(0.1, 0.1, 0.2, 0.2),
    IMisc:colorCreate(1, 0, 0, 1), IMisc:vectorCreate(1, 2, 3), tostring,
})

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
    return H.expectCleanCall(check, IGraphics, name, {"handler failed", "yield"}, ...)
end

math.randomseed(20261210)
H.expectSomeFail(check, H.fuzz({
    check = check, functions = functions, rounds = 20, call = expectCleanCall, restore = restore,
    arguments = H.randomArguments(hostile, 10),
}))

-- Each kind of argument against every function, and every kind of control.
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value, value, value, value, value)
end)

-- The GUI still works.
IEvents:unsubscribe(handle)
restore()
check.eq(IGraphics:createButton("after", "A", "0.8 0.8 0.9 0.9"), true, "created afterwards")
check.eq(IGraphics:getControlAtPoint("", 0.85, 0.85), "after", "found afterwards")
check.done()
