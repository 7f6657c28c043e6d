#include "core/io/ArchiveCommon.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/TextUtilities.h"
#include "core/io/Archive.h"
#include "core/io/Language.h"

namespace Misc::Serialization
{

using Misc::Error::CKVOError;

CArchiveCommon::CArchiveCommon(const std::wstring& path, bool writing, const char* tag, uint32_t version,
                               const CLanguage* language)
    : ownedFile(std::make_unique<CArchiveFile>(path, writing)), write(writing), dataName(tag ? tag : ""),
      minimumVersion(writing ? 0 : version), translation(language)
{
    file = ownedFile->Get();
}

CArchiveCommon::CArchiveCommon(IFile* opened, bool writing, const char* tag, uint32_t version,
                               const CLanguage* language)
    : file(opened), write(writing), dataName(tag ? tag : ""), minimumVersion(writing ? 0 : version),
      translation(language)
{
}

void CArchiveCommon::RequireMinimumVersion(const IArchive& owner, uint32_t version) const
{
    if (version != 0 && version < minimumVersion)
    {
        // Text from the file and its name reach the terminal: control
        // characters are escaped.
        throw CKVOError::Format(L"Error reading:%s, Minimum expected version: %i, Received:%i",
                                EscapeControlCharacters(owner.getDataName()).c_str(), minimumVersion,
                                version);
    }
}

std::wstring CArchiveCommon::PathOrThrow(const wchar_t* method) const
{
    if (!file)
        throw CKVOError::Format(L"[%s] Invalid file handle", method);
    return file->GetPath();
}

void CArchiveCommon::SpendRepeatedText(const IArchive& owner, size_t characters)
{
    repeatedText += characters;
    if (repeatedText > kMaxRepeatedText)
    {
        throw CKVOError::Format(L"Error reading:%s, Repeated text exceeds %u characters",
                                EscapeControlCharacters(owner.getDataName()).c_str(),
                                static_cast<unsigned>(kMaxRepeatedText));
    }
}

bool CArchiveCommon::Translate(const IArchive& owner, const std::wstring& text, std::wstring& translated)
{
    if (!translation || !translation->Translate(text, translated))
        return false;
    SpendRepeatedText(owner, translated.size());
    return true;
}

void CArchiveCommon::FinishOwnedFile()
{
    if (ownedFile && !ownedFile->Finish(failed))
        failed = true;
}

void CArchiveCommon::ReleaseFile()
{
    ownedFile.reset();
    file = nullptr;
}

} // namespace Misc::Serialization
