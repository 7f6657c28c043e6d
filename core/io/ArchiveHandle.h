#pragma once

#include "core/io/Archive.h"

#include <memory>
#include <string>

class CLanguage;
class IFile;

namespace Misc::Serialization
{

class ISerializable;

// The archive a loader reads through: a binary archive when the file starts
// with a binary magic, otherwise a text archive (encoding by the file's
// byte-order mark, UTF-8 without one). Every operation goes to that archive.
class CArchiveHandle : public IArchive
{
public:
    // Files of the engine's own formats (layouts, skins, sprite banks, key
    // maps) larger than this are not read.
    static constexpr long kMaxReadSize = 64L << 20;

    // `version` is the minimum version accepted when reading. The file stays
    // the caller's. Reading a file larger than kMaxReadSize throws CKVOError.
    CArchiveHandle(IFile* file, bool write, const char* dataName, uint32_t version,
                   const CLanguage* translation = nullptr);
    ~CArchiveHandle() override;

    CArchiveHandle(const CArchiveHandle&) = delete;
    CArchiveHandle& operator=(const CArchiveHandle&) = delete;

    std::wstring getDataName() const override { return m_archive->getDataName(); }
    bool IsVersionAtLeast(uint32_t version) const override { return m_archive->IsVersionAtLeast(version); }
    uint32_t GetVersion() const override { return m_archive->GetVersion(); }
    CDataBag& GetDataBag() override { return m_archive->GetDataBag(); }

    bool WriteWString(const wchar_t* text) override { return m_archive->WriteWString(text); }
    bool WriteString(const char* text) override { return m_archive->WriteString(text); }
    bool WriteWString(const std::wstring& text, bool quote = true) override
    {
        return m_archive->WriteWString(text, quote);
    }
    bool WriteString(const std::string& text, bool quote = true) override
    {
        return m_archive->WriteString(text, quote);
    }
    bool WriteDouble(double value, uint8_t precision) override
    {
        return m_archive->WriteDouble(value, precision);
    }
    bool WriteFloat(float value, uint8_t precision) override
    {
        return m_archive->WriteFloat(value, precision);
    }
    bool WriteLong(int32_t value) override { return m_archive->WriteLong(value); }
    bool WriteULong(uint32_t value) override { return m_archive->WriteULong(value); }
    bool WriteInt(int32_t value) override { return m_archive->WriteInt(value); }
    bool WriteUInt(uint32_t value) override { return m_archive->WriteUInt(value); }
    bool WriteShort(int16_t value) override { return m_archive->WriteShort(value); }
    bool WriteUShort(uint16_t value) override { return m_archive->WriteUShort(value); }
    bool WriteChar(int8_t value) override { return m_archive->WriteChar(value); }
    bool WriteUChar(uint8_t value) override { return m_archive->WriteUChar(value); }
    bool WriteBool(bool value) override { return m_archive->WriteBool(value); }
    bool WriteBytes(const void* data, uint32_t count) override { return m_archive->WriteBytes(data, count); }
    bool WriteComment(const char* text) override { return m_archive->WriteComment(text); }
    bool WriteSpaces(uint32_t count) override { return m_archive->WriteSpaces(count); }
    bool EndLine(int32_t indentChange) override { return m_archive->EndLine(indentChange); }

    bool ReadWString(std::wstring& value) override { return m_archive->ReadWString(value); }
    bool ReadString(std::string& value) override { return m_archive->ReadString(value); }
    bool ReadDouble(double& value) override { return m_archive->ReadDouble(value); }
    bool ReadFloat(float& value) override { return m_archive->ReadFloat(value); }
    bool ReadLong(int32_t& value) override { return m_archive->ReadLong(value); }
    bool ReadULong(uint32_t& value) override { return m_archive->ReadULong(value); }
    bool ReadInt(int32_t& value) override { return m_archive->ReadInt(value); }
    bool ReadUInt(uint32_t& value) override { return m_archive->ReadUInt(value); }
    bool ReadShort(int16_t& value) override { return m_archive->ReadShort(value); }
    bool ReadUShort(uint16_t& value) override { return m_archive->ReadUShort(value); }
    bool ReadChar(int8_t& value) override { return m_archive->ReadChar(value); }
    bool ReadUChar(uint8_t& value) override { return m_archive->ReadUChar(value); }
    bool ReadBool(bool& value) override { return m_archive->ReadBool(value); }
    bool ReadBytes(void* data, uint32_t count) override { return m_archive->ReadBytes(data, count); }
    std::string ReadToken(const char* delimiters) override { return m_archive->ReadToken(delimiters); }
    std::wstring ReadWToken(const wchar_t* delimiters) override { return m_archive->ReadWToken(delimiters); }
    bool ExpectWToken(const wchar_t* text) override { return m_archive->ExpectWToken(text); }
    bool ExpectToken(const char* text) override { return m_archive->ExpectToken(text); }
    bool TestWToken(const wchar_t* text, bool peek = false) override
    {
        return m_archive->TestWToken(text, peek);
    }
    bool TestToken(const char* text, bool peek = false) override { return m_archive->TestToken(text, peek); }
    bool IsOpen() const override { return m_archive->IsOpen(); }

private:
    std::unique_ptr<IArchive> m_archive;
};

// Saves an object the way every saver does: mode "COMPRESSED" writes a
// compressed binary archive, "BINARY" a plain one (both exact, case-
// sensitive), any other mode a text archive with the mode as its encoding
// name. The header carries the object's type tag and version. True when the
// object wrote itself and the file was put in place.
bool SaveSerializable(ISerializable& object, const std::wstring& path, const char* mode);

// Loads an object from a file through a CArchiveHandle with the object's
// type tag and minimum version. False without a file, when no archive opens
// on it, or when the object's Read fails; a wrong type tag or version throws
// the archive's error.
bool LoadSerializable(ISerializable& object, IFile* file, const CLanguage* translation = nullptr);

} // namespace Misc::Serialization
