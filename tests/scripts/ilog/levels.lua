--! stdout: CHECKS PASSED
--! stdout: progress 100%
--! stdout: second line 5% done
--! not-stdout: below the output level
--! not-stdout: published
--! not-stdout: while hidden
-- ILog sets the logger's levels. write prints the text unchanged (a percent
-- sign is a character, not a format) when the output level allows and the
-- console is shown; writePublish never prints.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(ILog:getOutputLevel(), -1, "output level at start")
check.eq(ILog:getSystemLevel(), 9, "system level at start")
ILog:setSystemLevel(4)
check.eq(ILog:getSystemLevel(), 4, "system level")

IApp:showConsoleWindow(0, 0)
ILog:setOutputLevel(2)
check.eq(ILog:getOutputLevel(), 2, "output level")
ILog:write("progress 100%", 2)
ILog:write("second line 5% done", 1)
ILog:write("below the output level", 3)
local published = {}
local handle = IEvents:subscribeLog(function(text, level) published[#published + 1] = text .. "@" .. level end, nil, 0)
ILog:writePublish("published 50% %s", 1)
ILog:writePublish("published above the output level", 3)
check.eq(table.concat(published, ";"), "published 50% %s@1", "writePublish reaches the log listeners")
IEvents:unsubscribe(handle)
IApp:hideConsoleWindow()
ILog:write("while hidden", 0)
ILog:setSystemLevel(9)
check.done()
