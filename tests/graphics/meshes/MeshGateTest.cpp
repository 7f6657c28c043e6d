// Mesh files that the engine reads for entities (agents, units, waters and
// the other kinds with a model): OBJ text is checked before its reader sees
// it, files go to the reader of their name (or of the extension it is
// mapped to), and STL and OBJ survive a seeded run of damaged files.
#include "graphics/textures/ScriptedEngine.h"
#include "support/ModelFixtures.h"
#include "support/TestFolder.h"

#include "graphics/engine/GraphicsEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace
{

using namespace irr;
using namespace std::string_view_literals;

// A square of two triangles, with texture coordinates, normals, groups and
// a material library that is not there.
const char kObj[] = "# square\n"
                    "mtllib square.mtl\n"
                    "o square\n"
                    "g front\n"
                    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                    "vt 0 0\nvt 1 0\nvt 1 1\n"
                    "vn 0 0 1\n"
                    "usemtl red\n"
                    "s 1\n"
                    "f 1/1/1 2/2/1 3/3/1\r\n"
                    "f -4//-1 -2 4\n";

// One triangle, as ASCII and as binary STL.
const char kAsciiStl[] = "solid tri\n"
                         " facet normal 0 0 1\n"
                         "  outer loop\n"
                         "   vertex 0 0 0\n"
                         "   vertex 1 0 0\n"
                         "   vertex 0 1 0\n"
                         "  endloop\n"
                         " endfacet\n"
                         "endsolid tri\n";

std::string BinaryStl()
{
    std::string bytes(80, ' ');
    const uint32_t count = 2;
    bytes.append(reinterpret_cast<const char*>(&count), sizeof count);
    const float triangles[2][12] = {{0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0},
                                    {0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 0}};
    for (const auto& triangle : triangles)
    {
        bytes.append(reinterpret_cast<const char*>(triangle), sizeof triangle);
        bytes.append(2, '\0');
    }
    return bytes;
}

class MeshGateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scripted.Open("NULL", 320, 240));
        // Irrlicht reports every file it could not read.
        scripted.graphics->GetDevice()->getLogger()->setLogLevel(ELL_NONE);
    }

    // The file written under the name, loaded through the engine, and let go
    // of again so that the next load of the name reads the file.
    bool Loads(const std::string& name, const std::string& bytes)
    {
        folder.Write(name, bytes);
        const std::string path = folder / name;
        scene::IAnimatedMesh* mesh = scripted.graphics->LoadMesh(std::wstring(path.begin(), path.end()));
        if (mesh == nullptr)
            return false;
        scripted.graphics->GetDevice()->getSceneManager()->getMeshCache()->removeMesh(mesh);
        return true;
    }

    CTestFolder folder;
    CScriptedEngine scripted;
};

