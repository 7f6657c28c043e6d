--! stdout: CHECKS PASSED
-- The IMisc creators (pointCreate, vectorCreate, rectCreate, colorCreate)
-- read every component as a number parameter of an engine function: a
-- number or a numeric string as it converts, anything else 0, whatever is
-- given as self. What they make is an object of their class, from the main
-- thread and from a coroutine.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local creators = {
    {name = "pointCreate", class = "CPointScript", count = 2, getters = {"getX", "getY"}},
    {name = "vectorCreate", class = "CVectorScript", count = 3, getters = {"getX", "getY", "getZ"}},
    {name = "rectCreate", class = "CRectScript", count = 4, getters = {"getX1", "getY1", "getX2", "getY2"}},
    {name = "colorCreate", class = "CColorScript", count = 4, getters = {"getRed", "getGreen", "getBlue", "getAlpha"}},
}
local file = io.tmpfile()
local thread = coroutine.create(function() end)
local weak = setmetatable({IMisc:vectorCreate(1, 2, 3)}, {__mode = "v"})

-- value, what a component given it reads as (nil: NaN)
local cases = {
    {nil, 0}, {0 / 0, nil}, {1 / 0, math.huge}, {-1 / 0, -math.huge}, {1e308, math.huge},
    {-1e308, -math.huge}, {2 ^ 24 + 1, 2 ^ 24}, {0.5, 0.5}, {"2.5", 2.5}, {" 0x10 ", 16}, {"", 0},
    {"1 2 3", 0}, {"nan", nil}, {"-inf", -math.huge}, {string.rep("9", 400), math.huge}, {true, 0}, {false, 0}, {{}, 0},
    {{__object = IMisc:vectorCreate(1, 2, 3)}, 0}, {print, 0}, {thread, 0}, {newproxy(true), 0},
    {file, 0}, {IMisc:pointCreate(1, 2), 0}, {weak, 0},
}

local function same(actual, expected)
    if expected == nil then return actual ~= actual end
    return actual == expected
end

local calls = 0
local function sweep(where)
    for _, creator in ipairs(creators) do
        local create = IMisc[creator.name]
        local class = _G[creator.class]
        for i, case in ipairs(cases) do
            local value, reads = case[1], case[2]
            local what = where .. " " .. creator.name .. " case " .. i .. " (" .. tostring(value) .. ")"
            -- The value in every position; the value as self.
            local args = {}
            for n = 1, creator.count do args[n] = value end
            local object = create(IMisc, unpack(args, 1, creator.count))
            local asSelf = create(value, unpack({1, 0, 1, 1}, 1, creator.count))
            calls = calls + 2
            check.eq(type(object), "userdata", what)
            check.eq(getmetatable(object), "Metatable is readonly", what)
            check.eq(getmetatable(asSelf), "Metatable is readonly", what .. " as self")
            check.truthy(rawequal(object.copy, class.copy), what .. " has its class's methods")
            check.eq(class[creator.getters[1]](asSelf), 1, what .. " as self")
            local plain = {}
            for n = 1, creator.count do plain[n] = tonumber(value) or 0 end
            local reference = create(IMisc, unpack(plain, 1, creator.count))
            for _, getter in ipairs(creator.getters) do
                local component = class[getter](object)
                -- A colour keeps its components by a rule of its own: it
                -- must match the colour made from the numbers.
                if creator.name == "colorCreate" then
                    check.eq(tostring(component), tostring(class[getter](reference)), what .. " " .. getter)
                else
                    check.truthy(same(component, reads), what .. " " .. getter .. " gave " .. tostring(component))
                end
            end
            check.eq(tostring(object), tostring(reference), what .. " text")
            -- The object is of its class alone.
            local other = creator.class == "CPointScript" and "CVectorScript" or "CPointScript"
            check.raises("[" .. other .. "] A " .. creator.class .. " value was given where a " .. other ..
                " value is expected", _G[other].copy, object)
        end
        -- Missing components read as 0; extra arguments are ignored.
        check.eq(tostring(create(IMisc)), tostring(create(IMisc, 0, 0, 0, 0)), creator.name .. " no arguments")
        check.eq(tostring(create(IMisc, 1, 1, 1, 1, 9, 9)), tostring(create(IMisc, 1, 1, 1, 1)),
            creator.name .. " extra arguments")
    end
end

sweep("main")
local co = coroutine.create(sweep)
local ok, message = coroutine.resume(co, "coroutine")
check.truthy(ok, "from a coroutine: " .. tostring(message))

-- Objects made under a collector that runs all the time keep their class.
collectgarbage("setpause", 1)
collectgarbage("setstepmul", 1000)
local total = 0
for i = 1, 2000 do
    total = total + IMisc:vectorCreate(i, 0, 0):getX() + IMisc:pointCreate(0, 1):getY()
end
collectgarbage("setpause", 200)
collectgarbage("setstepmul", 200)
check.eq(total, 2000 * 2001 / 2 + 2000, "created under the collector")
check.truthy(calls > 150, "calls made: " .. calls)
check.done()
