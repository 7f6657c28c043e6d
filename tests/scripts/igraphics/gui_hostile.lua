--! stdout: CHECKS PASSED
-- Hostile arguments for every GUI function: wrong types, NaN and huge
-- numbers, removed controls, calls from coroutines, callbacks that fail,
-- yield or collect garbage. Each call either returns or raises an error in
-- the "[Class::Method] ..." form; the GUI stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local functions = {
    "createCheckbox", "getCheckbox", "setCheckbox", "controlExists", "controlType", "getControlFocus",
    "setControlFocus", "getControlAtPoint", "getControlParentId", "getControlChildIds", "changeControlId",
    "getGuiParent", "setGuiParent", "removeControl", "removeChildren", "forEachControl",
    "controlExited", "controlEntered", "controlHovered", "controlLeft", "controlDestroyed", "buttonClicked",
    "scrollBarChanged", "checkboxClicked", "listChanged", "listSelected", "messageBoxYes", "messageBoxNo",
    "messageBoxOk", "messageBoxCancel", "editEnterClicked", "tabControlChanged", "menuClicked",
    "comboChanged", "spinboxClicked", "tableCellChanged", "tableColumnActivated", "tableCellSelected",
    "controlConflictId",
    "isControlVisible", "setControlVisible", "isControlEnabled", "setControlEnabled", "isControlClipped",
    "setControlClipped", "bringControlToFront", "getControlText", "setControlText", "getControlFloat",
    "setControlFloat", "getControlInt", "setControlInt", "getControlTabStop", "setControlTabStop",
    "getControlTabOrder", "setControlTabOrder", "getControlTabGroup", "setControlTabGroup",
    "getControlTabGroupOwner", "setControlAlignment", "getControlAlignmentLeft", "getControlAlignmentTop",
    "getControlAlignmentRight", "getControlAlignmentBottom", "setControlMinSize", "getControlMinSize",
    "setControlMaxSize", "getControlMaxSize", "moveControlPos", "setControlPos", "setControlPosPoint",
    "setControlSize", "setControlSizePoint", "getControlPos", "getControlPosAbsolute", "getControlCenter",
    "getControlPosX", "getControlPosY", "getControlSize", "getControlWidth", "getControlHeight",
}
for _, name in ipairs(functions) do
    check.eq(type(IGraphics[name]), "function", name .. " is registered")
end

local weak = H.weak()
local hostile = H.values({
    "box", "gone", "0.5 0.5", "x__GuiInternal__", IMisc:pointCreate(0.5, 0.5),
    IMisc:rectCreate(0.1, 0.1, 0.2, 0.2), IMisc:vectorCreate(1, 2, 3), tostring,
    function() error({"a table as error"}) end,
    function() collectgarbage("collect") return false end,
    function() return coroutine.yield(1) end,
    weak[1], "countControl",
}, weak)
function countControl() return false end

-- Controls that hostile names may meet: a check box, one removed.
local function restore()
    IGraphics:setGuiParent("")
    IGraphics:setControlVisible("", true)
    IGraphics:setControlEnabled("", true)
    IGraphics:setControlMinSize("", "0 0")
    IGraphics:setControlMaxSize("", "0 0")
    IGraphics:setControlPos("", 0, 0)
    IGraphics:setControlSize("", 800, 600)
    if not IGraphics:controlExists("box") then IGraphics:createCheckbox("box", "", "0.4 0.4 0.6 0.6", false) end
    if not IGraphics:controlExists("gone") then IGraphics:createCheckbox("gone", "", "0 0 0.1 0.1", false) end
    IGraphics:removeControl("gone")
end

-- The engine's own errors, or what a callback raised, passed on.
local accepted = {"callback failed", "yield", "error object", "m_functionObj.IsFunction()"}
local function expectCleanCall(name, ...)
    return H.expectCleanCall(check, IGraphics, name, accepted, ...)
end

-- From a coroutine too, where a yielding callback meets the C call.
math.randomseed(20240517)
H.expectSomeFail(check, H.fuzz({
    check = check, functions = functions, rounds = 30, call = expectCleanCall, restore = restore,
    arguments = H.randomArguments(hostile, 9),
}))

-- Each kind of argument against every function that takes a name.
restore()
H.sweep(functions, hostile, restore, function(name, value)
    expectCleanCall(name, value, value, value, value, value)
end)

-- The GUI still works.
restore()
check.eq(IGraphics:createCheckbox("after", "", "0.8 0.8 0.9 0.9", true), true, "created afterwards")
check.eq(IGraphics:getCheckbox("after"), true, "read afterwards")
check.eq(IGraphics:getControlAtPoint("", 0.85, 0.85), "after", "found afterwards")
check.done()
