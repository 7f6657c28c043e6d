#include "core/io/ArchiveText.h"
#include "core/io/Uuid.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

// New ids come from batches of random bytes: across several batches each is
// a random (version 4, RFC 4122 variant) id, none repeats, and the child of a
// fork does not hand out the ids its parent has in its batch.
TEST(Uuid, NewIdsAreRandomAndDistinct)
{
    const std::regex version4("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> seen;
    CUuid id;
    for (int i = 0; i < 2000; ++i)
    {
        id.NewId();
        ASSERT_TRUE(std::regex_match(id.GetId(), version4)) << id.GetId();
        ASSERT_TRUE(seen.insert(id.GetId()).second) << id.GetId();
    }

    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        CUuid mine;
        const std::string& text = mine.GetId();
        const bool written = write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    char text[36];
    const ssize_t got = read(channel[0], text, sizeof(text));
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(got, 36);
    const std::string childId(text, 36);
    const CUuid parentId;
    EXPECT_NE(childId, parentId.GetId());
    EXPECT_EQ(seen.count(childId), 0u);
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
