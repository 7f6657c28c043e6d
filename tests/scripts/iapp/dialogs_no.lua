--! env: HALVANE_MESSAGEBOX=no
--! stdout: CHECKS PASSED
-- Message boxes answered No (Cancel where there is no No).
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IApp:showMessageBoxYesNo("Question?", "Caption", 0), false, "YesNo")
check.eq(IApp:showMessageBoxYesNoCancel("Question?", "Caption", 0), 2, "YesNoCancel")
check.eq(IApp:showMessageBoxOkCancel("Question?", "Caption", 0), false, "OkCancel")
check.eq(IApp:showMessageBoxRetryCancel("Question?", "Caption", 0), false, "RetryCancel")
check.done()
