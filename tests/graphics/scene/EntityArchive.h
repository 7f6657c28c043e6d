#pragma once

// Saving entities to text and binary archives and reading them back, as
// whole files in a temporary folder.

#include "core/foundation/KVOError.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveText.h"
#include "core/io/Serializable.h"

#include "support/TestFolder.h"

#include <random>
#include <string>

namespace EntityArchive
{

enum class EForm
{
    Text,
    Binary,
    // Binary with the archive's string compression.
    Compressed,
};

inline const char* FormName(EForm form)
{
    return form == EForm::Text ? "text" : form == EForm::Binary ? "binary" : "compressed";
}

// The file's bytes after the object wrote itself at the version.
inline std::string Save(const CTestFolder& folder, Misc::Serialization::ISerializable& object, EForm form,
                        uint32_t version = Misc::Serialization::kSerialVersion)
{
    const std::wstring path = folder.Wide("saved");
    if (form == EForm::Text)
    {
        Misc::Serialization::CArchiveText archive(path, true, object.GetTypeName(), version);
        object.Write(archive);
        archive.Close();
    }
    else
    {
        Misc::Serialization::CArchiveBin archive(path, true, object.GetTypeName(), version, nullptr,
                                                 form == EForm::Compressed);
        object.Write(archive);
        archive.Close();
    }
    return folder.Read("saved");
}

// Reads the bytes into the object; the archive's error, or "" when the
// read went through.
inline std::string Load(const CTestFolder& folder, Misc::Serialization::ISerializable& object,
                        const std::string& bytes, EForm form)
{
    folder.Write("loaded", bytes);
    try
    {
        if (form == EForm::Text)
        {
            Misc::Serialization::CArchiveText archive(folder.Wide("loaded"), false, object.GetTypeName(), 1);
            object.Read(archive);
        }
        else
        {
            Misc::Serialization::CArchiveBin archive(folder.Wide("loaded"), false, object.GetTypeName(), 1);
            if (!archive.IsOpen())
                return "not a binary archive";
            object.Read(archive);
        }
    }
    catch (const Misc::Error::CKVOError& error)
    {
        return error.GetMessageUtf8().empty() ? "(error)" : error.GetMessageUtf8();
    }
    return "";
}

// A few random damages of the bytes: flipped, cut, dropped or repeated
// runs, large lengths, stray digits and braces.
inline std::string Mutate(std::string bytes, std::mt19937& random)
{
    std::uniform_int_distribution<int> action(0, 5);
    const int steps = 1 + static_cast<int>(random() % 4);
    for (int step = 0; step < steps && !bytes.empty(); ++step)
    {
        const size_t at = random() % bytes.size();
        switch (action(random))
        {
        case 0: // flip a byte
            bytes[at] = static_cast<char>(random() & 0xFF);
            break;
        case 1: // cut the rest
            bytes.resize(at);
            break;
        case 2: // drop a run
            bytes.erase(at, random() % 16);
            break;
        case 3: // repeat a run
            bytes.insert(at, bytes.substr(at, random() % 32));
            break;
        case 4: // a large length or count where a small one stood
            bytes[at] = static_cast<char>(0xFF);
            if (at + 1 < bytes.size())
                bytes[at + 1] = static_cast<char>(0x7F);
            break;
        default: // a digit or a brace where something else stood
            bytes[at] = "0}{9-\" \n"[random() % 8];
            break;
        }
    }
    return bytes;
}

// The text without the lines that hold any of the keys.
inline std::string WithoutKeys(const std::string& text, std::initializer_list<const char*> keys)
{
    std::string kept;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        bool drop = false;
        for (const char* key : keys)
            drop = drop || line.find(std::string(key) + " ") != std::string::npos;
        if (!drop)
            kept += line;
        start = end;
    }
    return kept;
}

// The text with the header's version replaced.
inline std::string WithVersion(std::string text, uint32_t version)
{
    const std::string from = "-Version " + std::to_string(Misc::Serialization::kSerialVersion);
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), "-Version " + std::to_string(version));
    return text;
}

} // namespace EntityArchive
