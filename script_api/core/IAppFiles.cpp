// IApp functions on files: the search paths and mounted zips of the
// application's file system, lookups through them, and plain file and folder
// operations. Paths come back with "/" separators.

#include "core/app/Application.h"
#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/PathUtilities.h"
#include "core/io/DataBag.h"
#include "core/io/DiskPath.h"
#include "core/io/FileFinder.h"
#include "core/io/FileOperations.h"
#include "core/io/FileSystem.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/IAppFunctions.h"
#include "script_api/core/ScriptTexts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

// Scripts give priorities; the file system searches keys in ascending
// order, so a higher priority is filed under a lower key.
int32_t SearchKey(int32_t priority)
{
    return static_cast<int32_t>(0u - static_cast<uint32_t>(priority));
}

std::wstring Cleaned(std::wstring path)
{
    CleanPath(path, L"/");
    return path;
}

// Runs the search on the application's file system, or with a folder on a
// file system of its own that holds only that folder.
template <class Search> std::wstring SearchIn(const std::wstring& folder, bool recursive, Search search)
{
    if (folder.empty())
        return search(GetScriptApplication().GetFileSystem());
    CFileSystem own(nullptr, false, false);
    own.AddSearchPath(folder, recursive, 0);
    return search(own);
}

// Search paths and lookups.

std::wstring getBasePath(LuaState*)
{
    CCurrentDirectory current;
    return current.Get();
}

// The base path is stored as the folder the process changed to, so that a
// relative path is not taken relative to itself when the file system
// changes to it later.
void setBasePath(LuaState*, const std::wstring& path)
{
    std::wstring stored = path;
    if (!path.empty())
    {
        CCurrentDirectory current;
        if (current.Set(path))
            stored = current.Get();
    }
    GetScriptApplication().GetFileSystem().SetBasePath(stored, false);
}

bool addSearchPath(LuaState*, const std::wstring& folder, bool recursive, int32_t priority)
{
    return GetScriptApplication().AddSearchPath(folder, recursive, SearchKey(priority));
}

bool addSearchZip(LuaState*, const std::wstring& zipFile, bool retryFileNames, int32_t priority,
                  const std::string& password)
{
    return GetScriptApplication().AddSearchZip(zipFile, retryFileNames, SearchKey(priority), password);
}

LuaObject addSearchZipDecompressed(LuaState* state, const std::wstring& zipFile, bool recursive,
                                   int32_t priority, const std::string& password,
                                   const std::wstring& outputFolder)
{
    return EmptyAsNil(state, GetScriptApplication().AddSearchZipDecompressed(zipFile, outputFolder, recursive,
                                                                             SearchKey(priority), password));
}

void enableSearchCache(LuaState*, bool enable)
{
    GetScriptApplication().GetFileSystem().EnableSearchCache(enable);
}

bool isSearchCacheEnabled(LuaState*)
{
    return GetScriptApplication().GetFileSystem().IsSearchCacheEnabled();
}

void clearSearchCache(LuaState*)
{
    GetScriptApplication().GetFileSystem().ClearSearchCache();
}

void clearSearchPaths(LuaState*, int32_t priority)
{
    GetScriptApplication().ClearSearchPaths(SearchKey(priority));
}

void clearAllSearchPaths(LuaState*)
{
    GetScriptApplication().ClearAllSearchPaths();
}

LuaObject getFilenameFromFileSystem(LuaState* state, const std::wstring& name, const std::wstring& folder)
{
    return EmptyAsNil(state, GetScriptApplication().GetFilenameFromFileSystem(name, folder, true));
}

// The matches sorted by character code (as UTF-16 units); nil when there
// is none.
LuaObject getFilenameListFromFileSystem(LuaState* state, const std::wstring& patterns, bool namesOnly,
                                        const std::wstring& folder)
{
    std::vector<std::wstring> list;
    if (GetScriptApplication().GetFilenameListFromFileSystem(patterns, list, namesOnly, folder) == 0)
        return LuaObject();
    std::sort(list.begin(), list.end(), CUtf16Less());
    return TextList(state, list);
}

std::wstring FirstMatch(CFileSystem& fileSystem, const std::wstring& pattern)
{
    CFileFinder finder(&fileSystem, pattern);
    return fileSystem.FindFirst(finder) ? finder.GetFilePath() : std::wstring();
}

