--! stdout: CHECKS PASSED
-- Hostile arguments for the layout, fader, dialog, tooltip and shortcut
-- functions: wrong types, NaN and huge numbers, removed controls, calls
-- from coroutines, callbacks that fail. Each call returns or raises an
-- error in the "[Class::Method] ..." form; the GUI stays usable. File names
-- stay inside the work folder.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

-- name = the argument positions that are file or folder names.
local functions = {
    loadGui = {1}, removeGui = {}, saveGui = {1}, saveGuiControl = {1}, setFader = {}, clearFader = {},
    doFadeIn = {}, doFadeOut = {}, getFaderColor = {}, getFaderInTime = {}, getFaderOutTime = {},
    isFaderComplete = {}, showMessageBox = {}, showMessageBoxYesNo = {}, showMessageBoxOk = {},
    showMessageBoxOkCancel = {}, showOpenDialog = {4}, getOpenDialogFilename = {},
    openDialogFileSelected = {}, openDialogCancelled = {}, createTooltip = {}, removeTooltip = {},
    tooltipExists = {}, getTooltipLabel = {}, createShortcut = {}, shortcutExists = {},
    shortcutExistsAny = {}, getShortcutEventType = {}, getShortcutKeyCode = {}, getShortcutShiftOn = {},
    getShortcutControlOn = {}, removeShortcuts = {}, removeAllShortcuts = {},
}
local names = {}
for name in pairs(functions) do names[#names + 1] = name end
table.sort(names)

local weak = setmetatable({}, {__mode = "v"})
weak[1] = function() return true end
local hostile = {
    nil, false, true, 0, -1, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 31, -(2 ^ 31) - 1, 2 ^ 53, 65535, 65536,
    "", "box", "gone", "0.5 0.5", "nan nan nan nan", "\255\254 not utf-8", string.rep("w", 20000),
    "x__GuiInternal__", "BINARY", "COMPRESSED", {}, weak, IMisc:pointCreate(0.5, 0.5),
    IMisc:rectCreate(0.1, 0.1, 0.2, 0.2), IMisc:colorCreate(1, 0, 0, 1), IMisc:vectorCreate(1, 2, 3),
    coroutine.create(function() end), tostring,
    function() error("callback failed") end,
    function() collectgarbage("collect") return false end,
    function() return coroutine.yield(1) end,
    weak[1],
}
local files = {work .. "/h.kvogui", work .. "/missing", work .. "/saved", work, ""}

-- A saved layout for loadGui to meet, and the controls names may meet.
check.eq(IGraphics:createCheckbox("box", "", "0.4 0.4 0.6 0.6", false), true, "box")
IGraphics:saveGui(work .. "/saved.kvogui", "UTF8", true)
local function restore()
    IGraphics:setGuiParent("")
    if not IGraphics:controlExists("box") then IGraphics:createCheckbox("box", "", "0.4 0.4 0.6 0.6", false) end
    if not IGraphics:controlExists("gone") then IGraphics:createCheckbox("gone", "", "0 0 0.1 0.1", false) end
    IGraphics:removeControl("gone")
end

local function expectCleanCall(name, ...)
    local ok, message = pcall(IGraphics[name], IGraphics, ...)
    if not ok then
        check.eq(type(message), "string", name .. " error type")
        local known = string.find(message, "[", 1, true) or string.find(message, "callback failed", 1, true)
        check.truthy(known, name .. " failed without a clear message: " .. message)
    end
    return ok
end

local function arguments(name, pick)
    local list = {}
    for index = 1, 6 do list[index] = pick(index) end
    for _, index in ipairs(functions[name]) do list[index] = files[math.random(1, #files)] end
    return list
end

math.randomseed(20261210)
local calls, failures = 0, 0
local before = IApp:getBasePath()
for round = 1, 20 do
    for _, name in ipairs(names) do
        restore()
        local list = arguments(name, function() return hostile[math.random(1, #hostile)] end)
        calls = calls + 1
        if not expectCleanCall(name, unpack(list, 1, 6)) then failures = failures + 1 end
        local co = coroutine.create(function() return expectCleanCall(name, unpack(list, 1, 6)) end)
        restore()
        local resumed, result = coroutine.resume(co)
        check.truthy(resumed, name .. " from a coroutine: " .. tostring(result))
    end
    IGraphics:removeGui()
    collectgarbage("collect")
end
check.truthy(calls > failures and failures > 0, "some calls fail, most do not")

-- Each kind of argument in every position.
for _, name in ipairs(names) do
    for index = 1, #hostile do
        restore()
        local list = arguments(name, function() return hostile[index] end)
        expectCleanCall(name, unpack(list, 1, 6))
    end
end

-- The GUI still works, and the current folder is where it was once the
-- dialogs are gone.
IGraphics:removeGui()
collectgarbage("collect")
check.eq(IApp:getBasePath(), before, "current folder kept")
check.eq(IGraphics:createCheckbox("after", "", "0.8 0.8 0.9 0.9", true), true, "created afterwards")
check.eq(IGraphics:saveGui(work .. "/after.kvogui", "UTF8", false), true, "saved afterwards")
IGraphics:removeGui()
check.eq(IGraphics:loadGui(work .. "/after.kvogui", ""), true, "loaded afterwards")
check.eq(IGraphics:getCheckbox("after"), true, "read afterwards")
check.done()
