--! env: HALVANE_MESSAGEBOX=cancel
--! stdout: CHECKS PASSED
-- Message boxes answered Cancel.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IApp:showMessageBoxYesNoCancel("Question?", "Caption", 0), 3, "YesNoCancel")
check.eq(IApp:showMessageBoxOk("Question?", "Caption", 0), 1, "Ok has only OK")
check.eq(IApp:showMessageBoxOkCancel("Question?", "Caption", 0), false, "OkCancel")
check.done()
