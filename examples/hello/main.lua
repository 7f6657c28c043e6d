-- The bundled example. halvane runs this file as the first application
-- state: the file's chunk runs first, then the state function named after
-- the file ("main") with the arguments given after the script's path:
--
--     ./run.sh examples/hello/main.lua one "" three
--
-- The first state queues a second one, which runs the main loop for a
-- moment, and that one a third, which opens the graphics device: with a
-- display a small window of the software renderer shows a few frames of a
-- changing background colour, in the metallic skin, with a square sprite
-- gliding over it and a small GUI (a caption, a check box, a button);
-- without one the NULL driver (no window, no pixels)
-- draws the same frames unseen. A fourth state builds a small world of
-- falling boxes and an animated model under a light, watched by a camera
-- flown with the camera module. The program ends when the state queue is empty.

local interfaces = {
    "IApp", "IMisc", "ILog", "IState", "IEvents", "IGraphics",
    "ISkin", "IPhysics", "ISound", "IKey", "IMouse", "IWorld",
}

function main(...)
    print("Hello from Halvane")

    local published = 0
    for _, name in ipairs(interfaces) do
        if _G[name] ~= nil then
            published = published + 1
        end
    end
    print(published .. " script interfaces published")

    local count = select("#", ...)
    print(count .. " argument(s)")
    for index = 1, count do
        print("  " .. index .. ": " .. tostring((select(index, ...))))
    end

    -- A short loop: the first few Fibonacci numbers.
    local a, b = 0, 1
    local line = {}
    for _ = 1, 10 do
        line[#line + 1] = a
        a, b = b, a + b
    end
    print(table.concat(line, " "))

    IState:queueEx{state = loop, name = "loop", 250}
end

-- The second state: the main loop for the given number of milliseconds.
function loop(milliseconds)
    print(IApp:getAppName() .. " v" .. IApp:getAppMajorVersion() .. "." .. IApp:getAppMinorVersion()
        .. ", state '" .. IState:getName() .. "'")
    IApp:enableFrameCounter(true, true)
    IApp:run(milliseconds)
    print(string.format("The loop ran %d ms: %d frames", IApp:getTotalFrameTime(), IApp:getTotalFrames()))

    IState:queueEx{state = window, name = "window", 1000}
end

-- Opens the software renderer's window; the X server may refuse a
-- connection that follows another closely, so a few attempts.
local function openWindow(width, height)
    local display = os.getenv("DISPLAY")
    if display == nil or display == "" then
        return false
    end
    for _ = 1, 3 do
        if IGraphics:init("SOFTWARE", width, height, false, 32, false, false, false, 60, true) then
            return true
        end
    end
    return false
end

-- The third state: the graphics device for the given number of
-- milliseconds.
function window(milliseconds)
    if openWindow(320, 240) then
        print(string.format("Desktop: %d x %d", IGraphics:getDesktopWidth(), IGraphics:getDesktopHeight()))
    else
        IGraphics:init("NULL", 320, 240, false, 32, false, false, false, 60, false)
    end
    print(string.format("Graphics: %s, %d x %d, %d bits", IGraphics:getCurrentDriverName(),
        IGraphics:getCurrentVideoModeWidth(), IGraphics:getCurrentVideoModeHeight(),
        IGraphics:getCurrentVideoModeDepth()))

    -- Frames are drawn whether or not the window has the focus (the NULL
    -- device has no window to have it).
    IGraphics:setBackgroundRenderingEnabled(true)

    -- A built-in skin, and a sprite cut from a texture made here: 16 x 16
    -- pixels of white with a dark frame (the NULL device keeps no pixels).
    ISkin:activate("METALLIC", false)
    IGraphics:createTexture("hello-square", "16 16", 3)
    local lock = IGraphics:textureLock("hello-square")
    for y = 0, 15 do
        for x = 0, 15 do
            local edge = x == 0 or y == 0 or x == 15 or y == 15
            IGraphics:textureSetPixel(lock, x, y, edge and "0.1 0.1 0.1 1" or "1 1 1 1")
        end
    end
    IGraphics:textureUnlock(lock)
    IGraphics:addSpriteBankEntry("hello-square", {}, 0, "square")
    local sprite = IGraphics:addSpriteToScreen("square", "0.45 0.45 0.55 0.55", 0, true, false, 0, nil, false, "")
    print(string.format("Skin: %s, %d sprite(s) in the bank", ISkin:getSkinName(), IGraphics:getSpriteBankCount()))

    -- A small GUI: a caption, a check box and a button. Controls are named
    -- and placed in fractions of the window; GUI events reach the script
    -- with the control's name and the event type (7: check box changed).
    IGraphics:createText("caption", "Hello from Halvane", "0.05 0.05 0.6 0.15", false, false, false,
        IMisc:colorCreate(1, 1, 1, 1), "")
    IGraphics:createCheckbox("sound", "Sound", "0.05 0.8 0.3 0.9", false)
    IGraphics:createButton("quit", "Quit", "0.7 0.8 0.95 0.92", "", false, "", "", false)
    local gui = IEvents:subscribeGui(function(name, type)
        if IGraphics:checkboxClicked("sound", name, type) then
            print(string.format("GUI: '%s' is now %s", name, IGraphics:getCheckbox(name) and "on" or "off"))
        end
        return false
    end, nil, 0)
    IGraphics:setCheckbox("sound", true)
    print(string.format("GUI: %d controls, the caption reads '%s'", #IGraphics:getControlChildIds(""),
        IGraphics:getControlText("caption")))

    -- Each frame's tick moves the background through the colours and the
    -- sprite across the window.
    local start = IApp:getTime()
    local ticks = IEvents:subscribeTickGraphics(function(time)
        local phase = ((time - start) % 1000) / 1000
        IGraphics:setBackColor(IMisc:colorCreate(phase, 0.3, 1 - phase, 1))
        IGraphics:setSpriteScreenPosition(sprite, IMisc:rectCreate(0.1 + 0.7 * phase, 0.45, 0.2 + 0.7 * phase, 0.55))
    end, nil, 0)

    IGraphics:enableFrameCounter(true, true)
    IApp:run(milliseconds)
    IEvents:unsubscribe(ticks)
    IEvents:unsubscribe(gui)
    print(string.format("%d frames at %d frames a second, %.2f ms each", IGraphics:getTotalFrames(),
        IGraphics:getDesiredFrameRate(), IGraphics:getAveProcessingTime()))
    IGraphics:destroy()

    IState:queueEx{state = world, name = "world", 3000}
end

-- A new file in the temporary folder ($TMPDIR when set) for a model.
local function modelPath(name)
    local folder = os.getenv("TMPDIR") or "/tmp"
    return string.format("%s/halvane-example-%d-%s", folder, math.random(1, 1e9), name)
end

-- A box mesh from (x1, y1, z1) to (x2, y2, z2), written as a Wavefront
-- file. Each face has corners of its own, so it shows flat.
local function writeBox(name, x1, y1, z1, x2, y2, z2)
    local path = modelPath(name)
    local file = assert(io.open(path, "w"))
    local function corner(i)
        return string.format("v %g %g %g\n", i % 2 == 1 and x2 or x1, math.floor(i / 2) % 2 == 1 and y2 or y1,
            i >= 4 and z2 or z1)
    end
    local faces = { {0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5} }
    for n, f in ipairs(faces) do
        for _, i in ipairs(f) do
            file:write(corner(i))
        end
        local a = 4 * (n - 1)
        file:write(string.format("f %d %d %d\nf %d %d %d\n", a + 1, a + 2, a + 3, a + 1, a + 3, a + 4))
    end
    file:close()
    return path
end

-- A flat square ground at height 0, half wide on each side, of cells by
-- cells squares (lights shade a model at its corners: a point light wants
-- a finer grid than a directional one).
local function writeGround(name, half, cells)
    local path = modelPath(name)
    local file = assert(io.open(path, "w"))
    for i = 0, cells do
        for j = 0, cells do
            file:write(string.format("v %g 0 %g\n", -half + 2 * half * i / cells, -half + 2 * half * j / cells))
        end
    end
    local function at(i, j) return i * (cells + 1) + j + 1 end
    for i = 0, cells - 1 do
        for j = 0, cells - 1 do
            local a, b, c, d = at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)
            file:write(string.format("f %d %d %d\nf %d %d %d\n", a, b, c, a, c, d))
        end
    end
    file:close()
    return path
