--! stdout: CHECKS PASSED
-- Sounds that travel with a world entity: a unit added to the running world
-- takes its sounds along while a tick handler moves and turns it, a
-- streamed Ogg among them; the walk over its sounds survives a callback
-- that deletes the unit, and an id that names no entity is the group's
-- not-found error.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local sounds = dofile(os.getenv("HALVANE_TEST_LIB") .. "/sounds.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local S = ISound

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end
local function text(v) return string.format("%g %g %g", v:getX(), v:getY(), v:getZ()) end

check.eq(S:init("", 100, false), true, "init")
check.eq(S:load("hum", sounds.wave(work .. "/hum.wav", 1), false, 1, 1), "hum", "load a looping WAVE")
check.eq(S:load("music", sounds.ogg(work .. "/music.ogg", 0.5), true, 1, 1), "music", "load a looping Ogg")

local unit = IWorld:createUnit()
-- Not in the running world yet: its sonic part has no engine.
check.eq(S:attachEntitySound(unit, "hum"), false, "nothing attaches before the unit is added")
IWorld:addUnit(unit, "", "")
IWorld:setEntityPosition(unit, V(1, 2, 3))
check.eq(S:attachEntitySound(unit, "hum"), true, "attach the WAVE")
check.eq(S:attachEntitySound(unit, "music"), true, "attach the Ogg")
check.eq(S:attachEntitySound(unit, "nothing"), false, "no sound of that name")
check.eq(S:getNumberOfEntitySounds(unit), 2, "two sounds")
check.eq(text(S:getPosition("music")), "1 2 3", "the sounds start where the unit is")
check.eq(S:play("hum", 0, 0) and S:play("music", 0, 0), true, "both play")

-- A tick handler moves the unit along x while the loop runs.
local x = 1
local handle = IEvents:subscribeTick(function()
    x = x + 1
    IWorld:setEntityPosition(unit, V(x, 2, 3))
end, nil, 0)
IApp:run(300)
IEvents:unsubscribe(handle)
check.truthy(x > 3, "the unit moved over several ticks: " .. x)
check.eq(text(S:getPosition("hum")), x .. " 2 3", "the WAVE followed the unit")
check.eq(text(S:getPosition("music")), x .. " 2 3", "the Ogg followed the unit")
check.eq(S:isPlaying("music"), true, "the stream plays on while it moves")

-- A sound unloaded behind the unit's back: refreshEntity drops its name.
S:unload("hum")
check.eq(S:getNumberOfEntitySounds(unit), 2, "the name stays until a refresh")
check.eq(select("#", S:refreshEntity(unit)), 0, "refreshEntity answers nothing")
check.eq(S:getNumberOfEntitySounds(unit), 1, "refresh drops the unloaded sound")

-- The walk goes over the names it began with: a callback that deletes
-- the unit ends nothing early, and the id then names nothing.
check.eq(S:load("hum", work .. "/hum.wav", false, 1, 0), "hum", "load again")
check.eq(S:attachEntitySound(unit, "hum"), true, "attach again")
local seen = {}
S:forEachEntitySound(unit, function(id, name, user)
    seen[#seen + 1] = name .. ":" .. user
    check.eq(id, unit, "the unit's id")
    if IWorld:entityExists(id) then IWorld:deleteEntity(id) end
end, "u")
check.eq(table.concat(seen, " "), "music:u hum:u", "every name walked")
check.eq(IWorld:entityExists(unit), false, "the unit is gone")
for _, name in ipairs({"attachEntitySound", "detachEntitySound", "detachAllEntitySounds", "refreshEntity",
                       "getNumberOfEntitySounds", "forEachEntitySound"}) do
    check.raises("[CWorldMapGroup::GetUnit] Unit not found [" .. unit .. "]", S[name], S, unit, "hum")
end
check.eq(S:isPlaying("music"), true, "the sounds stay the engine's")
S:destroy()
check.done()
