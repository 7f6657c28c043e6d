// Irrlicht reads meshes, textures and XML through the engine's file system:
// files in a mounted zip archive load by their bare names.

#include "GraphicsTestSupport.h"

#include "core/app/Application.h"
#include "core/io/FileSystem.h"
#include "support/TestFolder.h"
#include "core/io/ZipTestWriter.h"
#include "graphics/engine/FileSystemEx.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace
{

using namespace irr;

// A 2 by 2 bitmap, 24 bits: red, green on the top row, blue, white below.
std::string TestBitmap()
{
    auto put16 = [](std::string& out, uint32_t value)
    {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>((value >> 8) & 0xFF);
    };
    auto put32 = [&](std::string& out, uint32_t value)
    {
        put16(out, value & 0xFFFF);
        put16(out, value >> 16);
    };
    // Rows are stored bottom up, blue-green-red, padded to four bytes.
    const std::string pixels = std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8) + // blue, white
                               std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // red, green
    std::string bitmap = "BM";
    put32(bitmap, 54 + static_cast<uint32_t>(pixels.size()));
    put32(bitmap, 0);
    put32(bitmap, 54);
    put32(bitmap, 40);
    put32(bitmap, 2);
    put32(bitmap, 2);
    put16(bitmap, 1);
    put16(bitmap, 24);
    put32(bitmap, 0);
    put32(bitmap, static_cast<uint32_t>(pixels.size()));
    put32(bitmap, 2835);
    put32(bitmap, 2835);
    put32(bitmap, 0);
    put32(bitmap, 0);
    return bitmap + pixels;
}

const char* const kMesh = "mtllib mesh.mtl\n"
                          "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                          "vt 0 0\nvt 1 0\nvt 0 1\n"
                          "usemtl painted\n"
                          "f 1/1 2/2 3/3\n";
const char* const kMaterial = "newmtl painted\nKd 1 1 1\nmap_Kd tex.bmp\n";
const char* const kLayout =
    "<?xml version=\"1.0\"?>\n<layout><item name=\"first\"/><item name=\"second\"/></layout>\n";

class FileSystemBridgeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTestZip(folder / "assets.zip", {{"mesh.obj", kMesh},
                                             {"mesh.mtl", kMaterial},
                                             {"images/tex.bmp", TestBitmap(), false},
                                             {"layout.xml", kLayout}});
        folder.Write("disk/models/readme.txt", "a folder beside the archive");
        CApplication& application = *simulation.GetApplication();
        ASSERT_TRUE(application.AddSearchZip(folder.Wide("assets.zip"), true, 0, ""));
        ASSERT_TRUE(application.AddSearchPath(folder.Wide("disk"), false, 1));
        ASSERT_TRUE(simulation.InitNull());
    }

    IrrlichtDevice* device() { return simulation.graphics.GetDevice(); }

    CTestFolder folder;
    CGraphicsSimulation simulation;
};

TEST_F(FileSystemBridgeTest, ATextureLoadsFromTheArchiveByItsBareName)
{
    video::IVideoDriver* driver = device()->getVideoDriver();
    // The image's pixels prove the bytes came through.
    for (const char* name : {"tex.bmp", "images/tex.bmp", "C:\\old\\project\\tex.bmp"})
    {
        SCOPED_TRACE(name);
        video::IImage* image = driver->createImageFromFile(name);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getDimension(), core::dimension2d<u32>(2, 2));
        EXPECT_EQ(image->getPixel(0, 0).color, video::SColor(255, 255, 0, 0).color);
        EXPECT_EQ(image->getPixel(1, 0).color, video::SColor(255, 0, 255, 0).color);
        EXPECT_EQ(image->getPixel(0, 1).color, video::SColor(255, 0, 0, 255).color);
        EXPECT_EQ(image->getPixel(1, 1).color, video::SColor(255, 255, 255, 255).color);
        image->drop();
    }

    video::ITexture* texture = driver->getTexture("tex.bmp");
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(std::string(texture->getName().getPath().c_str()).find("assets.zip"), std::string::npos);
    // Asked again, by another name of the same file: the same texture.
    EXPECT_EQ(driver->getTexture("images/tex.bmp"), texture);
    EXPECT_EQ(simulation.graphics.GetNumberOfLoadedTextures(), 1u);
}

TEST_F(FileSystemBridgeTest, AMeshLoadsWithItsMaterialAndTextureFromTheArchive)
{
    scene::IAnimatedMesh* mesh = device()->getSceneManager()->getMesh("mesh.obj");
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->getMesh(0)->getMeshBufferCount(), 1u);
    scene::IMeshBuffer* buffer = mesh->getMesh(0)->getMeshBuffer(0);
    EXPECT_EQ(buffer->getVertexCount(), 3u);
    video::ITexture* texture = buffer->getMaterial().getTexture(0);
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(std::string(texture->getName().getPath().c_str()).find("tex.bmp"), std::string::npos);

    // ClearCache drops the mesh and the texture again.
    simulation.graphics.ClearCache();
    EXPECT_EQ(device()->getSceneManager()->getMeshCache()->getMeshCount(), 0u);
    EXPECT_EQ(simulation.graphics.GetNumberOfLoadedTextures(), 0u);
}

