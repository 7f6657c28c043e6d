--! stdout: CHECKS PASSED
-- The twelve interfaces are read-only global objects; opening the module
-- "engine" publishes them again (fresh ones), also from a coroutine; other
-- module names are not the engine.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local names = {"IApp", "IMisc", "ILog", "IState", "IEvents", "IGraphics",
               "ISkin", "IPhysics", "ISound", "IKey", "IMouse", "IWorld"}

local before = {}
for _, name in ipairs(names) do
    local object = _G[name]
    check.eq(type(object), "userdata", name)
    check.eq(getmetatable(object), "Metatable is readonly", name .. " metatable")
    before[name] = object
end

check.eq(require("engine"), "engine", "require result")
for _, name in ipairs(names) do
    check.eq(type(_G[name]), "userdata", name .. " after require")
    check.truthy(_G[name] ~= before[name], name .. " is published afresh")
    check.eq(getmetatable(_G[name]), "Metatable is readonly", name .. " metatable after require")
end

IApp = nil
package.loaded.engine = nil
local co = coroutine.create(function() return require("engine") end)
local ok, result = coroutine.resume(co)
check.truthy(ok, "require in a coroutine: " .. tostring(result))
check.eq(type(IApp), "userdata", "IApp published again from a coroutine")

IWorld = nil
check.raises("module 'enginex' not found", require, "enginex")
check.eq(IWorld, nil, "another module name publishes nothing")
check.done()
