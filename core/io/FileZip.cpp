#include "core/io/FileZip.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace
{

// Deflate cannot expand data more than about 1032 times; a declared size
// beyond that is a lie, refused before anything is allocated.
bool PlausibleSize(const ZipEntryRecord& record)
{
    if (record.uncompressedSize < 0 || record.uncompressedSize > CFileZip::kMaxSize)
        return false;
    return record.uncompressedSize <= record.compressedSize * 1032 + 1024;
}

} // namespace

CFileZip::CFileZip(const CSearchEntry& archive, const ZipEntryRecord& record)
    : m_archive(archive), m_record(record), m_path(archive.path + L"/" + record.name)
{
    m_narrowPath = Misc::Text::WideToUtf8(m_path).c_str();
}

bool CFileZip::Extract() const
{
    if (m_tried)
        return m_data != nullptr;
    m_tried = true;
    if (!PlausibleSize(m_record) || m_record.uncompressedSize > LONG_MAX)
        return false;

    ZipHandle* zip = ZipOpenFile(m_archive.path, m_archive.password.c_str());
    if (!zip)
        return false;
    // The archive may have changed since the entry was found: the index
    // must still name the same entry.
    ZipEntryRecord current;
    bool ok = ZipGetItem(zip, m_record.index, &current) == kZipSuccess && current.name == m_record.name &&
              current.uncompressedSize == m_record.uncompressedSize;
    const size_t size = static_cast<size_t>(m_record.uncompressedSize);
    std::unique_ptr<uint8_t[]> data;
    if (ok)
    {
        data.reset(new (std::nothrow) uint8_t[size > 0 ? size : 1]);
        ok = data != nullptr;
    }
    // Success means every declared byte arrived and the CRC matched.
    if (ok)
        ok = ZipUnzipToMemory(zip, m_record.index, data.get(), size) == kZipSuccess;
    ZipClose(zip);
    if (!ok)
        return false;
    m_data = std::move(data);
    m_size = static_cast<long>(size);
    return true;
}

irr::s32 CFileZip::read(void* buffer, irr::u32 sizeToRead)
{
    if (!buffer || !Extract())
        return 0;
    const long count = std::min<long>({static_cast<long>(sizeToRead), m_size - m_pos, INT_MAX});
    if (count <= 0)
        return 0;
    std::memcpy(buffer, m_data.get() + m_pos, static_cast<size_t>(count));
    m_pos += count;
    return static_cast<irr::s32>(count);
}

irr::s32 CFileZip::write(const void*, irr::u32)
{
    throw Misc::Error::CKVOError(L"[CFileZip::write] Not implemented");
}

bool CFileZip::seek(long finalPos, bool relativeMovement)
{
    if (!Extract())
        return false;
    const long target = relativeMovement ? m_pos + finalPos : finalPos;
    m_pos = std::clamp(target, 0L, m_size);
    return true;
}

long CFileZip::getSize() const
{
    return Extract() ? m_size : 0;
}
