// The engine's files reach Irrlicht through an adapter that passes every
// call through and holds exactly one reference to the file.

#include "core/io/File.h"
#include "irrlicht/IrrlichtFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{

// A file in memory that says when it is deleted.
class CProbeFile : public IFile
{
public:
    CProbeFile(std::string bytes, bool& gone) : m_bytes(std::move(bytes)), m_gone(gone) {}
    ~CProbeFile() override { m_gone = true; }

    int32_t read(void* buffer, uint32_t sizeToRead) override
    {
        const long count = std::max(0L, std::min<long>(sizeToRead, Size() - m_position));
        std::memcpy(buffer, m_bytes.data() + m_position, static_cast<size_t>(count));
        m_position += count;
        return static_cast<int32_t>(count);
    }
    int32_t write(const void* buffer, uint32_t sizeToWrite) override
    {
        m_bytes.replace(static_cast<size_t>(m_position), sizeToWrite, static_cast<const char*>(buffer),
                        sizeToWrite);
        m_position += sizeToWrite;
        return static_cast<int32_t>(sizeToWrite);
    }
    bool seek(long finalPos, bool relativeMovement = false) override
    {
        const long target = relativeMovement ? m_position + finalPos : finalPos;
        if (target < 0 || target > Size())
            return false;
        m_position = target;
        return true;
    }
    long getSize() const override { return Size(); }
    long getPos() const override { return m_position; }
    const std::string& getFileName() const override { return m_name; }
    const wchar_t* GetFileNameW() const override { return m_path.c_str(); }
    const std::wstring& GetPath() const override { return m_path; }
    bool IsOk() const override { return true; }

    const std::string& Bytes() const { return m_bytes; }

private:
    long Size() const { return static_cast<long>(m_bytes.size()); }

    std::string m_bytes;
    bool& m_gone;
    long m_position = 0;
    std::string m_name = "pack.zip/m\xC3\xA4p.bin";
    std::wstring m_path = L"pack.zip/m\u00E4p.bin";
};

} // namespace

TEST(IrrlichtFile, PassesEveryCallThrough)
{
    bool gone = false;
    auto* file = new CProbeFile("abcdef", gone);
    Graphics::CIrrlichtFile* adapter = Graphics::CIrrlichtFile::Adopt(file);
    irr::io::IReadFile* reader = adapter;
    irr::io::IWriteFile* writer = adapter;

    EXPECT_STREQ(reader->getFileName().c_str(), "pack.zip/m\xC3\xA4p.bin");
    EXPECT_STREQ(writer->getFileName().c_str(), "pack.zip/m\xC3\xA4p.bin");
    EXPECT_EQ(reader->getSize(), 6);
    char bytes[4] = {};
    EXPECT_EQ(reader->read(bytes, 3), 3);
    EXPECT_STREQ(bytes, "abc");
    EXPECT_EQ(reader->getPos(), 3);
    EXPECT_TRUE(reader->seek(-2, true));
    EXPECT_EQ(writer->getPos(), 1);
    EXPECT_EQ(writer->write("XY", 2), 2);
    EXPECT_EQ(file->Bytes(), "aXYdef");
    EXPECT_FALSE(writer->seek(7));
    EXPECT_EQ(reader->read(bytes, 3), 3);
    EXPECT_STREQ(bytes, "def");
    EXPECT_EQ(reader->read(bytes, 3), 0);
    EXPECT_EQ(adapter->GetFile(), file);

    EXPECT_FALSE(gone);
    adapter->drop();
    EXPECT_TRUE(gone);
}

TEST(IrrlichtFile, HoldsOneReferenceOfItsOwn)
{
    bool gone = false;
    auto* file = new CProbeFile("x", gone);

    // Made beside an owner: the file outlives the adapter, and the adapter
    // outlives the owner's reference.
    auto* adapter = new Graphics::CIrrlichtFile(file);
    adapter->grab(); // as Irrlicht does when it keeps a file
    EXPECT_FALSE(adapter->drop());
    EXPECT_TRUE(adapter->drop());
    EXPECT_FALSE(gone);
    adapter = new Graphics::CIrrlichtFile(file);
    EXPECT_FALSE(file->drop());
    EXPECT_FALSE(gone);
    char byte = 0;
    EXPECT_EQ(adapter->read(&byte, 1), 1);
    EXPECT_EQ(byte, 'x');
    adapter->drop();
    EXPECT_TRUE(gone);

    EXPECT_EQ(Graphics::CIrrlichtFile::Adopt(nullptr), nullptr);
}
