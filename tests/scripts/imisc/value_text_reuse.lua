--! stdout: CHECKS PASSED
-- A value given as text reads its own text every time: one text again and
-- again, and fresh texts of one length whose memory the collector hands on
-- from one to the next.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local M = IMisc

local literal = M:rectGetWidth(M:rectCreate(0.1, 0.2, 0.3, 0.4))
for round = 1, 3000 do
    local w = round % 97
    check.eq(M:rectGetWidth(string.format("0 0 %02d.5 1", w)), w + 0.5, "a fresh text")
    check.eq(M:vectorGetX(string.format("%04d 2 3", round)), round, "a fresh text")
    check.eq(M:rectGetWidth("0.1 0.2 0.3 0.4"), literal, "the same text")
    if round % 50 == 0 then
        collectgarbage()
    end
end

-- Read up to a NUL; a long text; numbers as text; the same in a coroutine.
check.eq(M:vectorGetX("5\0 7"), 5)
check.eq(M:vectorGetY("5\0 7"), 0)
check.eq(M:vectorGetY("5 7"), 7)
check.eq(M:vectorGetZ("1 2 3" .. string.rep(" ", 100) .. "4"), 3)
check.eq(M:vectorGetZ(string.rep(" ", 100) .. "1 2 3"), 3)
check.eq(M:vectorGetX(42), 42)
local co = coroutine.wrap(function()
    coroutine.yield(M:vectorGetY("1 8 3"))
    return M:vectorGetY("1 9 3")
end)
check.eq(co(), 8)
check.eq(co(), 9)
check.done()
