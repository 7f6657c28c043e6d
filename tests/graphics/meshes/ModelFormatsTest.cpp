// Models of every format the engine reads, loaded as the entities load them
// (CGraphicsEngine::LoadMesh): the mesh rebuilt from the model reader's
// description, or read behind its check in process, is the mesh Irrlicht
// itself makes of the same bytes; damaged files load or are refused, and a
// loaded mesh never indexes past its buffers.
#include "graphics/textures/ScriptedEngine.h"
#include "support/ByteMutation.h"
#include "support/ModelFixtures.h"
#include "support/TestFolder.h"

#include "graphics/engine/GraphicsEngine.h"
#include "graphics/meshes/MeshGate.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace irr;

class ModelFormatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scripted.Open("NULL", 320, 240));
        scripted.graphics->GetDevice()->getLogger()->setLogLevel(ELL_NONE);
        for (const auto& [name, bytes] : ModelFixtures::AllFiles())
            folder.Write(name, bytes);
        SIrrlichtCreationParameters creation;
        creation.DriverType = video::EDT_NULL;
        creation.LoggingLevel = ELL_NONE;
        direct = createDeviceEx(creation);
        ASSERT_NE(direct, nullptr);
    }
    void TearDown() override
    {
        if (direct != nullptr)
            direct->drop();
    }

    scene::ISceneManager* Scene() const { return scripted.graphics->GetDevice()->getSceneManager(); }

    // The file written under the name and loaded through the engine (let go
    // of from the cache, so that the next load of the name reads the file).
    scene::IAnimatedMesh* Load(const std::string& name, const std::string& bytes)
    {
        folder.Write(name, bytes);
        return LoadWritten(name);
    }
    scene::IAnimatedMesh* LoadWritten(const std::string& name)
    {
        const std::string path = folder / name;
        scene::IAnimatedMesh* mesh = scripted.graphics->LoadMesh(std::wstring(path.begin(), path.end()));
        if (mesh != nullptr)
        {
            mesh->grab();
            Scene()->getMeshCache()->removeMesh(mesh);
            kept.push_back(mesh);
        }
        return mesh;
    }
    Graphics::CMeshGate* Gate() const
    {
        return dynamic_cast<Graphics::CMeshGate*>(Scene()->getMeshLoader(Scene()->getMeshLoaderCount() - 1));
    }

    // Every index of every buffer of the mesh at the frame names a vertex of
    // its buffer (what a renderer reads).
    static bool IndicesInRange(scene::IAnimatedMesh* animated, s32 frame)
    {
        scene::IMesh* mesh = animated->getMesh(frame, 255, -1, -1);
        if (mesh == nullptr)
            return true;
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
        {
            const scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
            for (u32 i = 0; i < buffer->getIndexCount(); ++i)
            {
                const u32 index = buffer->getIndexType() == video::EIT_32BIT
                                      ? reinterpret_cast<const u32*>(buffer->getIndices())[i]
                                      : buffer->getIndices()[i];
                if (index >= buffer->getVertexCount())
                    return false;
            }
        }
        return true;
    }

    // The mesh as an agent shows it: a node animated over its frames and
    // drawn; every frame's indices in range.
    bool ShowsSoundly(scene::IAnimatedMesh* mesh)
    {
        scene::IAnimatedMeshSceneNode* node = Scene()->addAnimatedMeshSceneNode(mesh);
        if (node == nullptr)
            return false;
        node->setAnimationSpeed(30.0f);
        bool sound = true;
        const u32 frames = mesh->getFrameCount();
        for (u32 step = 0; step < 4; ++step)
        {
            node->OnAnimate(step * 100);
            Scene()->getVideoDriver()->beginScene(true, true, video::SColor(0));
            Scene()->drawAll();
            Scene()->getVideoDriver()->endScene();
            sound = sound && IndicesInRange(mesh, static_cast<s32>(frames * step / 4));
        }
        node->remove();
        return sound;
    }

    CTestFolder folder;
    CScriptedEngine scripted;
    IrrlichtDevice* direct = nullptr;
    std::vector<scene::IAnimatedMesh*> kept;

