--! stdout: CHECKS PASSED
-- States queued from scripts: by function or file name, with names and
-- arguments; states queued by a running state run right after it.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")

local ran = {}
local function note(...)
    local parts = {}
    for i = 1, select("#", ...) do parts[i] = tostring((select(i, ...))) end
    ran[#ran + 1] = table.concat(parts, " ")
end

-- The entry script is the running state, named after its path.
check.eq(IState:getName(), string.sub(debug.getinfo(1, "S").source, 2), "the entry state's name")

-- A state file: its function is the global named after the file.
local stateFile = work .. "/level1.lua"
files.write(stateFile, "function level1(...) note('level1', IState:getName(), ...) end")
_G.note = note

IState:queue(function(...)
    note("S1", select("#", ...), ...)
    IState:queue(function() note("S3", IState:getName()) end)
    IState:queueEx{state = function(...) note("S4", IState:getName(), ...) end, name = "four", "a", "b"}
end)
IState:queueEx{state = function(...) note("S2", IState:getName(), ...) end, name = 12, 1, 2, 3}
IState:queueEx{state = stateFile, "x"}
IState:queueEx{}
IState:queue(function()
    check.eq(table.concat(ran, "\n"), table.concat({
        "S1 3 nil nil nil",
        "S3 ",
        "S4 four a b",
        "S2  1 2 3",
        "level1 " .. stateFile .. " x",
    }, "\n"), "states in order, with their names and arguments")
    check.done()
end)

-- What the queue refuses.
check.raises("[IState::queueEx] Input data must be a table", IState.queueEx, IState, "level1")
check.raises("[IState::queueEx] Input data must be a table", IState.queueEx, IState)
local co = coroutine.create(function() IState:queue(function() note("from a coroutine") end) end)
local ok, message = coroutine.resume(co)
check.eq(ok, false, "queue from a coroutine")
check.truthy(string.find(message, "[IState::queue] Can only be called from the main Lua state.", 1, true), message)
co = coroutine.create(function() IState:queueEx{state = function() note("from a coroutine") end} end)
ok, message = coroutine.resume(co)
check.eq(ok, false, "queueEx from a coroutine")
check.truthy(string.find(message, "[IState::queueEx] Can only be called from the main Lua state.", 1, true), message)
