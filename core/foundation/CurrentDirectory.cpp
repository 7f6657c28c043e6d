#include "core/foundation/CurrentDirectory.h"

#include "core/foundation/PathUtilities.h"

#include <filesystem>
#include <system_error>

namespace
{

// The current directory, or empty text when it cannot be read (removed).
std::wstring ReadCurrentDirectory()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::wstring() : FromNativePath(current.string());
}

} // namespace

CCurrentDirectory::CCurrentDirectory(const std::wstring& path, bool restore) : m_restore(restore)
{
    if (m_restore)
        m_saved = ReadCurrentDirectory();
    Set(path);
}

CCurrentDirectory::~CCurrentDirectory()
{
    if (m_restore && !m_saved.empty())
    {
        std::error_code error;
        std::filesystem::current_path(std::filesystem::path(ToNativePath(m_saved)), error);
    }
}

bool CCurrentDirectory::Set(const std::wstring& path)
{
    bool changed = false;
    if (!path.empty())
    {
        std::error_code error;
        std::filesystem::current_path(std::filesystem::path(ToNativePath(path)), error);
        changed = !error;
    }
    Refresh();
    return changed;
}

const std::wstring& CCurrentDirectory::Get()
{
    Refresh();
    return m_current;
}

void CCurrentDirectory::Refresh()
{
    m_current = ReadCurrentDirectory();
}
