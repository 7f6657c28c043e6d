--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Hostile input to the device and frame functions of IGraphics: every
-- function with values of every type, NaN, infinities and huge numbers in
-- each argument, before init, with a device and after destroy; calls from
-- coroutines; frame subscribers that fail, yield or change the device in
-- the middle of a frame. Each call either answers or fails with a message
-- of the "[Class::Method] ..." form; the device stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local work = os.getenv("HALVANE_TEST_WORK")
local hostile = {
    n = 18,
    nil, true, false, "", "text", {}, {__object = 1}, print, coroutine.create(function() end), IApp,
    0 / 0, 1 / 0, -1 / 0, 1e300, -1e300, 2 ^ 53, -1, 0.5,
}

-- Functions and how many arguments they read. init, initEx, initEx2 and
-- destroy change the device and have their own cases below.
local functions = {
    isInitialised = 0, lock = 1, getCurrentDriverName = 0, getCurrentVideoModeDepth = 0,
    getCurrentVideoModeWidth = 0, getCurrentVideoModeHeight = 0, getCurrentWindowHandle = 0,
    isWindowActive = 0, getDesktopWidth = 0, getDesktopHeight = 0, setDesiredFrameRate = 1,
    getDesiredFrameRate = 0, getTotalFrames = 0, getTotalProcessingTime = 0, getAveProcessingTime = 0,
    enableFrameCounter = 2, isFrameCounterEnabled = 0, setBackgroundRenderingEnabled = 1,
    getBackgroundRenderingEnabled = 0, getNumberOfVideoModes = 0, getVideoModeDepth = 1,
    getVideoModeWidth = 1, getVideoModeHeight = 1, forEachVideoMode = 2, queryFeature = 1, draw = 3,
    enableBackBuffer = 1, isBackBufferEnabled = 0, enableZBuffer = 1, isZBufferEnabled = 0, screenShot = 2,
    clearCache = 0, getNumberOfLoadedTextures = 0, getNumberOfLoadedMeshes = 0, getAmbientColor = 0,
    setAmbientColor = 1, getBackColor = 0, setBackColor = 1, getTextureSpeedOptimized = 0,
    setTextureSpeedOptimized = 1, getTextureQualityOptimized = 0, setTextureQualityOptimized = 1,
    getTextureMipMapping = 0, setTextureMipMapping = 1, getTextDimensions = 2, getWorldMin = 0, getWorldMax = 0,
}

-- The messages a hostile value may earn.
local allowed = {
    "%[CGraphicsEngine::%w+%] Graphics Engine not initialised",
    "%[CColorScript%] A userdata was given where a CColorScript value is expected",
    "Lua assertion failed:m_functionObj.IsFunction%(%)",
}

local function sweep(when)
    local calls = 0
    for name, count in pairs(functions) do
        for position = 1, math.max(count, 1) do
            for index = 1, hostile.n do
                local args = {}
                args[position] = hostile[index]
                local ok, message = pcall(IGraphics[name], IGraphics, unpack(args, 1, math.max(count, 1)))
                calls = calls + 1
                if not ok then
                    local known = false
                    for _, pattern in ipairs(allowed) do
                        known = known or string.find(tostring(message), pattern) ~= nil
                    end
                    check.truthy(known, when .. ": " .. name .. " with " .. tostring(hostile[index]) .. " at "
                        .. position .. " failed with: " .. tostring(message))
                end
            end
        end
    end
    -- The sweep may have locked the engine or turned its frames off.
    IGraphics:lock(false)
    IGraphics:setDesiredFrameRate(100)
    IGraphics:setBackgroundRenderingEnabled(true)
    return calls
end

local function init(...)
    return IGraphics:init("NULL", 64, 48, false, 16, false, false, false, 100, false)
end

check.truthy(sweep("before init") > 400, "every function swept")
check.eq(init(), true, "init")
sweep("with a device")
check.eq(IGraphics:isInitialised(), true, "the device survives the sweep")
check.eq(IGraphics:draw(false, false, true), true, "and draws")
IGraphics:destroy()
sweep("after destroy")

-- The init functions: hostile driver names are refused as names; hostile
-- numbers and flags open the NULL device with what they convert to.
for index = 1, hostile.n do
    local value = hostile[index]
    check.raises("[CGraphicsEngine::Init] Invalid video driver specified:", IGraphics.init, IGraphics, value)
    check.raises("[CGraphicsEngine::Init] Invalid video driver specified:", IGraphics.initEx2, IGraphics,
        {driverName = type(value) == "string" and value or nil})
    for position = 2, 11 do
        local args = {"NULL", 64, 48, false, 16, false, false, false, 100, 0, false}
        args[position] = value
        local ok, result = pcall(IGraphics.initEx, IGraphics, unpack(args, 1, 11))
        check.truthy(ok and result, "initEx with " .. tostring(value) .. " at " .. position .. ": " .. tostring(result))
        check.eq(IGraphics:isInitialised(), true, "open")
    end
    for _, key in ipairs({"screenWidth", "screenHeight", "bits", "frameRate", "windowId", "windowStyle", "windowLeft",
                          "windowTop", "fullScreen", "useShadows", "useAntiAliasing", "useVSync", "silentErrors"}) do
        local options = {driverName = "NULL", screenWidth = 64, screenHeight = 48}
        options[key] = value
        check.eq(IGraphics:initEx2(options), true, "initEx2 with " .. key .. " = " .. tostring(value))
    end
