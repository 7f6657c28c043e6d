--! stdout: CHECKS PASSED
-- Hostile input to ISound: every function with values of every type, NaN,
-- infinities and huge numbers in each argument, before init, with a device
-- and a sound, and after destroy; seeded random calls, each made again from
-- a coroutine; walk callbacks that fail, yield, re-enter or tear the device
-- down. Each call answers or fails with a clear message, and the engine
-- stays usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local hostile = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local sounds = dofile(os.getenv("HALVANE_TEST_LIB") .. "/sounds.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local S = ISound
math.randomseed(5050)

local wave = sounds.wave(work .. "/tone.wav", 0.5)
local values = hostile.values({IMisc:vectorCreate(0 / 0, 1 / 0, -1e308), IMisc:pointCreate(1, 2), IApp, S,
    function() coroutine.yield(1) end, function() S:destroy() end, "s", wave})

-- Every function but init and destroy, which have their own cases, and how
-- many arguments each reads; sound functions take the name "s" first.
local counts = {
    isInitialised = 0, lock = 1, setDesiredFrameRate = 1, getDesiredFrameRate = 0, getTotalFrames = 0,
    getTotalProcessingTime = 0, getAveProcessingTime = 0, enableFrameCounter = 2, isFrameCounterEnabled = 0,
    getCurrentDriverName = 0, getNumberOfSoundDrivers = 0, getSoundDriverName = 1, getSoundDriverVersionMajor = 1,
    getSoundDriverVersionMinor = 1, getSoundDriverMaxSources = 1, getSoundDriverDefault = 0,
    querySoundDriverFeature = 2, forEachSoundDriver = 2, getGlobalVolume = 0, setGlobalVolume = 1,
    getDistanceModel = 0, setDistanceModel = 1, getSpeedOfSound = 0, setSpeedOfSound = 1, getDopplerFactor = 0,
    setDopplerFactor = 1, setListenerPosition = 4, enableAutoManagedCamera = 1, getAutoManagedCamera = 0,
    getNumberOfSounds = 0, mapSoundExtension = 2, load = 5, soundExists = 1, getSoundFilename = 1,
    isStreamMode = 1, play = 3, stop = 1, rewind = 1, pause = 1, isPlaying = 1, isPaused = 1, isStopped = 1,
    unload = 1, unloadAll = 1, getVolume = 1, setVolume = 2, getPitch = 1, setPitch = 2, isLooping = 1,
    setLooping = 2, getMaxDistance = 1, setMaxDistance = 2, getReferenceDistance = 1, setReferenceDistance = 2,
    getRolloffFactor = 1, setRolloffFactor = 2, getPosition = 1, setPosition = 2, setVelocity = 2,
    getDirection = 1, setDirection = 2, getDirectionConeAngleInner = 1, getDirectionConeAngleOuter = 1,
    getDirectionConeVolumeOuter = 1, setDirectionConeAngleParams = 4, getPlayPosition = 1, setPlayPosition = 2,
    forEachSound = 2, attachEntitySound = 2, detachEntitySound = 2, detachAllEntitySounds = 2, refreshEntity = 1,
    getNumberOfEntitySounds = 1, forEachEntitySound = 3,
}
local functions = {}
for name in pairs(counts) do functions[#functions + 1] = name end
table.sort(functions)

-- Messages besides the "[Class::Method] ..." ones: what a callback that is
-- no function, fails or yields earns.
local accepted = {"m_functionObj.IsFunction()", "callback failed", "yield"}

-- The arguments a function is called with: sensible ones ("s" names the
-- loaded sound, the mapped extension is harmless), one replaced.
local function arguments(name, position, value)
    local args = {"s", 1, 1, 1, 1}
    if name == "load" then args = {"loaded", wave, false, 1, 0} end
    if name == "setListenerPosition" or name == "setPosition" or name == "setVelocity" or name == "setDirection" then
        local v = IMisc:vectorCreate(1, 2, 3)
        args = {"s", v, v, v}
        if name == "setListenerPosition" then args = {v, v, v, v} end
    end
    if name == "mapSoundExtension" then args = {".snd", ".wav"} end
    if name:find("^forEach") then args = {function() end, nil} end
    if name == "forEachEntitySound" then args = {"s", function() end, nil} end
    args[position] = value
    return args
end

local function restore()
    if S:isInitialised() and not S:soundExists("s") then
        check.eq(S:load("s", wave, false, 1, 0), "s", "the sound loads again")
    end
    S:lock(false)
end

local function sweep(when)
    local calls = 0
    hostile.sweep(functions, values, nil, function(name, value)
        for position = 1, math.max(counts[name], 1) do
            restore()
            local args = arguments(name, position, value)
            hostile.expectCleanCall(check, S, name, accepted, unpack(args, 1, math.max(counts[name], 1)))
            calls = calls + 1
        end
    end)
    return calls
end

check.truthy(sweep("before init") > 2000, "every function swept")
check.eq(S:init("", 100, false), true, "init")
restore()
sweep("with a device")
-- A walk callback may destroy the device (one of the values): open again.
if not S:isInitialised() then check.eq(S:init("", 100, false), true, "init again") end
restore()
check.eq(S:play("s", 0, 0), true, "the sound plays after the sweep")
check.eq(S:isPlaying("s"), true, "and is heard")

-- Seeded rounds of random arguments, each call made again from a coroutine.
local calls, failures = hostile.fuzz({
    check = check, functions = functions, rounds = 6,
    restore = function()
        if not S:isInitialised() then S:init("", 100, true) end
        restore()
    end,
    arguments = hostile.randomArguments(values, 5),
    call = function(name, ...) return hostile.expectCleanCall(check, S, name, accepted, ...) end,
})
hostile.expectSomeFail(check, calls, failures)

-- Hostile driver names and frame rates: a name that opens no device is
-- false when quiet, else the documented error; rates are taken as they
-- convert.
for index = 1, #values do
    local value = values[index]
    local ok, result = pcall(S.init, S, value, value, true)
    check.truthy(ok and (result == true or result == false), "quiet init with " .. tostring(value))
    ok, result = pcall(S.init, S, value, value, false)
    check.truthy((ok and result == true) or string.find(tostring(result),
        "[CSoundEngine::Init] Failed to create and initialise the sound device.", 1, true),
        "init with " .. tostring(value) .. ": " .. tostring(result))
end
S:destroy()
sweep("after destroy")
S:destroy()

-- Walk callbacks that re-enter, tear the device down or yield.
check.eq(S:init("", 100, false), true, "init")
for _, name in ipairs({"a", "b", "c"}) do S:load(name, wave, false, 1, 0) end
local seen = {}
S:forEachSound(function(name)
    seen[#seen + 1] = name
    S:forEachSound(function(inner) S:unload(inner) end) -- unloads all, itself included
end)
check.eq(table.concat(seen, " "), "a", "an inner walk unloading everything ends the outer one")
for _, name in ipairs({"a", "b", "c"}) do S:load(name, wave, false, 1, 0) end
seen = {}
S:forEachSound(function(name)
    seen[#seen + 1] = name
    S:destroy()
end)
check.eq(table.concat(seen, " "), "a", "destroying the device ends the walk")
check.eq(S:init("", 100, false), true, "init after the walk")
S:load("a", wave, false, 1, 0)
local co = coroutine.create(function()
    return pcall(S.forEachSound, S, function() coroutine.yield(1) end)
end)
local resumed, ok, message = coroutine.resume(co)
check.truthy(resumed and not ok and string.find(message, "yield", 1, true), "a yielding callback: "
    .. tostring(message))
check.eq(S:soundExists("a"), true, "the sound stays")
hostile.fromCoroutine(check, function()
    check.eq(S:play("a", 0, 0), true, "play from a coroutine")
    S:forEachSoundDriver(function() return true end)
end)
S:destroy()
check.done()
