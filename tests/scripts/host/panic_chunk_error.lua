--! exit: 1
--! stderr: panic_chunk_error.lua|8|attempt to call global 'undefinedFunction' (a nil value)
--! stdout: chunk starts
--! not-stderr: unreachable
-- An error while the file's chunk runs ends the program the same way; the
-- state function never runs.
print("chunk starts")
undefinedFunction()

function panic_chunk_error()
    io.stderr:write("unreachable\n")
end