end

-- Opens a window of the software renderer, or says plainly that there is
-- none and opens the NULL driver, which draws nothing.
local function openWorldWindow(width, height)
    if openWindow(width, height) then
        return true
    end
    print("No display: the world runs on the NULL driver (no window, nothing drawn)")
    IGraphics:init("NULL", width, height, false, 32, false, false, false, 60, false)
    return false
end

local V = function(x, y, z) return IMisc:vectorCreate(x, y, z) end

-- A unit of the world: a model, a mass (the physics' maximum, 1000 here,
-- or more: it does not move), a position and a colour. Entities are unlit
-- until lighting is turned on for them; the colour is what their surface
-- reflects of the lights (material -1: every material of the model).
local function unit(model, mass, x, y, z, colour)
    local id = IWorld:createUnit()
    IWorld:setEntityModelName(id, model)
    IWorld:addUnit(id, "", "")
    IWorld:manipulateEntity(id, "move", x, y, z, true)
    IGraphics:setEntityLightingEnabled(id, true)
    IGraphics:setEntityDiffuseColor(id, -1, colour)
    IGraphics:setEntityAmbientColor(id, -1, colour)
    IPhysics:setEntityMass(id, mass)
    IPhysics:refreshEntity(id)
    return id
end

-- The camera module flies the camera with six key actions; the mouse
-- turns it while the right mouse button is held (the cursor is centred
-- when the button goes down, so the view stays put until the user moves
-- the mouse).
local function flyCamera(camera)
    require "lenscart"
    for action, key in pairs{cameraMoveForward = 0x57, cameraMoveBackward = 0x53, cameraMoveLeft = 0x41,
                             cameraMoveRight = 0x44, cameraMoveUp = 0x52, cameraMoveDown = 0x46} do
        IKey:addActionKeyCode(action, "", key, false, false)
    end
    lenscart.setCameraRotateSpeed(0)
    lenscart.start(camera)
    -- The IMouse tests answer for the event type a mouse callback receives.
    return IEvents:subscribeMouseButton(function(eventType)
        if IMouse:rightButtonDown(eventType) then
            IMouse:setPosition(0.5, 0.5)
            lenscart.setCameraRotateSpeed(100)
        elseif IMouse:rightButtonClicked(eventType) then
            lenscart.setCameraRotateSpeed(0)
        end
    end, nil, 0)
