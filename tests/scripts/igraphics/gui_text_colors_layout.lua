--! stdout: CHECKS PASSED
-- Static text and edit box colours keep every byte value through the
-- setters and through text layouts saved and loaded twice: layouts store
-- byte / 255 with six decimals, which must come back as the same byte.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

check.truthy(G:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local function bytesOf(value)
    return {value:getRed() * 255, value:getGreen() * 255, value:getBlue() * 255, value:getAlpha() * 255}
end
local function colorOf(bytes)
    return IMisc:colorCreate(bytes[1] / 255, bytes[2] / 255, bytes[3] / 255, bytes[4] / 255)
end
-- Element index covers the bytes 4 * index to 4 * index + 3, once in each
-- channel across the three colours; alpha never reaches 0, which turns an
-- override colour off.
local function textBytes(index) return {4 * index, 4 * index + 1, 4 * index + 2, 4 * index + 3} end
local function backgroundBytes(index) return {4 * index + 3, 4 * index, 4 * index + 1, 4 * index + 2} end
local function editBytes(index) return {4 * index + 2, 4 * index + 3, 4 * index, 4 * index + 1} end

local function checkBytes(actual, expected, what)
    local bytes = bytesOf(actual)
    for channel = 1, 4 do check.near(bytes[channel], expected[channel], 1e-3, what .. " channel " .. channel) end
end
local function checkAll(when)
    for index = 0, 63 do
        checkBytes(G:getStaticTextColor("text" .. index), textBytes(index), when .. ": text " .. index)
        checkBytes(G:getStaticTextBackgroundColor("text" .. index), backgroundBytes(index),
            when .. ": background " .. index)
        checkBytes(G:getEditTextColor("edit" .. index), editBytes(index), when .. ": edit box " .. index)
    end
end

for index = 0, 63 do
    local top = (index % 32) / 40
    check.eq(G:createText("text" .. index, "t", (index < 32 and "0 " or "0.5 ") .. top .. " 0.2 " .. (top + 0.02),
        false, false, true, colorOf(textBytes(index)), ""), true, "text " .. index)
    G:setStaticTextBackgroundColor("text" .. index, colorOf(backgroundBytes(index)))
    check.eq(G:createEditText("edit" .. index, "e", (index < 32 and "0.25 " or "0.75 ") .. top .. " 0.45 "
        .. (top + 0.02)), true, "edit box " .. index)
    G:setEditTextColor("edit" .. index, colorOf(editBytes(index)))
end
checkAll("set")

for round = 1, 2 do
    local path = work .. "/colors" .. round .. ".kvogui"
    check.eq(G:saveGui(path, "UTF8", true), true, "saved, round " .. round)
    G:removeGui()
    check.eq(G:loadGui(path, ""), true, "loaded, round " .. round)
    checkAll("round " .. round)
end

check.done()
