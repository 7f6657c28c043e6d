--! stdout: CHECKS PASSED
-- Names as scripts give them: case-insensitive matches agree between
-- opening and the existence checks, names are not patterns, FIFOs are never
-- opened, and zip extraction keeps to its folder and reports failure.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local read, write = files.read, files.write

-- Stray writes would land here, not in the source tree.
IApp:pathCreate(work .. "/cwd")
IApp:setBasePath(work .. "/cwd")

-- Names written on Windows: existence follows opening.
IApp:pathCreate(work .. "/Case")
write(work .. "/Case/Lower.lua", "return 'lower'")
check.eq(IApp:loadScriptEx(work .. "/case/LOWER.LUA"), "lower", "opened without case")
check.eq(IApp:fileExists(work .. "/case/LOWER.LUA"), true, "fileExists agrees")
check.eq(IApp:pathExists(work .. "/CASE"), true, "pathExists agrees")
check.eq(IApp:fileExists(work .. "/CASE"), false, "a folder is still no file")
check.eq(IApp:fileExists(work .. "/case/missing.lua"), false, "a missing file")
check.eq(IApp:fileCopy(work .. "/case/lower.lua", work .. "/CASE/LOWER.LUA", false), false,
    "fileCopy finds the destination that fileExists finds")
check.eq(IApp:fileCopy(work .. "/case/lower.lua", work .. "/case/copy.lua", false), true, "a new copy")
check.eq(IApp:fileExists(work .. "/CASE/COPY.LUA"), true, "the copy exists")

-- Names are names: "*" and "?" are plain characters for loads.
IApp:pathCreate(work .. "/star")
write(work .. "/star/a*b.lua", "return 'star'")
write(work .. "/star/plain.lua", "return 'plain'")
write(work .. "/star/plain.kvocfg", "")
check.eq(IApp:loadScript("*"), false, "loadScript('*') loads nothing")
check.eq(IApp:loadScript(work .. "/star/*"), false, "nor a folder's first file")
check.eq(IApp:loadScriptEx(work .. "/star/p?ain"), nil, "'?' is no wildcard")
check.eq(IApp:loadOptions(work .. "/star/*"), false, "loadOptions('*')")
check.eq(IApp:loadScriptEx(work .. "/star/A*B.LUA"), "star", "a name holding '*' opens as written")
IApp:addSearchPath(work .. "/star", false, 50)
check.eq(IApp:loadScriptEx("*"), nil, "not through the search paths either")
check.eq(IApp:getFilenameFromFileSystem("pl*.lua", ""), work .. "/star/plain.lua", "lookups take patterns")
IApp:clearSearchPaths(50)

-- FIFOs: nothing waits for a writer.
IApp:pathCreate(work .. "/pipes")
local names = { "pipe.zip", "pipe.kvocfg", "pipe.kvolanguage", "pipe.lua" }
for _, name in ipairs(names) do
    check.eq(os.execute("mkfifo '" .. work .. "/pipes/" .. name .. "'"), 0, "mkfifo " .. name)
end
check.eq(IApp:addSearchZip(work .. "/pipes/pipe.zip", false, 1, ""), false, "addSearchZip of a FIFO")
check.eq(IApp:addSearchZipDecompressed(work .. "/pipes/pipe.zip", false, 1, "", work .. "/out0"), nil,
    "extracting a FIFO")
check.eq(IApp:loadOptions(work .. "/pipes/pipe"), false, "loadOptions of a FIFO")
check.eq(IApp:loadTranslations(work .. "/pipes/pipe"), false, "loadTranslations of a FIFO")
check.eq(IApp:loadScript(work .. "/pipes/pipe"), false, "loadScript of a FIFO")
IApp:addSearchPath(work .. "/pipes", false, 1)
check.eq(IApp:loadScript("pipe.lua"), false, "a FIFO found through a search path")
IApp:clearSearchPaths(1)

-- Extraction: drive-like names stay inside; failures give nil.
zip.write(work .. "/escape.zip", { { "C:escaped.txt", "1" }, { "q:x/deeper.txt", "2" } })
check.eq(IApp:addSearchZipDecompressed(work .. "/escape.zip", false, 2, "", work .. "/out"), work .. "/out",
    "extracted")
check.eq(read(work .. "/out/escaped.txt"), "1", "C:escaped.txt inside the folder")
check.eq(read(work .. "/out/x/deeper.txt"), "2", "q:x/deeper.txt inside the folder")
check.eq(read(work .. "/cwd/C:escaped.txt"), nil, "nothing in the current folder")
check.eq(IApp:addSearchZipDecompressed(work .. "/missing.zip", false, 3, "", work .. "/out2"), nil,
    "a missing zip is a failure")
check.done()
