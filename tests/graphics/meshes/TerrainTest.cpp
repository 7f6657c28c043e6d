// Terrains built from height maps written here: heights at known points,
// the centre, the triangles by level of detail, patch sizes snapped when
// the node is made, the errors without a node, and a seeded mutation run
// over the height-map file.

#include "support/JoinedEntity.h"
#include "graphics/textures/ScriptedEngine.h"

#include "core/foundation/KVOError.h"
#include "irrlicht/ImageGate.h"
#include "graphics/scene/GraphicalTerrain.h"

#include "support/ErrorOf.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

namespace
{

using namespace irr;
using CTestTerrain = CJoinedEntity<Graphics::Scene::CGraphicalTerrain>;

const char* const kTerrain = "00000000-0000-4000-8000-0000000000f1";

// A 33 x 33 grey height map rising along z: the row z has the grey 4 z.
std::string WriteRamp(const CTestFolder& folder, video::IVideoDriver* driver)
{
    video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2du(33, 33));
    for (u32 z = 0; z < 33; ++z)
    {
        for (u32 x = 0; x < 33; ++x)
            image->setPixel(x, z, video::SColor(255, 4 * z, 4 * z, 4 * z));
    }
    const std::string path = folder / "ramp.bmp";
    EXPECT_TRUE(driver->writeImageToFile(image, path.c_str()));
    image->drop();
    return path;
}

class TerrainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scripted.Open("NULL", 320, 240));
        ramp = WriteRamp(folder, scripted.graphics->GetDevice()->getVideoDriver());
    }

    CTestFolder folder;
    CScriptedEngine scripted;
    std::string ramp;
};

TEST_F(TerrainTest, HeightsCentreAndTrianglesComeFromTheHeightMap)
{
    CTestTerrain terrain(kTerrain);
    terrain.SetHeightmap(std::wstring(ramp.begin(), ramp.end()));
    terrain.SetPatchSize(33);
    terrain.SetMaxLOD(3);
    terrain.SetTextureScales(2.0f, 4.0f);
    scripted.graphics->Add(&terrain, nullptr, "");
    ASSERT_NE(terrain.GetSceneNode(), nullptr);
    ASSERT_EQ(terrain.GetSceneNode()->getType(), scene::ESNT_TERRAIN);
    EXPECT_EQ(terrain.GetSceneNode()->getID(), 4096);

    struct SPoint
    {
        float x;
        float z;
        float height;
    };
    for (const SPoint& point :
         {SPoint{5, 10, 40}, SPoint{20, 10, 40}, SPoint{20, 30, 120}, SPoint{0, 0, 0}, SPoint{16, 2.5f, 10}})
        EXPECT_NEAR(terrain.GetHeight(point.x, point.z), point.height, 0.01f) << point.x << ", " << point.z;
    // Moved and stretched, the heights move and stretch along.
    terrain.SetPosition(CVector(100, 10, 0));
    terrain.SetScale(CVector(2, 0.5f, 2));
    terrain.GetSceneNode()->updateAbsolutePosition();
    EXPECT_NEAR(terrain.GetHeight(110, 20), 10 + 0.5f * 40, 0.01f);

    CVector centre;
    terrain.GetCenter(centre);
    EXPECT_NEAR(centre.x, 100 + 32.0f, 0.01f);
    EXPECT_NEAR(centre.z, 32.0f, 0.01f);

    // 32 x 32 squares at the finest level, fewer at the next.
    std::vector<Misc::World::CTriangle> faces;
    CVector size;
    CVector middle;
    EXPECT_EQ(terrain.GetMeshFaces(faces, 0, 0.0f, size, middle), 2048u);
    EXPECT_NEAR(size.x, 64.0f, 0.01f);
    EXPECT_EQ(terrain.GetMeshFaces(faces, 1, 0.0f, size, middle), 512u);
    // Levels past the last are the last.
    EXPECT_EQ(terrain.GetMeshFaces(faces, 1000, 0.0f, size, middle),
              terrain.GetMeshFaces(faces, 2, 0.0f, size, middle));
    terrain.SetLODDistance(0, 100.0);
    terrain.SetCameraMoveDelta(1.0f);
    terrain.SetCameraRotationDelta(1.0f);
    scripted.graphics->Remove(&terrain);
}

