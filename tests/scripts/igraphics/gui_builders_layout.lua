--! stdout: CHECKS PASSED
-- Buttons, images, static texts, edit boxes and spin boxes from hand-written
-- layouts (a file of version 1019 and one of 1012), their attributes read
-- back, and round trips through every archive form. A "Text2" block is
-- saved back as "Text".
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")
local fixtures = string.match(debug.getinfo(1, "S").source, "^@(.*)/[^/]*$") .. "/fixtures"

local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end
local bitmap = "BM" .. u32(54 + 24) .. u32(0) .. u32(54) .. u32(40) .. u32(4) .. u32(2) .. u16(1) .. u16(24)
    .. u32(0) .. u32(24) .. u32(2835) .. u32(2835) .. u32(0) .. u32(0) .. string.rep("\255", 24)
files.write(work .. "/picture.bmp", bitmap)
files.write(work .. "/pressed.bmp", bitmap)
files.write(work .. "/other.bmp", bitmap)
IApp:addSearchPath(work, false, 50)

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

local function color(value) return {value:getRed(), value:getGreen(), value:getBlue(), value:getAlpha()} end
local function checkColor(actual, expected, what)
    local channels = color(actual)
    for index = 1, 4 do check.near(channels[index], expected[index], 1 / 255 + 1e-6, what .. " " .. index) end
end

-- What the version 1019 fixture holds, checked after each load.
local function checkNewLayout(when)
    check.eq(G:controlType("ok"), 0, when .. ": button")
    check.eq(G:getControlText("ok"), "Okay", when .. ": button label")
    check.near(G:getControlWidth("ok"), 0.2, 1e-5, when .. ": button width")
    check.truthy(string.find(G:getButtonImage("ok") or "", "picture.bmp", 1, true), when .. ": button image")
    check.eq(G:getButtonActiveImage("ok"), nil, when .. ": no pressed image")
    check.eq(G:isButtonAlphaEnabled("ok"), true, when .. ": alpha in the second place")
    check.eq(G:isButtonBorderEnabled("ok"), false, when .. ": no border")
    check.eq(G:getButtonType("ok"), true, when .. ": push button")

    -- The entry for 800 x 600 wins over both defaults.
    check.truthy(string.find(G:getImageTexture("logo"), "pressed.bmp", 1, true), when .. ": image per size")
    check.eq(G:getImageAlphaEnabled("logo"), true, when .. ": image alpha")
    check.eq(G:getImageScaleEnabled("logo"), true, when .. ": image scale")
    check.near(G:getControlPosX("logo"), 0.5, 1e-5, when .. ": image x")

    check.eq(G:controlType("title"), 16, when .. ": static text")
    check.eq(G:getControlText("title"), "Grüße", when .. ": static text label")
    check.near(G:getControlPosX("title"), 10 / 800, 1e-5, when .. ": pixels")
    check.eq(G:getStaticTextBorder("title"), true, when .. ": border")
    check.eq(G:getStaticTextWordWrap("title"), false, when .. ": word wrap")
    check.eq(G:getStaticTextBackground("title"), true, when .. ": background")
    checkColor(G:getStaticTextColor("title"), {1, 0, 0, 1}, when .. ": text colour")
    checkColor(G:getStaticTextBackgroundColor("title"), {0, 0, 1, 1}, when .. ": background colour")
    check.eq(G:getStaticTextAlignmentHorizontal("title"), 2, when .. ": horizontal alignment")
    check.eq(G:getStaticTextAlignmentVertical("title"), 1, when .. ": vertical alignment")

    check.eq(G:getControlText("entry"), "secret", when .. ": edit box text")
    check.eq(G:getEditTextBorder("entry"), true, when .. ": edit box border")
    check.eq(G:getEditTextMaxChars("entry"), 12, when .. ": maximum")
    check.eq(G:getEditTextPasswordEnabled("entry"), true, when .. ": password mode")
    check.eq(G:getEditTextMultilineEnabled("entry"), false, when .. ": single line")
    check.eq(G:getEditTextAlignmentHorizontal("entry"), 1, when .. ": edit box alignment")
    check.eq(G:getEditTextAlignmentVertical("entry"), 2, when .. ": edit box vertical alignment")
    checkColor(G:getEditTextColor("entry"), {0, 1, 0, 1}, when .. ": edit box colour")

    check.eq(G:getSpinboxMinValue("count"), 1, when .. ": spin box minimum")
    check.eq(G:getSpinboxMaxValue("count"), 10, when .. ": spin box maximum")
    check.eq(G:getSpinboxValue("count"), 4, when .. ": spin box value")
    check.eq(G:getSpinboxStepSize("count"), 2, when .. ": spin box step")
    check.eq(G:getSpinboxDecimals("count"), 0, when .. ": spin box decimals")
    check.eq(G:getControlParentId("countUp"), "count", when .. ": named up button")
