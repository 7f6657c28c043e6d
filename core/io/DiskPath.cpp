#include "core/io/DiskPath.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"

#include "platform/CaseFolding.h"
#include "platform/FileStatus.h"
#include "platform/FolderListing.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace DiskPath
{

namespace
{

bool Exists(const std::string& native)
{
    return Platform::GetLinkStatus(native).Exists();
}

std::wstring Folded(std::wstring_view name)
{
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = FoldCase(c);
    return folded;
}

// A folder's names by their case-folded form. Several names may fold alike
// on a case-sensitive disk ("a" and "A"): the smallest wins, so the choice
// never depends on the folder's order.
struct SFolderNames
{
    Platform::SFileStatus status;
    std::unordered_map<std::wstring, std::string> byFolded;
};

// Listings of folders looked up without case, reused while the folder's
// modification time stays the same. File systems stamp times with a coarse
// clock, so a folder changed within the last two seconds might change again
// under the same stamp: such listings are not kept.
constexpr size_t kMaxCachedFolders = 512;
constexpr int64_t kSettleSeconds = 2;
std::mutex g_folderLock;
std::unordered_map<std::string, SFolderNames> g_folders;

// The name in the folder that equals the part case-insensitively, or empty.
std::string FindNoCase(const std::string& folder, const std::string& part)
{
    const std::string path = folder.empty() ? std::string(".") : folder;
    const Platform::SFileStatus status = Platform::GetFileStatus(path);
    if (!status.IsFolder())
        return {};
    const std::wstring wanted = Folded(Misc::Text::Utf8ToWide(part));

    std::lock_guard<std::mutex> lock(g_folderLock);
    auto cached = g_folders.find(path);
    if (cached == g_folders.end() || !cached->second.status.SameVersion(status))
    {
        std::vector<std::string> listed;
        if (!Platform::ListFolderNames(path, listed))
            return {};
        SFolderNames names;
        names.status = status;
        for (const std::string& name : listed)
        {
            std::string& best = names.byFolded[Folded(Misc::Text::Utf8ToWide(name))];
            if (best.empty() || name < best)
                best = name;
        }

        if (cached != g_folders.end())
            g_folders.erase(cached);
        if (g_folders.size() >= kMaxCachedFolders)
            g_folders.clear();
        if (Platform::GetWallClockSeconds() - status.modifiedSeconds <= kSettleSeconds)
        {
            const auto found = names.byFolded.find(wanted);
            return found == names.byFolded.end() ? std::string() : found->second;
        }
        cached = g_folders.emplace(path, std::move(names)).first;
    }
    const auto found = cached->second.byFolded.find(wanted);
    return found == cached->second.byFolded.end() ? std::string() : found->second;
}

bool IsSpecialPart(std::string_view part)
{
    return part.empty() || part == "." || part == "..";
}

// The part as it is on disk in the folder: the exact name when it exists,
// else its match without case, else the part as written.
std::string PartOnDisk(const std::string& folder, const std::string& part)
{
    if (IsSpecialPart(part))
        return part;
    const std::string match = FindNoCase(folder, part);
    return match.empty() ? part : match;
}

// Resolves the path part by part from its start. Once a part matches
// nothing, nothing below it can exist: the rest is kept as written without
// further lookups, so the cost grows with the number of parts, not with its
// square.
std::string WalkParts(const std::string& native)
{
    std::string resolved;
    size_t start = 0;
    if (native[0] == '/')
    {
        resolved = "/";
        start = 1;
    }
    for (;;)
    {
        size_t end = native.find('/', start);
        if (end == std::string::npos)
            end = native.size();
        const std::string part = native.substr(start, end - start);
        if (!IsSpecialPart(part))
        {
            std::string candidate = resolved + part;
            if (!Exists(candidate))
            {
                const std::string folder =
                    resolved.size() > 1 ? resolved.substr(0, resolved.size() - 1) : resolved;
                const std::string match = FindNoCase(folder, part);
                if (match.empty())
                    return resolved + native.substr(start);
                candidate = resolved + match;
            }
            resolved = std::move(candidate);
        }
        else
        {
            resolved += part;
        }
        if (end == native.size())
            return resolved;
        resolved += '/';
        start = end + 1;
    }
}

bool MatchFrom(std::wstring_view name, std::wstring_view pattern)
{
    // Iterative glob with one backtracking point: the latest "*".
    size_t n = 0;
    size_t p = 0;
    size_t starPattern = std::wstring_view::npos;
    size_t starName = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == L'*')
        {
            starPattern = ++p;
            starName = n;
        }
        else if (p < pattern.size() && (pattern[p] == L'?' || FoldCase(pattern[p]) == FoldCase(name[n])))
        {
            ++p;
            ++n;
        }
        else if (starPattern != std::wstring_view::npos)
        {
            p = starPattern;
            n = ++starName;
        }
        else
        {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

} // namespace

std::string Resolve(std::wstring_view path)
{
    return ResolveNative(ToNativePath(path));
}

std::string ResolveNative(const std::string& native)
{
    if (native.empty() || Exists(native))
        return native;

    // Usually only the last part is missing: when the parent is there as
    // written, only the last part is looked up without regard to case.
    const size_t separator = native.find_last_of('/');
    if (separator == std::string::npos)
        return PartOnDisk(std::string(), native);
    const std::string parent = separator == 0 ? std::string("/") : native.substr(0, separator);
    if (Platform::GetFileStatus(parent).IsFolder())
    {
        const std::string leaf = native.substr(separator + 1);
        return (separator == 0 ? parent : parent + "/") + PartOnDisk(parent, leaf);
    }
    return WalkParts(native);
}

std::wstring ResolveExistingPath(std::wstring_view path)
{
    if (path.empty())
        return std::wstring();
    return FromNativePath(Resolve(path));
}

wchar_t FoldCase(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    return Platform::FoldCaseUnicode(c);
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

bool HasWildcards(std::wstring_view name)
{
    return name.find_first_of(L"*?") != std::wstring_view::npos;
}

bool MatchPattern(std::wstring_view name, std::wstring_view pattern)
{
    if (pattern == L"*.*")
        return true;
    return MatchFrom(name, pattern);
}

std::vector<SEntry> ListFolder(const std::string& nativeFolder, std::wstring_view pattern)
{
    std::vector<SEntry> entries;
    const std::string folder = nativeFolder.empty() ? std::string(".") : nativeFolder;
    std::vector<std::string> names;
    if (!Platform::ListFolderNames(folder, names))
        return entries;
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    for (const std::string& name : names)
    {
        std::wstring wide = Misc::Text::Utf8ToWide(name);
        if (!MatchPattern(wide, pattern))
            continue;
        SEntry entry;
        entry.name = std::move(wide);
        entry.nativeName = name;
        const std::string full = prefix + name;
        const Platform::SFileStatus status = Platform::GetLinkStatus(full);
        if (!status.Exists())
            continue; // removed while we listed
        entry.isSymlink = status.kind == Platform::EFileKind::Link;
        if (entry.isSymlink)
            entry.isDirectory = Platform::GetFileStatus(full).IsFolder();
        else
            entry.isDirectory = status.IsFolder();
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const SEntry& a, const SEntry& b) { return a.name < b.name; });
    return entries;
}

} // namespace DiskPath
