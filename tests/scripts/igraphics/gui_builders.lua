--! stdout: CHECKS PASSED
-- Buttons, images, static texts, edit boxes, spin boxes and windows made
-- from scripts, their options read back, and each kind's properties as a
-- table of cases; another kind is refused by name.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end
-- A 4 x 2 bitmap of 24 bits (rows of 12 bytes).
local bitmap = "BM" .. u32(54 + 24) .. u32(0) .. u32(54) .. u32(40) .. u32(4) .. u32(2) .. u16(1) .. u16(24)
    .. u32(0) .. u32(24) .. u32(2835) .. u32(2835) .. u32(0) .. u32(0) .. string.rep("\255", 24)
local picture = work .. "/picture.bmp"
local pressed = work .. "/pressed.bmp"
files.write(picture, bitmap)
files.write(pressed, bitmap)

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

local function colorOf(value)
    return {value:getRed(), value:getGreen(), value:getBlue(), value:getAlpha()}
end
local function checkColor(actual, expected, what)
    local channels = colorOf(actual)
    for index = 1, 4 do check.near(channels[index], expected[index], 1 / 255 + 1e-6, what .. " channel " .. index) end
end

-- Buttons: the border is on, then images, push and alpha as passed.
check.eq(G:createButton("ok", "OK", "0.1 0.1 0.3 0.2", "", true, picture, "", true), true, "button created")
check.eq(G:controlType("ok"), 0, "button type")
check.eq(G:getControlText("ok"), "OK", "caption")
check.near(G:getControlWidth("ok"), 0.2, 1e-6, "width as a fraction")
check.eq(G:isButtonBorderEnabled("ok"), true, "border on")
check.eq(G:getButtonType("ok"), true, "push button")
check.eq(G:isButtonAlphaEnabled("ok"), true, "alpha")
check.truthy(string.find(G:getButtonImage("ok"), "picture.bmp", 1, true), "image file")
check.eq(G:getButtonActiveImage("ok"), nil, "no pressed image")
check.eq(G:getButtonFont("ok"), nil, "no font of its own")
check.eq(G:createButton("plain", "", IMisc:rectCreate(10, 10, 90, 30)), true, "button with defaults")
check.eq(G:getButtonType("plain"), false, "not a push button")
check.eq(G:getButtonImage("plain"), nil, "no image")

local buttonCases = {
    {"setButtonActiveImage", pressed, "getButtonActiveImage", function(v) return v and string.find(v, "pressed.bmp", 1, true) ~= nil end},
    {"setButtonActiveImage", "missing.bmp", "getButtonActiveImage", function(v) return v == nil end},
    {"setButtonImage", "", "getButtonImage", function(v) return v == nil end},
    {"setButtonType", false, "getButtonType", function(v) return v == false end},
    {"setButtonType", 0, "getButtonType", function(v) return v == true end},
    {"setButtonAlphaEnabled", nil, "isButtonAlphaEnabled", function(v) return v == false end},
    {"setButtonBorderEnabled", false, "isButtonBorderEnabled", function(v) return v == false end},
    {"setButtonState", true, "isButtonDown", function(v) return v == true end},
    {"setButtonState", false, "isButtonDown", function(v) return v == false end},
}
for index, case in ipairs(buttonCases) do
    check.eq(G[case[1]](G, "ok", case[2]), true, case[1] .. " answers true, case " .. index)
    check.truthy(case[4](G[case[3]](G, "ok")), case[3] .. " after " .. case[1] .. ", case " .. index)
end

