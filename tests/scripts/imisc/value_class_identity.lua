--! stdout: CHECKS PASSED
-- Only the engine makes value objects. No metatable or global a script can
-- reach gives another userdata a value class's identity, and registering
-- the engine again never takes over a table a script left in a class's
-- global.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local stdoutClass = getmetatable(io.stdout)
local kept = IMisc:pointCreate(1, 2)

-- A file handle given a value class's table is still not a value: the
-- methods refuse it instead of writing into it.
local file = io.tmpfile()
check.truthy(IMisc:classAttach(file, CPointScript), "classAttach sets the metatable")
check.raises("[CPointScript] A userdata was given where a CPointScript value is expected",
    CPointScript.set, file, 1, 2)
check.raises("[CPointScript] A userdata was given where a CPointScript value is expected",
    function() return file:getX() end)
check.raises("[CVectorScript] A userdata was given where a CVectorScript value is expected",
    IMisc.vectorGetX, IMisc, file)

-- Other userdata of every shape: empty proxies, script class instances, a
-- value of another class through its table.
local foreign = {
    newproxy(true),
    IMisc:classCreateInstanceUD(CPointScript),
    IMisc:classCreateInstanceUD(IMisc:classDefine(CVectorScript)),
}
for i, value in ipairs(foreign) do
    check.raises("A userdata was given where a CPointScript value is expected", CPointScript.getX, value)
    check.raises("A userdata was given where a CPointScript value is expected", CPointScript.add, kept, value)
end
check.raises("The table does not have a userdata member called __object.",
    CPointScript.getX, setmetatable({}, CPointScript))

-- A class global replaced by another library's metatable: registering the
-- engine again publishes the engine's own tables and leaves that metatable
-- alone; objects keep their identity and methods.
CPointScript = stdoutClass
CVectorScript = {}
require("engine")
check.truthy(rawequal(getmetatable(io.stdout), stdoutClass), "the file metatable is untouched")
check.eq(stdoutClass.getX, nil, "nothing was registered into the file metatable")
check.eq(rawget(stdoutClass, "__metatable"), nil, "the file metatable was not sealed")
check.truthy(CPointScript ~= stdoutClass, "CPointScript is the engine's table again")
local point = IMisc:pointCreate(3, 4)
check.raises("attempt to call method 'write'", function() point:write("x") end)
check.eq(point:getX() + kept:getY(), 5, "old and new points")
io.stdout:write("") -- still a file
check.eq(IMisc:vectorCreate(1, 2, 3):getZ(), 3, "vectors work with the replaced global")

-- What scripts add to a class table is theirs to keep.
function CVectorScript:twice() return self * 2 end
check.eq(IMisc:vectorCreate(1, 2, 3):twice():getY(), 4, "a method added by the script")
require("engine")
check.eq(IMisc:vectorCreate(1, 2, 3):twice():getZ(), 6, "kept across a registration")
check.done()
