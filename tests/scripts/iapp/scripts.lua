--! stdout: CHECKS PASSED
-- Loading and running scripts on the calling state, calling global
-- functions, and the addresses of the calling state and the engine.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")

local function write(name, text) files.write(work .. "/" .. name, text) end

-- Addresses are exact whole numbers; a coroutine is a state of its own.
local main = IApp:getThreadState()
check.eq(IApp:getThreadState(), main, "same state, same address")
check.truthy(main > 0 and main == math.floor(main), "state address is a whole number")
local engine = IApp:getScriptManager()
check.truthy(engine > 0 and engine == math.floor(engine), "engine address is a whole number")
local ok, inner = coroutine.resume(coroutine.create(function() return IApp:getThreadState() end))
check.truthy(ok and inner ~= main, "a coroutine has its own state address")
check.truthy(IApp:getThreadIdFromOS() > 0, "thread id")

-- loadScript: found by name or with an extension, runs on the calling state.
write("lib.lua", "libLoaded = (libLoaded or 0) + 1\nreturn 42, 43")
write("bad.lua", "local x = 1\nerror('boom')")
check.eq(IApp:loadScript(work .. "/lib"), true, "loadScript by name without extension")
check.eq(libLoaded, 1, "the chunk ran")
check.eq(IApp:loadScript(work .. "/missing"), false, "a missing file is false")
check.raises("bad.lua:2: boom", IApp.loadScript, IApp, work .. "/bad.lua")

-- loadScriptEx: the chunk's first result, nil for a missing or failing one.
check.eq(IApp:loadScriptEx(work .. "/lib.lua"), 42, "loadScriptEx result")
check.eq(libLoaded, 2, "loadScriptEx ran the chunk")
check.eq(IApp:loadScriptEx(work .. "/missing"), nil, "loadScriptEx of a missing file")
local okEx, result = pcall(IApp.loadScriptEx, IApp, work .. "/bad.lua")
check.truthy(okEx, "loadScriptEx of a failing script raises nothing")
check.eq(result, nil, "loadScriptEx of a failing script")

-- From a coroutine the load runs and its error stays in the coroutine.
local co = coroutine.create(function()
    check.eq(IApp:loadScriptEx(work .. "/lib.lua"), 42, "loadScriptEx in a coroutine")
    IApp:loadScript(work .. "/bad.lua")
end)
local coOk, coError = coroutine.resume(co)
check.eq(coOk, false, "the coroutine failed")
check.truthy(string.find(coError, "bad.lua:2: boom", 1, true), "coroutine error: " .. tostring(coError))
check.eq(IApp:getThreadState(), main, "the main state goes on")

-- runScriptBuffer
check.eq(IApp:runScriptBuffer("bufferValue = 'set'", "chunk"), true, "runScriptBuffer")
check.eq(bufferValue, "set", "the buffer ran")
check.raises("failing chunk", IApp.runScriptBuffer, IApp, "error('failing chunk')", "named")
check.raises("named", IApp.runScriptBuffer, IApp, "this is not Lua", "named")

-- callScript: the first result of a global function, seven arguments.
function collect(...)
    collected = {n = select("#", ...), ...}
    return "first", "second"
end
check.eq(IApp:callScript("collect", 1, nil, "three"), "first", "callScript result")
check.eq(collected.n, 7, "seven arguments")
check.eq(collected[1], 1, "argument 1")
check.eq(collected[3], "three", "argument 3")
check.eq(collected[7], nil, "argument 7")
notAFunction = 5
check.eq(IApp:callScript("notAFunction"), nil, "a global that is not a function")
check.eq(IApp:callScript("noSuchGlobal"), nil, "a missing global")
function failing() error("callee failed") end
check.raises("callee failed", IApp.callScript, IApp, "failing")

-- clearScriptData
someData = {1, 2}
IApp:clearScriptData("someData")
check.eq(someData, nil, "the global is gone")
check.done()
