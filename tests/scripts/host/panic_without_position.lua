--! exit: 1
--! stderr: (error object is not a string)
--! stderr: Create error report?
-- An error object that is not text (a table) reaches the dialog without a
-- file and a line.
function panic_without_position()
    error({code = 7})
end
