#pragma once

#include "core/io/DataBag.h"
#include "core/io/SaveFile.h"

#include <cstdint>
#include <memory>
#include <string>

class CLanguage;

namespace Misc::Serialization
{

class IArchive;

// What the text and the binary archive keep alike: the file they work on
// (one opened by path is theirs), the direction, the type tag, the oldest
// version a read accepts, the translation, the data bag, whether a write
// failed, and the characters that references and translations added.
// Each archive holds one as a member; the methods take the archive itself
// where an error message has to name its file.
class CArchiveCommon
{
public:
    // Opens the file at `path` (null file when it cannot be opened).
    CArchiveCommon(const std::wstring& path, bool writing, const char* tag, uint32_t version,
                   const CLanguage* language);
    // Works on the caller's file.
    CArchiveCommon(IFile* opened, bool writing, const char* tag, uint32_t version, const CLanguage* language);

    // The version a writer writes: `version` when writing, else 0 (a
    // reader takes it from the file).
    uint32_t VersionToWrite(uint32_t version) const { return write ? version : 0; }
    // Throws the archive's "Minimum expected version" reading error when
    // the version read is older than the archive accepts.
    void RequireMinimumVersion(const IArchive& owner, uint32_t version) const;
    // The path of the file; throws "[<method>] Invalid file handle" when
    // there is none.
    std::wstring PathOrThrow(const wchar_t* method) const;
    // Counts characters a reference or a translation produced; throws past
    // kMaxRepeatedText.
    void SpendRepeatedText(const IArchive& owner, size_t characters);
    // The translation of `text` into `translated`, counted as repeated
    // text; false when there is no translation or none for the text.
    bool Translate(const IArchive& owner, const std::wstring& text, std::wstring& translated);
    // Ends the use of a file the archive opened: a save is put in place
    // only when nothing failed (a failure to do so fails the archive).
    void FinishOwnedFile();
    // Lets go of the file (and closes one the archive opened).
    void ReleaseFile();

    IFile* file = nullptr;
    std::unique_ptr<CArchiveFile> ownedFile; // a file opened by path
    bool write;
    std::string dataName;
    uint32_t minimumVersion = 0;
    const CLanguage* translation;
    CDataBag dataBag;
    bool failed = false;
    uint64_t repeatedText = 0;
};

} // namespace Misc::Serialization
