--! stdout: CHECKS PASSED
--! stdout: [CSound::Load] OpenAL has no sound source left for
-- A world with many sound emitters: a thousand sounds load, a quarter of
-- them play at once, and a load past what OpenAL can give fails with a
-- line in the log that says why.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local sounds = dofile(os.getenv("HALVANE_TEST_LIB") .. "/sounds.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local S = ISound

IApp:showConsoleWindow(65001, 0)
ILog:setOutputLevel(ILog:getSystemLevel())
local wave = sounds.wave(work .. "/tone.wav", 0.5)
check.eq(S:init("AUTO_DETECT_SOUND", 50, false), true, "init")

for i = 1, 1000 do
    check.eq(S:load("s" .. i, wave, false, 1, 1), "s" .. i, "sound " .. i .. " loads")
end
check.eq(S:getNumberOfSounds(), 1000, "a thousand sounds")
for i = 1, 256 do
    check.eq(S:play("s" .. i, 0, 0), true, "sound " .. i .. " plays")
end
for i = 1, 256 do
    check.eq(S:isPlaying("s" .. i), true, "sound " .. i .. " is playing")
end
check.eq(S:isPlaying("s257"), false, "a loaded sound that was not played")

-- Past the last source: no sound, and the log says so.
local loaded = 1000
while loaded < 20000 and S:load("more" .. loaded, wave, false, 1, 0) do
    loaded = loaded + 1
end
check.truthy(loaded < 20000, "the sources run out at last")
check.truthy(loaded >= 4000, "thousands of sources: " .. loaded)
check.eq(S:soundExists("more" .. loaded), false, "the refused sound is not kept")
-- A sound let go of gives its source to the next one.
S:unload("s1000")
check.eq(S:load("again", wave, false, 1, 0), "again", "a freed source is used again")
check.eq(S:isPlaying("s1"), true, "the first sounds still play")
S:unloadAll()
check.done()
