--! stdout: CHECKS PASSED
-- The option store: typed values under a section and a key, saved to and
-- loaded from ".kvocfg" files in every format, and walked with a callback.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local read = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua").read
local work = os.getenv("HALVANE_TEST_WORK")

-- The walk's calls, each "x|y|text|user data".
local function walk(userData, stopAfter)
    local calls = {}
    IApp:forEachOption(function(x, y, text, data)
        calls[#calls + 1] = table.concat({x, y, text, tostring(data)}, "|")
        return stopAfter ~= nil and #calls >= stopAfter
    end, userData)
    return table.concat(calls, ";")
end

check.eq(IApp:getOption("video", "width"), "", "a missing option")
check.eq(IApp:getOptionInt("video", "width"), 0, "a missing integer")
check.eq(IApp:getOptionBool("video", "fullscreen"), false, "a missing flag")
check.eq(IApp:optionExists("video", "width"), false, "optionExists of a missing option")

IApp:setOptionInt("video", "width", 800)
check.eq(IApp:optionExists("video", "width"), true, "optionExists")
check.eq(IApp:getOption("video", "width"), "800", "an integer as text")
check.eq(walk(), "video|width|800|nil", "forEachOption without user data")

IApp:setOptionBool("video", "fullscreen", true)
IApp:setOptionFloat("audio", "volume", 0.75)
IApp:setOption("player", "name", "Zoë \"Z\" 100% [x]")
IApp:setOptionInt("video", "depth", -32)
check.eq(IApp:getOptionBool("video", "fullscreen"), true, "flag")
check.near(IApp:getOptionFloat("audio", "volume"), 0.75, 1e-6, "float")
check.eq(IApp:getOptionInt("video", "depth"), -32, "negative integer")
check.eq(walk("data"), "audio|volume|0.75|data;player|name|Zoë \"Z\" 100% [x]|data;"
    .. "video|depth|-32|data;video|fullscreen|1|data;video|width|800|data", "walk in key order")
check.eq(walk(nil, 1), "audio|volume|0.75|nil", "a callback that returns true ends the walk")

-- The callback by name; a name that is not a function is an error, and so
-- is a failing callback.
seen = 0
function countOption() seen = seen + 1 end
IApp:forEachOption("countOption")
check.eq(seen, 5, "callback given by name")
notAFunction = 1
check.raises("Lua assertion failed:m_functionObj.IsFunction()", IApp.forEachOption, IApp, "notAFunction")
check.raises("callback broke", IApp.forEachOption, IApp, function() error("callback broke") end)

-- Round trips: every format gives the same options back, and the text form
-- saved again is the same bytes.
for _, format in ipairs({"UTF8", "UTF16", "BINARY", "COMPRESSED"}) do
    local path = work .. "/settings_" .. format .. ".kvocfg"
    check.eq(IApp:saveOptions(path, format), true, "save " .. format)
    local before = walk()
    check.eq(IApp:clearOptions(), true, "clearOptions")
    check.eq(walk(), "", "cleared")
    check.eq(IApp:loadOptions(work .. "/settings_" .. format), true, "load " .. format .. " by its name without extension")
    check.eq(walk(), before, "the same options after " .. format)
    local again = work .. "/again_" .. format .. ".kvocfg"
    check.eq(IApp:saveOptions(again, format), true, "save again " .. format)
    check.truthy(read(path), "saved " .. format)
    check.eq(read(again), read(path), "byte-exact " .. format)
end
check.eq(IApp:loadOptions(work .. "/missing"), false, "loading a missing file")

-- clearOption
check.eq(IApp:clearOption("video", "depth"), true, "clearOption")
check.eq(IApp:optionExists("video", "depth"), false, "cleared option")
check.eq(IApp:clearOption("video", "never"), true, "clearing a missing option")

-- The walk goes over a copy: a callback that empties or fills the store
-- sees every entry that was there when it began, and only those.
local names = {}
IApp:forEachOption(function(x, y)
    names[#names + 1] = x .. "." .. y
    IApp:clearOptions()
    IApp:setOption("zz", y, "added")
end)
check.eq(table.concat(names, ","), "audio.volume,player.name,video.fullscreen,video.width",
    "a callback that clears and adds entries")
check.eq(IApp:getOption("zz", "width"), "added", "the callback's entries stay")
check.done()
