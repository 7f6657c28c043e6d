--! stdout: CHECKS PASSED
-- ISound on OpenAL Soft's null device: the device and its drivers, the
-- listener's settings, sounds loaded under names (whole WAVE files and
-- streamed Ogg Vorbis), what a name that names no sound answers, and walks
-- whose callbacks unload sounds.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local sounds = dofile(os.getenv("HALVANE_TEST_LIB") .. "/sounds.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local S = ISound

local function V(x, y, z) return IMisc:vectorCreate(x, y, z) end
local function text(v) return string.format("%g %g %g", v:getX(), v:getY(), v:getZ()) end
-- The number of results and the first.
local function results(...) return select("#", ...), (...) end

local wave = sounds.wave(work .. "/tone.wav", 2)

-- Before a device opens: no driver name, no sound loads.
check.eq(S:getCurrentDriverName(), nil, "no driver name before init")
check.eq(S:isInitialised(), false, "not initialised")
check.eq(S:load("early", wave, false, 1, 0), nil, "no sound loads without a device")

-- Opening: quiet gives false for a device that does not open, else the
-- documented error.
check.eq(S:init("no such device", 50, true), false, "quiet init of a missing device")
check.raises("[CSoundEngine::Init] Failed to create and initialise the sound device.",
    S.init, S, "no such device", 50, false)
check.eq(S:init("AUTO_DETECT_SOUND", 50, false), true, "init by auto-detection")
check.eq(S:isInitialised(), true, "initialised")
check.eq(S:getCurrentDriverName(), "OpenAL Soft", "driver name")
check.eq(S:getDesiredFrameRate(), 50, "frame rate")
S:setDesiredFrameRate(40)
check.eq(S:getDesiredFrameRate(), 40, "frame rate set")
S:enableFrameCounter(true, true)
check.eq(S:isFrameCounterEnabled(), true, "frame counter")

-- Drivers: an index past the end names the last device.
local count = S:getNumberOfSoundDrivers()
check.truthy(count >= 1, "at least one device")
check.eq(S:getSoundDriverName(0), "OpenAL Soft", "first device")
check.eq(S:getSoundDriverName(2 ^ 40), S:getSoundDriverName(count - 1), "a huge index names the last device")
check.eq(S:getSoundDriverVersionMajor(0), 1, "major version")
check.eq(S:getSoundDriverVersionMinor(0), 1, "minor version")
check.eq(S:getSoundDriverMaxSources(0), 256, "sources")
check.eq(S:getSoundDriverMaxSources(-1), 0, "no sources outside the list")
check.eq(S:querySoundDriverFeature(0, 1), true, "EFX")
check.eq(S:querySoundDriverFeature(0, 0), false, "no EAX-RAM")
for _, feature in ipairs({10, -1}) do
    check.raises("[CSoundEngine::IsExtensionSupported] Feature unknown:" .. feature,
        S.querySoundDriverFeature, S, 0, feature)
end
check.raises("Feature unknown:2147483647", S.querySoundDriverFeature, S, 0, 2 ^ 32 + 1)

-- A walk over the devices that asks to stop at the first is called once;
-- a global function's name serves as the callback.
local seen = {}
S:forEachSoundDriver(function(...)
    seen[#seen + 1] = {...}
    return true
end, "user")
check.eq(#seen, 1, "stopped at the first device")
local first = seen[1]
check.eq(table.concat({first[1], first[2], first[3], first[4], first[5], tostring(first[6]), first[7]}, "|"),
    "0|OpenAL Soft|1|1|256|" .. tostring(S:getSoundDriverDefault() == 0) .. "|user", "callback arguments")
local walked = 0
function countDriver(index, name, major, minor, sources, isDefault, user)
    walked = walked + 1
    check.eq(user, nil, "no user value")
end
S:forEachSoundDriver("countDriver")
check.eq(walked, count, "every device walked")

-- The listener.
S:setGlobalVolume(0.5)
check.near(S:getGlobalVolume(), 0.5, 1e-6, "global volume")
S:setGlobalVolume(-1)
check.eq(S:getGlobalVolume(), 0, "a negative volume is 0")
S:setGlobalVolume(1)
S:setDistanceModel(53251) -- AL_LINEAR_DISTANCE
check.eq(S:getDistanceModel(), 53251, "distance model")
S:setSpeedOfSound(340)
check.near(S:getSpeedOfSound(), 340, 1e-4, "speed of sound")
S:setDopplerFactor(2)
check.eq(S:getDopplerFactor(), 2, "Doppler factor")
check.eq(results(S:enableAutoManagedCamera(false)), 0, "enableAutoManagedCamera answers nothing")
check.eq(S:getAutoManagedCamera(), false, "auto-managed camera off")
S:setListenerPosition(V(1, 2, 3), V(0, 0, 0), V(1, 2, 4), V(0, 1, 0))

-- Loading: an empty name makes a UUID text that works as the name.
local id = S:load("", wave, false, 0.5, 0)
check.truthy(type(id) == "string" and id:match("^%x+%-%x+%-%x+%-%x+%-%x+$"), "UUID name: " .. tostring(id))
check.eq(S:soundExists(id), true, "the UUID names the sound")
check.near(S:getVolume(id), 0.5, 1e-6, "volume given to load")
check.truthy(S:getSoundFilename(id):find("tone.wav", 1, true), "file name")
check.eq(S:isStreamMode(id), false, "a short WAVE loads whole")
check.eq(S:getNumberOfSounds(), 1, "one sound")
check.eq(S:load("broken", work .. "/missing.wav", false, 1, 0), nil, "a missing file loads nothing")

-- The looping argument: true or a number other than 0 loops.
for _, case in ipairs({{true, true}, {1, true}, {-2, true}, {0, false}, {false, false}, {nil, false},
                       {0 / 0, false}, {"x", false}}) do
    check.eq(S:load("loop", wave, false, 1, case[1]), "loop", "load under a name")
    check.eq(S:isLooping("loop"), case[2], "looping argument " .. tostring(case[1]))
end
S:setLooping("loop", false)
check.eq(S:isLooping("loop"), false, "setLooping")

-- Source settings read back (z crosses to OpenAL negated and back).
S:setPitch(id, 1.5)
S:setMaxDistance(id, 50)
S:setReferenceDistance(id, 2)
S:setRolloffFactor(id, 0.25)
S:setPosition(id, V(1, -2, 3))
S:setVelocity(id, V(4, 5, 6))
S:setDirection(id, V(0, 0, -1))
S:setDirectionConeAngleParams(id, 30, 90, 0.25)
check.eq(table.concat({S:getPitch(id), S:getMaxDistance(id), S:getReferenceDistance(id), S:getRolloffFactor(id),
    text(S:getPosition(id)), text(S:getDirection(id)), S:getDirectionConeAngleInner(id),
    S:getDirectionConeAngleOuter(id), S:getDirectionConeVolumeOuter(id)}, "|"),
    "1.5|50|2|0.25|1 -2 3|0 0 -1|30|90|0.25", "settings")

-- Playing a whole sound: pause, play on, seek, rewind, stop.
check.eq(S:play(id, 0, 0), true, "play")
check.eq(S:isPlaying(id), true, "playing")
check.eq(S:pause(id), true, "pause")
check.eq(S:isPaused(id), true, "paused")
check.eq(S:setPlayPosition(id, 1), true, "seek")
check.near(S:getPlayPosition(id), 1, 0.01, "play position")
check.eq(S:play(id, 2 ^ 40, -5), true, "play on with odd period and priority")
check.eq(S:isPlaying(id), true, "playing again")
check.eq(S:rewind(id), true, "rewind")
check.eq(S:isPlaying(id) or S:isStopped(id), false, "rewound to the start")
check.eq(S:getPlayPosition(id), 0, "at the start")
check.eq(S:play(id, 0, 0), true, "play")
check.eq(S:stop(id), true, "stop")
check.eq(S:isStopped(id), true, "stopped")

-- Streaming Ogg Vorbis (it streams whatever the flag says): a short stream
-- plays out by itself, a looping one goes on past its end, refilled by its
-- worker; odd periods are held to the worker's bounds.
local ogg = sounds.ogg(work .. "/tone.ogg", 0.3)
check.eq(S:load("once", ogg, false, 1, 0), "once", "load Ogg")
check.eq(S:load("again", ogg, true, 1, true), "again", "load looping Ogg")
check.eq(S:isStreamMode("once"), true, "Ogg streams")
check.eq(S:play("once", 2 ^ 40, 0), true, "play the stream")
check.eq(S:play("again", -5, 0), true, "play the looping stream")
check.eq(S:isPlaying("once") and S:isPlaying("again"), true, "both play")
local start = IApp:getTime()
while not S:isStopped("once") and IApp:getTime() - start < 5000 do IApp:sleep(20) end
check.eq(S:isStopped("once"), true, "the stream played out")
while IApp:getTime() - start < 900 do IApp:sleep(20) end
check.eq(S:isPlaying("again"), true, "the looping stream plays past its end")
check.eq(S:pause("again"), true, "pause the stream")
check.eq(S:isPaused("again"), true, "stream paused")
check.eq(S:rewind("again"), true, "rewind the stream")
check.eq(S:play("again", 0, 0), true, "play the stream from its start")
check.eq(S:isPlaying("again"), true, "stream playing")
check.eq(S:play("once", 0, 0), true, "a stream that ended plays again")
check.eq(S:stop("again"), true, "stop the stream")

-- Other extensions map to a reader.
check.eq(S:mapSoundExtension(".snd", ".wav"), true, "map .snd")
check.eq(S:mapSoundExtension(".xyz", ".mp3"), false, "no .mp3 reader")
local copy = assert(io.open(work .. "/tone.snd", "wb"))
copy:write(assert(io.open(wave, "rb")):read("*a"))
copy:close()
check.eq(S:load("mapped", work .. "/tone.snd", false, 1, 0), "mapped", "a mapped extension loads")

-- A name that names no sound: getters answer 0, false or nil, setters
-- nothing, and nothing changes.
local before = S:getNumberOfSounds()
local missing = {
    {"soundExists", false}, {"getSoundFilename", nil}, {"isStreamMode", false}, {"play", false, 0, 0},
    {"stop", false}, {"rewind", false}, {"pause", false}, {"isPlaying", false}, {"isPaused", false},
    {"isStopped", false}, {"getVolume", 0}, {"getPitch", 0}, {"isLooping", false}, {"getMaxDistance", 0},
    {"getReferenceDistance", 0}, {"getRolloffFactor", 0}, {"getPosition", nil}, {"getDirection", nil},
    {"getDirectionConeAngleInner", 0}, {"getDirectionConeAngleOuter", 0}, {"getDirectionConeVolumeOuter", 0},
    {"getPlayPosition", 0}, {"setPlayPosition", false, 1},
}
for _, case in ipairs(missing) do
    local n, value = results(S[case[1]](S, "never loaded", case[3], case[4]))
    check.eq(n, 1, case[1] .. " answers one value")
    check.eq(value, case[2], case[1] .. " of a missing sound")
end
local setters = {
    {"unload"}, {"setVolume", 1}, {"setPitch", 1}, {"setLooping", true}, {"setMaxDistance", 1},
    {"setReferenceDistance", 1}, {"setRolloffFactor", 1}, {"setPosition", V(1, 2, 3)}, {"setVelocity", V(1, 2, 3)},
    {"setDirection", V(1, 0, 0)}, {"setDirectionConeAngleParams", 1, 2, 3},
}
for _, case in ipairs(setters) do
    check.eq(results(S[case[1]](S, "never loaded", case[2], case[3], case[4])), 0, case[1] .. " answers nothing")
end
check.eq(S:getNumberOfSounds(), before, "nothing loaded or unloaded")

-- unloadAll: with an age, sounds that play stay; 0 unloads all.
check.eq(S:play("loop", 0, 0), true, "one sound plays")
IApp:sleep(5)
S:unloadAll(1)
check.eq(S:soundExists("loop"), true, "a playing sound stays")
check.eq(S:soundExists("mapped"), false, "a sound never played goes")
S:unloadAll(0)
check.eq(S:getNumberOfSounds(), 0, "all unloaded")

-- Walks in name order whose callbacks unload sounds: the one given, one
-- ahead, or all of them.
local function loadNames(names)
    for name in names:gmatch("%a+") do S:load(name, wave, false, 1, 0) end
end
loadNames("d b a c")
local order = {}
S:forEachSound(function(name, user)
    order[#order + 1] = name .. ":" .. user
    S:unload(name)
    if name == "b" then S:unload("c") end
end, "u")
check.eq(table.concat(order, " "), "a:u b:u d:u", "unloading the current and the next sound")
check.eq(S:getNumberOfSounds(), 0, "each walked sound unloaded")
loadNames("a b c")
order = {}
S:forEachSound(function(name)
    order[#order + 1] = name
    S:unloadAll(0)
end)
check.eq(table.concat(order, " "), "a", "unloading all ends the walk")
loadNames("a b c")
order = {}
function stopAtB(name)
    order[#order + 1] = name
    return name == "b"
end
S:forEachSound("stopAtB")
check.eq(table.concat(order, " "), "a b", "true ends the walk")
check.raises("callback failed", S.forEachSound, S, function() error("callback failed") end)
check.raises("Lua assertion failed:m_functionObj.IsFunction()", S.forEachSound, S, 42)
check.raises("Lua assertion failed:m_functionObj.IsFunction()", S.forEachSoundDriver, S, "noSuchGlobal")

S:destroy()
check.eq(S:isInitialised(), false, "destroyed")
check.eq(S:getCurrentDriverName(), nil, "no driver name after destroy")
check.eq(S:getNumberOfSounds(), 0, "destroy unloads")
check.done()
