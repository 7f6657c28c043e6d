--! stdout: CHECKS PASSED
-- File and folder operations in a temporary folder, and the path helpers.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local read, write = files.read, files.write

-- Folders
local tree = work .. "/tree"
check.eq(IApp:pathCreate(tree .. "/one/two"), true, "pathCreate makes every missing parent")
check.eq(IApp:pathExists(tree .. "/one/two"), true, "pathExists")
check.eq(IApp:pathExists(tree .. "/one/./two/../two"), true, "pathExists of an uncleaned path")
check.eq(IApp:pathCreate(tree .. "/one"), true, "pathCreate of an existing folder")
check.eq(IApp:fileExists(tree .. "/one"), false, "a folder is not a file")

-- Files
local file = tree .. "/one/file.txt"
write(file, "first")
check.eq(IApp:fileExists(file), true, "fileExists")
check.eq(IApp:fileExists(tree .. "/one/two/../file.txt"), true, "fileExists of an uncleaned path")
check.eq(IApp:pathExists(file), false, "a file is not a folder")
local copy = tree .. "/copy.txt"
check.eq(IApp:fileCopy(file, copy, false), true, "fileCopy")
check.eq(read(copy), "first", "copied")
write(file, "second")
check.eq(IApp:fileCopy(file, copy, false), false, "fileCopy keeps an existing file without overwrite")
check.eq(read(copy), "first", "kept")
check.eq(IApp:fileCopy(file, copy, true), true, "fileCopy with overwrite")
check.eq(read(copy), "second", "replaced")
check.eq(IApp:fileCopy(tree .. "/missing", copy, true), false, "copying a missing file")
check.eq(IApp:fileDelete(copy), true, "fileDelete")
check.eq(IApp:fileExists(copy), false, "deleted")
check.eq(IApp:fileDelete(copy), false, "deleting a missing file")
check.eq(IApp:fileDelete(tree .. "/one"), false, "fileDelete does not delete folders")

-- Folder trees
check.eq(IApp:pathCopy(tree, work .. "/copied"), true, "pathCopy")
check.eq(read(work .. "/copied/one/file.txt"), "second", "pathCopy copies the tree")
check.eq(IApp:pathExists(work .. "/copied/one/two"), true, "pathCopy copies empty folders")
check.eq(IApp:pathMove(work .. "/copied", work .. "/moved"), true, "pathMove")
check.eq(IApp:pathExists(work .. "/copied"), false, "moved away")
check.eq(read(work .. "/moved/one/file.txt"), "second", "moved with its files")
check.eq(IApp:pathDelete(work .. "/moved/one", false), false, "pathDelete keeps a folder with sub-folders")
check.eq(IApp:fileExists(work .. "/moved/one/file.txt"), false, "but deletes its files")
check.eq(IApp:pathDelete(work .. "/moved", true), true, "pathDelete recursive")
check.eq(IApp:pathExists(work .. "/moved"), false, "deleted")
check.eq(IApp:pathDelete(work .. "/moved", true), false, "deleting a missing folder")

-- Path helpers
for _, case in ipairs({
    {"a/b", true}, {"a\\b", true}, {"file.txt", true}, {"/a", false}, {"\\a", false},
    {"C:\\a", false}, {"", false}, {"./", false},
}) do
    check.eq(IApp:fileIsRelative(case[1]), case[2], "fileIsRelative " .. case[1])
end
for _, case in ipairs({
    {"dir\\sub\\name.ext", true, true, true, true, "dir/sub/name.ext"},
    {"dir/sub/name.ext", false, true, false, false, "dir/sub/"},
    {"dir/sub/name.ext", false, false, true, false, "name"},
    {"dir/sub/name.ext", false, false, false, true, ".ext"},
    {"dir/sub/name.ext", false, false, true, true, "name.ext"},
    {"/dir/./x/../name", false, true, true, false, "/dir/name"},
}) do
    check.eq(IApp:extractFilenameComponents(case[1], case[2], case[3], case[4], case[5]), case[6],
        "extractFilenameComponents " .. case[1])
end
for _, case in ipairs({
    {"a/./b/../c", "", "a/c"},
    {"\\a\\.\\b\\..\\c\\", "\\", "\\a\\c"},
    {"\\a\\.\\b\\..\\c\\", "/", "/a/c"},
    {"a//b", "", "a/b"},
}) do
    check.eq(IApp:pathClean(case[1], case[2]), case[3], "pathClean " .. case[1] .. " with '" .. case[2] .. "'")
end
check.done()
