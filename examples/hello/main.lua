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
-- falling boxes watched by a camera flown with the camera module. The
-- program ends when the state queue is empty.

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

-- A box mesh from (x1, y1, z1) to (x2, y2, z2), written as a Wavefront
-- file into the temporary folder ($TMPDIR when set).
local function writeBox(name, x1, y1, z1, x2, y2, z2)
    local folder = os.getenv("TMPDIR") or "/tmp"
    local path = string.format("%s/halvane-example-%d-%s", folder, math.random(1, 1e9), name)
    local file = assert(io.open(path, "w"))
    for i = 0, 7 do
        file:write(string.format("v %g %g %g\n", i % 2 == 1 and x2 or x1, math.floor(i / 2) % 2 == 1 and y2 or y1,
            i >= 4 and z2 or z1))
    end
    for _, f in ipairs({ {1, 3, 4, 2}, {5, 6, 8, 7}, {1, 2, 6, 5}, {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6} }) do
        file:write(string.format("f %d %d %d\nf %d %d %d\n", f[1], f[2], f[3], f[1], f[3], f[4]))
    end
    file:close()
    return path
end

-- The fourth state: a small world. Boxes fall under physics onto a
-- ground and collide; a light shines on them; a camera flown with the
-- camera module (keys W A S D, R and F for up and down, the mouse to look)
-- watches them. Without a display it runs on the NULL driver and prints
-- what happened.
function world(milliseconds)
    local windowed = openWindow(640, 480)
    if not windowed then
        IGraphics:init("NULL", 640, 480, false, 32, false, false, false, 60, false)
    end
    IGraphics:setBackgroundRenderingEnabled(true)
    IPhysics:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false)
    local V = function(x, y, z) return IMisc:vectorCreate(x, y, z) end

    local ground = writeBox("ground.obj", -20, -1, -20, 20, 0, 20)
    local box = writeBox("box.obj", -0.5, -0.5, -0.5, 0.5, 0.5, 0.5)
    local function unit(mesh, mass, x, y, z)
        local id = IWorld:createUnit()
        IWorld:setEntityModelName(id, mesh)
        IWorld:addUnit(id, "", "")
        IWorld:manipulateEntity(id, "move", x, y, z, true)
        IPhysics:setEntityMass(id, mass)
        IPhysics:refreshEntity(id)
        return id
    end
    unit(ground, 1000, 0, 0, 0)
    local boxes = {}
    for index = 1, 3 do
        boxes[index] = unit(box, 1, (index - 2) * 0.6, 2 + index * 1.5, 0)
    end

    -- An animated model beside the boxes: a pyramid whose top bobs, a
    -- skinned X file that ships with the example.
    local here = debug.getinfo(1, "S").source:match("^@(.*/)") or "./"
    local bobber = IWorld:createAgent()
    IWorld:setEntityModelName(bobber, here .. "bobber.x")
    IWorld:addAgent(bobber, "", "")
    IWorld:setEntityPosition(bobber, V(2.5, 0, 0))
    IGraphics:setEntityAnimationEx(bobber, 0, 40, true, 20)

    local light = IWorld:createLight()
    IWorld:addLight(light, "", "")
    IWorld:setEntityPosition(light, V(0, 10, -5))

    local camera = IWorld:createCamera()
    IWorld:addCamera(camera, "", "")
    IWorld:setEntityPosition(camera, V(0, 3, -10))
    IWorld:setActiveCameraId(camera)

    -- The camera module: six key actions and the mouse.
    require "lenscart"
    for action, key in pairs{cameraMoveForward = 0x57, cameraMoveBackward = 0x53, cameraMoveLeft = 0x41,
                             cameraMoveRight = 0x44, cameraMoveUp = 0x52, cameraMoveDown = 0x46} do
        IKey:addActionKeyCode(action, "", key, false, false)
    end
    lenscart.start(camera)
    print("Fly with W A S D, R and F; look with the mouse; close the window to quit")

    local collisions = 0
    local enter = IEvents:subscribeCollisionEnter(function() collisions = collisions + 1 end, nil, 0)
    for _, id in ipairs(boxes) do
        IPhysics:monitorEntityCollisions(id, 2)
    end
    IApp:run(windowed and milliseconds * 10 or milliseconds)
    IEvents:unsubscribe(enter)
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