-- Images: the texture file, alpha and scale; a missing file shows the
-- placeholder; a rectangle without a right or bottom edge only places.
check.eq(G:createImage("logo", picture, "0.5 0.5 0.75 0.75", true, false), true, "image created")
check.eq(G:controlType("logo"), 9, "image type")
check.truthy(string.find(G:getImageTexture("logo"), "picture.bmp", 1, true), "image texture")
check.eq(G:getImageAlphaEnabled("logo"), true, "image alpha")
check.eq(G:getImageScaleEnabled("logo"), false, "image scale")
check.near(G:getControlWidth("logo"), 0.25, 1e-6, "image width from the rectangle")
check.eq(G:createImage("lost", "no such picture.png", "0.1 0.1 0.2 0.2", false, true), true, "missing file")
check.eq(G:getImageTexture("lost"), "___NULL_IMAGE___", "placeholder texture")
check.eq(G:getImageScaleEnabled("lost"), true, "scale applied")
-- (A right edge left of the left one is the left one.)
check.eq(G:createImage("placed", picture, IMisc:rectCreate(-50, 30, -60, 500), false, true), true, "placed")
check.near(G:getControlPosX("placed"), -50 / 800, 1e-6, "placed at x1")
check.near(G:getControlPosY("placed"), 30 / 600, 1e-6, "placed at y1")
check.eq(G:getImageScaleEnabled("placed"), false, "only placed: no scaling")
local size = G:getTextureOriginalSize(picture)
-- (The NULL driver's textures are 0 x 0; an element is at least 1 pixel.)
check.near(G:getControlWidth("placed"), math.max(size:getX(), 1) / 800, 1e-6, "the texture's own width")
for _, case in ipairs({{"setImageAlphaEnabled", "getImageAlphaEnabled"}, {"setImageScaleEnabled", "getImageScaleEnabled"}}) do
    for _, flag in ipairs({true, false}) do
        check.eq(G[case[1]](G, "logo", flag), true, case[1])
        check.eq(G[case[2]](G, "logo"), flag, case[2])
    end
end
check.eq(G:setImageTexture("logo", "not there.png"), true, "an unknown texture")
check.eq(G:getImageTexture("logo"), "", "leaves the image without one")
G:setImageTexture("logo", pressed)
check.truthy(string.find(G:getImageTexture("logo"), "pressed.bmp", 1, true), "texture changed")

-- Static texts: border, word wrap, background and colour as passed.
check.eq(G:createText("title", "Hello", "0.1 0.5 0.4 0.6", true, false, true, IMisc:colorCreate(1, 0.5, 0, 1), ""),
    true, "static text created")
check.eq(G:controlType("title"), 16, "static text type")
checkColor(G:getStaticTextColor("title"), {1, 0.5, 0, 1}, "text colour")
check.eq(G:getStaticTextBorder("title"), true, "border")
check.eq(G:getStaticTextWordWrap("title"), false, "word wrap")
check.eq(G:getStaticTextBackground("title"), true, "background")
check.eq(G:getStaticTextFont("title"), "", "no font of its own")
-- The text's size in the skin's font, as fractions of the screen.
local textSize = G:getTextDimensions("", "Hello")
check.truthy(textSize:getX() > 0, "the text has a width")
check.near(G:getStaticTextWidth("title"), textSize:getX(), 1e-6, "text width as a fraction")
check.near(G:getStaticTextHeight("title"), textSize:getY(), 1e-6, "text height as a fraction")
check.eq(G:createText("note", "", "0 0 0.1 0.1"), true, "static text with defaults")
checkColor(G:getStaticTextColor("note"), {0, 0, 0, 0}, "no colour: override off")

local textCases = {
    {"setStaticTextColor", {IMisc:colorCreate(0, 1, 0, 0.5)}, "getStaticTextColor", {0, 1, 0, 0.5}},
    {"setStaticTextColor", {IMisc:colorCreate(1, 1, 1, 0.0000001)}, "getStaticTextColor", {0, 0, 0, 0}},
    {"setStaticTextBackgroundColor", {IMisc:colorCreate(0.2, 0.4, 0.6, 1)}, "getStaticTextBackgroundColor", {0.2, 0.4, 0.6, 1}},
    {"setStaticTextWordWrap", {true}, "getStaticTextWordWrap", true},
    {"setStaticTextBorder", {false}, "getStaticTextBorder", false},
    {"setStaticTextBackground", {false}, "getStaticTextBackground", false},
    {"setStaticTextAlignment", {2, 1}, "getStaticTextAlignmentHorizontal", 2},
    {"setStaticTextAlignment", {3, 1}, "getStaticTextAlignmentVertical", 1},
}
for index, case in ipairs(textCases) do
    check.eq(G[case[1]](G, "title", unpack(case[2])), true, case[1] .. " answers true, case " .. index)
    local value = G[case[3]](G, "title")
    if type(case[4]) == "table" then checkColor(value, case[4], case[3] .. ", case " .. index)
    else check.eq(value, case[4], case[3] .. ", case " .. index) end
end
check.raises("[CGuiManager::SetStaticTextAlignment] Invalid alignment:4",
    function() G:setStaticTextAlignment("title", 4, 0) end)
check.eq(G:getStaticTextAlignmentHorizontal("title"), 3, "a refused alignment changes nothing")

-- Edit boxes: border and maximum as passed.
check.eq(G:createEditText("entry", "hello", "0.1 0.7 0.5 0.75", true, "", 20), true, "edit box created")
check.eq(G:controlType("entry"), 5, "edit box type")
check.eq(G:getEditTextBorder("entry"), true, "border")
check.eq(G:getEditTextMaxChars("entry"), 20, "maximum")
check.eq(G:getEditTextFont("entry"), "", "no font of its own")
check.eq(G:getEditTextPasswordEnabled("entry"), false, "no password mode")
check.eq(G:getEditTextMultilineEnabled("entry"), false, "single line")
checkColor(G:getEditTextColor("entry"), {0, 0, 0, 0}, "no colour")
check.eq(G:createEditText("bare", "", "0 0 0.1 0.1"), true, "edit box with defaults")
check.eq(G:getEditTextBorder("bare"), false, "no border")
check.eq(G:getEditTextMaxChars("bare"), 0, "no maximum")

local editCases = {
    {"setEditTextBorder", {false}, "getEditTextBorder", false},
    {"setEditTextBorder", {1}, "getEditTextBorder", true},
    {"setEditTextMaxChars", {7}, "getEditTextMaxChars", 7},
    {"setEditTextMaxChars", {0}, "getEditTextMaxChars", 0},
    {"setEditTextColor", {IMisc:colorCreate(1, 0, 0, 1)}, "getEditTextColor", {1, 0, 0, 1}},
    {"setEditTextColor", {IMisc:colorCreate(1, 0, 0, 0)}, "getEditTextColor", {0, 0, 0, 0}},
    {"setEditTextPasswordEnabled", {true, ""}, "getEditTextPasswordEnabled", true},
    {"setEditTextPasswordEnabled", {false, "#"}, "getEditTextPasswordEnabled", false},
    {"setEditTextMultilineEnabled", {true}, "getEditTextMultilineEnabled", true},
    {"setEditTextMultilineEnabled", {false}, "getEditTextMultilineEnabled", false},
    {"setEditTextAlignment", {2, 3}, "getEditTextAlignmentHorizontal", 2},
    {"setEditTextAlignment", {1, 3}, "getEditTextAlignmentVertical", 3},
    {"setEditTextAutoScrollEnabled", {false}, "getEditTextMultilineEnabled", false},
}
for index, case in ipairs(editCases) do
    check.eq(G[case[1]](G, "entry", unpack(case[2])), true, case[1] .. " answers true, case " .. index)
    local value = G[case[3]](G, "entry")
    if type(case[4]) == "table" then checkColor(value, case[4], case[3] .. ", case " .. index)
    else check.eq(value, case[4], case[3] .. ", case " .. index) end
end
-- Multi-line switches password mode off.
G:setEditTextPasswordEnabled("entry", true, "x")
check.eq(G:getEditTextPasswordEnabled("entry"), true, "password on")
G:setEditTextMultilineEnabled("entry", true)
check.eq(G:getEditTextPasswordEnabled("entry"), false, "multi-line switched password off")
-- The selection stays within the text ("hello": 0 to 5).
local selections = {
    {1, 3, 1, 3}, {3, 1, 3, 1}, {-4, 99, 0, 5}, {0 / 0, 2 ^ 40, 0, 5}, {5, 5, 5, 5},
}
for index, case in ipairs(selections) do
    check.eq(G:setEditTextSelection("entry", case[1], case[2]), true, "selection answers true, case " .. index)
    local selection = G:getEditTextSelection("entry")
    check.eq(selection.selStart, case[3], "selection start, case " .. index)
    check.eq(selection.selEnd, case[4], "selection end, case " .. index)
end
G:setControlText("entry", "hi")
check.eq(G:getEditTextSelection("entry").selEnd, 2, "a shorter text shortens the selection")
check.eq(G:getEditTextSelection("bare").selStart, 0, "no selection set")

-- Spin boxes: the value is set (and published) only when the text is
-- empty; the up and down button names take their ids.
events = {}
check.eq(G:createSpinbox("count", "", "0.6 0.1 0.8 0.15", 10, 1, 4, 0, "countUp", "countDown"), true, "spin box")
check.eq(G:controlType("count"), 15, "spin box type")
check.eq(#events, 1, "an empty text publishes the value")
check.eq(events[1], "count:20", "the spin box event")
check.eq(G:getSpinboxMinValue("count"), 1, "the smaller value is the minimum")
check.eq(G:getSpinboxMaxValue("count"), 10, "maximum")
check.eq(G:getSpinboxValue("count"), 4, "value")
check.eq(G:getSpinboxDecimals("count"), 0, "decimals")
check.eq(G:controlType("countUp"), 0, "the up button is a button")
check.eq(G:controlType("countDown"), 0, "the down button is a button")
check.truthy(G:getControlPosY("countUp") < G:getControlPosY("countDown"), "up above down")
check.eq(G:getControlParentId("countUp"), "count", "the buttons belong to the spin box")
events = {}
check.eq(G:createSpinbox("price", "2.50", "0.6 0.2 0.8 0.25", 0, 100, 50, 2), true, "spin box with a text")
check.eq(#events, 0, "a text publishes nothing")
check.near(G:getSpinboxValue("price"), 2.5, 1e-6, "the text stands as the value")

local spinCases = {
    {"setSpinboxValue", {7}, "getSpinboxValue", 7},
    {"setSpinboxValue", {99}, "getSpinboxValue", 10},
    {"setSpinboxStepSize", {2}, "getSpinboxStepSize", 2},
    {"setSpinboxDecimals", {3}, "getSpinboxDecimals", 3},
    {"setSpinboxRange", {5.5, 2.25}, "getSpinboxMinValue", 2.25},
    {"setSpinboxDecimals", {0}, "getSpinboxDecimals", 0},
    -- Without decimals the ends are whole numbers.
    {"setSpinboxRange", {7.9, 1.5}, "getSpinboxMaxValue", 7},
    {"setSpinboxRange", {7.9, 1.5}, "getSpinboxMinValue", 1},
}
for index, case in ipairs(spinCases) do
    check.eq(G[case[1]](G, "count", unpack(case[2])), true, case[1] .. " answers true, case " .. index)
    check.near(G[case[3]](G, "count"), case[4], 1e-6, case[3] .. ", case " .. index)
end
-- Numbers the box could not show stay within its bounds (a box that
-- corrects its value forever would end the process).
local spinBounds = {
    {"setSpinboxRange", {0 / 0, 1 / 0}, "getSpinboxMaxValue", 1e9},
    {"setSpinboxRange", {-1e300, 5}, "getSpinboxMinValue", -1e9},
    {"setSpinboxValue", {1 / 0}, "getSpinboxValue", 5},
    {"setSpinboxValue", {0 / 0}, "getSpinboxValue", 0},
    {"setSpinboxDecimals", {1000}, "getSpinboxDecimals", 8},
    {"setSpinboxDecimals", {-7}, "getSpinboxDecimals", -1},
    {"setSpinboxStepSize", {-1 / 0}, "getSpinboxStepSize", -1e9},
}
for index, case in ipairs(spinBounds) do
    check.eq(G[case[1]](G, "count", unpack(case[2])), true, case[1] .. " answers true, bound " .. index)
    check.near(G[case[3]](G, "count"), case[4], 1e-3, case[3] .. ", bound " .. index)
end
G:setSpinboxDecimals("count", 0)
G:setSpinboxRange("count", 1, 10)
G:setSpinboxStepSize("count", 2)

events = {}
G:setSpinboxValue("count", 3)
check.eq(table.concat(events, ","), "count:20", "a value set by script is published")

-- Windows: under the named parent; the named title-bar buttons are shown.
check.eq(G:createWindow("dialog", "", "Settings", "0.2 0.2 0.8 0.8", false, "dialogClose", "dialogMin", ""), true,
    "window created")
check.eq(G:controlType("dialog"), 21, "window type")
check.eq(G:getControlText("dialog"), "Settings", "caption")
check.eq(G:isControlVisible("dialogClose"), true, "close button")
check.eq(G:isControlVisible("dialogMin"), true, "minimize button shown")
check.eq(G:controlType("dialogMin"), 0, "a title-bar button")
check.eq(G:getControlParentId("dialogMin"), "dialog", "of the window")
check.eq(G:createWindow("inner", "dialog", "Inner", "10 30 200 200", false), true, "window in a window")
check.eq(G:getControlParentId("inner"), "dialog", "under the named parent")
check.eq(G:createWindow("modal", "", "Modal", "0.3 0.3 0.6 0.6", true), true, "modal window")
check.eq(G:getControlParentId("modal"), nil, "a modal window hangs below its unnamed modal screen")
check.near(G:getControlPosAbsolute("modal"):getX(), 0.3, 1e-6, "placed on the screen")
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() G:createWindow("stray", "nowhere", "", "0 0 1 1") end)
check.eq(G:controlExists("stray"), false, "no window under an unknown parent")
G:removeControl("modal")

-- Each property function accepts only its kind.
local kindCases = {
    {"setButtonImage", "title", "[CGuiManager::SetButtonImage] Gui element is not a button:title"},
    {"isButtonDown", "entry", "[CGuiManager::IsButtonPressed] Gui element is not a button:entry"},
    {"getStaticTextColor", "ok", "[CGuiManager::GetStaticTextColor] Gui element is not a static text:ok"},
    {"getEditTextSelection", "title", "[CGuiManager::GetEditBoxSelection] Gui element is not an edit box:title"},
    {"setSpinboxValue", "entry", "[CGuiManager::SetSpinBoxValue] Gui element is not a spin box:entry"},
    {"getImageTexture", "ok", "[CGuiManager::GetImageTexture] Gui element is not an image:ok"},
    {"getButtonFont", "logo", "[CGuiManager::GetElementFontFile] Gui element has no font:logo"},
    {"setEditTextFont", "count", "[CGuiManager::SetElementFont] Gui element has no font:count"},
    {"getSpinboxValue", "nowhere", "[CGuiManager::GetElement] Cannot find gui element:nowhere"},
}
for _, case in ipairs(kindCases) do
    check.raises(case[3], function() return G[case[1]](G, case[2], 1) end)
end

IEvents:unsubscribe(handle)
check.done()
