--! exit: 1
--! env: HALVANE_EDITOR=/bin/true
--! stderr: panic_offers_debugger.lua|9|attempt to index local 'missing' (a nil value)
--! stderr: Debug code now?
--! not-stderr: Create error report?
-- With an editor and a message naming the file and the line, the dialog
-- offers to debug (the tests answer No: nothing is started).
function panic_offers_debugger()
    local missing = nil; return missing.field
end