end
-- Sizes from huge, negative and NaN numbers: the NULL device takes them as
-- they convert (the low 32 bits, 0 for NaN) and still draws.
for _, size in ipairs({1e10, -1, 0 / 0, 0, 1 / 0}) do
    check.eq(IGraphics:init("NULL", size, size, false, size, false, false, false, size, false), true,
        "NULL device of size " .. tostring(size))
    IGraphics:setBackgroundRenderingEnabled(true)
    check.eq(IGraphics:draw(false, false, true), true, "draws at size " .. tostring(size))
    IGraphics:getTextDimensions("", "Hello")
end
IGraphics:destroy()
IGraphics:destroy()

-- From a coroutine, across yields: the same device.
local co = coroutine.create(function()
    check.eq(init(), true, "init in a coroutine")
    IGraphics:setBackgroundRenderingEnabled(true)
    coroutine.yield()
    check.eq(IGraphics:draw(false, false, false), true, "draw in a coroutine")
    IGraphics:forEachVideoMode(function() end, nil)
    coroutine.yield()
    IGraphics:destroy()
end)
check.truthy(coroutine.resume(co), "first resume")
check.eq(IGraphics:isInitialised(), true, "opened from the coroutine")
check.truthy(coroutine.resume(co), "second resume")
check.truthy(coroutine.resume(co), "third resume")
check.eq(coroutine.status(co), "dead", "the coroutine ran through")
check.eq(IGraphics:isInitialised(), false, "closed from the coroutine")

-- Frame subscribers that fail: the error reaches whoever asked for the
-- frame; the scene was ended, so the next frame draws.
check.eq(init(), true, "init")
IGraphics:setBackgroundRenderingEnabled(true)
local function during(channel, action)
    local handle = IEvents["subscribe" .. channel](IEvents, action, nil, 0)
    local ok, message = pcall(IGraphics.draw, IGraphics, false, false, true)
    IEvents:unsubscribe(handle)
    return ok, message
end
for _, channel in ipairs({"DrawPreGui", "DrawPostGui"}) do
    local ok, message = during(channel, function() error("broken " .. channel) end)
    check.truthy(not ok and string.find(message, "broken " .. channel, 1, true), channel .. ": " .. tostring(message))
    check.eq(IGraphics:draw(false, false, true), true, "draws after the error in " .. channel)
    ok, message = during(channel, function() error({}) end)
    check.truthy(not ok, channel .. " with an error object")
    ok, message = during(channel, function() coroutine.yield() end)
    check.truthy(not ok and string.find(message, "yield", 1, true), channel .. " yielding: " .. tostring(message))
    check.eq(IGraphics:draw(false, false, true), true, "draws after the yield in " .. channel)
end
-- A failing graphics tick ends the loop with its message.
local handle = IEvents:subscribeTickGraphics(function() error("tick broke") end, nil, 0)
check.raises("tick broke", IApp.run, IApp, 200)
IEvents:unsubscribe(handle)
check.eq(IGraphics:draw(false, false, true), true, "draws after the failed loop")

-- Subscribers that change the device in the middle of a frame: the frame
-- ends on the device it began on.
local depth = 0
check.eq(select(2, during("DrawPreGui", function()
    depth = depth + 1
    if depth < 4 then IGraphics:draw(false, false, true) end
end)), true, "frames drawn inside a frame")
check.eq(depth, 4, "nested frames")
check.eq(select(2, during("DrawPreGui", function() IGraphics:clearCache() end)), true, "clearCache in a frame")
check.eq(select(2, during("DrawPreGui", function()
    IGraphics:init("NULL", 32, 32, false, 16, false, false, false, 100, false)
end)), true, "a new device in a frame")
check.eq(IGraphics:getCurrentVideoModeWidth(), 32, "the new device")
IGraphics:setBackgroundRenderingEnabled(true)
check.eq(select(2, during("DrawPostGui", function() IGraphics:destroy() end)), true, "destroy in a frame")
check.eq(IGraphics:isInitialised(), false, "destroyed in the frame")
check.eq(IGraphics:draw(false, false, true), false, "nothing to draw")
-- The loop goes on without the device a tick subscriber closed.
check.eq(init(), true, "init")
IGraphics:setBackgroundRenderingEnabled(true)
local ticks = 0
handle = IEvents:subscribeTickGraphics(function()
    ticks = ticks + 1
    IGraphics:destroy()
end, nil, 0)
IApp:run(60)
IEvents:unsubscribe(handle)
check.eq(ticks, 1, "no frame after the tick that closed the device")
check.eq(IGraphics:isInitialised(), false, "closed by the tick")

-- Screen shots with file names that lead nowhere (the NULL driver takes
-- none anyway).
check.eq(init(), true, "init")
for _, name in ipairs({"", work, work .. "/missing/folder/shot.png", string.rep("x", 5000) .. ".png",
                       "shot\0.png", work .. "/shot.unknown"}) do
    check.eq(IGraphics:screenShot(name, 0), false, "screen shot to " .. string.sub(name, 1, 40))
end
-- Text and font keys that are no font: a folder, a file that is no font,
-- very long text.
check.eq(IGraphics:getTextDimensions(work, "x"):getX() >= 0, true, "a folder as font key")
check.eq(IGraphics:getTextDimensions(arg and arg[0] or "device_hostile_inputs.lua", "x"):getX() >= 0, true,
    "a script as font key")
check.truthy(IGraphics:getTextDimensions("", string.rep("W", 100000)):getX() > 1, "long text")
IGraphics:destroy()
check.done()
