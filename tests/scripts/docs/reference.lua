--! args: $HALVANE_TEST_LIB/../../../docs/reference.md
-- The script reference and the running program name the same functions:
-- every function the interfaces, the value classes and the camera module
-- publish has its line in the reference (under "## <table>", a line that
-- starts "- `name("), and every such line names a published function.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local tables = {
    "IApp", "IMisc", "IState", "IEvents", "IGraphics", "ISkin", "IPhysics", "ISound", "IWorld", "IKey",
    "IMouse", "ILog", "CPointScript", "CVectorScript", "CRectScript", "CColorScript", "lenscart",
}

-- "table name" for each published function.
local function published()
    require "lenscart"
    local names = {}
    for _, name in ipairs(tables) do
        local object = _G[name]
        local functions = type(object) == "table" and object or debug.getmetatable(object)
        check.truthy(type(functions) == "table", name .. " is published")
        for key, value in pairs(functions) do
            if type(value) == "function" and not key:find("^__") then
                names[name .. " " .. key] = true
            end
        end
    end
    return names
end

local function documented(path)
    local file = assert(io.open(path, "r"))
    local names, section = {}, nil
    for line in file:lines() do
        local heading = line:match("^## (%S+)")
        if heading then
            section = heading
        end
        local name = line:match("^%- `([%w_]+)%(")
        if name and section then
            names[section .. " " .. name] = true
        end
    end
    file:close()
    return names
end

local function missing(from, other)
    local list = {}
    for key in pairs(from) do
        if not other[key] then
            list[#list + 1] = key
        end
    end
    table.sort(list)
    return list
end

function OnStateRun(reference)
    local program, docs = published(), documented(reference)
    local count = 0
    for _ in pairs(program) do
        count = count + 1
    end
    check.truthy(count > 1000, "the program publishes " .. count .. " functions")
    local undocumented, unknown = missing(program, docs), missing(docs, program)
    check.truthy(#undocumented == 0, "published, not in the reference: " .. table.concat(undocumented, ", "))
    check.truthy(#unknown == 0, "in the reference, not published: " .. table.concat(unknown, ", "))
end
