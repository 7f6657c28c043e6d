-- Game logic of four kinds, plain Lua 5.1, for the game-logic benchmark:
-- vector math on tables, a particle update, string building and a
-- table-heavy AI loop; and a frame of engine calls (positions of the
-- world's entities read and set through IWorld), which needs the engine.
--
-- Loaded by a script state it returns { kinds = ..., measure = ... }.
-- Run as a program (lua5.1 game_logic.lua <kind> <steps>) it prints the
-- CPU seconds that many steps of the kind took.

local kinds = {}

-- Vector math on tables: each operation makes a new table.
local function vadd(a, b) return { x = a.x + b.x, y = a.y + b.y, z = a.z + b.z } end
local function vsub(a, b) return { x = a.x - b.x, y = a.y - b.y, z = a.z - b.z } end
local function vscale(a, s) return { x = a.x * s, y = a.y * s, z = a.z * s } end
local function vdot(a, b) return a.x * b.x + a.y * b.y + a.z * b.z end
local function vcross(a, b)
    return { x = a.y * b.z - a.z * b.y, y = a.z * b.x - a.x * b.z, z = a.x * b.y - a.y * b.x }
end
local function vnormal(a)
    local length = math.sqrt(vdot(a, a))
    if length == 0 then return { x = 0, y = 0, z = 0 } end
    return vscale(a, 1 / length)
end

function kinds.vectors(steps)
    local position, velocity = { x = 0, y = 0, z = 0 }, { x = 1, y = 0.5, z = 0.25 }
    local up, sum = { x = 0, y = 1, z = 0 }, 0
    for i = 1, steps do
        local target = { x = i % 17, y = i % 5, z = i % 11 }
        local toward = vnormal(vsub(target, position))
        velocity = vadd(vscale(velocity, 0.9), vscale(toward, 0.1))
        position = vadd(position, vscale(velocity, 0.016))
        local side = vcross(toward, up)
        sum = sum + vdot(side, velocity)
    end
    return sum
end

-- A particle update: integrate, bounce on the ground, respawn the dead.
function kinds.particles(steps)
    local count = 1000
    local particles = {}
    for i = 1, count do
        particles[i] = { x = 0, y = 10, z = 0, vx = (i % 7) - 3, vy = i % 5, vz = (i % 3) - 1, life = i % 60 }
    end
    local dt, gravity, alive = 0.016, -9.81, 0
    for _ = 1, steps do
        alive = 0
        for i = 1, count do
            local p = particles[i]
            p.vy = p.vy + gravity * dt
            p.x, p.y, p.z = p.x + p.vx * dt, p.y + p.vy * dt, p.z + p.vz * dt
            if p.y < 0 then
                p.y, p.vy = 0, -p.vy * 0.6
            end
            p.life = p.life - 1
            if p.life <= 0 then
                p.x, p.y, p.z, p.vy, p.life = 0, 10, 0, 5, 60
            else
                alive = alive + 1
            end
        end
    end
    return alive
end

-- String building: a HUD's lines made by concatenation every frame, a log
-- line by string.format, keys for a lookup table, all joined.
function kinds.strings(steps)
    local names = { "knight", "archer", "mage", "rogue", "cleric" }
    local seen, total = {}, 0
    for step = 1, steps do
        local lines = {}
        for i = 1, 10 do
            local name = names[(step + i) % #names + 1]
            lines[#lines + 1] = name .. " #" .. i .. " hp " .. (100 - i) .. "/" .. 100 .. " at " .. step % 64 .. "," .. i
        end
        lines[#lines + 1] = string.format("frame %d: %d units", step, #lines)
        local text = table.concat(lines, "\n")
        local key = "unit_" .. step % 100 .. "_" .. names[step % #names + 1]
        seen[key] = (seen[key] or 0) + 1
        total = total + #text + #string.sub(text, 5, 40)
    end
    return total
end

-- A table-heavy AI loop: agents on a grid of cells (a table of tables by
-- string key), each picking the nearest visible foe and a state.
function kinds.ai(steps)
    local count, size = 200, 64
    local agents = {}
    for i = 1, count do
        agents[i] = { id = i, x = (i * 37) % size, y = (i * 91) % size, team = i % 2, state = "idle", target = nil }
    end
    local changes = 0
    for _ = 1, steps do
        local cells = {}
        for i = 1, count do
            local a = agents[i]
            local key = math.floor(a.x / 8) .. ":" .. math.floor(a.y / 8)
            local cell = cells[key]
            if not cell then
                cell = {}
                cells[key] = cell
            end
            cell[#cell + 1] = a
        end
        for i = 1, count do
            local a = agents[i]
            local cx, cy = math.floor(a.x / 8), math.floor(a.y / 8)
            local best, bestDistance = nil, math.huge
            for dx = -1, 1 do
                for dy = -1, 1 do
                    local cell = cells[(cx + dx) .. ":" .. (cy + dy)]
                    if cell then
                        for j = 1, #cell do
                            local b = cell[j]
                            if b.team ~= a.team then
                                local distance = (a.x - b.x) ^ 2 + (a.y - b.y) ^ 2
                                if distance < bestDistance then
                                    best, bestDistance = b, distance
                                end
                            end
                        end
                    end
                end
            end
            local state = best and (bestDistance < 4 and "attack" or "chase") or "wander"
            if state ~= a.state then
                changes = changes + 1
                a.state = state
            end
            a.target = best
            if best then
                a.x = a.x + (best.x > a.x and 1 or -1)
                a.y = a.y + (best.y > a.y and 1 or -1)
            else
                a.x = (a.x + 1) % size
            end
        end
    end
    return changes
end

-- A frame of engine calls per step: every entity of the global `ids` read
-- and moved through IWorld.
function kinds.engine(steps)
    local W, ids = IWorld, ids
    local count, moved = #ids, 0
    for _ = 1, steps do
        for i = 1, count do
            local id = ids[i]
            local position = W:getEntityPosition(id)
            position:set(position:getX() + 0.1, position:getY(), position:getZ() - 0.1)
            W:setEntityPosition(id, position)
            moved = moved + 1
        end
    end
    return moved
end

-- CPU seconds of the steps, from a collected heap.
local function measure(kind, steps)
    collectgarbage("collect")
    local start = os.clock()
    kinds[kind](steps)
    return os.clock() - start
end

local kind, steps = ...
if kind then
    print(string.format("%.9f", measure(kind, tonumber(steps))))
end
return { kinds = kinds, measure = measure }
