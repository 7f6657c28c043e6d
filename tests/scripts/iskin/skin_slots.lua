--! stdout: CHECKS PASSED
--! env: LSAN_OPTIONS=suppressions=$HALVANE_TEST_LIB/fontconfig.supp
-- Slot numbers outside the 32-bit range name no slot (they do not wrap
-- onto slot 0 or 1), and sizes are held to +-2^24 so that a frame drawn with
-- them stays within the integers.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
check.truthy(ISkin:activate("Mine", false), "own skin")

local text0, size1, colour0 = ISkin:getText(0), ISkin:getSize(1), ISkin:getColor(0)
for _, slot in ipairs({2 ^ 32, 2 ^ 32 + 1, -2 ^ 32, 1e300, -1, 0 / 0}) do
    ISkin:setText(slot, "wrapped")
    ISkin:setSize(slot, 77)
    ISkin:setColor(slot, IMisc:colorCreate(1, 0, 0, 1))
    check.eq(ISkin:getText(slot), "", "no text at " .. tostring(slot))
    check.eq(ISkin:getSize(slot), 0, "no size at " .. tostring(slot))
end
check.eq(ISkin:getText(0), text0, "text 0 unchanged")
check.eq(ISkin:getSize(1), size1, "size 1 unchanged")
check.eq(tostring(ISkin:getColor(0)), tostring(colour0), "colour 0 unchanged")

local cases = {{2147483647, 16777216}, {-2147483648, -16777216}, {1e300, 16777216}, {0 / 0, 0}, {12.9, 12}}
for _, case in ipairs(cases) do
    for slot = 0, 9 do
        ISkin:setSize(slot, case[1])
        check.eq(ISkin:getSize(slot), case[2], "size " .. tostring(case[1]))
    end
    IGraphics:createWindow("w", "", "caption", "0.1 0.1 0.5 0.5", false, "", "", "")
    IGraphics:createCombobox("combo", "10 10 200 30", "", "")
    IGraphics:draw()
    IGraphics:removeGui()
end
check.done()
