--! stdout: CHECKS PASSED
-- Key actions as scripts define and read them: bindings by clamped 1-based
-- index, counts that create nothing, the walk over the actions, and the
-- error for an action without bindings.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

IKey:addActionKeyCode("move", "Forward", 0x57, false, false)
IKey:addActionKeyCode("move", "Sprint", 0x26, true, false)
IKey:addActionKeyCode("move", "Both", 0x0D, true, true)
check.eq(IKey:actionExists("move"), true, "added")
check.eq(IKey:getActionKeyCount("move"), 3, "three bindings")

-- Indexes are clamped: 0 and below give the first binding, beyond the
-- count the last.
for _, case in ipairs({{1, 0x57}, {2, 0x26}, {3, 0x0D}, {0, 0x57}, {-5, 0x57}, {99, 0x0D},
                       {2147483647, 0x0D}, {-2147483648, 0x57}, {1.9, 0x57}}) do
    check.eq(IKey:getActionKeyCode("move", case[1]), case[2], "index " .. tostring(case[1]))
end
check.eq(IKey:getActionKeyCodeHex("move", 3), "0x0D", "hexadecimal text")
check.eq(IKey:getActionKeyCodeHex("move", 1), "0x57", "hexadecimal text of W")
check.eq(IKey:getActionKeyDescription("move", 2), "Sprint", "description")
check.eq(IKey:getActionKeyShiftState("move", 2), true, "shift")
check.eq(IKey:getActionKeyControlState("move", 2), false, "control")
check.eq(IKey:isActionKeyOn("move", 2), false, "not on")
check.eq(IKey:isActionKeyToggled("move", 2), false, "not toggled")

-- Changing one binding in place.
IKey:setActionKeyCode("move", 1, 0x10041) -- key codes keep their low 16 bits
check.eq(IKey:getActionKeyCode("move", 1), 0x41, "low 16 bits")
check.eq(IKey:getActionKeyCodeHex("move", 1), "0x41", "hex after change")
IKey:setActionKeyCode("move", 1, 0x1234)
check.eq(IKey:getActionKeyCodeHex("move", 1), "0x1234", "wider than two digits")
IKey:setActionKeyDescription("move", 1, "Avant é")
check.eq(IKey:getActionKeyDescription("move", 1), "Avant é", "UTF-8 description")
IKey:setActionKeyShiftState("move", 1, true)
IKey:setActionKeyControlState("move", 1, 0) -- the truth rule: 0 is true
check.eq(IKey:getActionKeyShiftState("move", 1), true, "shift set")
check.eq(IKey:getActionKeyControlState("move", 1), true, "control set by 0")

-- Counting a name that is no action creates it, without bindings.
check.eq(IKey:actionExists("nothing"), false, "no action before")
check.eq(IKey:getActionKeyCount("nothing"), 0, "no bindings")
check.eq(IKey:actionExists("nothing"), true, "counting creates the action")
IKey:removeAction("nothing")
check.eq(IKey:isActionOn("nothing"), false, "unknown is off")
check.eq(IKey:isActionToggled("nothing"), false, "unknown is not toggled")
check.eq(IKey:isActionClicked("nothing"), false, "unknown is not clicked")
IKey:setActionOn("nothing", true)
IKey:setActionToggled("nothing", true)
check.eq(IKey:actionExists("nothing"), false, "setting states creates nothing")
IKey:removeAction("nothing")

-- The bindings of an unknown action are an error naming it and the index.
for _, fn in ipairs({"getActionKeyCode", "getActionKeyCodeHex", "getActionKeyDescription",
                     "getActionKeyShiftState", "getActionKeyControlState", "isActionKeyOn", "isActionKeyToggled"}) do
    check.raises("[CGuiManager::CInputKeyMap::GetKeyCode] Key code action name not found:nothing, 7",
        function() return IKey[fn](IKey, "nothing", 7) end)
end
check.raises("Key code action name not found:nothing, -1", function() IKey:setActionKeyCode("nothing", -1, 5) end)
check.raises("Key code action name not found:nothing, 0", function() IKey:setActionKeyShiftState("nothing", 0, true) end)

-- Names are case-sensitive and walked in their order; the walk passes the
-- user data and stops at the first true answer.
IKey:addActionKeyCode("Zoom", "", 0x5A, false, false)
IKey:addActionKeyCode("alpha", "", 0x41, false, false)
IKey:addActionKeyCode("Move", "", 0x4D, false, false)
local seen = {}
IKey:forEachKeyCode(function(action, data)
    seen[#seen + 1] = action .. ":" .. tostring(data)
end, "data")
check.eq(table.concat(seen, " "), "Move:data Zoom:data alpha:data move:data", "name order")
seen = {}
IKey:forEachKeyCode(function(action)
    seen[#seen + 1] = action
    return action == "Zoom"
end)
check.eq(table.concat(seen, " "), "Move Zoom", "stops at true")
-- A global function by name; the callback may change the map as it goes.
function visitAndRemove(action)
    seen[#seen + 1] = action
    IKey:removeAction("alpha")
    IKey:addActionKeyCode("zulu", "", 1, false, false)
end
seen = {}
IKey:forEachKeyCode("visitAndRemove", nil)
check.eq(#seen, 4, "names walked as they were when the walk began")
check.eq(IKey:actionExists("alpha"), false, "removed in the callback")
check.raises("in the callback", function()
    IKey:forEachKeyCode(function() error("in the callback") end, nil)
end)

-- Removing and clearing.
IKey:removeAction("Zoom")
check.eq(IKey:actionExists("Zoom"), false, "removed")
IKey:clear()
for _, name in ipairs({"move", "Move", "zulu"}) do
    check.eq(IKey:actionExists(name), false, "cleared " .. name)
end

-- "getch" without a terminal (standard input is /dev/null here) answers -1
-- at once.
check.eq(IKey:getch(), -1, "no terminal")
check.done()
