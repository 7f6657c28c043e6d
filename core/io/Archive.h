#pragma once

#include <cstdint>
#include <string>

class CDataBag;

namespace Misc::Serialization
{

// Most characters one archive read may produce beyond the file's own text:
// the copies that string references of a compressed archive and
// translations make. A 5-byte reference can stand for a 16 MiB string, so
// without a bound the copies, not the file, would decide how much memory a
// read takes. Past it a read throws "Error reading:%s, Repeated text
// exceeds %u characters".
constexpr uint64_t kMaxRepeatedText = 64u * 1024u * 1024u;

// The archive that saved classes talk to. The text archive and the binary
// archive implement it with one and the same sequence of calls, so a class
// writes and reads itself once for every file form.
//
// Every typed write and read returns true on success; a failed read leaves
// the caller to decide. Expected tokens that are missing throw
// Misc::Error::CKVOError with the archive's "Error reading:..." message.
// Narrow text is UTF-8; wide text is stored as UTF-16 by the formats.
class IArchive
{
public:
    virtual ~IArchive() = default;

    // Name of the file the archive reads or writes; throws without one.
    virtual std::wstring getDataName() const = 0;
    // True when the archive's version is 0 (unversioned) or at least `version`.
    virtual bool IsVersionAtLeast(uint32_t version) const = 0;
    // The rule IsVersionAtLeast follows, for a version asked once: whether
    // an archive of `version` holds what came with `wanted`.
    static constexpr bool VersionHolds(uint32_t version, uint32_t wanted)
    {
        return version == 0 || version >= wanted;
    }
    // The version to write, or after reading the version read.
    virtual uint32_t GetVersion() const = 0;
    // The archive's own data bag, free for the caller's use.
    virtual CDataBag& GetDataBag() = 0;

    // Null-terminated text is always written with quoting on.
    virtual bool WriteWString(const wchar_t* text);
    virtual bool WriteString(const char* text);
    virtual bool WriteWString(const std::wstring& text, bool quote = true) = 0;
    virtual bool WriteString(const std::string& text, bool quote = true) = 0;
    virtual bool WriteDouble(double value, uint8_t precision) = 0;
    virtual bool WriteFloat(float value, uint8_t precision) = 0;
    virtual bool WriteLong(int32_t value) = 0;
    virtual bool WriteULong(uint32_t value) = 0;
    virtual bool WriteInt(int32_t value) = 0;
    virtual bool WriteUInt(uint32_t value) = 0;
    virtual bool WriteShort(int16_t value) = 0;
    virtual bool WriteUShort(uint16_t value) = 0;
    virtual bool WriteChar(int8_t value) = 0;
    virtual bool WriteUChar(uint8_t value) = 0;
    virtual bool WriteBool(bool value) = 0;
    virtual bool WriteBytes(const void* data, uint32_t count) = 0;
    virtual bool WriteComment(const char* text) = 0;
    virtual bool WriteSpaces(uint32_t count) = 0;
    // Ends the line and indents the next one by the changed indent level.
    virtual bool EndLine(int32_t indentChange) = 0;

    virtual bool ReadWString(std::wstring& value) = 0;
    virtual bool ReadString(std::string& value) = 0;
    virtual bool ReadDouble(double& value) = 0;
    virtual bool ReadFloat(float& value) = 0;
    virtual bool ReadLong(int32_t& value) = 0;
    virtual bool ReadULong(uint32_t& value) = 0;
    virtual bool ReadInt(int32_t& value) = 0;
    virtual bool ReadUInt(uint32_t& value) = 0;
    virtual bool ReadShort(int16_t& value) = 0;
    virtual bool ReadUShort(uint16_t& value) = 0;
    virtual bool ReadChar(int8_t& value) = 0;
    virtual bool ReadUChar(uint8_t& value) = 0;
    virtual bool ReadBool(bool& value) = 0;
    virtual bool ReadBytes(void* data, uint32_t count) = 0;
    // The next token; the delimiter set (null or empty for white space) is
    // used by the text archive only.
    virtual std::string ReadToken(const char* delimiters) = 0;
    virtual std::wstring ReadWToken(const wchar_t* delimiters) = 0;
    // The input must continue with `text`; throws otherwise.
    virtual bool ExpectWToken(const wchar_t* text) = 0;
    virtual bool ExpectToken(const char* text) = 0;
    // Whether the input continues with `text`; a match is consumed unless
    // `peek` is set, a mismatch consumes nothing.
    virtual bool TestWToken(const wchar_t* text, bool peek = false) = 0;
    virtual bool TestToken(const char* text, bool peek = false) = 0;
    virtual bool IsOpen() const = 0;

    // Key/value lines: the key (with its leading "-"), one space, the value
    // and the end of the line. A write stops at the first failing step.
    bool WriteKeyString(const char* key, const std::string& value);
    bool WriteKeyCString(const char* key, const char* value);
    bool WriteKeyWString(const char* key, const std::wstring& value);
    bool WriteKeyBool(const char* key, bool value);
    bool WriteKeyInt(const char* key, int32_t value);
    // Stored as an unsigned 32-bit value of the ULong kind, so that
    // ReadKeyUInt reads it back.
    bool WriteKeyLong(const char* key, int32_t value);
    // Stored through WriteUInt; ReadKeyULong reads it back.
    bool WriteKeyULong(const char* key, uint32_t value);
    bool WriteKeyFloat(const char* key, float value);

    // Expect the key, then read the value. A wrong key throws.
    bool ReadKeyUInt(const char* key, uint32_t& value);  // through ReadULong
    bool ReadKeyULong(const char* key, uint32_t& value); // through ReadUInt
    bool ReadKeyInt(const char* key, int32_t& value);
    bool ReadKeyFloat(const char* key, float& value);
    bool ReadKeyString(const char* key, std::string& value);
    bool ReadKeyWString(const char* key, std::wstring& value);
    bool ReadKeyBool(const char* key, bool& value);

    // The next token by value.
    std::wstring GetWString(const wchar_t* delimiters = nullptr) { return ReadWToken(delimiters); }
    std::string GetString(const char* delimiters = nullptr) { return ReadToken(delimiters); }
};

} // namespace Misc::Serialization
