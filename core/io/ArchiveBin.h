#pragma once

#include "core/io/Archive.h"
#include "core/io/ArchiveCommon.h"
#include "core/io/DataBag.h"
#include "core/io/SaveFile.h"
#include "core/io/VersionRecord.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CLanguage;

namespace Misc::Serialization
{

// The binary archive: "KVOBIN" files, or with the compressed flag "KVOCMP"
// files in which every string written before is stored as an index into a
// table of the distinct strings. Each value is a type-code byte and its
// little-endian payload; layout calls (spaces, line ends, comments) write
// nothing.
class CArchiveBin : public IArchive, public CVersionRecord
{
public:
    // Type codes of the stored values.
    enum ETypeCode : uint8_t
    {
        kBool = 0,
        kUChar = 1,
        kChar = 2,
        kUShort = 3,
        kShort = 4,
        kUInt = 5,
        kInt = 6,
        kULong = 7,
        kLong = 8,
        kFloat = 9,
        kDouble = 10,
        kString = 11,
        kWString = 12,
        kStringRef = 13,
        kWStringRef = 14,
    };

    // Longest string, in bytes or UTF-16 units, that is written or read.
    static constexpr uint32_t kMaxStringLength = 16u * 1024u * 1024u;

    // Opens the file at `path` for reading or writing. `version` is the
    // version to write, or the minimum version accepted when reading. When
    // reading, the file's magic decides whether it is compressed; a file
    // that is not a binary archive leaves the archive closed (IsOpen false).
    CArchiveBin(const std::wstring& path, bool write, const char* dataName, uint32_t version,
                const CLanguage* translation = nullptr, bool compressed = false);
    // The same on a file object the caller keeps; reading leaves the file
    // positioned after the last value read.
    CArchiveBin(IFile* file, bool write, const char* dataName, uint32_t version,
                const CLanguage* translation = nullptr, bool compressed = false);
    ~CArchiveBin() override;

    CArchiveBin(const CArchiveBin&) = delete;
    CArchiveBin& operator=(const CArchiveBin&) = delete;

    // Writes everything out and, for a file opened by path, puts it in
    // place. Returns false when any write failed; the target file is then
    // left as it was. The destructor closes too, but does not put a file in
    // place while an exception is leaving the writer.
    bool Close();

    bool IsCompressed() const { return m_compressed; }

    std::wstring getDataName() const override;
    bool IsVersionAtLeast(uint32_t version) const override;
    uint32_t GetVersion() const override { return m_version; }
    CDataBag& GetDataBag() override { return m_common.dataBag; }

    using IArchive::WriteString;
    using IArchive::WriteWString;
    bool WriteWString(const std::wstring& text, bool quote = true) override;
    bool WriteString(const std::string& text, bool quote = true) override;
    bool WriteDouble(double value, uint8_t precision) override;
    bool WriteFloat(float value, uint8_t precision) override;
    bool WriteLong(int32_t value) override;
    bool WriteULong(uint32_t value) override;
    bool WriteInt(int32_t value) override;
    bool WriteUInt(uint32_t value) override;
    bool WriteShort(int16_t value) override;
    bool WriteUShort(uint16_t value) override;
    bool WriteChar(int8_t value) override;
    bool WriteUChar(uint8_t value) override;
    bool WriteBool(bool value) override;
    bool WriteBytes(const void* data, uint32_t count) override;
    bool WriteComment(const char*) override { return true; }
    bool WriteSpaces(uint32_t) override { return true; }
    bool EndLine(int32_t) override { return true; }

