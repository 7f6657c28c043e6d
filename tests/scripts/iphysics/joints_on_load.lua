--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Joints read from a world file before the entities they join: a joint
-- whose entities come later in the same file, and one whose child only
-- comes with a second file loaded into the world afterwards. A box hangs
-- on a fixed joint beside a static anchor; loose, it falls.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local P = IPhysics

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end

local function write(name, text)
    local file = assert(io.open(work .. "/" .. name, "wb"))
    file:write(text)
    file:close()
end

local function read(name)
    local file = assert(io.open(work .. "/" .. name, "rb"))
    local text = file:read("*a")
    file:close()
    return text
end

-- The text without the block that opens with the line `opening` (one tab
-- deep, like every block of a section) and holds `needle`.
local function withoutBlock(text, opening, needle)
    local newline = text:find("\r\n", 1, true) and "\r\n" or "\n"
    local from = 1
    while true do
        local first = text:find(newline .. "\t" .. opening .. newline, from, true)
        assert(first, "no block holds " .. needle)
        local last = select(2, text:find(newline .. "\t}" .. newline, first, true))
        if text:sub(first, last):find(needle, 1, true) then
            return text:sub(1, first) .. text:sub(last + 1)
        end
        from = last
    end
end

local cube = {}
for i = 0, 7 do
    cube[#cube + 1] = string.format("v %g %g %g", i % 2 == 1 and 0.5 or -0.5,
        math.floor(i / 2) % 2 == 1 and 0.5 or -0.5, i >= 4 and 0.5 or -0.5)
end
write("box.obj", table.concat(cube, "\n") .. "\nf 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
check.eq(P:init(0, 0, 0.6, 0.5, 0, 0.01, 1000, false, 60, false), true, "physics")
P:setGravity(V(0, -9.8, 0))

local function unit(mass, x)
    local id = IWorld:createUnit()
    IWorld:setEntityModelName(id, work .. "/box.obj")
    IWorld:setEntityPosition(id, V(x, 5, 0))
    IWorld:addUnit(id, "", "")
    P:setEntityMass(id, mass)
    P:refreshEntity(id)
    return id
end
local anchor = unit(1000, 0)
local box = unit(1, 1.5)
check.eq(P:getEntityMassType(anchor), 2, "the anchor is static")
check.eq(P:createJointFixed("hold", anchor, box), true, "joint")
check.eq(IWorld:save(work, "both.kvoworld", "UTF8", false), true, "saved")

-- Each file holds the joint before the units.
local both = read("both.kvoworld")
check.truthy(both:find("-ChildId " .. box, 1, true) < both:find("-Id " .. box, 1, true), "joint first")
write("anchor.kvoworld", withoutBlock(both, "Unit{", "-Id " .. box))
write("box.kvoworld", withoutBlock(withoutBlock(both, "Unit{", "-Id " .. anchor), "Joint{", "-Id hold"))

local function height() return IWorld:getEntityPosition(box):getY() end
local function load(file)
    check.eq(IWorld:load(work, file, nil, false, true), true, "loaded " .. file)
end

-- The box alone falls.
IWorld:unload()
load("box.kvoworld")
IApp:run(1000)
check.truthy(height() < 3, "a loose box falls")

-- Joint and units in one file.
IWorld:unload()
load("both.kvoworld")
check.eq(P:getJointChildId("hold"), box, "the joint's child")
IApp:run(1000)
check.near(height(), 5, 0.25, "held after one load")

-- The joint waits for its child, which comes with the second file.
IWorld:unload()
load("anchor.kvoworld")
check.eq(IWorld:entityExists(box), false, "no box yet")
check.eq(P:getJointChildId("hold"), box, "the joint waits")
IApp:run(100)
load("box.kvoworld")
IApp:run(1000)
check.near(height(), 5, 0.25, "held once its child came")

IWorld:unload()
check.done()
