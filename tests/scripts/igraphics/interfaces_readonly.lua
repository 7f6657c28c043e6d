--! stdout: CHECKS PASSED
-- IGraphics, ISkin, IKey and IMouse are read-only objects like every other
-- interface: the metatable is hidden behind its text, cannot be replaced,
-- and the table of functions is out of the scripts' reach, so no script
-- changes a function for the others. Each publication (the module
-- "engine") makes fresh objects with the same protection.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local names = {"IGraphics", "ISkin", "IKey", "IMouse", "IApp", "IMisc", "ILog", "IState", "IEvents", "IPhysics",
    "ISound", "IWorld"}

local function protected(name)
    local object = _G[name]
    check.eq(type(object), "userdata", name)
    check.eq(getmetatable(object), "Metatable is readonly", name .. " metatable")
    check.raises("table expected", setmetatable, object, {})
    check.raises(nil, setmetatable, object, nil)
    -- Fields of the table: none reachable through the object, none
    -- writable, the object is no table.
    check.eq(object.__index, nil, name .. ".__index")
    check.raises("attempt to index", function() object.__index = {} end)
    check.raises("attempt to index", function() object.getName = function() end end)
    check.raises("table expected", rawget, object, "__index")
    check.raises("table expected", rawset, object, "init", print)
    check.raises("table expected", next, object)
    check.raises(nil, pairs, object)
end

for _, name in ipairs(names) do protected(name) end

-- Functions taken from the object are the object's own; a local change of
-- the value changes nothing for the next caller.
local isInitialised = IGraphics.isInitialised
check.eq(type(isInitialised), "function", "IGraphics.isInitialised")
isInitialised = nil
check.eq(IGraphics:isInitialised(), false, "still callable")
check.eq(IGraphics.isInitialised(), false, "without the object")
check.eq(IGraphics.isInitialised(IApp), false, "any value in the object's place")
-- Each interface has its own functions: "getch" is IKey's alone.
check.eq(type(IKey.getch), "function", "IKey function")
for _, name in ipairs({"ISkin", "IMouse"}) do
    check.eq(_G[name].getch, nil, name .. " function")
end
-- The interfaces do not share their tables.
check.truthy(not rawequal(debug.getmetatable(IGraphics), debug.getmetatable(ISkin)), "own tables")

-- Replacing the global is the script's own business; the interface goes on
-- under its other names.
local graphics = IGraphics
IGraphics = {isInitialised = function() return "replaced" end}
check.eq(graphics:isInitialised(), false, "the interface object is untouched")
IGraphics = graphics

-- Published again by the module "engine" (also from a coroutine): fresh
-- objects, protected the same way; the old ones still work.
local before = IGraphics
check.eq(require("engine"), "engine", "require")
check.truthy(IGraphics ~= before, "a fresh object")
for _, name in ipairs(names) do protected(name) end
check.eq(before:isInitialised(), false, "the old object")
package.loaded.engine = nil
local co = coroutine.create(function() return require("engine") end)
check.truthy(coroutine.resume(co), "require in a coroutine")
for _, name in ipairs(names) do protected(name) end
check.done()
