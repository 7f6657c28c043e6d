--! stdout: CHECKS PASSED
-- Handlers that clear the GUI, reload a layout or close and reopen the
-- device while Irrlicht is adding or removing elements. The events Irrlicht
-- raises from inside an add reach the handlers once the call has returned;
-- a removal or focus change stops when its handler replaced the GUI.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local layout = os.getenv("HALVANE_TEST_LIB") .. "/../igraphics/fixtures/context_menu.kvogui"

local function init()
    check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
end
init()

-- The action runs once, on the first event after it is set.
local action
IEvents:subscribeGui(function()
    if action then
        local run = action
        action = nil
        run()
    end
    return false
end, nil, 0)
local function during(what, run, call)
    action = run
    call()
    check.eq(action, nil, what .. ": the handler ran")
end
local function focused()
    IGraphics:removeGui()
    IGraphics:createCheckbox("cb", "", "0 0 0.1 0.1", false)
    IGraphics:createCheckbox("cb2", "", "0.2 0 0.3 0.1", false)
    IGraphics:setControlFocus("cb")
end

-- A message box takes the focus while it builds its buttons.
focused()
during("message box", function() IGraphics:removeGui() end, function() IGraphics:showMessageBoxOk("text", "caption", "box") end)
check.eq(IGraphics:controlExists("box"), false, "the box went with the GUI")

-- A layout whose context menu takes the focus, reloaded from the handler.
focused()
during("layout", function()
    IGraphics:removeGui()
    check.truthy(IGraphics:loadGui(layout, ""), "reloaded")
end, function() IGraphics:loadGui(layout, "") end)
check.truthy(IGraphics:controlExists("popup"), "the reloaded menu")
check.truthy(IGraphics:controlExists("copy"), "its item")
IGraphics:removeGui()

-- The device closed while a file-open dialog builds.
IGraphics:showMessageBoxOk("text", "caption", "box")
during("file-open dialog", function() IGraphics:destroy() end, function() IGraphics:showOpenDialog("Open", "dialog", nil, "") end)
check.eq(IGraphics:isInitialised(), false, "closed")
init()

-- Removal handlers that close or reopen the device.
for _, reopen in ipairs({false, true}) do
    focused()
    IGraphics:createTabControl("tabs", "0.5 0.5 0.9 0.9", true, true)
    IGraphics:createTabPage("page", "tabs", "Page", true, "255 255 255 255")
    for _, name in ipairs({"cb", "page", "tabs"}) do
        if not IGraphics:isInitialised() then init() end
        if IGraphics:controlExists(name) then
            action = function() if reopen then init() else IGraphics:destroy() end end
            IGraphics:removeControl(name)
            check.eq(action, nil, "removal handler ran for " .. name)
        end
    end
    if not IGraphics:isInitialised() then init() end
end

-- A focus handler that closes the device: nothing is focused afterwards.
for _, target in ipairs({"cb2", ""}) do
    focused()
    action = function() IGraphics:destroy() end
    IGraphics:setControlFocus(target)
    check.eq(action, nil, "focus handler ran")
    check.eq(IGraphics:isInitialised(), false, "closed")
    init()
end
-- A name conflict answered by clearing the GUI or closing the device: the
-- element that was being added has nowhere to go.
for _, clear in ipairs({function() IGraphics:removeGui() end, function() IGraphics:destroy() end}) do
    focused()
    action = clear
    check.raises("[CGuiManager::RegisterElementName] The GUI was cleared while adding gui element:cb",
        function() IGraphics:createCheckbox("cb", "", "0 0 0.1 0.1", false) end)
    check.eq(IGraphics:controlExists("cb"), false, "nothing added")
    if not IGraphics:isInitialised() then init() end
end
check.done()
