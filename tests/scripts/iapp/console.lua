--! stdout: CHECKS PASSED
--! stdout: - Halvane 2010: 3D Engine 3.16
--! stdout: - Build: Jan 14 2010 14:32:15
--! stdout: shown line
--! not-stdout: hidden line
-- The console is standard output, written to only while it is shown;
-- showing it prints the engine information and sets the standard caption.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IApp:isConsoleWindowVisible(), false, "hidden at start")
check.eq(IApp:getConsoleCaption(), "", "no caption yet")
check.eq(IApp:setConsoleCaption("while hidden"), true, "setConsoleCaption while hidden")
check.eq(IApp:getConsoleCaption(), "", "a hidden console takes no caption")

check.eq(IApp:showConsoleWindow(65001, 0), true, "showConsoleWindow")
check.eq(IApp:isConsoleWindowVisible(), true, "visible")
local standard = IApp:getAppName() .. " v3.16 " .. IApp:getAppCopyright() .. " [" .. IApp:getAppWebsite() .. "]"
check.eq(IApp:getConsoleCaption(), standard, "standard caption")
check.eq(IApp:setConsoleCaption("Tools"), true, "setConsoleCaption")
check.eq(IApp:getConsoleCaption(), "Tools", "caption")
check.eq(IApp:setConsoleIcon("icon.ico"), false, "setConsoleIcon does nothing")
check.eq(IApp:getConsoleWindowHandle(), 0, "no console window of its own")

ILog:setOutputLevel(0)
ILog:write("shown line", 0)
IApp:hideConsoleWindow()
check.eq(IApp:isConsoleWindowVisible(), false, "hidden again")
ILog:write("hidden line", 0)
check.done()
