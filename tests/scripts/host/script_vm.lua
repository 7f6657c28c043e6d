--! stdout: CHECKS PASSED
-- Scripts run on LuaJIT 2.1 with the Lua 5.1 language: what a script sees
-- of the VM, and the engine's errors as the VM carries them.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

-- The standard jit library tells the VM; the FFI is not there.
check.eq(type(jit), "table", "the jit library")
check.truthy(jit.version:find("^LuaJIT 2%.1"), "jit.version: " .. jit.version)
check.eq(_VERSION, "Lua 5.1", "the language")
check.eq(package.preload.ffi, nil, "no preloaded FFI")
check.raises("module 'ffi' not found", require, "ffi")

-- An engine error names the script line of the call...
local function lookup(id)
    local position = IWorld:getEntityPosition(id)
    return position
end
local ok, message = pcall(lookup, "nope")
check.eq(ok, false, "a missing entity fails")
check.eq(message:match("[^/]*$"), "script_vm.lua:15: [CWorldMapGroup::GetUnit] Unit not found [nope]",
    "the message names the line of the call")
-- ...but not when the call is a tail call: the VM has dropped the frame of
-- the function that made it, as it does for its own functions there.
ok, message = pcall(function() return IWorld:getEntityPosition("nope") end)
check.eq(message, "[CWorldMapGroup::GetUnit] Unit not found [nope]", "a tail call's error")

-- Errors raised from C++ many times over in a loop the VM compiles stay
-- Lua errors with the engine's message, never "C++ exception".
local failures = 0
for i = 1, 2000 do
    local okHere, text = pcall(IWorld.getEntityPosition, IWorld, "x" .. (i % 7))
    if not okHere and text:find("Unit not found [x" .. (i % 7) .. "]", 1, true) then
        failures = failures + 1
    end
end
check.eq(failures, 2000, "every failed lookup in the loop")
local sum = 0
for i = 1, 20000 do
    sum = sum + IMisc:vectorCreate(i, 1, 0):getX()
end
check.eq(sum, 20000 * 20001 / 2, "vectors made in a compiled loop")

-- The VM's loader skips a byte-order mark and a first "#" line in every
-- chunk, loadstring's included.
check.eq(loadstring("\239\187\191return 5")(), 5, "a byte-order mark before source")
check.eq(loadstring("#!/usr/bin/env halvane\nreturn debug.getinfo(1, 'l').currentline")(), 2,
    "a # line keeps the line numbers")

-- A coroutine may yield across pcall.
local co = coroutine.create(function() return pcall(function() coroutine.yield(1) return 2 end) end)
check.eq(select(2, coroutine.resume(co)), 1, "yielded through pcall")
local _, okInside, value = coroutine.resume(co)
check.truthy(okInside and value == 2, "resumed inside pcall")
check.done()
