#include "core/io/DiskPath.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <dirent.h>
#include <locale.h>
#include <sys/stat.h>

namespace DiskPath
{

namespace
{

// A UTF-8 C locale of our own for Unicode case mapping; the process locale
// stays "C" (numbers must format the same everywhere).
locale_t CaseLocale()
{
    static const locale_t locale = [] {
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

// The name in the folder that equals the part case-insensitively, or empty.
// Several candidates (a case-sensitive disk may hold "a" and "A") resolve to
// the smallest name, so the choice never depends on the folder's order.
std::string FindNoCase(const std::string& folder, const std::string& part)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return {};
    const std::wstring wanted = Misc::Text::Utf8ToWide(part);
    std::string best;
    while (const dirent* entry = readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (EqualNoCase(Misc::Text::Utf8ToWide(name), wanted) && (best.empty() || name < best))
            best = name;
    }
    closedir(dir);
    return best;
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

    // Walk the parts; keep every part that exists as written, look the
    // others up without regard to case, and once one cannot be found keep
    // the rest as written.
    std::string resolved;
    size_t start = 0;
    if (native[0] == '/')
    {
        resolved = "/";
        start = 1;
    }
    bool searching = true;
    while (start <= native.size())
    {
        size_t end = native.find('/', start);
        if (end == std::string::npos)
            end = native.size();
        const std::string part = native.substr(start, end - start);
        const bool last = end == native.size();
        std::string next = part;
        if (searching && !part.empty() && part != "." && part != "..")
        {
            const std::string candidate = resolved + part;
            if (!Exists(candidate))
            {
                const std::string match = FindNoCase(resolved.empty() ? std::string() : resolved, part);
                if (match.empty())
                    searching = false;
                else
                    next = match;
            }
        }
        resolved += next;
        if (last)
            break;
        resolved += '/';
        start = end + 1;
    }
    return resolved;
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
