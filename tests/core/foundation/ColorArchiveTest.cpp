#include "core/foundation/Color.h"
#include "core/foundation/KVOError.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveText.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <string>

using Misc::Error::CKVOError;
using Misc::Serialization::CArchiveBin;
using Misc::Serialization::CArchiveText;

namespace
{

// A file name in a folder of its own, removed with the fixture.
class ColorArchive : public ::testing::Test
{
protected:
    std::wstring Path() const { return m_folder.Wide("colors.txt"); }
    std::string Contents() const { return m_folder.Read("colors.txt"); }
    void SetContents(const std::string& bytes) const { m_folder.Write("colors.txt", bytes); }

private:
    CTestFolder m_folder;
};

} // namespace

TEST_F(ColorArchive, NamedColourIsOneTextLine)
{
    {
        CArchiveText archive(Path(), true, "", 0, nullptr, "ANSI");
        EXPECT_TRUE(CNamedColor(1, 1, 1, 1, "-Diffuse").Write(archive));
        EXPECT_TRUE(CNamedColor(0.25f, 0, 0.5f, 0.125f, "-Ambient").Write(archive));
        EXPECT_TRUE(CColor(0.5f, 0, 0, 1).Write(archive)); // no line end of its own
        EXPECT_TRUE(archive.Close());
    }
    EXPECT_EQ(Contents(), "-Diffuse 1.000000 1.000000 1.000000 1.000000\r\n"
                          "-Ambient 0.250000 0.000000 0.500000 0.125000\r\n"
                          "0.500000 0.000000 0.000000 1.000000");
}

TEST_F(ColorArchive, ReadingAppliesTheComponentRule)
{
    // Hand-written files may hold byte values.
    SetContents("-Color 255 128 0 2\r\n-Diffuse 0.5 0.5 0.5 1\r\n");
    CArchiveText archive(Path(), false, "", 0);
    ASSERT_TRUE(archive.IsOpen());
    CNamedColor color(0, 0, 0, 0, "-Color");
    EXPECT_TRUE(color.Read(archive));
    EXPECT_FLOAT_EQ(color.r, 1.0f);
    EXPECT_FLOAT_EQ(color.g, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(color.b, 0.0f);
    EXPECT_FLOAT_EQ(color.a, 2.0f / 255.0f);

    // The next field's key is not this one's: the archive throws.
    CNamedColor specular(0, 0, 0, 0, "-Specular");
    EXPECT_THROW(specular.Read(archive), CKVOError);
}

TEST_F(ColorArchive, ReadFailureIsReported)
{
    SetContents("-Color 0.5 0.25 oops 1\r\n");
    CArchiveText archive(Path(), false, "", 0);
    CNamedColor color(0.1f, 0.2f, 0.3f, 0.4f, "-Color");
    EXPECT_FALSE(color.Read(archive));
    EXPECT_FLOAT_EQ(color.r, 0.5f);
    EXPECT_FLOAT_EQ(color.g, 0.25f);
}

TEST_F(ColorArchive, BinaryRoundTrip)
{
    const CNamedColor written(0.2f, 0.4f, 0.6f, 0.8f, "-BackColor");
    {
        CArchiveBin archive(Path(), true, "KVOTEST", 1030);
        ASSERT_TRUE(archive.IsOpen());
        EXPECT_TRUE(written.Write(archive));
        EXPECT_TRUE(archive.Close());
    }
    CArchiveBin archive(Path(), false, "KVOTEST", 1);
    ASSERT_TRUE(archive.IsOpen());
    CNamedColor read(0, 0, 0, 0, "-BackColor");
    EXPECT_TRUE(read.Read(archive));
    EXPECT_EQ(read.r, written.r);
    EXPECT_EQ(read.g, written.g);
    EXPECT_EQ(read.b, written.b);
    EXPECT_EQ(read.a, written.a);
}
