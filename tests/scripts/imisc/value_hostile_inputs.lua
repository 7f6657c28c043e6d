--! stdout: CHECKS PASSED
-- Every method and metamethod of the four value classes, called on every
-- kind of self with every kind of argument: each call gives a result or an
-- error in the system's form, never a crash (the sanitizer build checks the
-- memory), also from a coroutine.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local objects = {
    CPointScript = function() return IMisc:pointCreate(1, 2) end,
    CVectorScript = function() return IMisc:vectorCreate(1, 2, 3) end,
    CRectScript = function() return IMisc:rectCreate(1, 2, 3, 4) end,
    CColorScript = function() return IMisc:colorCreate(0.5, 0.25, 0, 1) end,
}
local file = io.tmpfile()
local thread = coroutine.create(function() end)
local function hostileValues()
    return {
        nil, 0 / 0, 1 / 0, -1 / 0, 1e308, -1e308, 2 ^ 63, "", "nan inf -inf 1e999", "1 2 3 4 5 6 7 8",
        string.rep("9", 400), {}, {__object = 5}, {__object = newproxy(true)}, print, thread,
        newproxy(true), file, true,
        objects.CPointScript(), objects.CVectorScript(), objects.CRectScript(), objects.CColorScript(),
        {__object = objects.CVectorScript()},
    }
end
local allowed = {"Script]", "__object", "bad argument #1", "attempt to"}

local function acceptable(ok, message)
    if ok then return true end
    for _, text in ipairs(allowed) do
        if string.find(tostring(message), text, 1, true) then return true end
    end
    return false
end

local calls = 0
local function sweep()
    for className, make in pairs(objects) do
        local names = {}
        for name, value in pairs(_G[className]) do
            if type(value) == "function" then names[#names + 1] = name end
        end
        table.sort(names)
        for _, name in ipairs(names) do
            local method = _G[className][name]
            local selves = hostileValues()
            selves[1] = make()
            for i = 1, 24 do
                local self = selves[i]
                for _, argument in pairs(hostileValues()) do
                    local ok, message = pcall(method, self, argument, argument, argument, argument)
                    calls = calls + 1
                    check.truthy(acceptable(ok, message), className .. "." .. name .. ": " .. tostring(message))
                end
            end
        end
    end
end
sweep()
local co = coroutine.create(sweep)
local ok, message = coroutine.resume(co)
check.truthy(ok, "from a coroutine: " .. tostring(message))
check.truthy(calls > 50000, "calls made: " .. calls)
check.done()
