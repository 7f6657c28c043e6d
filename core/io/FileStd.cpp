#include "core/io/FileStd.h"

#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"

#include <algorithm>
#include <climits>

CFileStd::CFileStd(const std::wstring& path, const std::wstring& mode) : m_path(path), m_mode(mode)
{
    std::replace(m_path.begin(), m_path.end(), L'\\', L'/');
    m_narrowPath = Misc::Text::WideToUtf8(m_path).c_str();
}

CFileStd::~CFileStd()
{
    if (m_stream)
        std::fclose(m_stream);
}

bool CFileStd::Open() const
{
    if (m_stream)
        return true;
    // A NUL would end the name early and open another file.
    if (m_path.empty() || m_mode.empty() || m_path.find(L'\0') != std::wstring::npos)
        return false;
    std::string mode;
    for (wchar_t c : m_mode)
    {
        if (c > 0x7F)
            return false;
        mode += static_cast<char>(c);
    }
    if (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')
        return false;
    mode += 'e'; // never leak the descriptor into child processes
    m_stream = std::fopen(DiskPath::Resolve(m_path).c_str(), mode.c_str());
    if (!m_stream)
        return false;
    if (std::fseek(m_stream, 0, SEEK_END) == 0)
        m_size = std::ftell(m_stream);
    if (m_size < 0)
        m_size = 0;
    std::fseek(m_stream, 0, mode[0] == 'a' ? SEEK_END : SEEK_SET);
    return true;
}

int32_t CFileStd::read(void* buffer, uint32_t sizeToRead)
{
    if (!Open() || !buffer)
        return 0;
    const size_t count = std::min<size_t>(sizeToRead, INT_MAX);
    return static_cast<int32_t>(std::fread(buffer, 1, count, m_stream));
}

int32_t CFileStd::write(const void* buffer, uint32_t sizeToWrite)
{
    if (!Open() || !buffer)
        return 0;
    const size_t count = std::min<size_t>(sizeToWrite, INT_MAX);
    const size_t written = std::fwrite(buffer, 1, count, m_stream);
    // Overwriting inside the file does not make it longer.
    const long end = std::ftell(m_stream);
    if (end > m_size)
        m_size = end;
    return static_cast<int32_t>(written);
}

bool CFileStd::seek(long finalPos, bool relativeMovement)
{
    if (!Open())
        return false;
    return std::fseek(m_stream, finalPos, relativeMovement ? SEEK_CUR : SEEK_SET) == 0;
}

long CFileStd::getSize() const
{
    Open();
    return m_size;
}

long CFileStd::getPos() const
{
    if (!Open())
        return 0;
    return std::ftell(m_stream);
}

bool CFileStd::IsOk() const
{
    return Open() && !std::ferror(m_stream);
}