TEST_F(TerrainTest, PatchSizesAndLevelsFromFilesAreKeptToWhatTheNodeTakes)
{
    // A patch size read from a file as 1000, and 40 levels of detail.
    CTestTerrain terrain(kTerrain);
    terrain.SetHeightmap(std::wstring(ramp.begin(), ramp.end()));
    terrain.SetPatchSize(1000);
    terrain.SetMaxLOD(40);
    terrain.SetSmoothFactor(1000000);
    scripted.graphics->Add(&terrain, nullptr, "");
    ASSERT_EQ(terrain.GetSceneNode()->getType(), scene::ESNT_TERRAIN);
    EXPECT_NEAR(terrain.GetHeight(5, 10), 40.0f, 2.0f);
    scripted.graphics->Remove(&terrain);

    // Without a height map the terrain is a cube that answers zero.
    CTestTerrain missing(kTerrain);
    missing.SetHeightmap(L"no such map.bmp");
    scripted.graphics->Add(&missing, nullptr, "");
    ASSERT_EQ(missing.GetSceneNode()->getType(), scene::ESNT_CUBE);
    EXPECT_EQ(missing.GetHeight(1, 1), 0.0f);
    CVector centre(1, 1, 1);
    missing.GetCenter(centre);
    EXPECT_EQ(centre.x, 0.0f);
    std::vector<Misc::World::CTriangle> faces;
    CVector size;
    CVector middle;
    EXPECT_EQ(missing.GetMeshFaces(faces, 0, 0.0f, size, middle), 0u);
    scripted.graphics->Remove(&missing);

    // Without a node every query names itself.
    CVector out;
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"GetHeight", [&] { missing.GetHeight(0, 0); }},
        {"GetCenter", [&] { missing.GetCenter(out); }},
        {"SetLODDistance", [&] { missing.SetLODDistance(0, 1.0); }},
        {"SetCameraMoveDelta", [&] { missing.SetCameraMoveDelta(1.0f); }},
        {"SetCameraRotationDelta", [&] { missing.SetCameraRotationDelta(1.0f); }},
        {"GetMeshFaces", [&] { missing.GetMeshFaces(faces, 0, 0.0f, size, middle); }},
    };
    for (const auto& [name, action] : cases)
        EXPECT_EQ(ErrorOf(action),
                  std::string("[CGraphicalTerrain::") + name + "] Graphical scene node not initialised");
}

void PutU32(std::string& bytes, size_t at, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes[at + shift / 8] = static_cast<char>(value >> shift);
}

// Height maps whose headers promise more than the file holds, and files
// that are no image the engine reads, are refused before Irrlicht sees them.
TEST_F(TerrainTest, HeightMapHeadersArePassedOnlyWhenTheFileHoldsWhatTheyPromise)
{
    std::ifstream in(ramp, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct SCase
    {
        const char* what;
        std::function<void(std::string&)> edit;
        bool readable;
    };
    const SCase cases[] = {
        {"as written", [](std::string&) {}, true},
        {"cut short", [](std::string& b) { b.resize(b.size() - 1); }, false},
        {"offset past the end", [](std::string& b) { PutU32(b, 10, 0xFFFFFF00u); }, false},
        {"offset inside the header", [](std::string& b) { PutU32(b, 10, 20); }, false},
        {"taller than the data", [](std::string& b) { PutU32(b, 22, 34); }, false},
        // The same rows stored top-down: a bitmap the engine's reader takes.
        {"upside down", [](std::string& b) { PutU32(b, 22, static_cast<uint32_t>(-33)); }, true},
        {"upside down and taller", [](std::string& b) { PutU32(b, 22, static_cast<uint32_t>(-34)); }, false},
        {"huge", [](std::string& b) { PutU32(b, 18, 0x7FFFFFFF); }, false},
        {"run-length packed", [](std::string& b) { PutU32(b, 30, 1); }, false},
        {"odd pixel size", [](std::string& b) { b[28] = 7; }, false},
        {"small data size", [](std::string& b) { PutU32(b, 34, 16); }, false},
        {"header only", [](std::string& b) { b.resize(20); }, false},
        {"not a bitmap", [](std::string& b) { b[0] = 'P'; }, false},
        {"empty", [](std::string& b) { b.clear(); }, false},
    };
    io::IFileSystem* files = scripted.graphics->GetDevice()->getFileSystem();
    const Graphics::CImageGate gate(scripted.graphics->GetDevice()->getVideoDriver(), 4097);
    for (const SCase& test : cases)
    {
        std::string edited = bytes;
        test.edit(edited);
        io::IReadFile* file =
            files->createMemoryReadFile(edited.data(), static_cast<s32>(edited.size()), "x.bmp");
        EXPECT_EQ(gate.Fits(file, 4097), test.readable) << test.what;
        EXPECT_EQ(file->getPos(), 0) << test.what;
        file->drop();
    }
}

// Damaged height maps make a terrain, a cube, or nothing; never a crash.
TEST_F(TerrainTest, MutatedHeightMapsBuildSafely)
{
    std::ifstream in(ramp, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 54u);
    std::mt19937 random(20261210);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    size_t builds = 0;
    while (builds < 400 && std::chrono::steady_clock::now() < deadline)
    {
        std::string mutated = bytes;
        const int steps = 1 + static_cast<int>(random() % 4);
        for (int step = 0; step < steps; ++step)
        {
            // The header is where a reader can be led astray; an earlier cut may have left
            // less than a header, so the position stays inside what is left.
            const size_t limit = random() % 2 == 0 ? std::min<size_t>(54, mutated.size()) : mutated.size();
            const size_t at = random() % limit;
            switch (random() % 3)
            {
            case 0:
                mutated[at] = static_cast<char>(random() & 0xFF);
                break;
            case 1:
                mutated.resize(at);
                break;
            default:
                mutated[at] = static_cast<char>(0xFF);
                break;
            }
            if (mutated.empty())
                break;
        }
        const std::string path = folder.Write("mutated.bmp", mutated);
        CTestTerrain terrain(kTerrain);
        terrain.SetHeightmap(std::wstring(path.begin(), path.end()));
        terrain.SetPatchSize(static_cast<uint32_t>(random() % 200));
        try
        {
            scripted.graphics->Add(&terrain, nullptr, "");
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        if (terrain.GetSceneNode() != nullptr)
        {
            terrain.GetHeight(3, 3);
            scripted.graphics->Remove(&terrain);
        }
        ++builds;
    }
    std::printf("%zu mutated height maps built\n", builds);
    EXPECT_GT(builds, 0u);
}

} // namespace
