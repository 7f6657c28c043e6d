--! exit: 1
--! stderr: foreign_value_error.lua|10|[CRectScript] A CPointScript value was given where a CRectScript value is expected
-- A value of another class given where a rectangle is expected is an error
-- (never read as a rectangle); uncaught, it reaches the error dialog with
-- the file and line of the call.
local point = IMisc:pointCreate(1, 2)

function foreign_value_error()
    local width = IMisc:rectGetWidth(IMisc:rectCreate(0, 0, 1, 1))
    return IMisc:rectGetWidth(point) + width
end
