--! stdout: CHECKS PASSED
-- Precompiled chunks are refused by every loading function a script has;
-- source text still loads through each of them.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")

local dump = string.dump(function() return 42 end)
check.eq(dump:sub(1, 1), "\27", "string.dump gives a precompiled chunk")

local work = os.getenv("HALVANE_TEST_WORK") .. "/"
local compiled = work .. "compiled.lua"
files.write(compiled, dump)
local hidden = work .. "hidden.lua"
files.write(hidden, "#!/usr/bin/env lua\n" .. dump)

local function refused(what, chunk, message)
    check.eq(chunk, nil, what .. " result")
    check.truthy(message and message:find("Precompiled chunks are not accepted", 1, true),
        what .. " message: " .. tostring(message))
end

refused("loadstring", loadstring(dump))
refused("loadstring named", loadstring(dump, "=named"))
-- The VM's own chunks start "\27LJ", Lua 5.1's "\27Lua"; the VM's reader
-- skips a byte-order mark and a first "#" line before it looks.
check.eq(dump:sub(1, 3), "\27LJ", "the VM's signature")
local lua51 = "\27Lua\81\0\1\4\8\4\8\0" .. string.rep("\0", 16)
local hiddenChunks = {
    {"Lua 5.1", lua51},
    {"after a byte-order mark", "\239\187\191" .. dump},
    {"after a # line", "#!/usr/bin/env lua\n" .. dump},
    {"after a # line ending in CR LF", "#x\r\n" .. dump},
    {"after a byte-order mark and a # line", "\239\187\191#x\n" .. lua51},
}
for _, case in ipairs(hiddenChunks) do
    refused("loadstring " .. case[1], loadstring(case[2]))
    local piece = case[2]
    refused("load " .. case[1], load(function() local p = piece; piece = nil; return p end))
    files.write(compiled, case[2])
    refused("loadfile " .. case[1], loadfile(compiled))
end
files.write(compiled, dump)
local once = dump
refused("load", load(function() local piece = once; once = nil; return piece end))
refused("loadfile", loadfile(compiled))
refused("loadfile after a # line", loadfile(hidden))
check.raises("[dofile] Precompiled chunks are not accepted", dofile, compiled)
package.path = work .. "?.lua"
check.raises("[require] Precompiled chunks are not accepted", require, "compiled")

-- Source text loads as before.
check.eq(loadstring("return 1 + 1")(), 2, "loadstring source")
local pieces, index = {"return ", "6 * 7"}, 0
check.eq(load(function() index = index + 1; return pieces[index] end)(), 42, "load source in pieces")
files.write(work .. "source.lua", "#!/usr/bin/env lua\nreturn debug.getinfo(1, 'l').currentline")
check.eq(dofile(work .. "source.lua"), 2, "a # line keeps the line numbers")
check.eq(loadfile(work .. "source.lua")(), 2, "loadfile source")
files.write(work .. "module.lua", "return 'module'")
check.eq(require("module"), "module", "require source")
local chunk, message = loadfile(work .. "absent.lua")
check.truthy(chunk == nil and message:find("cannot open", 1, true), "missing file: " .. tostring(message))
check.raises("no file '" .. work .. "absent.lua'", require, "absent")
check.done()
