--! stdout: CHECKS PASSED
-- IKey and IMouse take whatever scripts pass: wrong types, NaN, huge
-- numbers, coroutines, weak tables and failing callbacks end in script
-- errors or harmless answers, never in a crash.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local weak = setmetatable({}, {__mode = "k"})
local hostile = {true, 0, -1, 0 / 0, 1 / 0, -1 / 0, 1e300, -2147483649, 4294967296, "", "x\0y",
    string.rep("n", 100000), {}, weak, print, coroutine.create(function() end), IKey, IMouse}

-- Every function with every hostile value in every argument position.
local function hammer(interface, names, arity)
    for _, name in ipairs(names) do
        for position = 1, arity do
            for index = 1, #hostile + 1 do
                local args = {"act", 1, 0x41, true, false}
                args[position] = hostile[index]
                pcall(interface[name], interface, args[1], args[2], args[3], args[4], args[5])
            end
        end
    end
end

IKey:addActionKeyCode("act", "Act", 0x41, false, false)
local keyNames = {"clear", "reset", "addActionKeyCode", "removeAction", "actionExists", "getActionKeyCount",
    "getActionKeyCode", "setActionKeyCode", "getActionKeyCodeHex", "getActionKeyDescription",
    "setActionKeyDescription", "getActionKeyShiftState", "setActionKeyShiftState", "getActionKeyControlState",
    "setActionKeyControlState", "isActionKeyOn", "isActionKeyToggled", "isActionOn", "setActionOn",
    "isActionToggled", "setActionToggled", "isActionClicked"}
for _ = 1, 3 do
    IKey:addActionKeyCode("act", "Act", 0x41, false, false)
    hammer(IKey, keyNames, 5)
end
-- Numbers that are no keys keep their low 16 bits; NaN is key 0.
IKey:clear()
for _, case in ipairs({{0 / 0, 0}, {1 / 0, 0xFFFF}, {-1, 0xFFFF}, {65536 + 0x20, 0x20}, {1e300, 0xFFFF}}) do
    IKey:addActionKeyCode("n", "", case[1], false, false)
    check.eq(IKey:getActionKeyCode("n", 99), case[2], "key code of " .. tostring(case[1]))
end

-- Files: names and modes that are nothing.
for _, value in ipairs(hostile) do
    pcall(IKey.loadCodes, IKey, value)
    pcall(IKey.saveCodes, IKey, os.getenv("HALVANE_TEST_WORK") .. "/x.kvokey", value)
end

-- Callbacks: not functions, unknown global names, errors, and a
-- coroutine that walks.
for _, value in ipairs({0, {}, true, "noSuchGlobal"}) do
    check.raises(nil, function() IKey:forEachKeyCode(value, nil) end)
end
check.raises("boom", function() IKey:forEachKeyCode(function() error("boom") end) end)
check.raises(nil, function() IKey:forEachKeyCode(function() IKey:forEachKeyCode(function() error("deep") end) end) end)
local walker = coroutine.create(function()
    local names = {}
    IKey:forEachKeyCode(function(action) names[#names + 1] = action end)
    coroutine.yield(#names)
end)
local resumed, count = coroutine.resume(walker)
check.truthy(resumed, "walk inside a coroutine")
check.eq(count, 1, "one action seen from the coroutine")

-- IMouse without a device: neutral answers.
local mouseNames = {"leftButtonDown", "rightButtonDown", "centreButtonDown", "leftButtonClicked",
    "rightButtonClicked", "centreButtonClicked", "wheelMoved", "setPosition", "setPositionPoint", "getX", "getY",
    "getPosition", "show", "isVisible", "setType"}
hammer(IMouse, mouseNames, 2)
check.eq(IMouse:leftButtonDown(0 / 0), true, "NaN reads as the number 0, as every integer argument does")
check.eq(IMouse:wheelMoved(7.9), true, "integers are truncated")
check.eq(IMouse:leftButtonDown(4294967296), true, "the code's low bits")
check.eq(IMouse:getX(), 0, "no device: x 0")
check.eq(IMouse:isVisible(), false, "no device: no cursor")

-- The same with a device.
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
hammer(IMouse, mouseNames, 2)
IMouse:setPosition(0 / 0, 1 / 0)
check.eq(IMouse:getX(), 0, "NaN places at 0")
check.truthy(IMouse:getY() < 100, "infinity stays within what the window system carries")
check.done()
