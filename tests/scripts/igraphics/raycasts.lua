--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- The ray-cast functions of IGraphics without a device, with an empty
-- NULL-driver scene and after destroy: nothing is hit, line of sight is
-- clear, and hostile values in every argument (and calls from coroutines)
-- answer or fail with a "[Class] ..." message, never crash.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics

local a, b = IMisc:vectorCreate(0, 0, 0), IMisc:vectorCreate(0, 0, 100)

local function nothingIsHit(when)
    check.eq(G:rayCast(a, b), nil, when .. ": rayCast")
    check.eq(G:rayCastFilter(a, b, 48), nil, when .. ": rayCastFilter")
    check.eq(G:rayCastAll(a, b, 0), nil, when .. ": rayCastAll")
    check.eq(G:rayCastAll(a, b, -1), nil, when .. ": rayCastAll -1")
    check.eq(G:rayCastMousePosition(false), nil, when .. ": rayCastMousePosition")
    check.eq(G:rayCastMousePositionFilter(0, true), nil, when .. ": rayCastMousePositionFilter")
    check.eq(G:rayCastMousePositionAll(0, false), nil, when .. ": rayCastMousePositionAll")
    check.eq(G:isInLineOfSight(a, b), true, when .. ": isInLineOfSight")
    check.eq(G:isInLineOfSight(a, a), true, when .. ": zero length")
end

local hostile = {
    n = 16,
    nil, true, false, "", "1 2", "x y z", {}, print, coroutine.create(function() end), IApp,
    0 / 0, 1 / 0, -1 / 0, 1e300, 2 ^ 53, -1,
}
local functions = {
    rayCast = 2, rayCastFilter = 3, rayCastAll = 3, rayCastMousePosition = 1,
    rayCastMousePositionFilter = 2, rayCastMousePositionAll = 2, isInLineOfSight = 2,
}
local allowed = {
    "%[CVectorScript%] A userdata was given where a CVectorScript value is expected",
}

local function sweep(when)
    for name, count in pairs(functions) do
        for position = 1, count do
            for index = 1, hostile.n do
                local args = { a, b, 0 }
                if name:find("Mouse") then
                    args = { 0, false }
                end
                args[position] = hostile[index]
                local ok, result = pcall(G[name], G, unpack(args, 1, count))
                if ok then
                    check.truthy(result == nil or result == true or result == false,
                        when .. ": " .. name .. " answered " .. tostring(result))
                else
                    local known = false
                    for _, pattern in ipairs(allowed) do
                        known = known or string.find(tostring(result), pattern) ~= nil
                    end
                    check.truthy(known, when .. ": " .. name .. " with " .. tostring(hostile[index]) .. " at "
                        .. position .. " failed with: " .. tostring(result))
                end
            end
        end
    end
end

nothingIsHit("before init")
sweep("before init")

check.eq(G:init("NULL", 64, 48, false, 16, false, false, false, 100, false), true, "init")
nothingIsHit("empty scene")
sweep("empty scene")

-- From a coroutine, and from a frame handler that casts while drawing.
local co = coroutine.create(function()
    nothingIsHit("coroutine")
    coroutine.yield(G:rayCastAll(a, b, 0))
    return G:isInLineOfSight(a, b)
end)
local ok, first = coroutine.resume(co)
check.eq(ok, true, "coroutine runs")
check.eq(first, nil, "coroutine yield")
local ok2, clear = coroutine.resume(co)
check.eq(ok2 and clear, true, "coroutine finishes")

G:destroy()
nothingIsHit("after destroy")

check.done()
