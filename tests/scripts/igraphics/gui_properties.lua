--! stdout: CHECKS PASSED
-- Properties every control has, at two screen sizes: positions and sizes
-- go in as fractions (or pixels) and come back as fractions.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local function near(point, x, y, what)
    check.near(point:getX(), x, 1e-5, what .. " x")
    check.near(point:getY(), y, 1e-5, what .. " y")
end

for _, screen in ipairs({{800, 600}, {1024, 768}}) do
    local W, H = screen[1], screen[2]
    local size = W .. "x" .. H
    check.truthy(IGraphics:init("NULL", W, H, false, 32, false, false, false, 60, true), "device " .. size)
    check.truthy(IGraphics:createCheckbox("parent", "", "0.25 0.25 0.75 0.75", false), "parent")
    IGraphics:setGuiParent("parent")
    check.truthy(IGraphics:createCheckbox("item", "", "10 20 110 70", false), "item")
    IGraphics:setGuiParent("")
    local left, top = math.floor(0.25 * W), math.floor(0.25 * H)

    near(IGraphics:getControlPos("item"), 10 / W, 20 / H, size .. " position")
    near(IGraphics:getControlPosAbsolute("item"), (left + 10) / W, (top + 20) / H, size .. " absolute")
    near(IGraphics:getControlSize("item"), 100 / W, 50 / H, size .. " size")
    near(IGraphics:getControlCenter("item"), 60 / W, 45 / H, size .. " centre")

    -- Each case: a setter with its arguments, then the expected pixel
    -- rectangle relative to the parent.
    local cases = {
        {"setControlPos", {0.1, 30}, {math.floor(0.1 * W), 30, math.floor(0.1 * W) + 100, 80}},
        {"setControlPosPoint", {IMisc:pointCreate(40, 0.5)}, {40, math.floor(0.5 * H), 140, math.floor(0.5 * H) + 50}},
        {"setControlPos", {2, -2}, {2, -2, 102, 48}},
        {"setControlPos", {0 / 0, 0 / 0}, {0, 0, 100, 50}},
        {"moveControlPos", {5.9, -0.05}, {5, -math.floor(0.05 * H), 105, 50 - math.floor(0.05 * H)}},
        {"setControlSize", {0.5, 10}, {5, -math.floor(0.05 * H), 5 + math.floor(0.5 * W), 10 - math.floor(0.05 * H)}},
        {"setControlPos", {0, 0}, {0, 0, math.floor(0.5 * W), 10}},
        {"setControlSizePoint", {"300 0.1"}, {0, 0, 300, math.floor(0.1 * H)}},
        {"setControlSize", {-1, -500}, {0, 0, 1, 1}},
        {"setControlSize", {1e30, 0 / 0}, {0, 0, 2 ^ 28, 1}},
    }
    for index, case in ipairs(cases) do
        IGraphics[case[1]](IGraphics, "item", unpack(case[2]))
        local r = case[3]
        local what = size .. " case " .. index .. " " .. case[1]
        local function fraction(actual, expected, name)
            check.near(actual, expected, 1e-5 * math.max(1, math.abs(expected)), what .. " " .. name)
        end
        fraction(IGraphics:getControlPosX("item"), r[1] / W, "x")
        fraction(IGraphics:getControlPosY("item"), r[2] / H, "y")
        fraction(IGraphics:getControlWidth("item"), (r[3] - r[1]) / W, "width")
        fraction(IGraphics:getControlHeight("item"), (r[4] - r[2]) / H, "height")
    end

    -- Minimum and maximum sizes: below 1 a fraction, else pixels; the
    -- minimum is at least a pixel.
    local sizes = {
        {"setControlMinSize", "getControlMinSize", "0 0", 1 / W, 1 / H},
        {"setControlMaxSize", "getControlMaxSize", "0 0", 0, 0},
        {"setControlMinSize", "getControlMinSize", "0.5 30", math.floor(0.5 * W) / W, 30 / H},
        {"setControlMaxSize", "getControlMaxSize", "200 0.25", 200 / W, math.floor(0.25 * H) / H},
        {"setControlMinSize", "getControlMinSize", "-5 nan", 1 / W, 1 / H},
    }
    for index, case in ipairs(sizes) do
        check.eq(IGraphics[case[1]](IGraphics, "item", case[3]), true, case[1])
        near(IGraphics[case[2]](IGraphics, "item"), case[4], case[5], size .. " size case " .. index)
    end
