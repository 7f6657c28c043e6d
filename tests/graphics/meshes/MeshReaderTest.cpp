// The model reader process as the engine sees it: a reader that hangs, is
// killed mid-stream, writes garbage or ends is a refusal with its reason
// and leaves no process behind; the engine's next model gets a new reader.
// And the description it sends is checked before anything is built from
// it: faults of every kind are refused, seeded damage never crashes.
#include "graphics/textures/ScriptedEngine.h"
#include "support/ByteMutation.h"
#include "support/ModelFixtures.h"
#include "support/TestFolder.h"

#include "graphics/engine/GraphicsEngine.h"
#include "irrlicht/MeshDescription.h"
#include "graphics/meshes/MeshGate.h"
#include "graphics/meshes/MeshReaderClient.h"
#include "platform/ChildProcess.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <random>
#include <string>

namespace
{

using namespace irr;
using Graphics::CMeshDescription;
using Graphics::CMeshReaderClient;

// A stand-in reader: a shell script that first notes its process id.
std::string FakeReader(const CTestFolder& folder, const std::string& name, const std::string& body)
{
    const std::string path = folder.Write(name, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

TEST(MeshReaderClientTest, AReaderThatFailsIsARefusalAndLeavesNoProcess)
{
    CTestFolder folder;
    struct SCase
    {
        const char* name;
        std::string body;
        const char* reason;
    };
    const SCase cases[] = {
        {"hung", "exec sleep 30\n", "took longer than 400 ms"},
        // A result announced, three bytes of it sent, then killed.
        {"killed", "head -c 8 <&3 >/dev/null\nprintf 'DONE\\377\\0\\0\\0abc' >&4\nkill -9 $$\n",
         "ended while reading the file (signal 9"},
        {"garbage", "head -c 8 <&3 >/dev/null\nprintf 'garbage!garbage!' >&4\nexec sleep 30\n",
         "sent a message the engine does not read"},
        // A file asked for with a name longer than any the engine answers.
        {"asking", "head -c 8 <&3 >/dev/null\nprintf 'FILE\\0\\0\\1\\0' >&4\nexec sleep 30\n",
         "sent a message the engine does not read"},
        {"ending", "exit 3\n", "ended while reading the file (exit code 3)"},
    };
    for (const SCase& reader : cases)
    {
        SCOPED_TRACE(reader.name);
        CMeshReaderClient::SSettings settings;
        settings.program = FakeReader(folder, reader.name, reader.body);
        settings.timeoutMs = 400;
        CMeshReaderClient client(settings);
        std::string description;
        std::string reason;
        const std::string bytes(100, 'x');
        EXPECT_FALSE(client.Read(
            "model.x", {}, bytes, [](const std::string&, std::string&) { return uint8_t{0}; }, description,
            reason));
        EXPECT_NE(reason.find(reader.reason), std::string::npos) << reason;
        EXPECT_EQ(client.GetProcessId(), -1);
        const int pid = client.GetLastProcessId();
        EXPECT_GT(pid, 0);
        EXPECT_FALSE(Platform::CChildProcess::ProcessExists(pid));
    }
    CMeshReaderClient::SSettings missing;
    missing.program = folder / "no-such-reader";
    CMeshReaderClient client(missing);
    std::string description;
    std::string reason;
    EXPECT_FALSE(client.Read(
        "model.x", {}, "x", [](const std::string&, std::string&) { return uint8_t{0}; }, description,
        reason));
    EXPECT_NE(reason.find("could not be started"), std::string::npos) << reason;
}

TEST(MeshReaderClientTest, TheEngineReplacesAReaderThatWasKilled)
{
    CTestFolder folder;
    CScriptedEngine scripted;
    ASSERT_TRUE(scripted.Open("NULL", 320, 240));
    scene::ISceneManager* scene = scripted.graphics->GetDevice()->getSceneManager();
    auto* gate = dynamic_cast<Graphics::CMeshGate*>(scene->getMeshLoader(scene->getMeshLoaderCount() - 1));
    ASSERT_NE(gate, nullptr);
    const std::string first = folder.Write("first.b3d", ModelFixtures::SkinnedB3d());
    const std::string second = folder.Write("second.b3d", ModelFixtures::SkinnedB3d(3));
    ASSERT_NE(scripted.graphics->LoadMesh(std::wstring(first.begin(), first.end())), nullptr);
    const int reader = gate->GetReader().GetProcessId();
    ASSERT_GT(reader, 0);
    // The same reader serves the next model; one killed is replaced.
    ::kill(reader, SIGKILL);
    scene::IAnimatedMesh* mesh = scripted.graphics->LoadMesh(std::wstring(second.begin(), second.end()));
    // The first model after the kill may meet the dead reader: refused, and
    // the one after it reads in a new reader.
    if (mesh == nullptr)
    {
        EXPECT_NE(Graphics::CMeshGate::LastRefusal().find("ended"), std::string::npos);
        mesh = scripted.graphics->LoadMesh(std::wstring(second.begin(), second.end()));
    }
    ASSERT_NE(mesh, nullptr) << Graphics::CMeshGate::LastRefusal();
    EXPECT_EQ(mesh->getMesh(0)->getMeshBuffer(0)->getVertexCount(), 6u);
    EXPECT_NE(gate->GetReader().GetProcessId(), reader);
    EXPECT_FALSE(Platform::CChildProcess::ProcessExists(reader));
    // Closing the device ends the reader.
    const int last = gate->GetReader().GetProcessId();
    scripted.graphics->Destroy();
    EXPECT_FALSE(Platform::CChildProcess::ProcessExists(last));
}

class MeshDescriptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SIrrlichtCreationParameters creation;
        creation.DriverType = video::EDT_NULL;
        creation.LoggingLevel = ELL_NONE;
        device = createDeviceEx(creation);
        ASSERT_NE(device, nullptr);
    }
    void TearDown() override { device->drop(); }
    scene::ISceneManager* Scene() const { return device->getSceneManager(); }

    // A one-triangle frame mesh, changed by the edit before it is described.
    std::string Frames(const std::function<void(scene::SMeshBuffer&)>& edit = nullptr)
    {
        auto* buffer = new scene::SMeshBuffer();
        for (int corner = 0; corner < 3; ++corner)
            buffer->Vertices.push_back(video::S3DVertex(static_cast<f32>(corner == 1),
                                                        static_cast<f32>(corner == 2), 0, 0, 0, -1,
                                                        video::SColor(255, 255, 255, 255), 0, 0));
        for (u16 index : {0, 1, 2})
            buffer->Indices.push_back(index);
        if (edit)
            edit(*buffer);
        auto* mesh = new scene::SMesh();
        mesh->addMeshBuffer(buffer);
        buffer->drop();
        auto* animated = new scene::SAnimatedMesh(mesh);
        mesh->drop();
        std::string bytes, reason;
        EXPECT_TRUE(CMeshDescription::Describe(animated, bytes, reason));
        animated->drop();
        return bytes;
    }
    // A skinned triangle with the joints "root" and "hand" (under root), the
    // hand weighting the corners, changed by the edit.
    std::string Skinned(const std::function<void(scene::ISkinnedMesh&)>& edit = nullptr)
    {
        scene::ISkinnedMesh* mesh = Scene()->createSkinnedMesh();
        scene::SSkinMeshBuffer* buffer = mesh->addMeshBuffer();
        for (int corner = 0; corner < 3; ++corner)
            buffer->Vertices_Standard.push_back(video::S3DVertex(static_cast<f32>(corner == 1),
                                                                 static_cast<f32>(corner == 2), 0, 0, 0, -1,
                                                                 video::SColor(255, 255, 255, 255), 0, 0));
        for (u16 index : {0, 1, 2})
            buffer->Indices.push_back(index);
        scene::ISkinnedMesh::SJoint* root = mesh->addJoint(nullptr);
        root->Name = "root";
        scene::ISkinnedMesh::SJoint* hand = mesh->addJoint(root);
        hand->Name = "hand";
        for (u32 vertex = 0; vertex < 3; ++vertex)
        {
            scene::ISkinnedMesh::SWeight* weight = mesh->addWeight(hand);
            weight->buffer_id = 0;
            weight->vertex_id = vertex;
            weight->strength = 1.0f;
        }
        for (f32 frame : {0.0f, 10.0f})
        {
            scene::ISkinnedMesh::SPositionKey* key = mesh->addPositionKey(hand);
            key->frame = frame;
            key->position.set(0, frame / 5, 0);
        }
        mesh->finalize();
        if (edit)
            edit(*mesh);
        std::string bytes, reason;
        EXPECT_TRUE(CMeshDescription::Describe(mesh, bytes, reason));
        mesh->drop();
        return bytes;
    }
    // The reason the description is refused ("" when it is rebuilt).
    std::string Refusal(const std::string& bytes)
    {
        std::string reason;
        scene::IAnimatedMesh* mesh = CMeshDescription::Rebuild(Scene(), bytes, reason);
        if (mesh == nullptr)
            return reason.empty() ? "refused without a reason" : reason;
        mesh->drop();
        return "";
    }

    IrrlichtDevice* device = nullptr;
};

TEST_F(MeshDescriptionTest, SoundDescriptionsAreRebuiltAndEveryFaultIsRefused)
{
    EXPECT_EQ(Refusal(Frames()), "");
    EXPECT_EQ(Refusal(Skinned()), "");
    {
        // Buffers with nothing in them: the least bytes a buffer takes.
        auto* mesh = new scene::SMesh();
        for (int index = 0; index < 4; ++index)
        {
            auto* empty = new scene::SMeshBuffer();
            mesh->addMeshBuffer(empty);
            empty->drop();
        }
        auto* animated = new scene::SAnimatedMesh(mesh);
        mesh->drop();
        std::string bytes, reason;
        ASSERT_TRUE(CMeshDescription::Describe(animated, bytes, reason));
        animated->drop();
        EXPECT_EQ(Refusal(bytes), "");
    }
    {
        // A position the loader left unreadable is described as the origin
        // (the reader does so before describing): the mesh keeps its
        // vertices instead of being refused.
        auto* buffer = new scene::SMeshBuffer();
        for (const f32 x : {0.0f, std::nanf(""), 1.0f})
            buffer->Vertices.push_back(video::S3DVertex(x, 2, 3, 0, 0, -1, video::SColor(0xffffffff), 0, 0));
        for (const u16 index : {0, 1, 2})
            buffer->Indices.push_back(index);
        auto* mesh = new scene::SMesh();
        mesh->addMeshBuffer(buffer);
        buffer->drop();
        auto* animated = new scene::SAnimatedMesh(mesh);
        mesh->drop();
        CMeshDescription::ClearUnreadablePositions(animated);
        std::string bytes, reason;
        ASSERT_TRUE(CMeshDescription::Describe(animated, bytes, reason));
        animated->drop();
        scene::IAnimatedMesh* rebuilt = CMeshDescription::Rebuild(Scene(), bytes, reason);
        ASSERT_NE(rebuilt, nullptr) << reason;
        const scene::IMeshBuffer* read = rebuilt->getMesh(0)->getMeshBuffer(0);
        ASSERT_EQ(read->getVertexCount(), 3u);
        EXPECT_EQ(read->getPosition(1), core::vector3df(0, 0, 0));
        EXPECT_EQ(read->getPosition(2), core::vector3df(1, 2, 3));
        rebuilt->drop();
    }
    {
        // A parent listed after its child (as Irrlicht's X loader lists the
        // joints a skin names first) keeps its child.
        std::string reason;
        scene::IAnimatedMesh* mesh =
            CMeshDescription::Rebuild(Scene(),
                                      Skinned(
                                          [](scene::ISkinnedMesh& m)
                                          {
                                              m.getAllJoints()[0]->Children.clear();
                                              m.getAllJoints()[1]->Children.push_back(m.getAllJoints()[0]);
                                          }),
                                      reason);
        ASSERT_NE(mesh, nullptr) << reason;
        auto& joints = static_cast<scene::ISkinnedMesh*>(mesh)->getAllJoints();
        ASSERT_EQ(joints.size(), 2u);
        EXPECT_EQ(std::string(joints[0]->Name.c_str()), "root");
        ASSERT_EQ(joints[1]->Children.size(), 1u);
        EXPECT_EQ(joints[1]->Children[0], joints[0]);
        EXPECT_TRUE(joints[0]->Children.empty());
        mesh->drop();
    }
    const f32 nan = std::nanf("");
    const std::pair<std::string, const char*> faults[] = {
        {Frames([](scene::SMeshBuffer& b) { b.Indices[2] = 3; }), "an index is past its buffer's vertices"},
        {Frames([nan](scene::SMeshBuffer& b) { b.Vertices[1].Pos.Y = nan; }), "not finite"},
        {Frames([](scene::SMeshBuffer& b)
                { b.Material.MaterialType = static_cast<video::E_MATERIAL_TYPE>(99); }),
         "material type is out of range"},
        {Frames([](scene::SMeshBuffer& b) { b.Material.ZBuffer = 200; }), "depth comparison is out of range"},
        {Skinned([](scene::ISkinnedMesh& m) { m.getAllJoints()[1]->Weights[2].vertex_id = 3; }),
         "a weight names a vertex that no buffer has"},
        {Skinned([](scene::ISkinnedMesh& m) { m.getAllJoints()[1]->Weights[0].buffer_id = 1; }),
         "a weight names a vertex that no buffer has"},
        {Skinned([](scene::ISkinnedMesh& m) { m.getAllJoints()[0]->AttachedMeshes.push_back(4); }),
         "a joint carries a buffer that does not exist"},
        // The hand its own parent; the root and the hand each other's.
        {Skinned(
             [](scene::ISkinnedMesh& m)
             {
                 m.getAllJoints()[0]->Children.clear();
                 m.getAllJoints()[1]->Children.push_back(m.getAllJoints()[1]);
             }),
         "a joint is its own ancestor"},
        {Skinned([](scene::ISkinnedMesh& m)
                 { m.getAllJoints()[1]->Children.push_back(m.getAllJoints()[0]); }),
         "a joint is its own ancestor"},
        {Skinned([](scene::ISkinnedMesh& m) { m.getAllJoints()[1]->PositionKeys[1].frame = 1e9f; }),
         "key frame is out of range"},
        {Skinned([nan](scene::ISkinnedMesh& m) { m.getAllJoints()[1]->LocalMatrix[12] = nan; }),
         "not finite"},
        {Skinned() + "x", "bytes after its end"},
        {Skinned().substr(0, 200), "ends early"},
        {"HVMD", "not a mesh description"},
    };
    for (const auto& [bytes, reason] : faults)
    {
        const std::string refusal = Refusal(bytes);
        EXPECT_NE(refusal.find(reason), std::string::npos) << "expected: " << reason << ", got: " << refusal;
    }
}

// Seeded damage to descriptions of both kinds: rebuilt or refused, and a
// rebuilt mesh indexes only vertices of its buffers.
TEST_F(MeshDescriptionTest, DamagedDescriptionsAreRebuiltSoundlyOrRefused)
{
    const std::string seeds[] = {Frames(), Skinned()};
    std::mt19937 random(424242);
    const SByteMutation limits{4, 8, 8};
    size_t rebuilt = 0;
    for (int run = 0; run < 4000; ++run)
    {
        std::string bytes = seeds[run % 2];
        MutateBytes(bytes, random, limits);
        std::string reason;
        scene::IAnimatedMesh* mesh = CMeshDescription::Rebuild(Scene(), bytes, reason);
        if (mesh == nullptr)
            continue;
        ++rebuilt;
        // Irrlicht's meshes of frames do not bound the frame they are asked.
        for (u32 frame = 0; frame < std::max(1u, mesh->getFrameCount()) && frame < 12; frame += 5)
        {
            scene::IMesh* shown = mesh->getMesh(static_cast<s32>(frame), 255, -1, -1);
            for (u32 b = 0; shown != nullptr && b < shown->getMeshBufferCount(); ++b)
            {
                const scene::IMeshBuffer* buffer = shown->getMeshBuffer(b);
                for (u32 i = 0; i < buffer->getIndexCount(); ++i)
                    ASSERT_LT(buffer->getIndices()[i], buffer->getVertexCount());
            }
        }
        mesh->drop();
    }
    std::printf("%zu of 4000 damaged descriptions rebuilt\n", rebuilt);
}

} // namespace
