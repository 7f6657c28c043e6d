--! stdout: CHECKS PASSED
-- Hostile arguments for the layout, fader, dialog, tooltip and shortcut
-- functions: wrong types, NaN and huge numbers, removed controls, calls
-- from coroutines, callbacks that fail. Each call returns or raises an
-- error in the "[Class::Method] ..." form; the GUI stays usable. File names
-- stay inside the work folder.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
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

local weak = H.weak()
local hostile = H.values({
    65535, 65536, "box", "gone", "0.5 0.5", "x__GuiInternal__", "BINARY", "COMPRESSED",
    IMisc:pointCreate(0.5, 0.5), IMisc:rectCreate(0.1, 0.1, 0.2, 0.2), IMisc:colorCreate(1, 0, 0, 1),
    IMisc:vectorCreate(1, 2, 3), tostring,
    function() collectgarbage("collect") return false end,
    function() return coroutine.yield(1) end,
    weak[1],
}, weak)
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
    return H.expectCleanCall(check, IGraphics, name, {"callback failed"}, ...)
end

local function arguments(name, pick)
    local list = {}
    for index = 1, 6 do list[index] = pick(index) end
    for _, index in ipairs(functions[name]) do list[index] = files[math.random(1, #files)] end
    return list
end

math.randomseed(20261210)
local before = IApp:getBasePath()
H.expectSomeFail(check, H.fuzz({
    check = check, functions = names, rounds = 20, call = expectCleanCall, restore = restore,
    arguments = function(name)
        return arguments(name, function() return hostile[math.random(1, #hostile)] end), 6
    end,
    afterRound = function() IGraphics:removeGui() end,
}))

-- Each kind of argument in every position.
H.sweep(names, hostile, restore, function(name, value)
    expectCleanCall(name, unpack(arguments(name, function() return value end), 1, 6))
end)

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
