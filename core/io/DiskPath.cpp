#include "core/io/DiskPath.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <dirent.h>
#include <locale.h>
#include <mutex>
#include <sys/stat.h>
#include <time.h>
#include <unordered_map>

namespace DiskPath
{

namespace
{

// A UTF-8 C locale of our own for Unicode case mapping; the process locale
// stays "C" (numbers must format the same everywhere).
locale_t CaseLocale()
{
    static const locale_t locale = []
    {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return made;
    }();
    return locale;
}

bool Exists(const std::string& native)
{
    struct stat info;
    return lstat(native.c_str(), &info) == 0;
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
    dev_t device = 0;
    ino_t inode = 0;
    struct timespec modified = {};
    std::unordered_map<std::wstring, std::string> byFolded;
};

bool SameVersion(const SFolderNames& names, const struct stat& info)
{
    return names.device == info.st_dev && names.inode == info.st_ino &&
           names.modified.tv_sec == info.st_mtim.tv_sec && names.modified.tv_nsec == info.st_mtim.tv_nsec;
}

// Listings of folders looked up without case, reused while the folder's
// modification time stays the same. File systems stamp times with a coarse
// clock, so a folder changed within the last two seconds might change again
// under the same stamp: such listings are not kept.
constexpr size_t kMaxCachedFolders = 512;
constexpr time_t kSettleSeconds = 2;
std::mutex g_folderLock;
std::unordered_map<std::string, SFolderNames> g_folders;

// The name in the folder that equals the part case-insensitively, or empty.
std::string FindNoCase(const std::string& folder, const std::string& part)
{
    const std::string path = folder.empty() ? std::string(".") : folder;
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    const std::wstring wanted = Folded(Misc::Text::Utf8ToWide(part));

    std::lock_guard<std::mutex> lock(g_folderLock);
    auto cached = g_folders.find(path);
    if (cached == g_folders.end() || !SameVersion(cached->second, info))
    {
        DIR* dir = opendir(path.c_str());
        if (!dir)
            return {};
        SFolderNames names;
        names.device = info.st_dev;
        names.inode = info.st_ino;
        names.modified = info.st_mtim;
        while (const dirent* entry = readdir(dir))
        {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            std::string& best = names.byFolded[Folded(Misc::Text::Utf8ToWide(name))];
            if (best.empty() || name < best)
                best = name;
        }
        closedir(dir);

        if (cached != g_folders.end())
            g_folders.erase(cached);
        if (g_folders.size() >= kMaxCachedFolders)
            g_folders.clear();
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        if (now.tv_sec - info.st_mtim.tv_sec <= kSettleSeconds)
        {
            const auto found = names.byFolded.find(wanted);
            return found == names.byFolded.end() ? std::string() : found->second;
        }
        cached = g_folders.emplace(path, std::move(names)).first;
    }
    const auto found = cached->second.byFolded.find(wanted);
    return found == cached->second.byFolded.end() ? std::string() : found->second;
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

    // Usually only the last part is missing: resolve the parent (itself
    // only when it is missing too), then look the last part up without
    // regard to case. Parts that match nothing are kept as written.
    const size_t separator = native.find_last_of('/');
    const std::string leaf = separator == std::string::npos ? native : native.substr(separator + 1);
    std::string parent;
    if (separator == 0)
        parent = "/";
    else if (separator != std::string::npos)
        parent = ResolveNative(native.substr(0, separator));
    const std::string prefix = parent.empty() ? parent : (parent.back() == '/' ? parent : parent + "/");
    if (leaf.empty() || leaf == "." || leaf == ".." ||
        (parent != native.substr(0, separator) && Exists(prefix + leaf)))
        return prefix + leaf;
    const std::string match = FindNoCase(parent, leaf);
    return prefix + (match.empty() ? leaf : match);
}

wchar_t FoldCase(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    const locale_t locale = CaseLocale();
    if (!locale)
        return c;
    return static_cast<wchar_t>(towlower_l(towupper_l(static_cast<wint_t>(c), locale), locale));
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
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return entries;
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    while (const dirent* item = readdir(dir))
    {
        const std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        std::wstring wide = Misc::Text::Utf8ToWide(name);
        if (!MatchPattern(wide, pattern))
            continue;
        SEntry entry;
        entry.name = std::move(wide);
        entry.nativeName = name;
        struct stat info;
        const std::string full = prefix + name;
        if (lstat(full.c_str(), &info) != 0)
            continue; // removed while we listed
        entry.isSymlink = S_ISLNK(info.st_mode);
        if (entry.isSymlink)
            entry.isDirectory = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        else
            entry.isDirectory = S_ISDIR(info.st_mode);
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const SEntry& a, const SEntry& b) { return a.name < b.name; });
    return entries;
}

} // namespace DiskPath
