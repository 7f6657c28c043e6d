--! stdout: CHECKS PASSED
-- IApp, IState and ILog hold exactly their documented functions.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")

local expected = {
    IApp = [[getThreadState getScriptManager getThreadIdFromOS loadScript loadScriptEx runScriptBuffer
        callScript clearScriptData getAppName getAppCopyright getAppWebsite getAppMajorVersion
        getAppMinorVersion testAppVersion getAppBuildDate getAppBuildTime getExeFilePath getExeFileName
        getOperatingSystemVersion getProcessorSpeed getMemoryTotal getMemoryFree run tick stop
        isThrottlingEnabled enableThrottling getTotalFrames getTotalProcessingTime getTotalFrameTime
        getAveProcessingTime getAveFrameTime enableFrameCounter isFrameCounterEnabled showConsoleWindow
        hideConsoleWindow isConsoleWindowVisible getConsoleWindowHandle setConsoleCaption getConsoleCaption
        setConsoleIcon getBasePath setBasePath addSearchPath addSearchZip addSearchZipDecompressed
        enableSearchCache isSearchCacheEnabled clearSearchCache clearSearchPaths clearAllSearchPaths
        getFilenameFromFileSystem getFilenameListFromFileSystem findFirstFile findRandomFile fileExists
        fileIsRelative fileCopy fileDelete extractFilenameComponents pathExists pathCreate pathDelete pathCopy
        pathMove pathClean loadOptions saveOptions clearOptions clearOption optionExists getOption setOption
        getOptionBool setOptionBool getOptionInt setOptionInt getOptionFloat setOptionFloat forEachOption
        getSystemTime getTime getTranslatorFilename loadTranslations loadSingleTranslation saveTranslations
        setTranslation clearTranslations clearTranslation translate translateCode forEachTranslation
        shellExecute showWindow sleep showMessageBoxYesNo showMessageBoxYesNoCancel showMessageBoxOk
        showMessageBoxOkCancel showMessageBoxRetryCancel showOpenFileDialog showSaveFileDialog
        showBrowseDialog showBrowseDialogEx]],
    IState = "getName queueEx setErrorHandler setDefaultErrorHandler queue reset",
    ILog = "setOutputLevel getOutputLevel setSystemLevel getSystemLevel write writePublish",
}

for interface, list in pairs(expected) do
    local table = debug.getmetatable(_G[interface])
    local wanted = {}
    for name in string.gmatch(list, "%S+") do
        wanted[name] = true
        check.eq(type(table[name]), "function", interface .. "." .. name)
    end
    for name in pairs(table) do
        if name ~= "__index" and name ~= "__metatable" then
            check.truthy(wanted[name], interface .. " has no undocumented function " .. name)
        end
    end
end
check.done()
