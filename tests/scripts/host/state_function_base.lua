--! stdout: ran state_function_base
--! not-stderr: wrong function
-- The state function is the global named after the file, before
-- "OnStateRun_<name>" and "OnStateRun".
function state_function_base()
    print("ran state_function_base")
end

function OnStateRun_state_function_base()
    io.stderr:write("wrong function: OnStateRun_state_function_base\n")
    os.exit(3)
end

function OnStateRun()
    io.stderr:write("wrong function: OnStateRun\n")
    os.exit(3)
end
