-- The bundled example. halvane runs this file as the first application
-- state: the file's chunk runs first, then the state function named after
-- the file ("main") with the arguments given after the script's path:
--
--     ./run.sh examples/hello/main.lua one "" three
--
-- The first state queues a second one, which runs the main loop for a
-- moment; the program ends when the state queue is empty.

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
end