public:
    ~ModelFormatsTest() override
    {
        for (scene::IAnimatedMesh* mesh : kept)
            mesh->drop();
    }
};

u32 VertexCount(scene::IMesh* mesh)
{
    u32 count = 0;
    for (u32 b = 0; mesh != nullptr && b < mesh->getMeshBufferCount(); ++b)
        count += mesh->getMeshBuffer(b)->getVertexCount();
    return count;
}

std::vector<std::string> JointNames(scene::IAnimatedMesh* mesh)
{
    std::vector<std::string> names;
    if (mesh->getMeshType() == scene::EAMT_SKINNED)
    {
        const auto& joints = static_cast<scene::ISkinnedMesh*>(mesh)->getAllJoints();
        for (u32 index = 0; index < joints.size(); ++index)
            names.push_back(joints[index]->Name.c_str());
    }
    return names;
}

std::string TextureName(scene::IMesh* mesh)
{
    if (mesh == nullptr || mesh->getMeshBufferCount() == 0)
        return "";
    video::ITexture* texture = mesh->getMeshBuffer(0)->getMaterial().getTexture(0);
    return texture != nullptr ? texture->getName().getPath().c_str() : "";
}

// For each valid file: the engine's mesh is Irrlicht's own, in mesh type,
// frame count, vertex count, joint names, the texture of the first buffer
// and every vertex position at the first, a middle and the last frame.
TEST_F(ModelFormatsTest, EveryFormatLoadsAsIrrlichtItselfReadsIt)
{
    const char* const models[] = {"skinned.b3d",  "skinned.x",        "run.md2",      "tagged.md3",
                                  "keyed.ms3d",   "ascii.ply",        "little.ply",   "big.ply",
                                  "textured.obj", "triangle.irrmesh", "triangle.3ds", "map.bsp",
                                  "quads.dae"};
    direct->getFileSystem()->changeWorkingDirectoryTo(folder.Path().string().c_str());
    scripted.graphics->GetDevice()->getFileSystem()->changeWorkingDirectoryTo(folder.Path().string().c_str());
    for (const char* model : models)
    {
        SCOPED_TRACE(model);
        scene::IAnimatedMesh* mine = LoadWritten(model);
        ASSERT_NE(mine, nullptr) << Graphics::CMeshGate::LastRefusal();
        scene::IAnimatedMesh* theirs = direct->getSceneManager()->getMesh((folder / model).c_str());
        ASSERT_NE(theirs, nullptr);
        EXPECT_EQ(mine->getMeshType() == scene::EAMT_SKINNED, theirs->getMeshType() == scene::EAMT_SKINNED);
        EXPECT_EQ(mine->getFrameCount(), theirs->getFrameCount());
        EXPECT_EQ(JointNames(mine), JointNames(theirs));
        const u32 last = theirs->getFrameCount() > 0 ? theirs->getFrameCount() - 1 : 0;
        for (const u32 frame : {0u, last / 2, last})
        {
            scene::IMesh* a = mine->getMesh(static_cast<s32>(frame), 255, -1, -1);
            scene::IMesh* b = theirs->getMesh(static_cast<s32>(frame), 255, -1, -1);
            ASSERT_EQ(VertexCount(a), VertexCount(b)) << "frame " << frame;
            EXPECT_GT(VertexCount(a), 0u);
            EXPECT_EQ(TextureName(a), TextureName(b));
            for (u32 buffer = 0; buffer < a->getMeshBufferCount(); ++buffer)
            {
                for (u32 vertex = 0; vertex < a->getMeshBuffer(buffer)->getVertexCount(); ++vertex)
                {
                    const core::vector3df pa = a->getMeshBuffer(buffer)->getPosition(vertex);
                    const core::vector3df pb = b->getMeshBuffer(buffer)->getPosition(vertex);
                    EXPECT_TRUE(pa.equals(pb, 1e-4f))
                        << "frame " << frame << " vertex " << vertex << ": (" << pa.X << "," << pa.Y << ","
                        << pa.Z << ") vs (" << pb.X << "," << pb.Y << "," << pb.Z << ")";
                }
            }
        }
    }
    // A COLLADA scene without geometry is a mesh without frames, as
    // Irrlicht makes it, and an agent shows it without harm.
    for (const char* model : {"camera.dae", "light.dae"})
    {
        SCOPED_TRACE(model);
        scene::IAnimatedMesh* mine = LoadWritten(model);
        ASSERT_NE(mine, nullptr) << Graphics::CMeshGate::LastRefusal();
        scene::IAnimatedMesh* theirs = direct->getSceneManager()->getMesh((folder / model).c_str());
        ASSERT_NE(theirs, nullptr);
        EXPECT_EQ(mine->getFrameCount(), theirs->getFrameCount());
        EXPECT_EQ(mine->getFrameCount(), 0u);
        EXPECT_TRUE(ShowsSoundly(mine));
    }
    // What the special types carry: MD2 frame names, the MD3 tag, the
    // map's shader for its item faces.
    scene::IAnimatedMesh* md2 = LoadWritten("run.md2");
    ASSERT_EQ(md2->getMeshType(), scene::EAMT_MD2);
    s32 begin = -1, end = -1, fps = 0;
    EXPECT_TRUE(static_cast<scene::IAnimatedMeshMD2*>(md2)->getFrameLoop("run", begin, end, fps));
    scene::IAnimatedMesh* md3 = LoadWritten("tagged.md3");
    ASSERT_EQ(md3->getMeshType(), scene::EAMT_MD3);
    const scene::SMD3QuaternionTagList* tags =
        static_cast<scene::IAnimatedMeshMD3*>(md3)->getTagList(0, 255, 0, 0);
    ASSERT_NE(tags, nullptr);
    ASSERT_EQ(tags->size(), 1u);
    EXPECT_STREQ((*tags)[0].Name.c_str(), "tag_weapon");
    scene::IAnimatedMesh* map = LoadWritten("map.bsp");
    ASSERT_EQ(map->getMeshType(), scene::EAMT_BSP);
    auto* level = static_cast<scene::IQ3LevelMesh*>(map);
    ASSERT_EQ(level->getMesh(1)->getMeshBufferCount(), 1u);
    const scene::quake3::IShader* shader = level->getShader(
        static_cast<s32>(level->getMesh(1)->getMeshBuffer(0)->getMaterial().MaterialTypeParam2));
    ASSERT_NE(shader, nullptr);
    EXPECT_STREQ(shader->name.c_str(), "textures/halvane/glow");
}

