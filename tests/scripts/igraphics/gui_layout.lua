--! stdout: CHECKS PASSED
-- GUI layouts from scripts: saving the whole GUI or one control, loading
-- under a named parent, removing the GUI; the fader settings; message
-- boxes and the open dialog; tooltips and shortcuts.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")

local events = {}
local handle = IEvents:subscribeGui(function(name, type)
    events[#events + 1] = name .. ":" .. type
    return false
end, nil, 0)

-- Save, remove, load: the same GUI again, without check box events.
check.eq(IGraphics:createCheckbox("sound", "Sound on", "0.1 0.1 0.3 0.2", true), true, "created")
IGraphics:setGuiParent("sound")
check.eq(IGraphics:createCheckbox("inner", "Inner", "1 2 50 20", false), true, "created inside")
IGraphics:setGuiParent("")
check.eq(IGraphics:createTooltip("sound", "Toggles the sound"), true, "tooltip")
check.eq(IGraphics:setFader(IMisc:colorCreate(1, 0, 0, 1), 250, 400), true, "fader set")
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    check.eq(IGraphics:saveGui(work .. "/all-" .. mode .. ".kvogui", mode, true), true, "saved " .. mode)
end
IGraphics:removeGui()
check.eq(IGraphics:controlExists("sound"), false, "removed")
check.eq(IGraphics:getFaderInTime(), 0, "the fader went with the GUI")
events = {}
for _, mode in ipairs({"UTF8", "BINARY", "COMPRESSED"}) do
    IGraphics:removeGui()
    -- Found without the extension too.
    check.eq(IGraphics:loadGui(work .. "/all-" .. mode, ""), true, "loaded " .. mode)
    check.eq(IGraphics:getCheckbox("sound"), true, "state " .. mode)
    check.eq(IGraphics:getControlParentId("inner"), "sound", "child " .. mode)
    check.eq(IGraphics:getTooltipLabel("sound"), "Toggles the sound", "tooltip " .. mode)
    check.eq(IGraphics:getFaderInTime(), 250, "fader in-time " .. mode)
    check.eq(IGraphics:getFaderOutTime(), 400, "fader out-time " .. mode)
    check.near(IGraphics:getFaderColor():getRed(), 1, 1e-6, "fader colour " .. mode)
    check.near(IGraphics:getControlPosX("sound"), 0.1, 1e-6, "position " .. mode)
end
for _, event in ipairs(events) do
    check.truthy(not string.find(event, ":7", 1, true), "loading publishes no check box event")
end

-- One control with its children, loaded under another parent.
check.eq(IGraphics:saveGuiControl(work .. "/inner.kvogui", "UTF8", false, "inner"), true, "one control")
check.eq(IGraphics:createCheckbox("holder", "", "0.5 0.5 0.9 0.9", false), true, "holder")
IGraphics:removeControl("inner")
check.eq(IGraphics:loadGui(work .. "/inner.kvogui", "holder"), true, "loaded under a parent")
check.eq(IGraphics:getControlParentId("inner"), "holder", "under the named parent")
check.eq(IGraphics:getGuiParent(), nil, "the GUI parent is back")
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() return IGraphics:loadGui(work .. "/inner.kvogui", "nowhere") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() return IGraphics:saveGuiControl(work .. "/x.kvogui", "UTF8", false, "nowhere") end)
check.eq(IGraphics:loadGui(work .. "/missing.kvogui", ""), false, "a missing file is false")

-- Damaged layouts raise the reader's errors, and the GUI parent is back.
local damaged = io.open(work .. "/damaged.kvogui", "wb")
damaged:write("KVOGUI\r\nVersion{\r\n\t-Version 1030\r\n}\r\nGui{\r\nBogus{\r\n}\r\n}\r\n")
damaged:close()
check.raises("[CGuiManager::Read] Element type not availble for serialization:Bogus",
    function() return IGraphics:loadGui(work .. "/damaged.kvogui", "holder") end)
check.eq(IGraphics:getGuiParent(), nil, "the GUI parent is back after an error")
local cycle = io.open(work .. "/cycle.kvogui", "wb")
cycle:write("KVOGUI\r\nVersion{\r\n\t-Version 1030\r\n}\r\nGui{\r\nInclude{\r\n-File \"" .. work ..
    "/cycle.kvogui\"\r\n}\r\n}\r\n")
cycle:close()
check.raises("[CGuiManager::Load] Gui definition includes itself:",
    function() return IGraphics:loadGui(work .. "/cycle.kvogui", "") end)

-- The fader.
check.eq(IGraphics:clearFader(), true, "cleared")
check.eq(IGraphics:isFaderComplete(), true, "no fader is complete")
check.eq(IGraphics:getFaderInTime(), 0, "cleared in-time")
IGraphics:doFadeIn(IMisc:colorCreate(0, 0, 0, 1), 100000)
check.eq(IGraphics:isFaderComplete(), false, "fading in")
check.eq(IGraphics:getFaderInTime(), 100000, "the fade's time is kept")
IGraphics:doFadeOut(IMisc:colorCreate(0, 0, 1, 1), 0, true)
check.eq(IGraphics:isFaderComplete(), false, "a fade of no time changes nothing")
IGraphics:doFadeOut(IMisc:colorCreate(0, 0, 1, 1), 50000, true)
check.near(IGraphics:getFaderColor():getBlue(), 1, 1e-6, "fade-out colour")
check.eq(IGraphics:getFaderOutTime(), 50000, "fade-out time")
check.eq(IGraphics:clearFader(), true, "cleared again")
check.eq(IGraphics:isFaderComplete(), true, "complete after clearing")

