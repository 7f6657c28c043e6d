--! exit: 1
--! stderr: panic_file_and_line.lua|12|state function failed
--! stderr: Create error report?
--! not-stderr: Debug code now?
-- An error that no script catches reaches the error dialog with the file
-- and the line. Without an editor (the tests name a missing one) only the
-- error report is offered; the tests answer No, and the process ends with
-- exit code 1.
local ok = pcall(error, "caught by pcall")
assert(not ok)
function panic_file_and_line()
    error("state function failed")
end
