#include "core/io/FileZip.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/DiskPath.h"
#include "core/io/ZipArchive.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

CFileZip::CFileZip(const CSearchEntry& archive, const ZipEntryRecord& record)
    : m_archive(archive), m_record(record), m_path(archive.path + L"/" + record.name)
{
    m_narrowPath = Misc::Text::WideToUtf8(m_path).c_str();
    if (ZipEntrySizeIsPlausible(m_record))
        m_size = static_cast<long>(m_record.uncompressedSize);
    else
        m_failed = true;
}

bool CFileZip::UnzipInto(uint8_t* target) const
{
    const std::shared_ptr<CZipArchive> zip =
        m_archive.mount ? m_archive.mount->Current()
                        : CZipArchive::Open(DiskPath::Resolve(m_archive.path), m_archive.password);
    if (!zip)
        return false;
    // The archive may have changed since the entry was found: the index
    // must still name the same entry.
    ZipEntryRecord current;
    if (!zip->GetRecord(m_record.index, current) || current.name != m_record.name ||
        current.uncompressedSize != m_record.uncompressedSize)
        return false;
    // Success means every declared byte arrived and the CRC matched.
    return zip->Unzip(m_record.index, target, static_cast<size_t>(m_size)) == kZipSuccess;
}

bool CFileZip::Extract() const
{
    if (m_data)
        return true;
    if (m_failed)
        return false;
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[m_size > 0 ? static_cast<size_t>(m_size) : 1]);
    if (!data || !UnzipInto(data.get()))
    {
        m_failed = true;
        return false;
    }
    m_data = std::move(data);
    return true;
}

int32_t CFileZip::read(void* buffer, uint32_t sizeToRead)
{
    if (!buffer || m_failed)
        return 0;
    if (!m_data && m_pos == 0 && sizeToRead >= m_size && m_size <= INT_MAX)
    {
        // The whole entry in one go: no buffer of our own in between.
        if (!UnzipInto(static_cast<uint8_t*>(buffer)))
        {
            m_failed = true;
            return 0;
        }
        m_pos = m_size;
        return static_cast<int32_t>(m_size);
    }
    if (!Extract())
        return 0;
    const long count = std::min<long>({static_cast<long>(sizeToRead), m_size - m_pos, INT_MAX});
    if (count <= 0)
        return 0;
    std::memcpy(buffer, m_data.get() + m_pos, static_cast<size_t>(count));
    m_pos += count;
    return static_cast<int32_t>(count);
}

int32_t CFileZip::write(const void*, uint32_t)
{
    throw Misc::Error::CKVOError(L"[CFileZip::write] Not implemented");
}

bool CFileZip::seek(long finalPos, bool relativeMovement)
{
    if (m_failed)
        return false;
    const long target = relativeMovement ? m_pos + finalPos : finalPos;
    m_pos = std::clamp(target, 0L, m_size);
    return true;
}

long CFileZip::getSize() const
{
    return m_failed ? 0 : m_size;
}
