#include "core/foundation/PathUtilities.h"

#include "core/foundation/StringConversion.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace
{

bool IsSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

std::filesystem::file_status StatusOf(std::wstring_view path)
{
    std::error_code error;
    if (path.empty())
        return std::filesystem::file_status(std::filesystem::file_type::not_found);
    return std::filesystem::status(std::filesystem::path(ToNativePath(path)), error);
}

} // namespace

size_t FindNextPathPart(std::wstring_view path, size_t start, size_t& next, size_t& length)
{
    if (start == std::wstring_view::npos || start > path.size())
    {
        next = std::wstring_view::npos;
        length = 0;
        return std::wstring_view::npos;
    }
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end]))
        ++end;
    length = end - start;
    next = end < path.size() ? end + 1 : std::wstring_view::npos;
    return start;
}

bool FileExists(std::wstring_view path)
{
    const auto status = StatusOf(path);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool PathExists(std::wstring_view path)
{
    return std::filesystem::is_directory(StatusOf(path));
}

void CleanPath(std::wstring& path, std::wstring_view separator)
{
    std::vector<std::wstring_view> parts;
    bool leadingDot = false;
    const std::wstring source = path;
    const std::wstring_view view(source);

    size_t next = 0;
    size_t length = 0;
    for (size_t start = 0; start != std::wstring_view::npos; start = next)
    {
        FindNextPathPart(view, start, next, length);
        const std::wstring_view part = view.substr(start, length);
        if (part == L".")
        {
            if (parts.empty())
                leadingDot = true;
        }
        else if (part == L"..")
        {
            if (!parts.empty() && parts.back() != L"..")
                parts.pop_back();
            else
                parts.push_back(part);
        }
        else if (part.empty())
        {
            if (parts.empty() && !leadingDot)
                parts.push_back(part);
        }
        else
        {
            parts.push_back(part);
        }
    }

    path.clear();
    for (size_t index = 0; index < parts.size(); ++index)
    {
        if (index != 0)
            path += separator;
        path += parts[index];
    }
}

bool IsRelativePath(std::wstring_view path)
{
    std::wstring cleaned(path);
    CleanPath(cleaned, L"/");
    return !cleaned.empty() && cleaned.front() != L'/' && cleaned.find(L':') == std::wstring::npos;
}

std::wstring ExtractFilenameComponents(std::wstring_view path, bool drive, bool folder, bool name,
                                       bool extension)
{
    (void)drive; // no drive letters on this system

    std::wstring cleaned(path);
    CleanPath(cleaned, L"/");

    const size_t lastSeparator = cleaned.rfind(L'/');
    const size_t fileStart = lastSeparator == std::wstring::npos ? 0 : lastSeparator + 1;
    const size_t dot = cleaned.rfind(L'.');
    const size_t extensionStart = (dot == std::wstring::npos || dot < fileStart) ? cleaned.size() : dot;

    std::wstring result;
    if (folder)
        result += cleaned.substr(0, fileStart);
    if (name)
        result += cleaned.substr(fileStart, extensionStart - fileStart);
    if (extension)
        result += cleaned.substr(extensionStart);
    return result;
}

std::string ToNativePath(std::wstring_view path)
{
    std::string native = Misc::Text::WideToUtf8(path);
    for (char& c : native)
    {
        if (c == '\\')
            c = '/';
    }
    return native;
}

std::wstring FromNativePath(std::string_view path)
{
    return Misc::Text::Utf8ToWide(path);
}
