--! xvfb
--! args: $HALVANE_TEST_LIB/../../../examples/hello/main.lua
--! stdout: Fly: W A S D
--! not-stdout: No display
-- The bundled example's world state under a virtual X server: its picture
-- is lit. The state runs as the example has it; a tick takes a screen shot
-- once the boxes have landed and ends the loop. The picture must show many
-- colours, and each box's face towards the light (its front) brighter than
-- the face away from it (its right side, which only the ambient light
-- reaches). Unlit, every box is one flat colour.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

-- A 24- or 32-bit uncompressed BMP: width, height and pixel(x, y) ->
-- r, g, b with (0, 0) at the top left.
local function readBmp(path)
    local file = assert(io.open(path, "rb"))
    local data = file:read("*a")
    file:close()
    local function u32(at)
        local a, b, c, d = data:byte(at + 1, at + 4)
        return a + b * 256 + c * 65536 + d * 16777216
    end
    local function u16(at)
        local a, b = data:byte(at + 1, at + 2)
        return a + b * 256
    end
    check.eq(data:sub(1, 2), "BM", "a BMP file")
    local offset, width, height, bits = u32(10), u32(18), u32(22), u16(28)
    check.truthy(bits == 24 or bits == 32, "24 or 32 bits a pixel, not " .. bits)
    local bytes = bits / 8
    local stride = math.floor((width * bytes + 3) / 4) * 4
    return width, height, function(x, y)
        local at = offset + (height - 1 - y) * stride + x * bytes
        local b, g, r = data:byte(at + 1, at + 3)
        return r, g, b
    end
end

function OnStateRun(example)
    dofile(example)
    local shot = work .. "/world.bmp"
    local start, taken
    IEvents:subscribeTick(function(time)
        if taken or not IGraphics:isInitialised() or IWorld:getNumberOfUnits() < 4 then
            return
        end
        start = start or time
        if time - start > 2500 then
            taken = IGraphics:screenShot(shot, 0)
            IApp:stop()
        end
    end, nil, 0)
    world(3000)
    check.truthy(taken, "a screen shot of the landed boxes")

    local width, height, pixel = readBmp(shot)
    check.eq(width, 640, "picture width")
    check.eq(height, 480, "picture height")
    local colours, count = {}, 0
    -- Columns that show a box (its orange, unlike the green ground and
    -- the blue sky) and their brightness.
    local columns = {}
    for py = 0, height - 1 do
        for px = 0, width - 1 do
            local r, g, b = pixel(px, py)
            local key = r .. "," .. g .. "," .. b
            if not colours[key] then
                colours[key] = true
                count = count + 1
            end
            if r > g + 25 and r > b + 50 then
                local column = columns[px] or {sum = 0, n = 0}
                column.sum, column.n = column.sum + r + g + b, column.n + 1
                columns[px] = column
            end
        end
    end
    check.truthy(count > 40, "a shaded picture has many colours, this one " .. count)

    -- Each run of box columns is one box seen from the front right: its
    -- left part is the front face, lit; its right part the side away from
    -- the light.
    local boxes, run = {}, nil
    for px = 0, width do
        if columns[px] and columns[px].n > 3 then
            run = run or {first = px}
            run.last = px
        elseif run then
            boxes[#boxes + 1] = run
            run = nil
        end
    end
    check.eq(#boxes, 3, "boxes seen")
    local function mean(first, last)
        local sum, n = 0, 0
        for px = first, last do
            sum, n = sum + columns[px].sum, n + columns[px].n
        end
        return sum / n / 3
    end
    for index, box in ipairs(boxes) do
        local span = box.last - box.first + 1
        local front = mean(box.first + math.floor(span * 0.1), box.first + math.floor(span * 0.4))
        local side = mean(box.last - math.floor(span * 0.15), box.last)
        print(string.format("box %d: front %.0f, side %.0f", index, front, side))
        check.truthy(front > side + 15, string.format("box %d: the lit front (%.0f) is brighter than the "
            .. "side away from the light (%.0f)", index, front, side))
    end
end
