--! stdout: ran OnStateRun_state_function_prefixed
-- Without a global named after the file, "OnStateRun_<name>" comes before
-- "OnStateRun"; a global that is not a function does not count.
state_function_prefixed = "not a function"

function OnStateRun_state_function_prefixed()
    print("ran OnStateRun_state_function_prefixed")
end

function OnStateRun()
    io.stderr:write("wrong function: OnStateRun\n")
    os.exit(3)
end
