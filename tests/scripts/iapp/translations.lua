--! stdout: CHECKS PASSED
-- The translation table: entries by section and code, lookups by
-- "#section#code", saving and loading ".kvolanguage" files, and the walk.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IApp:getTranslatorFilename(), "", "no translator file yet")
check.eq(IApp:translate("menu", "quit"), "#menu#quit", "no translation: the code text")
check.eq(IApp:translateCode("plain text"), "plain text", "a text without #")

check.eq(IApp:setTranslation("menu", "quit", "Beenden"), true, "setTranslation")
check.eq(IApp:setTranslation("menu", "open", "Öffnen 100%"), true, "setTranslation")
check.eq(IApp:setTranslation("title", "main", "Hauptmenü"), true, "setTranslation")
check.eq(IApp:translate("menu", "quit"), "Beenden", "translate")
check.eq(IApp:translateCode("#menu#open"), "Öffnen 100%", "translateCode")
check.eq(IApp:translateCode("#title#main#ignored"), "Hauptmenü", "a third # ends the code")

local function walk(stopAfter)
    local calls = {}
    IApp:forEachTranslation(function(section, code, text, data)
        calls[#calls + 1] = table.concat({section, code, text, tostring(data)}, "|")
        return stopAfter ~= nil and #calls >= stopAfter
    end, 7)
    return table.concat(calls, ";")
end
local all = "menu|open|Öffnen 100%|7;menu|quit|Beenden|7;title|main|Hauptmenü|7"
check.eq(walk(), all, "forEachTranslation in key order")
check.eq(walk(2), "menu|open|Öffnen 100%|7;menu|quit|Beenden|7", "stops when the callback returns true")
check.raises("Lua assertion failed:m_functionObj.IsFunction()", IApp.forEachTranslation, IApp, "noSuchFunction")

local path = work .. "/german.kvolanguage"
check.eq(IApp:saveTranslations(path, "UTF16"), true, "saveTranslations")
check.eq(IApp:clearTranslations(), true, "clearTranslations")
check.eq(walk(), "", "cleared")
check.eq(IApp:loadTranslations(work .. "/german"), true, "loadTranslations by its name without extension")
check.eq(walk(), all, "the same translations back")
check.eq(IApp:getTranslatorFilename(), path, "the translator file")

check.eq(IApp:clearTranslation("menu", "quit"), true, "clearTranslation")
check.eq(IApp:translate("menu", "quit"), "#menu#quit", "gone")
check.eq(IApp:loadSingleTranslation(path), true, "loadSingleTranslation")
check.eq(IApp:translate("menu", "quit"), "Beenden", "back again")
check.eq(IApp:loadTranslations(work .. "/missing"), false, "a missing file")
check.eq(IApp:getTranslatorFilename(), path, "a failed load keeps the translator file")

-- The walk goes over a copy: clearing the table inside the callback does
-- not cut it short.
local codes = {}
IApp:forEachTranslation(function(section, code)
    codes[#codes + 1] = code
    IApp:clearTranslations()
end)
check.eq(table.concat(codes, ","), "open,quit,main", "a callback that clears the table")
check.done()
