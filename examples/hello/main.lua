-- The bundled example. halvane runs this file as the first application
-- state: the file's chunk runs first, then the state function named after
-- the file ("main") with the arguments given after the script's path:
--
--     ./run.sh examples/hello/main.lua one "" three

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
end
