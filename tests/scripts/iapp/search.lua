--! stdout: CHECKS PASSED
-- Search paths by priority, mounted zips (made here), a zip extracted into
-- a search folder, lookups, lists and file searches, the search cache and
-- the base path.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local zip = dofile(os.getenv("HALVANE_TEST_LIB") .. "/zip.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local read = files.read

-- A file in the work folder holding its own name unless told otherwise.
local function write(name, text) files.write(work .. "/" .. name, text or name) end
local function list(t) return t and table.concat(t, ",") or "nil" end

IApp:pathCreate(work .. "/a/sub")
IApp:pathCreate(work .. "/b")
write("a/shared.txt")
write("a/x.cfg")
write("a/Upper.cfg")
write("a/sub/deep.txt")
write("b/shared.txt")
write("b/only_b.cfg")

-- Priorities: the higher one is searched first; clearing a priority
-- removes exactly what was added with it.
check.eq(IApp:addSearchPath(work .. "/a", false, 5), true, "addSearchPath a")
check.eq(IApp:addSearchPath(work .. "/b", false, 10), true, "addSearchPath b")
check.eq(IApp:addSearchPath(work .. "/none", false, 10), false, "addSearchPath of a missing folder")
check.eq(IApp:getFilenameFromFileSystem("shared.txt", ""), work .. "/b/shared.txt", "priority 10 first")
IApp:clearSearchPaths(10)
check.eq(IApp:getFilenameFromFileSystem("shared.txt", ""), work .. "/a/shared.txt", "priority 10 cleared")
check.eq(IApp:getFilenameFromFileSystem("shared.txt", work .. "/b"), work .. "/b/shared.txt", "in a given folder")
check.eq(IApp:getFilenameFromFileSystem("only_b.cfg", work .. "/a"), nil, "not in the given folder")
check.eq(IApp:getFilenameFromFileSystem("deep.txt", ""), nil, "not recursive")
IApp:clearSearchPaths(5)
check.eq(IApp:addSearchPath(work .. "/a", true, 5), true, "addSearchPath recursive")
check.eq(IApp:getFilenameFromFileSystem("elsewhere/deep.txt", ""), work .. "/a/sub/deep.txt",
    "the bare file name when the path is not found")
check.eq(IApp:getFilenameFromFileSystem(work .. "/b/shared.txt", ""), work .. "/b/shared.txt", "a file on disk")

-- Lists: sorted by character code, bare names or full paths.
check.eq(list(IApp:getFilenameListFromFileSystem("*.cfg;*.txt", true, "")), "Upper.cfg,deep.txt,shared.txt,x.cfg",
    "names only, sorted")
check.eq(list(IApp:getFilenameListFromFileSystem("*.cfg", false, work .. "/b")), work .. "/b/only_b.cfg",
    "full paths in a given folder")
check.eq(IApp:getFilenameListFromFileSystem("*.none", true, ""), nil, "no match")

-- findFirstFile and findRandomFile over a folder of their own or the
-- search paths.
check.eq(IApp:findFirstFile(work .. "/a", "deep.txt", true), work .. "/a/sub/deep.txt", "findFirstFile recursive")
check.eq(IApp:findFirstFile(work .. "/a", "deep.txt", false), nil, "findFirstFile not recursive")
check.eq(IApp:findFirstFile("", "x.cfg", false), work .. "/a/x.cfg", "findFirstFile through the search paths")
check.eq(IApp:findRandomFile(work .. "/a", "*.none", false, 0), nil, "findRandomFile without a match")
local cfgs = { [work .. "/a/x.cfg"] = true, [work .. "/a/Upper.cfg"] = true }
for _ = 1, 10 do
    local found = IApp:findRandomFile(work .. "/a", "*.cfg", false, 0)
    check.truthy(cfgs[found], "findRandomFile: " .. tostring(found))
end
check.eq(IApp:findRandomFile(work .. "/b", "*.cfg", false, 1), work .. "/b/only_b.cfg", "a count of 1")
local beyond = IApp:findRandomFile(work .. "/b", "*.cfg", false, 1000)
check.truthy(beyond == nil or beyond == work .. "/b/only_b.cfg", "a count beyond the matches")

-- The search cache keeps "not found" until it is cleared or switched off.
check.eq(IApp:isSearchCacheEnabled(), true, "cache on at start")
check.eq(IApp:getFilenameFromFileSystem("late.txt", ""), nil, "not there yet")
write("a/late.txt")
check.eq(IApp:getFilenameFromFileSystem("late.txt", ""), nil, "the cache remembers")
IApp:clearSearchCache()
check.eq(IApp:getFilenameFromFileSystem("late.txt", ""), work .. "/a/late.txt", "found after clearing")
IApp:enableSearchCache(false)
check.eq(IApp:isSearchCacheEnabled(), false, "cache off")
check.eq(IApp:getFilenameFromFileSystem("later.txt", ""), nil, "not there yet")
write("a/later.txt")
check.eq(IApp:getFilenameFromFileSystem("later.txt", ""), work .. "/a/later.txt", "no cache, found at once")
IApp:enableSearchCache(true)

-- Zips, made here: found by path, or by file name alone with the retry flag.
zip.write(work .. "/pack.zip", {
    {"zipped/inside.txt", "zip content"},
    {"zipped/script_in_zip.lua", "return 'ran from the zip'"},
    {"top.txt", "top"},
})
check.eq(IApp:addSearchZip(work .. "/missing.zip", false, 20, ""), false, "a missing zip")
check.eq(IApp:addSearchZip(work .. "/pack.zip", false, 20, ""), true, "addSearchZip")
check.eq(IApp:getFilenameFromFileSystem("zipped/inside.txt", ""), work .. "/pack.zip/zipped/inside.txt", "in the zip")
check.eq(IApp:loadScriptEx("zipped/script_in_zip.lua"), "ran from the zip", "a script from the zip")
check.eq(IApp:findFirstFile("", "inside.txt", false), nil, "no retry by file name")
IApp:clearSearchPaths(20)
check.eq(IApp:getFilenameFromFileSystem("zipped/inside.txt", ""), nil, "the zip is gone")
IApp:addSearchZip(work .. "/pack.zip", true, 20, "")
check.eq(IApp:findFirstFile("", "inside.txt", false), work .. "/pack.zip/zipped/inside.txt", "retry by file name")

-- A zip extracted into a folder: what exists already stays untouched.
local out = IApp:addSearchZipDecompressed(work .. "/pack.zip", true, 30, "", work .. "/out")
check.eq(out, work .. "/out", "the folder used")
check.eq(read(work .. "/out/zipped/inside.txt"), "zip content", "extracted")
write("out/zipped/inside.txt", "changed")
os.remove(work .. "/out/top.txt")
check.eq(IApp:addSearchZipDecompressed(work .. "/pack.zip", true, 30, "", work .. "/out"), work .. "/out", "again")
check.eq(read(work .. "/out/zipped/inside.txt"), "changed", "an existing file is not overwritten")
check.eq(read(work .. "/out/top.txt"), "top", "a missing file is extracted again")
IApp:clearSearchPaths(20)
check.eq(IApp:getFilenameFromFileSystem("zipped/inside.txt", ""), work .. "/out/zipped/inside.txt",
    "the folder is a search path")

-- clearAllSearchPaths removes everything, the entry script's folders too.
IApp:clearAllSearchPaths()
check.eq(IApp:getFilenameFromFileSystem("shared.txt", ""), nil, "nothing left to search")

-- The base path is the current directory.
local start = IApp:getBasePath()
local source = debug.getinfo(1, "S").source
check.eq(start, string.match(source, "^@(.*)/[^/]*$"), "the entry script's folder")
IApp:setBasePath(work .. "/b")
check.eq(IApp:getBasePath(), work .. "/b", "setBasePath")
check.eq(read("only_b.cfg"), "b/only_b.cfg", "relative names in the new folder")
IApp:setBasePath("../a")
check.eq(IApp:getBasePath(), work .. "/a", "a relative base path")
IApp:setBasePath(start)
check.done()