// Per format: the valid file, cut in half, with a count made huge, and with
// an index past what it indexes. Each loads or is refused (never a crash or
// a hang); what loads shows soundly. The formats read in process refuse all
// three damaged forms with their check's reason.
TEST_F(ModelFormatsTest, DamagedFilesOfEachFormatLoadOrAreRefused)
{
    using Edit = std::function<void(std::string&)>;
    auto at = [](size_t offset, int32_t value)
    {
        return [offset, value](std::string& bytes)
        {
            for (int k = 0; k < 4 && offset + k < bytes.size(); ++k)
                bytes[offset + k] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * k)) & 0xff);
        };
    };
    auto replace = [](std::string from, std::string to)
    {
        return [from, to](std::string& text)
        {
            const size_t found = text.find(from);
            ASSERT_NE(found, std::string::npos) << from;
            text.replace(found, from.size(), to);
        };
    };
    struct SCase
    {
        const char* name;
        std::string valid;
        Edit hugeCount;
        Edit indexPast;
        bool inProcess;
    };
    Gate()->GetReader().SetTimeoutMs(1000);
    const std::string md2 = ModelFixtures::Md2();
    const std::string md3 = ModelFixtures::Md3();
    const std::string bsp = ModelFixtures::Bsp();
    const SCase cases[] = {
        // B3D: the vertex flags' chunk length, a triangle's first corner.
        {"damaged.b3d", ModelFixtures::SkinnedB3d(), replace("VRTS", "VRTS\xff\xff\xff\x7f"),
         replace(std::string("TRIS\x1c\0\0\0\0\0\0\0\0\0\0\0", 16),
                 std::string("TRIS\x1c\0\0\0\0\0\0\0\x63\0\0\0", 16)),
         false},
        {"damaged.x", ModelFixtures::SkinnedTextX(), replace("  3;\n  0.0", "  300000000;\n  0.0"),
         replace("3;0,1,2;;", "3;0,1,7;;"), false},
        {"damaged.ms3d", ModelFixtures::Ms3d(), at(14, 0xffff), at(14 + 2 + 3 * 15 + 2 + 2, 9), false},
        {"damaged.ply", ModelFixtures::Ply("ascii"), replace("vertex 3", "vertex 2000000000"),
         replace("3 0 1 2", "3 0 1 9"), false},
        {"damaged.irrmesh", ModelFixtures::IrrMesh(),
         replace("vertexCount=\"3\"", "vertexCount=\"2000000000\""), replace("0 1 2\n", "0 1 9\n"), false},
        {"damaged.3ds", ModelFixtures::ThreeDs(),
         replace(std::string("\x10\x41\x2c\0\0\0\x03\0", 8), std::string("\x10\x41\x2c\0\0\0\xff\xff", 8)),
         replace(std::string("\x01\0\0\0\x01\0\x02\0", 8), std::string("\x01\0\0\0\x01\0\x09\0", 8)), false},
        {"damaged.obj", ModelFixtures::ObjWithMaterials("damaged")[0].second, replace("vt 0 0", "vt 0"),
         replace("f 1/1 2/2 3/3", "f 1/1 2/2 9/3"), false},
        // MD2: the vertex count, a triangle's corner.
        {"damaged.md2", md2, at(24, 0x7fffffff), at(68 + 64 + 12 + 2, 77), true},
        // MD3: the surface count, a triangle's corner.
        {"damaged.md3", md3, at(84, 0x7fffffff), at(108 + 56 + 112 + 108 + 4, 5), true},
        // Map: the faces lump's length, the polygon's first mesh vertex.
        {"damaged.bsp", bsp, at(8 + 8 * 13 + 4, 0x7fffff00),
         at(static_cast<size_t>(bsp.find(std::string("\0\0\0\0\x01\0\0\0\x02\0\0\0", 12))), 40), true},
    };
    for (const SCase& format : cases)
    {
        SCOPED_TRACE(format.name);
        if (std::string(format.name) == "damaged.obj")
            folder.Write("damaged.mtl", ModelFixtures::ObjWithMaterials("damaged")[1].second);
        scene::IAnimatedMesh* valid = Load(format.name, format.valid);
        ASSERT_NE(valid, nullptr) << Graphics::CMeshGate::LastRefusal();
        EXPECT_TRUE(ShowsSoundly(valid));
        std::string half = format.valid.substr(0, format.valid.size() / 2);
        std::string huge = format.valid;
        format.hugeCount(huge);
        std::string past = format.valid;
        format.indexPast(past);
        for (const std::string* damaged : {&half, &huge, &past})
        {
            scene::IAnimatedMesh* mesh = Load(format.name, *damaged);
            if (format.inProcess)
            {
                EXPECT_EQ(mesh, nullptr);
                EXPECT_NE(Graphics::CMeshGate::LastRefusal(), "");
            }
            else if (mesh != nullptr)
            {
                EXPECT_TRUE(ShowsSoundly(mesh));
            }
        }
    }
}