TEST_F(FileSystemBridgeTest, XmlReadsFromTheArchive)
{
    io::IXMLReader* reader = device()->getFileSystem()->createXMLReader("layout.xml");
    ASSERT_NE(reader, nullptr);
    std::vector<std::wstring> names;
    while (reader->read())
    {
        if (reader->getNodeType() == io::EXN_ELEMENT && core::stringw(L"item") == reader->getNodeName())
            names.push_back(reader->getAttributeValueSafe(L"name"));
    }
    reader->drop();
    EXPECT_EQ(names, (std::vector<std::wstring>{L"first", L"second"}));
}

TEST_F(FileSystemBridgeTest, ExistenceIsAboutFilesNotFolders)
{
    io::IFileSystem* files = device()->getFileSystem();
    EXPECT_TRUE(files->existFile("layout.xml"));
    EXPECT_TRUE(files->existFile("models/readme.txt"));
    // The folder is searched without its sub-folders.
    EXPECT_FALSE(files->existFile("readme.txt"));
    EXPECT_FALSE(files->existFile("models"));
    EXPECT_FALSE(files->existFile("missing.bmp"));

    // Files not found are simply missing: no error reaches Irrlicht.
    EXPECT_EQ(files->createAndOpenFile("missing.bmp"), nullptr);
    EXPECT_EQ(device()->getVideoDriver()->getTexture("missing.bmp"), nullptr);
    EXPECT_EQ(device()->getSceneManager()->getMesh("missing.obj"), nullptr);
}

TEST_F(FileSystemBridgeTest, WritingStaysOnDisk)
{
    const std::string path = folder / "written.txt";
    io::IWriteFile* file = device()->getFileSystem()->createAndWriteFile(path.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->write("abc", 3), 3);
    file->drop();
    EXPECT_EQ(folder.Read("written.txt"), "abc");
}

// Hostile names: not UTF-8, wildcards, parent folders, drive parts, long
// runs of separators. Lookups answer, never fail, and an index a lookup
// gives stays usable.
TEST(FileSystemBridgeFuzz, RandomNamesNeverBreakTheLookups)
{
    CTestFolder folder;
    WriteTestZip(folder / "pack.zip", {{"a.txt", "alpha"}, {"dir/b.txt", "beta"}});
    folder.Write("plain/c.txt", "gamma");
    CFileSystem files;
    ASSERT_TRUE(files.AddSearchZip(folder.Wide("pack.zip"), true, 0, ""));
    ASSERT_TRUE(files.AddSearchPath(folder.Wide("plain"), true, 1));
    Graphics::CFileSystemEx* bridge = new Graphics::CFileSystemEx(&files);

    const std::string pieces[] = {"a.txt",
                                  "b.txt",
                                  "c.txt",
                                  "dir",
                                  "plain",
                                  "/",
                                  "\\",
                                  "..",
                                  ".",
                                  "*",
                                  "?",
                                  "*.*",
                                  "C:",
                                  "\xFF\xFE",
                                  "\xC3",
                                  "\xE2\x82",
                                  " ",
                                  "%s%n",
                                  std::string(300, 'x')};
    std::mt19937 random(20240611);
    const auto started = std::chrono::steady_clock::now();
    int rounds = 0;
    while (rounds < 4000 && std::chrono::steady_clock::now() - started < std::chrono::seconds(3))
    {
        ++rounds;
        std::string name;
        const int parts = static_cast<int>(random() % 6);
        for (int part = 0; part < parts; ++part)
        {
            if (random() % 4 == 0)
                name += static_cast<char>(1 + random() % 255);
            else
                name += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        }
        SCOPED_TRACE(name);
        if (io::IReadFile* file = bridge->createAndOpenFile(io::path(name.c_str())))
        {
            EXPECT_GE(file->getSize(), 0);
            file->drop();
        }
        for (const bool folderWanted : {false, true})
        {
            const s32 index = bridge->findFile(io::path(name.c_str()), folderWanted);
            if (index < 0)
                continue;
            ASSERT_LT(static_cast<u32>(index), bridge->getFileCount());
            EXPECT_EQ(bridge->isDirectory(static_cast<u32>(index)), folderWanted);
            EXPECT_FALSE(bridge->getFullFileName(static_cast<u32>(index)).empty());
            if (!folderWanted)
            {
                io::IReadFile* file = bridge->createAndOpenFile(static_cast<u32>(index));
                ASSERT_NE(file, nullptr);
                file->drop();
            }
        }
    }
    EXPECT_EQ(bridge->getFileName(bridge->getFileCount()), io::path());
    EXPECT_EQ(bridge->createAndOpenFile(bridge->getFileCount() + 5), nullptr);
    bridge->drop();
}

} // namespace
