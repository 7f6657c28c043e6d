--! stdout: CHECKS PASSED
-- Product information, executable paths and the clocks. The system
-- information comes from the graphics device, which does not exist here.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IApp:getAppName(), "Halvane 2010: 3D Engine", "name")
check.truthy(#IApp:getAppCopyright() > 0, "copyright")
check.truthy(#IApp:getAppWebsite() > 0, "website")
check.eq(IApp:getAppMajorVersion(), 3, "major version")
check.eq(IApp:getAppMinorVersion(), 16, "minor version")
check.eq(IApp:getAppBuildDate(), "Jan 14 2010", "build date")
check.eq(IApp:getAppBuildTime(), "14:32:15", "build time")

for _, case in ipairs({
    {3, 16, true}, {3, 15, true}, {3, 17, false}, {2, 99, true}, {4, 0, false},
    {0, 0, true}, {-1, 0, false}, -- -1 is the largest major version
}) do
    check.eq(IApp:testAppVersion(case[1], case[2]), case[3], "testAppVersion " .. case[1] .. "." .. case[2])
end

local folder = IApp:getExeFilePath()
check.eq(string.sub(folder, -1), "/", "the executable folder ends in a separator")
local exe = IApp:getExeFileName()
check.eq(string.sub(exe, 1, #folder), folder, "the executable is in its folder")
check.truthy(IApp:fileExists(exe), "the executable exists: " .. exe)

for _, case in ipairs({
    {"getOperatingSystemVersion", "[CGraphicsEngine::GetOperatingSystemVersion] Graphics Engine not initialised"},
    {"getProcessorSpeed", "[CGraphicsEngine::GetOperatingSystemMHz] Graphics Engine not initialised"},
    {"getMemoryTotal", "[CGraphicsEngine::GetOperatingSystemMemoryTotal] Graphics Engine not initialised"},
    {"getMemoryFree", "[CGraphicsEngine::GetOperatingSystemMemoryFree] Graphics Engine not initialised"},
}) do
    check.raises(case[2], IApp[case[1]], IApp)
end

local now = os.time()
check.truthy(math.abs(IApp:getSystemTime() - now) <= 2, "system time in seconds")
local before = IApp:getTime()
IApp:sleep(20)
local elapsed = IApp:getTime() - before
check.truthy(elapsed >= 20 and elapsed < 2000, "sleep and getTime: " .. elapsed)
check.done()