// A seeded run of damaged files of each format through the whole path: each
// loads or is refused, what loads shows soundly, and the engine goes on.
TEST_F(ModelFormatsTest, SeededDamageOfEveryFormatNeverReachesTheEngineUnchecked)
{
    struct SSeed
    {
        const char* name;
        std::string bytes;
        int runs;
    };
    const SSeed seeds[] = {
        {"fuzz.b3d", ModelFixtures::SkinnedB3d(), 120},
        {"fuzz.x", ModelFixtures::SkinnedTextX(), 120},
        {"fuzz.ms3d", ModelFixtures::Ms3d(), 120},
        {"fuzz.ply", ModelFixtures::Ply("binary_little_endian"), 60},
        {"fuzz.irrmesh", ModelFixtures::IrrMesh(), 60},
        {"fuzz.3ds", ModelFixtures::ThreeDs(), 120},
        {"fuzz.obj", ModelFixtures::ObjWithMaterials("fuzz")[0].second, 60},
        {"fuzz.md2", ModelFixtures::Md2(), 1500},
        {"fuzz.md3", ModelFixtures::Md3(), 1500},
        {"fuzz.bsp", ModelFixtures::Bsp(), 1500},
    };
    // A damaged file that makes its reader loop for ever costs one timeout.
    Gate()->GetReader().SetTimeoutMs(1000);
    std::mt19937 random(20270521);
    const SByteMutation limits{6, 16, 16};
    for (const SSeed& seed : seeds)
    {
        SCOPED_TRACE(seed.name);
        size_t loaded = 0;
        for (int run = 0; run < seed.runs; ++run)
        {
            std::string bytes = seed.bytes;
            MutateBytes(bytes, random, limits);
            // Counts at their extremes now and then.
            if (random() % 3 == 0 && bytes.size() >= 4)
            {
                const size_t at = random() % (bytes.size() - 3);
                for (size_t k = 0; k < 4; ++k)
                    bytes[at + k] = "\xff\x7f\x80\x00"[random() % 4];
            }
            scene::IAnimatedMesh* mesh = Load(seed.name, bytes);
            if (mesh != nullptr)
            {
                ++loaded;
                ASSERT_TRUE(ShowsSoundly(mesh));
            }
            for (scene::IAnimatedMesh* kept_mesh : kept)
                kept_mesh->drop();
            kept.clear();
        }
        std::printf("%s: %zu of %d damaged files loaded\n", seed.name, loaded, seed.runs);
    }
    // The valid files still load afterwards.
    EXPECT_NE(Load("after.b3d", ModelFixtures::SkinnedB3d()), nullptr);
    EXPECT_NE(Load("after.md2", ModelFixtures::Md2()), nullptr);
}

} // namespace

