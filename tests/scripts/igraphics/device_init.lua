--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Opening and closing the device without a display: the NULL driver opens
-- with the asked size and depth; OpenGL and the software renderer fail at
-- once, as false or as the documented error; a driver name that is none is
-- refused even when errors are silenced, and closes the device first.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local function init(driver, width, height, bits, frameRate, silent)
    return IGraphics:init(driver, width, height, false, bits, false, false, false, frameRate, silent)
end

-- Before the first init.
check.eq(IGraphics:isInitialised(), false, "not initialised")
check.eq(IGraphics:getCurrentDriverName(), nil, "no driver name before any init")
check.eq(IGraphics:getCurrentWindowHandle(), 0, "no window")
check.eq(IGraphics:isWindowActive(), false, "no active window")
for _, name in ipairs({"GetNumberOfVideoModes", "GetVideoModeDepth", "GetVideoModeWidth", "GetVideoModeHeight",
                       "QueryFeature"}) do
    local script = string.lower(string.sub(name, 1, 1)) .. string.sub(name, 2)
    check.raises("[CGraphicsEngine::" .. name .. "] Graphics Engine not initialised", IGraphics[script], IGraphics, 0)
end
check.raises("[CGraphicsEngine::GetNumberOfVideoModes] Graphics Engine not initialised",
    IGraphics.forEachVideoMode, IGraphics, function() error("never called") end)

-- The NULL driver.
check.eq(init("NULL", 320, 200, 32, 60, false), true, "init NULL")
check.eq(IGraphics:isInitialised(), true, "initialised")
check.eq(IGraphics:getCurrentDriverName(), "NULL", "driver name")
check.eq(IGraphics:getCurrentVideoModeWidth(), 320, "width")
check.eq(IGraphics:getCurrentVideoModeHeight(), 200, "height")
check.eq(IGraphics:getCurrentVideoModeDepth(), 32, "depth")
check.eq(IGraphics:getDesiredFrameRate(), 60, "frame rate")
check.eq(IGraphics:getCurrentWindowHandle(), 0, "the NULL device has no window")
check.eq(IGraphics:getDesktopWidth(), 0, "no desktop without a display")
check.eq(IGraphics:getDesktopHeight(), 0, "no desktop without a display")
-- No video modes without a display; the driver has none of the features.
check.eq(IGraphics:getNumberOfVideoModes(), 0, "video modes")
local calls = 0
IGraphics:forEachVideoMode(function() calls = calls + 1 end, nil)
check.eq(calls, 0, "no mode visited")
check.raises("Lua assertion failed:m_functionObj.IsFunction()", IGraphics.forEachVideoMode, IGraphics, 5)
for feature = 0, 40 do
    check.eq(IGraphics:queryFeature(feature), false, "NULL driver feature " .. feature)
end

-- A second init replaces the device; initEx2 reads every option by name.
check.eq(IGraphics:initEx2({driverName = "NULL", screenWidth = 100, screenHeight = 50, bits = 24, frameRate = 25,
                            silentErrors = false, windowTop = 3, windowLeft = 4, windowStyle = 5}), true, "initEx2")
check.eq(IGraphics:getCurrentVideoModeWidth(), 100, "initEx2 width")
check.eq(IGraphics:getCurrentVideoModeHeight(), 50, "initEx2 height")
check.eq(IGraphics:getCurrentVideoModeDepth(), 24, "initEx2 depth")
check.eq(IGraphics:getDesiredFrameRate(), 25, "initEx2 frame rate")
check.eq(IGraphics:getBackgroundRenderingEnabled(), false, "no window id, no background rendering")

-- Names that are no driver: refused whatever silentErrors says, and the
-- device that was open is closed.
for _, name in ipairs({"null", "Software", "OpenGL", "D3D", "NULL ", "", "DX10"}) do
    for _, silent in ipairs({false, true}) do
        check.eq(init("NULL", 64, 64, 16, 30, false), true, "reopen")
        check.raises("[CGraphicsEngine::Init] Invalid video driver specified:" .. name .. "\n",
            function() local ok, message = pcall(init, name, 64, 64, 16, 30, silent) error(message .. "\n", 0) end)
        check.eq(IGraphics:isInitialised(), false, "closed by the refused name '" .. name .. "'")
        check.eq(IGraphics:getCurrentDriverName(), "NULL", "the last opened driver is still named")
    end
end
-- An empty option table is an empty driver name, also with silentErrors.
check.raises("[CGraphicsEngine::Init] Invalid video driver specified:", IGraphics.initEx2, IGraphics, {})
check.raises("[CGraphicsEngine::Init] Invalid video driver specified:", IGraphics.initEx2, IGraphics,
    {silentErrors = true})
check.raises("[CGraphicsEngine::Init] Invalid video driver specified:", IGraphics.initEx2, IGraphics, "NULL")

-- Drivers that need a display fail at once: false when silenced, else the
-- documented error. The Direct3D names open OpenGL here.
for _, name in ipairs({"SOFTWARE", "OPENGL", "DX", "DX8", "DX9"}) do
    check.eq(init("NULL", 64, 64, 16, 30, false), true, "reopen")
    check.eq(init(name, 64, 64, 16, 30, true), false, name .. " silenced")
    check.eq(IGraphics:isInitialised(), false, name .. " left no device")
    check.raises("[CGraphicsEngine::Init] Failed to create the graphics device.", init, name, 64, 64, 16, 30, false)
    check.eq(IGraphics:getCurrentDriverName(), "NULL", name .. " is not the current driver")
    check.eq(IGraphics:getDesiredFrameRate(), 30, name .. " keeps the asked frame rate")
end

-- Destroy closes the device and may be repeated; init opens it again.
check.eq(init("NULL", 64, 48, 16, 30, false), true, "init")
IGraphics:destroy()
check.eq(IGraphics:isInitialised(), false, "destroyed")
check.eq(IGraphics:getDesiredFrameRate(), 0, "destroy stops the stepping")
check.eq(IGraphics:getCurrentDriverName(), "NULL", "the driver of the last init")
IGraphics:destroy()
check.raises("Graphics Engine not initialised", IGraphics.getNumberOfVideoModes, IGraphics)
check.eq(init("NULL", 64, 48, 16, 30, false), true, "init after destroy")
check.eq(IGraphics:isInitialised(), true, "initialised again")

-- Called with a dot, the first argument is taken for the interface object:
-- every argument moves one place to the left.
check.eq(IGraphics.init("OPENGL", "NULL", 48, 32, false, 8, false, false, false, 20, false), true, "dot call")
check.eq(IGraphics:getCurrentDriverName(), "NULL", "the second argument is the driver")
check.eq(IGraphics:getCurrentVideoModeWidth(), 48, "dot-call width")
check.eq(IGraphics:getCurrentVideoModeDepth(), 8, "dot-call depth")
check.raises("[CGraphicsEngine::Init] Invalid video driver specified:64", IGraphics.init, "NULL", 64, 64)
check.done()
