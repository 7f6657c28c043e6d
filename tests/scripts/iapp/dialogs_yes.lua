--! env: HALVANE_MESSAGEBOX=yes
--! env: DISPLAY=
--! env: WAYLAND_DISPLAY=
--! stdout: CHECKS PASSED
--! stderr: [Caption] Question?
-- Message boxes answered with their accepting button; without a display
-- the file and folder dialogs are cancelled; the shell refuses what it
-- cannot do.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

check.eq(IApp:showMessageBoxYesNo("Question?", "Caption", 0), true, "YesNo")
check.eq(IApp:showMessageBoxYesNoCancel("Question?", "Caption", 0), 1, "YesNoCancel")
check.eq(IApp:showMessageBoxOk("Question?", "Caption", 0), 1, "Ok")
check.eq(IApp:showMessageBoxOkCancel("Question?", "Caption", 0), true, "OkCancel")
check.eq(IApp:showMessageBoxRetryCancel("Question?", "Caption", 0), true, "RetryCancel")

check.eq(IApp:showOpenFileDialog("", "Images:*.png;*.jpg,All:*.*", 1, "Open", true, false, 0), nil, "open")
check.eq(IApp:showSaveFileDialog("", "Text:*.txt", 1, "Save", 0), nil, "save")
check.eq(IApp:showBrowseDialog("Folder", false, "", 0), nil, "browse")
check.eq(IApp:showBrowseDialogEx("Folder", true, true, "/", 0), nil, "browseEx")

check.eq(IApp:shellExecute("open", "", "", "", 1), false, "shellExecute without a file")
check.eq(IApp:shellExecute("", "file.txt", "", "", 1), false, "shellExecute without an operation")
check.eq(IApp:shellExecute("print", os.getenv("HALVANE_TEST_WORK"), "", "", 1), false, "an unknown operation")
check.eq(IApp:shellExecute("open", "no-such-file-here.txt", "", "", 1), false, "a missing file")
check.eq(IApp:showWindow(0, 1), false, "showWindow")
check.done()
