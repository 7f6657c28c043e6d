-- Assertions for script tests. A failed check prints where and why on
-- standard error and ends the process with exit code 3.
local check = {}

local function fail(message, level)
    local info = debug.getinfo((level or 2) + 1, "Sl")
    local where = info and (info.short_src .. ":" .. tostring(info.currentline)) or "?"
    io.stderr:write("CHECK FAILED at " .. where .. ": " .. message .. "\n")
    io.stderr:flush()
    os.exit(3)
end
check.fail = fail

function check.truthy(value, what)
    if not value then fail((what or "value") .. " is not true", 2) end
end

function check.eq(actual, expected, what)
    if actual ~= expected then
        fail(string.format("%s: expected %s, got %s", what or "value",
            tostring(expected), tostring(actual)), 2)
    end
end

function check.near(actual, expected, tolerance, what)
    tolerance = tolerance or 1e-5
    if type(actual) ~= "number" or math.abs(actual - expected) > tolerance then
        fail(string.format("%s: expected %s (+-%g), got %s", what or "value",
            tostring(expected), tolerance, tostring(actual)), 2)
    end
end

-- Calls fn with the remaining arguments; it must raise an error whose
-- message contains the given text.
function check.raises(text, fn, ...)
    local ok, message = pcall(fn, ...)
    if ok then fail("no error raised, expected: " .. text, 2) end
    if text and not string.find(tostring(message), text, 1, true) then
        fail("error '" .. tostring(message) .. "' lacks: " .. text, 2)
    end
    return message
end

function check.done()
    io.stdout:write("CHECKS PASSED\n")
    io.stdout:flush()
end

return check