end

-- Flags, captions, tab order and alignment.
IGraphics:createCheckbox("flags", "caption", "0 0 0.1 0.1", false)
local flags = {
    {"isControlVisible", "setControlVisible"}, {"isControlEnabled", "setControlEnabled"},
    {"isControlClipped", "setControlClipped"}, {"getControlTabGroup", "setControlTabGroup"},
    {"getControlTabStop", "setControlTabStop"},
}
for _, pair in ipairs(flags) do
    for _, value in ipairs({false, true, 0, nil, "yes"}) do
        IGraphics[pair[2]](IGraphics, "flags", value)
        check.eq(IGraphics[pair[1]](IGraphics, "flags"), value ~= nil and value ~= false, pair[2] .. " " .. tostring(value))
    end
end

local texts = {
    {"setControlText", "getControlText", "héllo wörld", "héllo wörld"},
    {"setControlInt", "getControlText", 42.9, "42"},
    {"setControlInt", "getControlInt", -7, -7},
    {"setControlFloat", "getControlText", 1.5, "1.500000"},
    {"setControlFloat", "getControlFloat", 2.25, 2.25},
    {"setControlText", "getControlFloat", "not a number", 0},
    {"setControlText", "getControlInt", "12abc", 12},
    {"setControlText", "getControlInt", "99999999999999", 2147483647},
    {"setControlText", "getControlInt", "", 0},
}
for index, case in ipairs(texts) do
    IGraphics[case[1]](IGraphics, "flags", case[3])
    check.eq(IGraphics[case[2]](IGraphics, "flags"), case[4], "caption case " .. index)
end

check.eq(IGraphics:setControlTabOrder("flags", 5), true, "tab order set")
check.eq(IGraphics:getControlTabOrder("flags"), 5, "tab order")
IGraphics:setControlTabOrder("flags", -1)
local first = IGraphics:getControlTabOrder("flags")
IGraphics:setControlTabOrder("flags", -3)
check.eq(IGraphics:getControlTabOrder("flags"), first + 1, "negative orders take the next")

IGraphics:setControlTabGroup("flags", false)
check.eq(IGraphics:getControlTabGroupOwner("flags"), nil, "no tab group")
IGraphics:setControlTabGroup("flags", true)
check.eq(IGraphics:getControlTabGroupOwner("flags"), "flags", "its own tab group")

check.eq(IGraphics:setControlAlignment("flags", 0, 1, 2, 3), true, "aligned")
check.eq(IGraphics:getControlAlignmentLeft("flags"), 0, "left")
check.eq(IGraphics:getControlAlignmentTop("flags"), 1, "top")
check.eq(IGraphics:getControlAlignmentRight("flags"), 2, "right")
check.eq(IGraphics:getControlAlignmentBottom("flags"), 3, "bottom")
check.raises("[CGuiManager::SetElementAlignment] Invalid alignment:4",
    function() IGraphics:setControlAlignment("flags", 4, 0, 0, 0) end)
check.eq(IGraphics:getControlAlignmentLeft("flags"), 0, "unchanged after a refused alignment")

-- Front and back: the later control is drawn over the earlier one.
IGraphics:createCheckbox("under", "", "0.5 0.5 0.7 0.7", false)
IGraphics:createCheckbox("over", "", "0.5 0.5 0.7 0.7", false)
check.eq(IGraphics:getControlAtPoint("", 0.6, 0.6), "over", "over on top")
IGraphics:bringControlToFront("under")
check.eq(IGraphics:getControlAtPoint("", 0.6, 0.6), "under", "brought to the front")
check.raises("[CGuiManager::GetElementId] Gui element not found: nowhere",
    function() IGraphics:bringControlToFront("nowhere") end)
check.done()
