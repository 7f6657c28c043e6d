-- Whole-file reads and writes for tests (binary, no line-end changes).
--   local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local files = {}

function files.write(path, text)
    local file = assert(io.open(path, "wb"))
    file:write(text)
    file:close()
end

-- The file's bytes; nil when it cannot be opened.
function files.read(path)
    local file = io.open(path, "rb")
    if not file then return nil end
    local text = file:read("*a")
    file:close()
    return text
end

return files
