--! stdout: CHECKS PASSED
-- The GUI event tests: (control, event control, event type) is true when
-- the names are the same and the type is the function's; they look nothing
-- up.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local tests = {
    controlExited = {0}, controlEntered = {1}, controlHovered = {2}, controlLeft = {3},
    controlDestroyed = {4}, buttonClicked = {5, 18}, scrollBarChanged = {6}, checkboxClicked = {7},
    listChanged = {8, 9}, listSelected = {9}, messageBoxYes = {12}, messageBoxNo = {13},
    messageBoxOk = {14}, messageBoxCancel = {15}, editEnterClicked = {16}, tabControlChanged = {17},
    menuClicked = {18}, comboChanged = {19}, spinboxClicked = {20}, tableCellChanged = {21},
    tableColumnActivated = {22}, tableCellSelected = {23},
}

for name, types in pairs(tests) do
    local wanted = {}
    for _, type in ipairs(types) do wanted[type] = true end
    for type = -1, 101 do
        check.eq(IGraphics[name](IGraphics, "ok", "ok", type), wanted[type] == true, name .. " " .. type)
    end
    -- Other names, and types that are no type at all.
    check.eq(IGraphics[name](IGraphics, "ok", "OK", types[1]), false, name .. " compares names exactly")
    check.eq(IGraphics[name](IGraphics, "ok", "ok", types[1] + 0.75), true, name .. " cuts fractions off")
    for _, hostile in ipairs({1 / 0, -1 / 0, 2 ^ 32 + types[1], -(2 ^ 32) + types[1], 1e308}) do
        check.eq(IGraphics[name](IGraphics, "ok", "ok", hostile), false, name .. " " .. tostring(hostile))
    end
    check.eq(IGraphics[name](IGraphics, "ok", "ok", 0 / 0), types[1] == 0, name .. ": NaN reads as 0")
    check.eq(IGraphics[name](IGraphics, "", "", tostring(types[1])), true, name .. " reads a number's text")
    check.eq(IGraphics[name](IGraphics, nil, {}, types[1]), true, name .. ": missing names are both empty")
    check.eq(IGraphics[name](IGraphics), types[1] == 0, name .. " with no arguments")
end

-- The conflict test asks for the type alone.
check.eq(IGraphics:controlConflictId("anything", 100), true, "conflict")
check.eq(IGraphics:controlConflictId("", 100.5), true, "conflict, fraction cut off")
check.eq(IGraphics:controlConflictId("anything", 99), false, "no conflict")
check.eq(IGraphics:controlConflictId("anything", 2 ^ 32 + 100), false, "out of range")
check.eq(IGraphics:controlConflictId("anything", 0 / 0), false, "NaN")

-- They work without a device and from a coroutine.
local co = coroutine.create(function() return IGraphics:checkboxClicked("a", "a", 7) end)
local ok, result = coroutine.resume(co)
check.truthy(ok and result, "from a coroutine")
check.done()
