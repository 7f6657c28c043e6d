#include "core/io/ArchiveHandle.h"

#include "core/foundation/KVOError.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveText.h"
#include "core/io/File.h"
#include "core/io/Serializable.h"

#include <cstring>

namespace Misc::Serialization
{

CArchiveHandle::CArchiveHandle(IFile* file, bool write, const char* dataName, uint32_t version,
                               const CLanguage* translation)
{
    // The engine's own formats are read into memory: a larger file (often a
    // small zip entry that inflates to a huge one) is refused before any of
    // it is read.
    if (!write && file != nullptr && file->getSize() > kMaxReadSize)
        throw Misc::Error::CKVOError(L"[CArchiveHandle::CArchiveHandle] File too large to read: " +
                                     file->GetPath() + L" (" + std::to_wstring(file->getSize()) +
                                     L" bytes; at most " + std::to_wstring(kMaxReadSize) + L" are read)");
    m_archive = std::make_unique<CArchiveBin>(file, write, dataName, version, translation, true);
    if (!m_archive->IsOpen())
    {
        // Not a binary archive: the text archive reads the file from its
        // first byte, so its byte-order mark decides the encoding.
        m_archive.reset();
        m_archive = std::make_unique<CArchiveText>(file, write, dataName, version, translation, "UTF8");
    }
}

CArchiveHandle::~CArchiveHandle() = default;

bool SaveSerializable(ISerializable& object, const std::wstring& path, const char* mode)
{
    const char* format = mode ? mode : "";
    const bool compressed = std::strcmp(format, "COMPRESSED") == 0;
    if (compressed || std::strcmp(format, "BINARY") == 0)
    {
        CArchiveBin archive(path, true, object.GetTypeName(), object.GetVersion(), nullptr, compressed);
        if (!archive.IsOpen())
            return false;
        const bool written = object.Write(archive);
        return archive.Close() && written;
    }
    CArchiveText archive(path, true, object.GetTypeName(), object.GetVersion(), nullptr, format);
    if (!archive.IsOpen())
        return false;
    const bool written = object.Write(archive);
    return archive.Close() && written;
}

bool LoadSerializable(ISerializable& object, IFile* file, const CLanguage* translation)
{
    if (!file)
        return false;
    CArchiveHandle handle(file, false, object.GetTypeName(), object.GetMinimumVersion(), translation);
    if (!handle.IsOpen())
        return false;
    return object.Read(handle);
}

} // namespace Misc::Serialization