    bool ReadWString(std::wstring& value) override;
    bool ReadString(std::string& value) override;
    bool ReadDouble(double& value) override;
    bool ReadFloat(float& value) override;
    bool ReadLong(int32_t& value) override;
    bool ReadULong(uint32_t& value) override;
    bool ReadInt(int32_t& value) override;
    bool ReadUInt(uint32_t& value) override;
    bool ReadShort(int16_t& value) override;
    bool ReadUShort(uint16_t& value) override;
    bool ReadChar(int8_t& value) override;
    bool ReadUChar(uint8_t& value) override;
    bool ReadBool(bool& value) override;
    bool ReadBytes(void* data, uint32_t count) override;
    std::string ReadToken(const char* delimiters) override;
    std::wstring ReadWToken(const wchar_t* delimiters) override;
    bool ExpectWToken(const wchar_t* text) override;
    bool ExpectToken(const char* text) override;
    bool TestWToken(const wchar_t* text, bool peek = false) override;
    bool TestToken(const char* text, bool peek = false) override;
    bool IsOpen() const override { return m_common.file != nullptr; }

private:
    void open();
    void Release();

    // Byte layer: reads fill `m_buffer` from the file; writes collect in
    // `m_buffer` and go to the file when it is full and on Close.
    bool Put(const void* data, size_t count);
    bool FlushOutput();
    bool WriteToFile(const void* data, size_t count);
    size_t ReadFromFile(void* data, size_t count);
    size_t Get(void* data, size_t count);
    void GetExactly(void* data, size_t count);
    int64_t Tell() const { return m_bufferStart + static_cast<int64_t>(m_bufferPos); }
    void SeekTo(int64_t position);
    // Bytes left in the file after the read position, or -1 if unknown.
    int64_t Remaining() const;

    template <typename T> bool WriteValue(uint8_t code, T value);
    template <typename T> bool ReadValue(uint8_t expected, T& value);
    uint8_t ReadCode();
    [[noreturn]] void ThrowTypeError(int expected, int received) const;
    [[noreturn]] void ThrowTruncated() const;

    uint32_t ReadCount();
    bool ReadNarrowValue(uint8_t code, std::string& value);
    // Compares the next string value with the text (narrow, or wide when
    // `wide` is set) where it lies in the buffer: 1 equal (consumed), 0
    // different (nothing consumed), -1 when only a full read can tell.
    int MatchInPlace(std::string_view narrow, const wchar_t* wide, size_t wideLength);
    // Whether a string value is next (false at the end of the file).
    bool PeekStringCode(bool wide);
    void TranslateInPlace(std::string& text);
    void TranslateInPlace(std::wstring& text);

    CArchiveCommon m_common;
    bool m_compressed;

    // The distinct strings of a compressed archive, in order of first
    // appearance, with an index for lookups. The tables hold the text as
    // stored, before any translation.
    // Reading keeps the strings themselves, packed in one block; reading
    // adds a string only the first time it passes its position, so a value
    // read again after a TestToken went back is not added twice. Writing
    // only needs each string's index.
    template <typename Char> struct STable
    {
        std::basic_string<Char> pool;
        std::vector<size_t> ends;
        size_t size() const { return ends.size(); }
        std::basic_string_view<Char> operator[](size_t i) const
        {
            const size_t begin = i == 0 ? 0 : ends[i - 1];
            return std::basic_string_view<Char>(pool).substr(begin, ends[i] - begin);
        }
        void push_back(std::basic_string_view<Char> text)
        {
            pool.append(text);
            ends.push_back(pool.size());
        }
    };
    STable<char> m_narrowTable;
    int64_t m_narrowTableEnd = 0;
    STable<char16_t> m_wideTable;
    int64_t m_wideTableEnd = 0;
    std::unordered_map<std::string, int32_t> m_narrowIndex;
    std::unordered_map<std::u16string, int32_t> m_wideIndex;

    std::vector<uint8_t> m_buffer;
    size_t m_bufferPos = 0;
    size_t m_bufferLength = 0;
    int64_t m_bufferStart = 0;
    int64_t m_fileSize = -1;
    std::vector<uint8_t> m_scratch;
    // Spare strings whose allocations the string reads reuse.
    std::string m_narrowScratch;
    std::wstring m_wideScratch;
};

} // namespace Misc::Serialization
