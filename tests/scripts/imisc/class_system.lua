--! stdout: CHECKS PASSED
-- Script classes: a base and a derived class, table and userdata instances,
-- destructors at collection (a failing one does not stop the script), and
-- attaching classes to existing objects.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local log = {}

Entity = IMisc:classDefine()
function Entity:__construct(name, x, y, z)
    self.name = name
    self.position = IMisc:vectorCreate(x, y, z)
    log[#log + 1] = "new " .. name
end
function Entity:__destruct()
    log[#log + 1] = "delete " .. self.name
end
function Entity:moveBy(offset)
    self.position:add(offset)
    return self
end

Soldier = IMisc:classDefine(Entity)
function Soldier:attack() return self.name .. " attacks" end

local s = IMisc:classCreateInstance("Soldier", "bob", 1, 2, 3)
check.eq(s:moveBy("1 1 1").position:getZ(), 4, "inherited method")
check.eq(s:attack(), "bob attacks", "own method")

do
    local u = IMisc:classCreateInstanceUD(Soldier, "ghost", 0, 0, 0)
    check.eq(type(u), "userdata", "userdata instance")
    check.eq(u:attack(), "ghost attacks", "methods of a userdata instance")
end
collectgarbage()
collectgarbage()
check.eq(table.concat(log, ", "), "new bob, new ghost, delete ghost", "constructors and destructor")

-- A destructor that fails is logged; the collection and the script go on.
local Fragile = IMisc:classDefine()
function Fragile:__destruct() error("cannot clean up") end
for i = 1, 3 do IMisc:classCreateInstanceUD(Fragile) end
collectgarbage()
collectgarbage()

local plain = { name = "plain", position = IMisc:vectorCreate(0, 0, 0) }
check.eq(IMisc:classAttach(plain, Entity), true, "attach")
check.eq(plain:moveBy("1 0 0").position:getX(), 1, "attached table answers the class")
check.raises("[IMisc::classAttach] object must be a Lua table or userdata", function()
    return IMisc:classAttach("text", Entity)
end)
check.raises("[IMisc::classAttach] object has a protected metatable", function()
    return IMisc:classAttach(IApp, Entity)
end)
check.raises("[classCreateInstance] classDefinition must be a Lua table or string", function()
    return IMisc:classCreateInstance("NoSuchClass")
end)
check.done()
