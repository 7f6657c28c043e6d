-- Sound files for script tests, written into the test's work folder:
--   local sounds = dofile(os.getenv("HALVANE_TEST_LIB") .. "/sounds.lua")
--   sounds.wave(path, seconds)   a mono 16-bit 22050 Hz WAVE tone
--   sounds.ogg(path, seconds)    a stereo Ogg Vorbis tone
local sounds = {}

local function le(value, bytes)
    local out = {}
    for i = 1, bytes do
        out[i] = string.char(value % 256)
        value = math.floor(value / 256)
    end
    return table.concat(out)
end

function sounds.wave(path, seconds)
    local rate = 22050
    local samples = {}
    for i = 1, math.floor(rate * seconds) do
        samples[i] = le(math.floor(8000 * math.sin(i * 0.06)) % 65536, 2)
    end
    local data = table.concat(samples)
    local format = le(1, 2) .. le(1, 2) .. le(rate, 4) .. le(rate * 2, 4) .. le(2, 2) .. le(16, 2)
    local body = "WAVE" .. "fmt " .. le(#format, 4) .. format .. "data" .. le(#data, 4) .. data
    local file = assert(io.open(path, "wb"))
    file:write("RIFF" .. le(#body, 4) .. body)
    file:close()
    return path
end

function sounds.ogg(path, seconds)
    local writer = assert(os.getenv("HALVANE_TEST_OGG_WRITER"), "HALVANE_TEST_OGG_WRITER is not set")
    assert(os.execute("'" .. writer .. "' '" .. path .. "' " .. seconds) == 0, "writing " .. path)
    return path
end

return sounds