TEST_F(MeshGateTest, FilesReachTheReaderOfTheirNameAndDamagedObjTextIsRefused)
{
    EXPECT_TRUE(Loads("tri.stl", kAsciiStl));
    EXPECT_TRUE(Loads("quad.stl", BinaryStl()));
    EXPECT_TRUE(Loads("square.obj", kObj));
    // A material library that names a folder reads as an empty one.
    folder.Write("lib/keep", "");
    EXPECT_TRUE(Loads("lib.obj", "mtllib lib\nmtllib .\nmtllib\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    // OBJ text that Irrlicht's reader would index outside its arrays with,
    // or read other lines than written.
    const std::string_view damagedObj[] = {
        "v 0 0 0\nf 1 2 3\n"sv,                       // corners beyond the positions
        "v 0 0 0\nf 0\n"sv,                           // 0 names no position
        "v 0 0 0\nf -2\n"sv,                          // nor does one counted back too far
        "f 1\nv 0 0 0\n"sv,                           // positions count from where they stand
        "v 0 0 0\nf 1/1\n"sv,                         // no texture coordinate yet
        "v 0 0 0\nvt 0 0\nf 1/1/1\n"sv,               // no normal yet
        "v 0 0 0\nf 1/-\n"sv,                         // "-" reads as 0
        "v 0 0 0\nf 1/0/0/5\n"sv,                     // a fourth index takes the position's place
        "v 0 0 0\nf 0000000001\n"sv,                  // longer than the reader's index buffer
        "v 0 0 0\nf\n"sv,                             // a face of no corners
        "v 0 0\nv 0 0 0\nf 2\n"sv,                    // a short line takes words from the next
        "v\t0 0 0\nf 1\n"sv,                          // not a position for the reader
        "v 0 0 0\ng\nf 1\n"sv,                        // a group line takes the next line's word
        "v 0 0 0\nf 1\0 2\n"sv,                       // a zero byte ends the reader's line
        "v 0 0 0\nf 1 \x0b 1\n"sv,                    // a blank the reader splits on
        "v 0 0 0\nv 0 0 0\n\n  v 1 1 1\nf 1 2 3\n"sv, // fine: indented lines are read
    };
    for (size_t index = 0; index + 1 < std::size(damagedObj); ++index)
        EXPECT_FALSE(Loads("damaged.obj", std::string(damagedObj[index]))) << damagedObj[index];
    EXPECT_TRUE(Loads("indented.obj", std::string(damagedObj[std::size(damagedObj) - 1])));
    // An indented first line is passed over.
    EXPECT_FALSE(Loads("first.obj", " v 0 0 0\nf 1\n"));
    // Small sound files of the other formats load through the model reader;
    // a COLLADA file without geometry holds no mesh.
    const std::pair<const char*, const char*> read[] = {
        {"tri.x", "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n}\n"},
        {"tri.ply", "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
                    "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
                    "end_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"},
    };
    for (const auto& [name, bytes] : read)
        EXPECT_TRUE(Loads(name, bytes)) << name;
    EXPECT_FALSE(Loads("tri.dae", "<?xml version=\"1.0\"?>\n<COLLADA></COLLADA>\n"));
    // Files of one format named as another are refused by the reader of the
    // name.
    // (Irrlicht's DMF reader makes a mesh of any text; it is checked and
    // rebuilt like every mesh of the model reader.)
    for (const char* name : {"a.b3d", "a.ms3d", "a.md2", "a.md3", "a.3ds", "a.bsp", "a.mdl", "a.csm",
                             "a.lmts", "a.my3d", "a.oct", "a.lwo", "a.mesh", "a.smf", "a.X", "a.xml"})
        EXPECT_FALSE(Loads(name, kAsciiStl)) << name;
    // Extensions mapped onto a loader are that loader's.
    EXPECT_TRUE(scripted.graphics->MapMeshExtension(L"tri", L"stl"));
    EXPECT_TRUE(Loads("a.tri", kAsciiStl));
    EXPECT_TRUE(scripted.graphics->MapMeshExtension(L"old", L"obj"));
    EXPECT_TRUE(Loads("a.old", kObj));
    EXPECT_FALSE(Loads("b.old", "f 1 2 3\n"));
    EXPECT_TRUE(scripted.graphics->MapMeshExtension(L"new", L"ms3d"));
    EXPECT_FALSE(Loads("a.new", kAsciiStl));
    // A name mapped over another format's own extension hands it to that
    // format's reader: refused as well.
    EXPECT_TRUE(scripted.graphics->MapMeshExtension(L"stl", L"x"));
    EXPECT_FALSE(Loads("b.stl", kAsciiStl));
}

// Seeded damage to both STL forms and to OBJ text: each file loads or is
// refused, and the engine goes on.
TEST_F(MeshGateTest, DamagedMeshFilesOfTheReadFormatsLoadOrFailCleanly)
{
    const std::pair<std::string, std::string> seeds[] = {
        {"damaged.stl", kAsciiStl}, {"damaged.stl", BinaryStl()}, {"damaged.obj", kObj}};
    std::mt19937 random(20261210);
    size_t loaded = 0;
    size_t runs = 0;
    for (const auto& [name, seed] : seeds)
    {
        for (int run = 0; run < 2000; ++run, ++runs)
        {
            std::string bytes = seed;
            const int edits = 1 + static_cast<int>(random() % 6);
            for (int edit = 0; edit < edits && !bytes.empty(); ++edit)
            {
                const size_t at = random() % bytes.size();
                switch (random() % 5)
                {
                case 0:
                    bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
                    break;
                case 1:
                    bytes[at] = static_cast<char>(random());
                    break;
                case 2:
                    bytes.resize(at);
                    break;
                case 3:
                    bytes.insert(at, 1 + random() % 4, static_cast<char>(random()));
                    break;
                default:
                    // Counts at their extremes.
                    for (size_t k = 0; k < 4 && at + k < bytes.size(); ++k)
                        bytes[at + k] = "\xff\x7f\x80\x00"[random() % 4];
                    break;
                }
            }
            loaded += Loads(name, bytes) ? 1 : 0;
        }
    }
    std::printf("%zu of %zu damaged mesh files loaded\n", loaded, runs);
    EXPECT_GT(loaded, 0u);
}

} // namespace

// The reader is told with each model how the files that the models before
// it opened stand: a texture that the engine's file system gains or loses
// between two models (here with a folder of textures it searches, which the
// reader does not see) is found as it is when each model is read.
TEST_F(MeshGateTest, TexturesAreFoundAsTheyAreWhenEachModelIsRead)
{
    struct SStep
    {
        const char* model;
        bool textureThere;
    };
    const SStep steps[] = {{"first.b3d", false}, {"second.b3d", false}, {"third.b3d", true},
                           {"fourth.b3d", true}, {"fifth.b3d", false},  {"sixth.b3d", true}};
    CTestFolder textures;
    textures.Write("skin.png", ModelFixtures::Png());
    io::IFileSystem* files = scripted.graphics->GetDevice()->getFileSystem();
    const io::path searched = (textures / "").c_str();
    for (const SStep& step : steps)
    {
        SCOPED_TRACE(step.model);
        if (step.textureThere)
        {
            ASSERT_TRUE(files->addFileArchive(searched, false, false, io::EFAT_FOLDER));
        }
        folder.Write(step.model, ModelFixtures::SkinnedB3d());
        const std::string path = folder / step.model;
        // As Irrlicht's own scene loading asks for it (the engine's loading
        // would look for a missing texture again itself).
        scene::IAnimatedMesh* mesh = scripted.graphics->GetDevice()->getSceneManager()->getMesh(path.c_str());
        ASSERT_NE(mesh, nullptr);
        ASSERT_GT(mesh->getMeshBufferCount(), 0u);
        video::ITexture* shown = mesh->getMeshBuffer(0)->getMaterial().getTexture(0);
        EXPECT_EQ(shown != nullptr, step.textureThere);
        scripted.graphics->GetDevice()->getSceneManager()->getMeshCache()->removeMesh(mesh);
        scripted.graphics->GetDevice()->getVideoDriver()->removeAllTextures();
        if (step.textureThere)
        {
            ASSERT_TRUE(files->removeFileArchive(files->getFileArchiveCount() - 1));
        }
    }
}