end

-- The fourth state: a small world. Boxes fall under physics onto a
-- ground and collide; a light shines on them; a camera flown with the
-- camera module watches them. Without a display it runs on the NULL
-- driver and prints what happened.
function world(milliseconds)
    local windowed = openWorldWindow(640, 480)
    IGraphics:setBackgroundRenderingEnabled(true)
    IGraphics:setBackColor(IMisc:colorCreate(0.35, 0.45, 0.6, 1))
    IGraphics:setAmbientColor(IMisc:colorCreate(0.25, 0.25, 0.3, 1))
    IPhysics:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false)

    local ground = writeGround("ground.obj", 20, 4)
    local box = writeBox("box.obj", -0.5, -0.5, -0.5, 0.5, 0.5, 0.5)
    unit(ground, 1000, 0, 0, 0, IMisc:colorCreate(0.35, 0.5, 0.3, 1))
    local boxes = {}
    for index = 1, 3 do
        boxes[index] = unit(box, 1, (index - 2) * 3, 2 + index * 1.5, 0, IMisc:colorCreate(0.9, 0.55, 0.25, 1))
    end

    -- An animated model beside the boxes: a pyramid whose top bobs, a
    -- skinned X file that ships with the example, lit as the boxes are.
    local here = debug.getinfo(1, "S").source:match("^@(.*/)") or "./"
    local bobber = IWorld:createAgent()
    IWorld:setEntityModelName(bobber, here .. "bobber.x")
    IWorld:addAgent(bobber, "", "")
    IWorld:setEntityPosition(bobber, V(0, 0, 3))
    IGraphics:setEntityLightingEnabled(bobber, true)
    IGraphics:setEntityAnimationEx(bobber, 0, 40, true, 20)

    -- A directional light from up, left and in front (its rotation turns
    -- it): the boxes' left, front and top faces are the bright ones.
    local light = IWorld:createLight()
    IWorld:addLight(light, "", "")
    IWorld:setEntityPosition(light, V(-6, 10, -10))
    IWorld:setLightType(light, "directional")
    IWorld:setEntityRotation(light, V(50, 35, 0))

    local camera = IWorld:createCamera()
    IWorld:addCamera(camera, "", "")
    IWorld:setEntityPosition(camera, V(6, 3.5, -7))
    IWorld:setCameraLookAt(camera, V(0, 0.5, 0))
    IWorld:setActiveCameraId(camera)

    local look = flyCamera(camera)
    local keys = "Fly: W A S D, R up, F down. Look: hold the right mouse button. Quit: close the window."
    IGraphics:createText("keys", keys, "0.02 0.02 0.98 0.08", false, false, false, IMisc:colorCreate(1, 1, 1, 1),
        "")
    print(keys)

    local collisions = 0
    local enter = IEvents:subscribeCollisionEnter(function() collisions = collisions + 1 end, nil, 0)
    for _, id in ipairs(boxes) do
        IPhysics:monitorEntityCollisions(id, 2)
    end
    IApp:run(windowed and milliseconds * 10 or milliseconds)
    IEvents:unsubscribe(enter)
    IEvents:unsubscribe(look)
    lenscart.stop()

    print(string.format("World: %d units, %d collision(s)", IWorld:getNumberOfUnits(), collisions))
    print(string.format("Model: bobber.x, %d frames, joint %s", IGraphics:getEntityAnimationFrameCount(bobber),
        tostring(IGraphics:getEntityJointName(bobber, 1))))
    for index, id in ipairs(boxes) do
        local p = IWorld:getEntityPosition(id)
        print(string.format("  box %d rests at height %.1f", index, p:getY()))
    end
    IWorld:unload()
    IPhysics:destroy()
    IGraphics:destroy()
    os.remove(ground)
    os.remove(box)
end
