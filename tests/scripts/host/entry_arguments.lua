--! args: a "" b
--! stdout: CHECKS PASSED
-- The entry script runs as the first state: its chunk first, then the state
-- function named after the file, with the arguments after the script path
-- (an empty one arrives as nil). The script's folder is the current
-- directory while it runs.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local chunkRan = true

function entry_arguments(...)
    check.truthy(chunkRan, "the chunk ran before the state function")
    check.eq(select("#", ...), 3, "argument count")
    local a, missing, b = ...
    check.eq(a, "a", "argument 1")
    check.eq(missing, nil, "argument 2")
    check.eq(b, "b", "argument 3")

    local own = io.open("entry_arguments.lua", "r")
    check.truthy(own, "the script opens by its bare name from the current directory")
    own:close()
    check.done()
end