-- Message boxes: one per name.
IGraphics:showMessageBox("Text", "Caption", "box1")
check.eq(IGraphics:controlType("box1"), 12, "a message box")
local children = #IGraphics:getControlChildIds("")
IGraphics:showMessageBoxYesNo("Again", "Caption", "box1")
check.eq(#IGraphics:getControlChildIds(""), children, "a name in use opens no second box")
IGraphics:showMessageBoxOk("Ok", "Caption", "box2")
IGraphics:showMessageBoxOkCancel("Ok or not", "Caption", "box3")
check.eq(IGraphics:controlExists("box2") and IGraphics:controlExists("box3"), true, "both opened")
-- Message boxes are never saved.
check.eq(IGraphics:saveGuiControl(work .. "/box.kvogui", "UTF8", false, "box1"), true, "saved nothing")
local saved = io.open(work .. "/box.kvogui", "rb"):read("*a")
check.eq(string.find(saved, "Caption", 1, true), nil, "no message box in the layout")

-- The open dialog puts the current folder back when it goes.
local before = IApp:getBasePath()
IGraphics:showOpenDialog("Open", "open", nil, work)
check.eq(IGraphics:controlType("open"), 6, "a file open dialog")
check.eq(IGraphics:getOpenDialogFilename("open"), "", "nothing chosen yet")
check.eq(IApp:getBasePath(), string.gsub(work, "\\", "/"), "the dialog lists its folder")
IGraphics:removeControl("open")
IGraphics:setControlFocus("holder")
check.eq(IApp:getBasePath(), before, "current folder restored")
-- Dialogs open at one time, closed in the order they opened: the folder
-- ends where it was before the first, not in the first one's folder.
IApp:pathCreate(work .. "/sub")
IGraphics:showOpenDialog("Open", "first", nil, work)
IGraphics:showOpenDialog("Open", "second", nil, work .. "/sub")
IGraphics:removeControl("first")
IGraphics:removeControl("second")
IGraphics:setControlFocus("holder")
check.eq(IApp:getBasePath(), before, "current folder restored after two dialogs")
IGraphics:showOpenDialog("Open", "open2", "0.1 0.1 0.5 0.5", "")
check.near(IGraphics:getControlWidth("open2"), 0.4, 1e-3, "in the rectangle")
check.raises("[CGuiManager::GetElementId] Gui element not found: nobody",
    function() return IGraphics:getOpenDialogFilename("nobody") end)
check.raises("Gui element is not a file open dialog", function() return IGraphics:getOpenDialogFilename("holder") end)
check.eq(IGraphics:openDialogFileSelected(5, 6, 10), false, "other dialog")
check.eq(IGraphics:openDialogFileSelected(5, 5, 10), true, "file selected")
check.eq(IGraphics:openDialogFileSelected(5, 5, 11), false, "not selected")
check.eq(IGraphics:openDialogCancelled(5, 5, 11), true, "cancelled")
check.eq(IGraphics:openDialogCancelled(5, 5, 10), false, "not cancelled")

-- Tooltips.
check.eq(IGraphics:tooltipExists("holder"), false, "no tooltip")
check.eq(IGraphics:createTooltip("holder", "Hold"), true, "tooltip set")
check.eq(IGraphics:tooltipExists("holder"), true, "tooltip there")
check.eq(IGraphics:removeTooltip("holder"), true, "tooltip removed")
check.eq(IGraphics:getTooltipLabel("holder"), "", "empty again")
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() return IGraphics:createTooltip("nowhere", "x") end)

-- Shortcuts.
check.eq(IGraphics:createShortcut("holder", 5, 0x41, true, nil, false), true, "shift+A")
check.eq(IGraphics:createShortcut("sound", 5, 0x41, true, nil, true), false, "unique and taken")
check.eq(IGraphics:shortcutExists("sound"), false, "nothing bound for sound")
check.eq(IGraphics:shortcutExistsAny(0x41, true, false), true, "the key is bound")
check.eq(IGraphics:shortcutExistsAny(0x41, false, false), false, "without shift it is not")
check.eq(IGraphics:getShortcutEventType("holder"), 5, "event type")
check.eq(IGraphics:getShortcutKeyCode("holder"), 0x41, "key code")
check.eq(IGraphics:getShortcutShiftOn("holder"), true, "shift")
check.eq(IGraphics:getShortcutControlOn("holder"), false, "control")
-- Not unique: the key moves to the other control.
check.eq(IGraphics:createShortcut("sound", 7, 0x41, true, false, false), true, "moved")
check.eq(IGraphics:shortcutExists("holder"), false, "moved away")
check.eq(IGraphics:getShortcutEventType("sound"), 7, "to the new control")
check.eq(IGraphics:createShortcut("sound", 7, 0x42, false, true, 0), true, "0 is true")
check.eq(IGraphics:removeShortcuts("sound"), true, "two removed")
check.eq(IGraphics:removeShortcuts("sound"), false, "none left")
check.eq(IGraphics:getShortcutKeyCode("sound"), 0, "no key")
check.raises("[IGraphics::createShortcut] Invalid key code", function()
    return IGraphics:createShortcut("sound", 5, 70000, false, false, false) end)
check.eq(IGraphics:createShortcut("sound", 5, 0 / 0, false, false, false), false,
    "NaN reads as key code 0, as a missing number, which binds nothing")
check.eq(IGraphics:createShortcut("sound", 5, 0x43, false, false, false), true, "bound")
-- Removing a control removes its shortcuts.
IGraphics:removeControl("sound")
check.eq(IGraphics:shortcutExistsAny(0x43, false, false), false, "gone with the control")
check.eq(IGraphics:createShortcut("holder", 5, 0x44, false, false, false), true, "bound again")
check.eq(IGraphics:removeAllShortcuts(), true, "all removed")
check.eq(IGraphics:shortcutExists("holder"), false, "none left at all")

IEvents:unsubscribe(handle)
check.done()
