-- Mesh files for script tests, written as Wavefront text:
--   local meshes = dofile(os.getenv("HALVANE_TEST_LIB") .. "/meshes.lua")
--   meshes.box(path, x1, y1, z1, x2, y2, z2)   a box between two corners
--   meshes.cube(path, half)                   a cube around the origin
local meshes = {}

function meshes.box(path, x1, y1, z1, x2, y2, z2)
    local file = assert(io.open(path, "w"))
    for i = 0, 7 do
        file:write(string.format("v %g %g %g\n", i % 2 == 1 and x2 or x1, math.floor(i / 2) % 2 == 1 and y2 or y1,
            i >= 4 and z2 or z1))
    end
    for _, f in ipairs({ {1, 3, 4, 2}, {5, 6, 8, 7}, {1, 2, 6, 5}, {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6} }) do
        file:write(string.format("f %d %d %d\nf %d %d %d\n", f[1], f[2], f[3], f[1], f[3], f[4]))
    end
    file:close()
    return path
end

function meshes.cube(path, half)
    return meshes.box(path, -half, -half, -half, half, half, half)
end

return meshes
