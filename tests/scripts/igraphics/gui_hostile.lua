--! stdout: CHECKS PASSED
-- Hostile arguments for every GUI function: wrong types, NaN and huge
-- numbers, removed controls, calls from coroutines, callbacks that fail,
-- yield or collect garbage. Each call either returns or raises an error in
-- the "[Class::Method] ..." form; the GUI stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
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

local weak = setmetatable({}, {__mode = "v"})
weak[1] = function() return true end
local hostile = {
    nil, false, true, 0, -1, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 31, -(2 ^ 31) - 1, 2 ^ 53,
    "", "box", "gone", "0.5 0.5", "nan nan nan nan", "\255\254 not utf-8", string.rep("w", 20000),
    "x__GuiInternal__", {}, weak, IMisc:pointCreate(0.5, 0.5), IMisc:rectCreate(0.1, 0.1, 0.2, 0.2),
    IMisc:vectorCreate(1, 2, 3), coroutine.create(function() end), tostring,
    function() error("callback failed") end,
    function() error({"a table as error"}) end,
    function() collectgarbage("collect") return false end,
    function() return coroutine.yield(1) end,
    weak[1], "countControl",
}
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
local function expectCleanCall(name, ...)
    local ok, message = pcall(IGraphics[name], IGraphics, ...)
    if not ok then
        check.eq(type(message), "string", name .. " error type")
        local known = string.find(message, "[", 1, true) or string.find(message, "callback failed", 1, true)
            or string.find(message, "yield", 1, true) or string.find(message, "error object", 1, true)
            or string.find(message, "m_functionObj.IsFunction()", 1, true)
        check.truthy(known, name .. " failed without a clear message: " .. message)
    end
    return ok
end

math.randomseed(20240517)
local calls, failures = 0, 0
for round = 1, 30 do
    for _, name in ipairs(functions) do
        restore()
        local arguments = {}
        local count = math.random(0, 9)
        for index = 1, count do arguments[index] = hostile[math.random(1, #hostile)] end
        calls = calls + 1
        if not expectCleanCall(name, unpack(arguments, 1, count)) then failures = failures + 1 end
        -- Also from a coroutine, where a yielding callback meets the C call.
        local co = coroutine.create(function() return expectCleanCall(name, unpack(arguments, 1, count)) end)
        restore()
        local resumed, result = coroutine.resume(co)
        check.truthy(resumed, name .. " from a coroutine: " .. tostring(result))
    end
    collectgarbage("collect")
end
check.truthy(calls > failures and failures > 0, "some calls fail, most do not")

-- Each kind of argument against every function that takes a name.
restore()
for _, name in ipairs(functions) do
    for index = 1, #hostile do
        restore()
        expectCleanCall(name, hostile[index], hostile[index], hostile[index], hostile[index], hostile[index])
    end
end

-- The GUI still works.
restore()
check.eq(IGraphics:createCheckbox("after", "", "0.8 0.8 0.9 0.9", true), true, "created afterwards")
check.eq(IGraphics:getCheckbox("after"), true, "read afterwards")
check.eq(IGraphics:getControlAtPoint("", 0.85, 0.85), "after", "found afterwards")
check.done()
