--! stdout: CHECKS PASSED
--! stdout: [IKey::loadCodes] Loaded 4 key codes
--! stdout: [IKey::loadCodes] Loaded 0 key codes
-- Key maps from hand-written ".kvokey" text, found by name or with the
-- extension added through the search paths, added to what is there, and
-- saved and read back through BINARY, COMPRESSED and text archives.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")
-- The load count is logged on the console at the system level.
IApp:showConsoleWindow(65001, 0)
ILog:setOutputLevel(ILog:getSystemLevel())

local function binding(action, index)
    return table.concat({IKey:getActionKeyCodeHex(action, index), tostring(IKey:getActionKeyShiftState(action, index)),
        tostring(IKey:getActionKeyControlState(action, index)), IKey:getActionKeyDescription(action, index)}, " ")
end

-- Every binding of every action, one line each, in order.
local function everything()
    local lines = {}
    IKey:forEachKeyCode(function(action)
        for index = 1, IKey:getActionKeyCount(action) do
            lines[#lines + 1] = action .. " " .. binding(action, index)
        end
    end)
    return table.concat(lines, "\n")
end

files.write(work .. "/controls.kvokey", table.concat({
    "KVOKEYMAP", "Version{", "\t-Version 1030", "}", "", "Data{",
    "\t-Fwd 0x57:Fwd|0x26+0x10:Sprint|",
    "\t-Fire \"0x11:Both controls|0x20+0x11:Shoot, hard|\"",
    "\t-Pause \"0x13|0x50 + 0x10 + 0x11:Pause: menu|\"",
    "\t-Tilde \"0x10+0x41:Shifted A|\"",
    "}", ""}, "\r\n"))

check.eq(IKey:loadCodes(work .. "/controls.kvokey"), 4, "four actions")
local loaded = everything()
check.eq(loaded, table.concat({
    "Fire 0x11 false false Both controls",
    "Fire 0x20 false true Shoot, hard",
    "Fwd 0x57 false false Fwd",
    "Fwd 0x26 true false Sprint",
    "Pause 0x13 false false ",
    "Pause 0x50 true true Pause: menu",
    "Tilde 0x41 true false Shifted A"}, "\n"), "the hand-written bindings")

-- Every saved form reads back to the same bindings.
for _, mode in ipairs({"BINARY", "COMPRESSED", "UTF8", "UTF16"}) do
    local path = work .. "/saved_" .. mode .. ".kvokey"
    check.eq(IKey:saveCodes(path, mode), 4, "saved " .. mode)
    IKey:clear()
    check.eq(IKey:loadCodes(path), 4, "loaded " .. mode)
    check.eq(everything(), loaded, "round trip through " .. mode)
end
-- Binary archives are binary: their text is no key map text.
check.truthy(not string.find(files.read(work .. "/saved_COMPRESSED.kvokey"), "0x57", 1, true), "compressed")

-- Loading adds: the same file twice doubles every action's bindings.
check.eq(IKey:loadCodes(work .. "/saved_BINARY.kvokey"), 4, "loaded again")
check.eq(IKey:getActionKeyCount("Fwd"), 4, "bindings doubled")

-- Found through the search paths by its bare name, ".kvokey" added.
IKey:clear()
IApp:addSearchPath(work)
check.eq(IKey:loadCodes("controls"), 4, "found with the extension")

-- Missing and broken files leave the map as it was; the count says so.
check.eq(IKey:loadCodes(work .. "/missing.kvokey"), 4, "missing file")
files.write(work .. "/broken.kvokey", "KVOKEYMAP\r\nVersion{\r\n\t-Version 1030\r\n}\r\nData{\r\n\t-Fwd 0x41|")
check.eq(IKey:loadCodes(work .. "/broken.kvokey"), 4, "broken file")
check.eq(IKey:getActionKeyCount("Fwd"), 2, "nothing of the broken file added")
files.write(work .. "/other.kvokey", "KVOSKIN\r\nVersion{\r\n\t-Version 1030\r\n}\r\n")
check.eq(IKey:loadCodes(work .. "/other.kvokey"), 4, "a file of another kind")

-- A save that cannot be written answers 0.
check.eq(IKey:saveCodes(work .. "/no/such/folder/keys.kvokey", "BINARY"), 0, "unwritable")
check.eq(IKey:saveCodes(work, "UTF8"), 0, "a folder")

IKey:clear()
check.eq(IKey:loadCodes(work .. "/missing.kvokey"), 0, "an empty map")
check.done()