// A match drawn at random among count candidates; with a count of 0 (or
// below) the matches are counted first. Empty when the walk runs out of
// matches before it reaches the one drawn.
std::wstring RandomMatch(CFileSystem& fileSystem, const std::wstring& pattern, int32_t count)
{
    CFileFinder finder(&fileSystem, pattern);
    int64_t candidates = count;
    if (candidates <= 0)
    {
        candidates = 0;
        for (bool found = fileSystem.FindFirst(finder); found; found = finder.FindNext())
            candidates += finder.IsDotEntry() ? 0 : 1;
        if (candidates == 0)
            return std::wstring();
    }
    int64_t remaining = std::rand() % candidates + 1;
    for (bool found = fileSystem.FindFirst(finder); found; found = finder.FindNext())
    {
        if (!finder.IsDotEntry() && --remaining == 0)
            return finder.GetFilePath();
    }
    return std::wstring();
}

LuaObject findFirstFile(LuaState* state, const std::wstring& folder, const std::wstring& pattern,
                        bool recursive)
{
    auto search = [&](CFileSystem& fileSystem) { return FirstMatch(fileSystem, pattern); };
    return EmptyAsNil(state, SearchIn(folder, recursive, search));
}

LuaObject findRandomFile(LuaState* state, const std::wstring& folder, const std::wstring& pattern,
                         bool recursive, int32_t count)
{
    auto search = [&](CFileSystem& fileSystem) { return RandomMatch(fileSystem, pattern, count); };
    return EmptyAsNil(state, SearchIn(folder, recursive, search));
}

// Files and folders.

bool fileExists(LuaState*, const std::wstring& path)
{
    return FileExists(DiskPath::ResolveExistingPath(Cleaned(path)));
}

bool fileIsRelative(LuaState*, const std::wstring& path)
{
    return IsRelativePath(path);
}

bool fileCopy(LuaState*, const std::wstring& source, const std::wstring& destination, bool overwrite)
{
    return CFileOperations().CopyFile(source, destination, !overwrite);
}

bool fileDelete(LuaState*, const std::wstring& path)
{
    return CFileOperations().DeleteFile(path);
}

std::wstring extractFilenameComponents(LuaState*, const std::wstring& path, bool drive, bool folder,
                                       bool name, bool extension)
{
    return ExtractFilenameComponents(path, drive, folder, name, extension);
}

bool pathExists(LuaState*, const std::wstring& path)
{
    return PathExists(DiskPath::ResolveExistingPath(Cleaned(path)));
}

bool pathCreate(LuaState*, const std::wstring& path)
{
    return CFileOperations().CreatePath(path, true);
}

bool pathDelete(LuaState*, const std::wstring& path, bool recursive)
{
    return CFileOperations().DeletePath(path, recursive);
}

bool pathCopy(LuaState*, const std::wstring& source, const std::wstring& destination)
{
    return CFileOperations().CopyPath(source, destination);
}

bool pathMove(LuaState*, const std::wstring& source, const std::wstring& destination)
{
    return CFileOperations().MovePath(source, destination);
}

// Paths here use "/", so that is the separator when none is given.
std::wstring pathClean(LuaState*, const std::wstring& path, const std::wstring& separator)
{
    std::wstring cleaned = path;
    CleanPath(cleaned, separator.empty() ? std::wstring_view(L"/") : std::wstring_view(separator));
    return cleaned;
}

} // namespace

void RegisterIAppSearchFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getBasePath", &getBasePath);
    table.RegisterHelper("setBasePath", &setBasePath);
    table.RegisterHelper("addSearchPath", &addSearchPath);
    table.RegisterHelper("addSearchZip", &addSearchZip);
    table.RegisterHelper("addSearchZipDecompressed", &addSearchZipDecompressed);
    table.RegisterHelper("enableSearchCache", &enableSearchCache);
    table.RegisterHelper("isSearchCacheEnabled", &isSearchCacheEnabled);
    table.RegisterHelper("clearSearchCache", &clearSearchCache);
    table.RegisterHelper("clearSearchPaths", &clearSearchPaths);
    table.RegisterHelper("clearAllSearchPaths", &clearAllSearchPaths);
    table.RegisterHelper("getFilenameFromFileSystem", &getFilenameFromFileSystem);
    table.RegisterHelper("getFilenameListFromFileSystem", &getFilenameListFromFileSystem);
    table.RegisterHelper("findFirstFile", &findFirstFile);
    table.RegisterHelper("findRandomFile", &findRandomFile);
}

void RegisterIAppFileFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("fileExists", &fileExists);
    table.RegisterHelper("fileIsRelative", &fileIsRelative);
    table.RegisterHelper("fileCopy", &fileCopy);
    table.RegisterHelper("fileDelete", &fileDelete);
    table.RegisterHelper("extractFilenameComponents", &extractFilenameComponents);
    table.RegisterHelper("pathExists", &pathExists);
    table.RegisterHelper("pathCreate", &pathCreate);
    table.RegisterHelper("pathDelete", &pathDelete);
    table.RegisterHelper("pathCopy", &pathCopy);
    table.RegisterHelper("pathMove", &pathMove);
    table.RegisterHelper("pathClean", &pathClean);
}
