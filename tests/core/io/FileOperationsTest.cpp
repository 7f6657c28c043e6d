#include "core/io/FileOperations.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

class FileOperations : public ::testing::Test
{
protected:
    std::wstring Rel(const std::string& name) { return folder.Wide(name); }
    bool Exists(const std::string& name) { return fs::exists(fs::symlink_status(folder.Path() / name)); }

    CTestFolder folder;
    CFileOperations operations;
};

TEST_F(FileOperations, CreateCopyAndDeleteFiles)
{
    EXPECT_FALSE(operations.CreatePath(Rel("a/b/c"), false));
    EXPECT_TRUE(operations.CreatePath(Rel("a\\b\\c"), true));
    EXPECT_TRUE(operations.IsDirectory(Rel("A/B/C")));
    EXPECT_TRUE(operations.CreatePath(Rel("a/b/d"), false)); // the parent exists

    folder.Write("src.txt", "source");
    folder.Write("dst.txt", "old");
    EXPECT_FALSE(operations.CopyFile(Rel("src.txt"), Rel("dst.txt"), true));
    EXPECT_EQ(folder.Read("dst.txt"), "old");
    EXPECT_TRUE(operations.CopyFile(Rel("SRC.TXT"), Rel("dst.txt"), false));
    EXPECT_EQ(folder.Read("dst.txt"), "source");
    EXPECT_FALSE(operations.CopyFile(Rel("a"), Rel("x.txt"), false)); // a folder is no file
    EXPECT_FALSE(operations.CopyFile(Rel("missing.txt"), Rel("x.txt"), false));

    // A link at the destination is replaced, not written through.
    folder.Write("target.txt", "target");
    fs::create_symlink(folder.Path() / "target.txt", folder.Path() / "link.txt");
    EXPECT_TRUE(operations.CopyFile(Rel("src.txt"), Rel("link.txt"), false));
    EXPECT_EQ(folder.Read("target.txt"), "target");
    EXPECT_EQ(folder.Read("link.txt"), "source");

    EXPECT_TRUE(operations.DeleteFile(Rel("Dst.txt")));
    EXPECT_FALSE(Exists("dst.txt"));
    EXPECT_FALSE(operations.DeleteFile(Rel("a")));
    EXPECT_FALSE(operations.DeleteFile(Rel("dst.txt")));
}

// "dst.txt\0.evil" would be "dst.txt" to the system: it names nothing.
TEST_F(FileOperations, PathsWithANulNameNothing)
{
    folder.Write("dst.txt", "kept");
    folder.Write("src.txt", "source");
    const std::wstring nul(1, L'\0');
    EXPECT_FALSE(operations.DeleteFile(Rel("dst.txt") + nul + L".evil"));
    EXPECT_FALSE(operations.CopyFile(Rel("src.txt"), Rel("dst.txt") + nul + L".evil", false));
    EXPECT_FALSE(operations.CopyFile(Rel("src.txt") + nul + L".evil", Rel("new.txt"), false));
    EXPECT_FALSE(operations.CreatePath(Rel("a") + nul + L"/b", true));
    EXPECT_EQ(folder.Read("dst.txt"), "kept");
    EXPECT_FALSE(Exists("new.txt"));
    EXPECT_FALSE(Exists("a"));
}

TEST_F(FileOperations, RelativePathsStartAtTheDirectoryOfConstruction)
{
    const fs::path saved = fs::current_path();
    fs::current_path(folder.Path());
    CFileOperations here;
    fs::current_path(saved);
    EXPECT_EQ(here.GetBaseDirectory(), folder.Wide());
    EXPECT_TRUE(here.CreatePath(L"made/here", true));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "made/here"));
}

