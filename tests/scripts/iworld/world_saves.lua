--! stdout: CHECKS PASSED
--! stdout: [CSaveFile::Open] Save refused, the target is a symbolic link:
--! stdout: [CSaveFile::Open] Save refused, the target is not writable:
--! env: DISPLAY=
-- Saves of the world and of one entity where the file system could turn
-- them against the player: the current folder, read-only targets (by the
-- file's mode for every user; by the access rules for a user other than
-- root, in a second run as nobody), targets that are symbolic links, and the
-- temporary files that a killed save left behind.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")
-- Set in the run as another user: the folder it saves in.
local userFolder = os.getenv("HALVANE_TEST_USER_FOLDER")

local function shell(command) return os.execute(command) == 0 end
local function quoted(text) return "'" .. text:gsub("'", "'\\''") .. "'" end
local function exists(path) return shell("test -e " .. quoted(path) .. " -o -L " .. quoted(path)) end
local function isLink(path) return shell("test -L " .. quoted(path)) end

IApp:showConsoleWindow(65001, 0)
ILog:setOutputLevel(ILog:getSystemLevel())
check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
local unit = IWorld:createUnit()

-- What a user who may not write a file finds (one of the user's own with
-- mode 0444, and root's when there is one): the world save and the entity
-- save answer false and the file keeps its bytes. A new file saves.
local function refusedReadOnly(folder)
    files.write(folder .. "/mine.kvoworld", "old")
    assert(shell("chmod 0444 " .. quoted(folder .. "/mine.kvoworld")))
    local targets = { "mine.kvoworld" }
    if exists(folder .. "/root.kvoworld") then targets[2] = "root.kvoworld" end
    for _, name in ipairs(targets) do
        check.eq(IWorld:save(folder, name, "UTF8", true), false, name .. ": world save")
        check.eq(IWorld:saveEntity(unit, folder .. "/" .. name, "BINARY"), false, name .. ": entity save")
        check.eq(files.read(folder .. "/" .. name), "old", name .. " keeps its bytes")
    end
    check.eq(IWorld:save(folder, "new.kvoworld", "UTF8", true), true, "a new world file")
    check.eq(IWorld:saveEntity(unit, folder .. "/new.kvoentity", "UTF8"), true, "a new entity file")
end

if userFolder then
    refusedReadOnly(userFolder)
    check.done()
    return
end

-- The current folder, named as "", "." and "./".
assert(shell("mkdir " .. quoted(work .. "/here")))
IApp:setBasePath(work .. "/here")
for i, folder in ipairs({ "", ".", "./" }) do
    local name = "current" .. i .. ".kvoworld"
    check.eq(IWorld:save(folder, name, "UTF8", true), true, "save into '" .. folder .. "'")
    check.truthy(files.read(work .. "/here/" .. name), "'" .. folder .. "' is the current folder")
end
IWorld:unload()
check.eq(IWorld:load(".", "current2.kvoworld", nil, true, false), true, "load from '.'")
check.eq(IWorld:getPathLong(), work .. "/here", "the current folder in full")
check.eq(IWorld:entityExists(unit), true, "the unit loaded")

-- A file whose mode grants nobody writing is read-only for root too.
assert(shell("mkdir " .. quoted(work .. "/modes")))
refusedReadOnly(work .. "/modes")

-- The same as a user other than root, who may not write a file of root's
-- that the folder lets him replace.
local uid = io.popen("id -u"):read("*l")
if uid == "0" then
    local program = assert(os.getenv("HALVANE_TEST_PROGRAM"), "HALVANE_TEST_PROGRAM is not set")
    local script = debug.getinfo(1, "S").source:sub(2)
    local folder = work .. "/user"
    assert(shell("mkdir " .. quoted(folder) .. " && chmod 0777 " .. quoted(folder)))
    files.write(folder .. "/root.kvoworld", "old")
    local run = "cd " .. quoted(folder) .. " && HALVANE_TEST_USER_FOLDER=" .. quoted(folder) ..
        " setpriv --reuid=65534 --regid=65534 --clear-groups " .. quoted(program) .. " " .. quoted(script) ..
        " > " .. quoted(work .. "/user.out") .. " 2>&1"
    local ok = shell(run)
    check.truthy(ok and (files.read(work .. "/user.out") or ""):find("CHECKS PASSED", 1, true),
        "the run as nobody: " .. (files.read(work .. "/user.out") or ""))
end

-- A target that is a symbolic link is refused, whatever it leads to.
assert(shell("mkdir " .. quoted(work .. "/links") .. " " .. quoted(work .. "/outside")))
files.write(work .. "/outside/precious", "precious")
assert(shell("ln -s ../outside/precious " .. quoted(work .. "/links/world.kvoworld")))
assert(shell("ln -s ../outside/precious " .. quoted(work .. "/links/unit.kvoentity")))
assert(shell("ln -s ../outside/missing " .. quoted(work .. "/links/dangling.kvoworld")))
for _, mode in ipairs({ "UTF8", "BINARY", "COMPRESSED" }) do
    check.eq(IWorld:save(work .. "/links", "world.kvoworld", mode, true), false, mode .. ": world save over a link")
    check.eq(IWorld:saveEntity(unit, work .. "/links/unit.kvoentity", mode), false, mode .. ": entity save")
    check.eq(IWorld:save(work .. "/links", "dangling.kvoworld", mode, true), false, mode .. ": dangling link")
end
check.eq(files.read(work .. "/outside/precious"), "precious", "the file behind the links is untouched")
check.eq(exists(work .. "/outside/missing"), false, "a dangling link makes no file")
check.eq(isLink(work .. "/links/world.kvoworld"), true, "the link stays")

-- Temporary files of saves killed part-way go with the next save into the
-- folder; those of a process that runs, and other names, stay.
assert(shell("mkdir " .. quoted(work .. "/killed")))
local gone = io.popen("sh -c 'echo $$'"):read("*l")
local left = {
    ["world.kvoworld.~" .. gone .. ".0.tmp"] = false,
    ["other.kvoworld.~" .. gone .. ".17.tmp"] = false,
    ["world.kvoworld.~1.3.tmp"] = true, -- process 1 runs
    ["notes.~" .. gone .. ".tmp"] = true,
    ["notes.~" .. gone .. ".x.tmp"] = true,
    ["world.kvoworld.~" .. gone .. ".0.tmp.bak"] = true,
}
for name in pairs(left) do files.write(work .. "/killed/" .. name, "partial") end
assert(shell("mkdir " .. quoted(work .. "/killed/folder.~" .. gone .. ".0.tmp")))
check.eq(IWorld:save(work .. "/killed", "world.kvoworld", "UTF8", true), true, "save after a killed one")
for name, stays in pairs(left) do
    check.eq(exists(work .. "/killed/" .. name), stays, name)
end
check.eq(exists(work .. "/killed/folder.~" .. gone .. ".0.tmp"), true, "a folder of that name stays")
local listing = io.popen("ls " .. quoted(work .. "/killed")):read("*a")
check.eq(select(2, listing:gsub("\n", "")), 6, "the world file, four names and the folder: " .. listing)
check.done()
