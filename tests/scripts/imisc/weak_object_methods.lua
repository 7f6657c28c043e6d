--! stdout: CHECKS PASSED
-- A value object reached only through a table's "__object" that holds it
-- weakly stays valid for the whole method, even when reading the method's
-- argument runs a full collection (an aggressive collector, with the amount
-- of memory before the call varied until a collection falls inside the
-- method). The sanitizer build reports any use of freed memory.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local makers = {
    CPointScript = function() return IMisc:pointCreate(1, 2) end,
    CVectorScript = function() return IMisc:vectorCreate(1, 2, 3) end,
    CRectScript = function() return IMisc:rectCreate(1, 2, 3, 4) end,
    CColorScript = function() return IMisc:colorCreate(0.5, 0.25, 0, 1) end,
}

-- A number argument is turned into text inside the method, which allocates.
-- LuaJIT runs its collector only at an allocation, before making the block:
-- inside a method whose one allocation is that text, the collection can
-- fall before the object is pinned (the call then fails cleanly) but never
-- after. Cases marked true allocate again afterwards (their result), so a
-- collection falls inside them on either VM; the others must see one inside
-- only on Lua 5.1's collector, and every call must be safe on both.
local cases = {
    {"CPointScript", "add", 5}, {"CPointScript", "subtract", 5}, {"CPointScript", "setFromString", 5},
    {"CPointScript", "equal", 5}, {"CPointScript", "dotProduct", 5}, {"CPointScript", "getDistanceFrom", 5},
    {"CPointScript", "lessThanEqual", 5},
    {"CVectorScript", "add", 5}, {"CVectorScript", "subtract", 5}, {"CVectorScript", "setFromString", 5},
    {"CVectorScript", "crossProduct", 5, true}, {"CVectorScript", "greaterThan", 5},
    {"CRectScript", "add", 5}, {"CRectScript", "setFromString", 5}, {"CRectScript", "intersect", 5},
    {"CRectScript", "isPointInside", 5},
    {"CColorScript", "subtract", 5}, {"CColorScript", "setFromString", 5}, {"CColorScript", "equal", 5},
}

local function holderOf(class, object)
    local holder = setmetatable({}, {__mode = "v", __index = _G[class]})
    holder.__object = object
    return holder
end

collectgarbage("setstepmul", 0) -- every step is a whole cycle
for _, case in ipairs(cases) do
    local class, method, argument = case[1], case[2], case[3]
    local hits = 0
    for pad = 0, 12000, 8 do
        collectgarbage("setpause", 100)
        collectgarbage("collect")
        collectgarbage("setpause", 101) -- the next cycle 1% of memory later
        collectgarbage("collect")
        local padding = string.rep("x", pad)
        local holder = holderOf(class, makers[class]())
        local garbage = {string.rep("g", 300)}
        garbage = nil
        local before = collectgarbage("count")
        local ok, message = pcall(holder[method], holder, argument)
        local collected = collectgarbage("count") < before - 0.25
        if ok and collected then
            hits = hits + 1
            if hits == 3 then break end
        end
        check.truthy(ok or string.find(message, "__object", 1, true), class .. ":" .. method .. ": " .. tostring(message))
    end
    if case[4] or not jit then
        check.truthy(hits > 0, class .. ":" .. method .. " never had a collection inside the method")
    end
end
collectgarbage("setpause", 200)
collectgarbage("setstepmul", 200)
check.done()