TEST_F(FileOperations, DeletingNeverFollowsLinks)
{
    folder.Write("keep/precious.txt", "keep");
    folder.Write("tree/file.txt", "x");
    folder.Write("tree/sub/inner.txt", "y");
    fs::create_directory_symlink(folder.Path() / "keep", folder.Path() / "tree/sub/to-keep");
    fs::create_symlink(folder.Path() / "keep/precious.txt", folder.Path() / "tree/file-link");

    // Without recursion a folder with sub-folders stays (its files go).
    EXPECT_FALSE(operations.DeletePath(Rel("tree"), false));
    EXPECT_FALSE(Exists("tree/file.txt"));
    EXPECT_TRUE(Exists("tree/sub/inner.txt"));

    EXPECT_TRUE(operations.DeletePath(Rel("TREE"), true));
    EXPECT_FALSE(Exists("tree"));
    EXPECT_EQ(folder.Read("keep/precious.txt"), "keep");

    // A link to a folder is removed as a link.
    fs::create_directory_symlink(folder.Path() / "keep", folder.Path() / "alias");
    EXPECT_TRUE(operations.DeletePath(Rel("alias"), true));
    EXPECT_FALSE(Exists("alias"));
    EXPECT_EQ(folder.Read("keep/precious.txt"), "keep");
    EXPECT_FALSE(operations.DeletePath(Rel("missing"), true));
}

TEST_F(FileOperations, DeletingATreeStaysInsideItWhateverItsNamesHold)
{
    // Names on disk may hold "\" and "..": a folder named "..\keep" is a
    // folder of the tree, not the way to "keep" beside it. Names that are
    // not UTF-8 go too.
    folder.Write("keep/precious.txt", "keep");
    folder.Write("tree/..\\keep/inner.txt", "x");
    folder.Write("tree/\xff-bad/\xfe.txt", "y");
    folder.Write("tree/\xfe.txt", "z");

    EXPECT_TRUE(operations.DeletePath(Rel("tree"), true));
    EXPECT_FALSE(Exists("tree"));
    EXPECT_EQ(folder.Read("keep/precious.txt"), "keep");
}

TEST_F(FileOperations, CopyAndMoveTrees)
{
    folder.Write("src/a.txt", "a");
    folder.Write("src/deep/b.txt", "b");
    folder.Write("outside.txt", "outside");
    fs::create_symlink(folder.Path() / "outside.txt", folder.Path() / "src/link");
    folder.Write("dst/a.txt", "old");

    EXPECT_TRUE(operations.CopyPath(Rel("src"), Rel("dst")));
    EXPECT_EQ(folder.Read("dst/a.txt"), "a");
    EXPECT_EQ(folder.Read("dst/deep/b.txt"), "b");
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "dst/link")); // copied as a link
    EXPECT_FALSE(operations.CopyPath(Rel("missing"), Rel("dst2")));

    // Into itself: the copy does not recurse into its own destination.
    EXPECT_TRUE(operations.CopyPath(Rel("src"), Rel("src/backup")));
    EXPECT_EQ(folder.Read("src/backup/deep/b.txt"), "b");
    EXPECT_FALSE(Exists("src/backup/backup"));

    EXPECT_TRUE(operations.MovePath(Rel("dst"), Rel("moved")));
    EXPECT_FALSE(Exists("dst"));
    EXPECT_EQ(folder.Read("moved/deep/b.txt"), "b");
    EXPECT_FALSE(operations.MovePath(Rel("moved"), Rel("src"))); // never onto an existing path
    EXPECT_TRUE(Exists("moved/a.txt"));
    EXPECT_TRUE(operations.MovePath(Rel("outside.txt"), Rel("moved/outside.txt")));
    EXPECT_FALSE(operations.MovePath(Rel("missing"), Rel("anywhere")));

    // Across file systems (when /dev/shm is one) the move copies and deletes.
    const fs::path shm = "/dev/shm";
    if (fs::is_directory(shm) && access(shm.c_str(), W_OK) == 0)
    {
        const fs::path target = shm / ("halvane-move-" + std::to_string(getpid()));
        EXPECT_TRUE(operations.MovePath(Rel("moved"), target.wstring()));
        EXPECT_FALSE(Exists("moved"));
        EXPECT_TRUE(fs::is_symlink(target / "link"));
        std::error_code ignored;
        EXPECT_EQ(fs::file_size(target / "deep/b.txt", ignored), 1u);
        fs::remove_all(target, ignored);
    }
}

} // namespace
