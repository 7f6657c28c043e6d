#include "core/io/ArchiveText.h"
#include "core/io/Uuid.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

using Misc::Serialization::CArchiveText;

TEST(Uuid, TextFormAndParsing)
{
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    CUuid id;
    EXPECT_TRUE(std::regex_match(id.GetId(), form));
    CUuid other;
    EXPECT_NE(id.GetId(), other.GetId());
    const std::string before = other.GetId();
    other.NewId();
    EXPECT_NE(other.GetId(), before);

    EXPECT_TRUE(id.SetId("6BA7B810-9DAD-11D1-80B4-00C04FD430C8"));
    EXPECT_EQ(id.GetId(), "6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_TRUE(id.SetId("00000000-0000-0000-0000-00000000000F"));
    EXPECT_EQ(id.GetId(), "00000000-0000-0000-0000-00000000000f");
    EXPECT_TRUE(id.SetId("6BA7B810-9DAD-11D1-80B4-00C04FD430C8"));
    for (const char* bad : {"", "not a uuid", "6ba7b810-9dad-11d1-80b4-00c04fd430c",
                            "{6ba7b810-9dad-11d1-80b4-00c04fd430c8}", "6ba7b810-9dad-11d1-80b4-00c04fd430c8x",
                            "6ba7b810-9dad-11d1-80b4-00c04fd430cg", "6ba7b810+9dad-11d1-80b4-00c04fd430c8",
                            "6ba7b8109-dad-11d1-80b4-00c04fd430c8", " 6ba7b810-9dad-11d1-80b4-00c04fd430c"})
    {
        EXPECT_FALSE(id.SetId(bad)) << bad;
        EXPECT_EQ(id.GetId(), "6ba7b810-9dad-11d1-80b4-00c04fd430c8") << bad;
    }
    CUuid copy(id);
    EXPECT_EQ(copy.GetId(), id.GetId());
    other = id;
    EXPECT_EQ(other.GetId(), id.GetId());
}

TEST(Uuid, WrittenAndReadInText)
{
    CTestFolder folder;
    CUuid id;
    {
        CArchiveText archive(folder.Wide("id.txt"), true, "KVOTEST", 1030);
        EXPECT_TRUE(id.Write(archive));
    }
    EXPECT_EQ(folder.Read("id.txt").substr(3 + 7 + 2 + 10 + 16 + 3 + 3), "-Id " + id.GetId() + "\r\n");
    CArchiveText archive(folder.Wide("id.txt"), false, "KVOTEST", 1);
    CUuid read;
    EXPECT_TRUE(read.Read(archive));
    EXPECT_EQ(read.GetId(), id.GetId());

    folder.Write("bad.txt", "KVOTEST -Id garbage");
    CArchiveText bad(folder.Wide("bad.txt"), false, "KVOTEST", 0);
    const std::string kept = read.GetId();
    EXPECT_FALSE(read.Read(bad));
    EXPECT_EQ(read.GetId(), kept);
}
