--! stdout: CHECKS PASSED
-- Scrollers from scripts: controls handed to a scroller enter behind each
-- other and move on every frame of the loop; those that leave are removed
-- (their removal event reaches the scripts) unless the scroller keeps them.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local H = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 100, true), "NULL device")
IGraphics:setBackgroundRenderingEnabled(true)

local closed = {}
IEvents:subscribeGui(function(name, type)
    if type == 4 then closed[#closed + 1] = name end
end, nil, 0)

-- The root is the parent: the whole screen scrolls, right at half a screen
-- a second, ten steps a second.
check.eq(IGraphics:createScroller("", 0.5, 0, 100, false), true, "created")
check.eq(IGraphics:createCheckbox("first", "First", "0.4 0.1 0.6 0.2", false), true, "first")
check.eq(IGraphics:createCheckbox("second", "Second", "0.4 0.3 0.5 0.4", false), true, "second")
check.eq(IGraphics:addToScroller("", "first"), true, "first added")
check.eq(IGraphics:addToScroller("", "second"), true, "second added")
check.near(IGraphics:getControlPosX("first"), -0.2, 1e-6, "first enters left of the screen")
check.near(IGraphics:getControlPosX("second"), -0.3, 1e-6, "second behind the first")
check.near(IGraphics:getControlPosY("second"), 0.3, 1e-6, "y kept without vertical speed")

-- Frames of the loop move them, both by the same distance, never farther
-- than the time that passed allows (the first step counts one period).
local start = IApp:getTime()
local x = IGraphics:getControlPosX("second")
while IApp:getTime() - start < 400 do
    IApp:tick()
end
local moved = IGraphics:getControlPosX("second") - x
local allowed = 0.5 * (IApp:getTime() - start + 100) / 1000 + 2 / 800
check.truthy(moved > 0 and moved <= allowed, "moved by the speed: " .. moved .. " of at most " .. allowed)
-- (Controls sit on whole pixels: 1/800 of the width each.)
check.near(IGraphics:getControlPosX("first") - IGraphics:getControlPosX("second"), 0.1, 2 / 800, "the gap stays")

-- Out at the right: removed, with the removal event.
while IGraphics:controlExists("second") and IApp:getTime() - start < 10000 do
    IApp:tick()
end
check.eq(IGraphics:controlExists("first"), false, "first removed")
check.eq(IGraphics:controlExists("second"), false, "second removed")
check.eq(table.concat(closed, " "), "first second", "removal events")

-- Kept: a control that leaves stays where it stopped.
check.eq(IGraphics:createScroller("", -2, 0, 0, true), true, "replaced, keeping")
check.eq(IGraphics:createCheckbox("kept", "Kept", "0.1 0.1 0.2 0.2", false), true, "kept")
IGraphics:addToScroller("", "kept")
start = IApp:getTime()
while IApp:getTime() - start < 1000 do
    IApp:tick()
end
check.eq(IGraphics:controlExists("kept"), true, "kept after leaving")
local stopped = IGraphics:getControlPosX("kept")
check.truthy(stopped < -0.1, "left the screen: " .. stopped)
IApp:tick()
check.eq(IGraphics:getControlPosX("kept"), stopped, "not moved once out")

-- Removing the scroller; then the functions' errors.
check.eq(IGraphics:removeScroller(""), true, "removed")
check.eq(IGraphics:removeScroller(""), false, "no scroller left")
check.raises("[CGuiManager::AddToScroller] Scroller does not exist", function() IGraphics:addToScroller("", "kept") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() IGraphics:createScroller("nowhere", 0.1, 0, 100, false) end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere",
    function() IGraphics:addToScroller("", "nowhere") end)
check.raises("[CGuiManager::GetElement] Cannot find gui element:nowhere", function() IGraphics:removeScroller("nowhere") end)
check.raises("[CGuiManager::AddScroller] Invalid scroller speed", function() IGraphics:createScroller("kept", 0 / 0, 0, 100, false) end)
check.raises("[CGuiManager::AddScroller] Invalid scroller speed", function() IGraphics:createScroller("kept", 0, 1 / 0, 100, false) end)
check.eq(IGraphics:createScroller("kept", 0.1, 0, 100, false), true, "a scroller on a check box")
check.raises("[CGuiManager::AddToScroller] Invalid element", function() IGraphics:addToScroller("kept", "kept") end)
check.raises("[CGuiManager::AddToScroller] Invalid element", function() IGraphics:addToScroller("kept", "") end)

-- Hostile values in every position, nil past the end of the list, from the
-- main thread and from a coroutine: each call returns or fails with an
-- error in the "[Class::Method] ..." form.
check.eq(IGraphics:createCheckbox("gone", "Gone", "0.1 0.1 0.2 0.2", false), true, "a control to remove")
check.eq(IGraphics:removeControl("gone"), true, "removed")
local hostile = {true, false, 0, -1, 0 / 0, 1 / 0, 1e300, -2147483649, "", "gone", "\255\254", {},
    IMisc:colorCreate(1, 0, 0, 1), print, function() error("callback failed") end, coroutine.create(function() end)}
local function sweep()
    for _, name in ipairs({"createScroller", "removeScroller", "addToScroller"}) do
        for position = 1, 5 do
            for index = 1, #hostile + 1 do
                local args = {"kept", 0.1, 0.1, 100, false}
                args[position] = hostile[index]
                local ok, message = pcall(IGraphics[name], IGraphics, args[1], args[2], args[3], args[4], args[5])
                if not ok then
                    check.truthy(type(message) == "string" and string.find(message, "^%[%w+::%w+%] "),
                        name .. " with argument " .. position .. " = " .. tostring(args[position])
                            .. " failed without a clear message: " .. tostring(message))
                end
            end
        end
    end
end
sweep()
H.fromCoroutine(check, sweep)
for _ = 1, 5 do IApp:tick() end

-- A removal answered from a script in the middle of a step that drops the
-- scroller itself.
IGraphics:removeChildren("")
check.eq(IGraphics:createScroller("", 5, 0, 0, false), true, "fast scroller")
for _, name in ipairs({"a", "b", "c"}) do
    IGraphics:createCheckbox(name, name, "0.1 0.1 0.2 0.2", false)
    IGraphics:addToScroller("", name)
end
IEvents:subscribeGui(function(name, type)
    if type == 4 and name == "a" then IGraphics:removeScroller("") end
end, nil, 0)
start = IApp:getTime()
while IApp:getTime() - start < 1000 do
    IApp:tick()
end
check.eq(IGraphics:controlExists("a"), false, "a removed")
check.eq(IGraphics:removeScroller(""), false, "the scroller dropped itself meanwhile")
check.done()