end

events = {}
check.eq(G:loadGui(fixtures .. "/builders_v1019.kvogui", ""), true, "version 1019 loaded")
checkNewLayout("1019 file")
check.eq(table.concat(events, ","), "count:20", "the spin box's value is published once")

-- Round trips through each form, in pixels and in fractions.
local saved = {}
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    for _, relative in ipairs({true, false}) do
        local path = work .. "/builders-" .. mode .. tostring(relative) .. ".kvogui"
        check.eq(G:saveGui(path, mode, relative), true, "saved " .. mode)
        saved[#saved + 1] = path
    end
end
local text = files.read(saved[1])
check.truthy(string.find(text, "Text{", 1, true) and not string.find(text, "Text2{", 1, true), "Text2 saves as Text")
check.truthy(string.find(text, "-Default", 1, true), "the image's file as its default")
for _, path in ipairs(saved) do
    G:removeGui()
    check.eq(G:loadGui(path, ""), true, "reloaded " .. path)
    checkNewLayout(path)
end

-- An older file: 2-float image position, no scale; no background colour;
-- the edit box has only its border; names are numeric ids.
G:removeGui()
check.eq(G:loadGui(fixtures .. "/builders_v1012.kvogui", ""), true, "version 1012 loaded")
check.eq(G:controlType("41"), 9, "image named by its id")
-- Not at 1024 x 768: the default, which is missing, gives the placeholder.
check.eq(G:getImageTexture("41"), "___NULL_IMAGE___", "placeholder for a missing default")
check.eq(G:getImageScaleEnabled("41"), false, "no scale before 1019")
check.eq(G:getImageAlphaEnabled("41"), false, "alpha")
check.eq(G:getControlText("42"), "old", "old static text")
check.eq(G:getStaticTextWordWrap("42"), true, "word wrap")
checkColor(G:getStaticTextColor("42"), {0, 0, 0, 0}, "no colour")
check.eq(G:getControlText("43"), "typed", "old edit box")
check.eq(G:getEditTextBorder("43"), true, "its border")
check.eq(G:getEditTextMaxChars("43"), 0, "no maximum before 1014")
check.eq(G:getControlTabOrder("43"), 43, "a numeric name is the tab order")

-- Damaged blocks end the load with the reader's message.
local damaged = {
    {"Text{ -IdName t -Position 0 0 1 1 -Border 0 -WordWrap 0 -Background 0 -Color 0 0 0 0 -BackgroundColor 0 0 0 0 -HAlign 9 -VAlign 0 -Label x }",
        "[CGuiManager::ReadStaticText] Invalid alignment:9"},
    {"EditText{ -IdName e -Position 0 0 1 1 -Border nope }", "[CGuiManager::Read] Invalid value for key:-Border"},
    {"Spinbox{ -IdName s -Position 0 0 1 1 -Label \"\" -Range 1 }", "Invalid value for key:-Range"},
    {"Image{ -IdName i -Position 0 0 1 1 -Alpha 0 -Scale 0 }", "Resolutions{"},
    {"Spinbox{ -IdName s2 -Position 0 0 1 1 -Label \"\" -Range 1 2 -Value x }", "Invalid value for key:-Value"},
    {"Button{ -IdName b -Position 0 0 1 1 -Border 1 }", "Expected:-Label"},
}
for index, case in ipairs(damaged) do
    local path = work .. "/damaged" .. index .. ".kvogui"
    files.write(path, "KVOGUI\r\nVersion{\r\n-Version 1019\r\n}\r\nGui{\r\n" .. case[1] .. "\r\n}\r\n")
    check.raises(case[2], function() return G:loadGui(path, "") end)
end

IEvents:unsubscribe(handle)
check.done()
