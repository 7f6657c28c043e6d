--! exit: 1
--! env: HALVANE_EDITOR=/bin/true
--! stderr: a message with no position
--! stderr: Create error report?
--! not-stderr: Debug code now?
-- A message without a file and a line offers the error report even when an
-- editor exists.
function panic_plain_message()
    error("a message with no position", 0)
end