namespace
{

// Units built by a script: a Quake 3 map carries a shader node for its item
// faces under the unit's node; an OBJ unit's material 0 shows the texture
// its material library names.
TEST_F(ModelFormatsTest, MapUnitsCarryShaderNodesAndObjUnitsTheirTextures)
{
    const std::string folderText = folder.Path().string();
    ASSERT_EQ(scripted.Run("IApp:addSearchPath('" + folderText +
                           "', false, 0)\n"
                           "for _, model in ipairs({'map.bsp', 'textured.obj'}) do\n"
                           "  local unit = IWorld:createUnit()\n"
                           "  IWorld:setEntityModelName(unit, '" +
                           folderText +
                           "/' .. model)\n"
                           "  IWorld:addUnit(unit, '', '')\n"
                           "end\n"),
              "");
    core::array<scene::ISceneNode*> shaders;
    Scene()->getSceneNodesFromType(scene::ESNT_Q3SHADER_SCENE_NODE, shaders);
    ASSERT_EQ(shaders.size(), 1u);
    ASSERT_NE(shaders[0]->getParent(), nullptr);
    EXPECT_EQ(shaders[0]->getParent()->getID(), 32);
    core::array<scene::ISceneNode*> meshes;
    Scene()->getSceneNodesFromType(scene::ESNT_MESH, meshes);
    std::vector<std::string> textures;
    for (u32 index = 0; index < meshes.size(); ++index)
    {
        video::ITexture* texture = meshes[index]->getMaterial(0).getTexture(0);
        if (meshes[index]->getID() == 32 && texture != nullptr)
            textures.push_back(texture->getName().getPath().c_str());
    }
    EXPECT_NE(std::find(textures.begin(), textures.end(), folder / "skin.png"), textures.end());
}

} // namespace
