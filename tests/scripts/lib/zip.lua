-- Writes small zip archives for tests: entries stored without compression.
--   local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")
--   zip.write(path, { {"folder/name.txt", "contents"}, ... })
local zip = {}

local function bxor(a, b)
    local result, bit = 0, 1
    while a > 0 or b > 0 do
        local x, y = a % 2, b % 2
        if x ~= y then result = result + bit end
        a, b, bit = (a - x) / 2, (b - y) / 2, bit * 2
    end
    return result
end

local crcTable = {}
for n = 0, 255 do
    local c = n
    for _ = 1, 8 do
        if c % 2 == 1 then c = bxor(0xEDB88320, (c - 1) / 2) else c = c / 2 end
    end
    crcTable[n] = c
end

function zip.crc32(data)
    local crc = 0xFFFFFFFF
    for i = 1, #data do
        local index = bxor(crc % 256, string.byte(data, i))
        crc = bxor(crcTable[index], math.floor(crc / 256))
    end
    return bxor(crc, 0xFFFFFFFF)
end

local function u16(n) return string.char(n % 256, math.floor(n / 256) % 256) end
local function u32(n) return u16(n % 65536) .. u16(math.floor(n / 65536)) end

-- 1 January 2010, 12:00, in DOS form.
local dosTime, dosDate = 12 * 2048, (2010 - 1980) * 512 + 1 * 32 + 1

function zip.write(path, entries)
    local parts, central, offset = {}, {}, 0
    for _, entry in ipairs(entries) do
        local name, data = entry[1], entry[2]
        local crc = zip.crc32(data)
        local fields = u16(20) .. u16(0) .. u16(0) .. u16(dosTime) .. u16(dosDate) .. u32(crc)
            .. u32(#data) .. u32(#data) .. u16(#name) .. u16(0)
        local header = u32(0x04034b50) .. fields .. name
        parts[#parts + 1] = header .. data
        central[#central + 1] = u32(0x02014b50) .. u16(20) .. fields .. u16(0) .. u16(0) .. u16(0)
            .. u32(0) .. u32(offset) .. name
        offset = offset + #header + #data
    end
    local directory = table.concat(central)
    local file = assert(io.open(path, "wb"))
    file:write(table.concat(parts), directory, u32(0x06054b50), u16(0), u16(0), u16(#entries),
        u16(#entries), u32(#directory), u32(offset), u16(0))
    file:close()
end

return zip
