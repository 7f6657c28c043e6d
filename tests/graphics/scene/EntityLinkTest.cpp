// An entity and the engines its parts joined, going in every order:
// whichever goes first, the others keep no pointer to it (the address
// sanitizer watches), and an entity whose engine went keeps its settings and
// can join another engine.

#include "support/JoinedEntity.h"

#include "graphics/engine/GraphicsEngine.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace World = Misc::World;
using Graphics::CGraphicsEngine;
using Graphics::Scene::CGraphicalEntity;

const char* const kId = "00000000-0000-4000-8000-0000000000aa";

std::unique_ptr<CGraphicsEngine> NullEngine()
{
    auto engine = std::make_unique<CGraphicsEngine>(nullptr);
    engine->Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
    engine->SetBackgroundRenderingEnabled(true);
    return engine;
}

// The entity in every list of the engine it can be in: its node, the
// frame's pending updates and animated entities and, for a camera, the
// active and the secondary cameras.
void JoinEverything(CGraphicsEngine& engine, CGraphicalEntity& entity)
{
    engine.Add(&entity, nullptr, "");
    entity.RegisterWithEngine();
    engine.AddAutoAnimatedEntity(&entity);
    if (Graphics::IFrameCamera* camera = entity.GetFrameCamera())
    {
        engine.SetActiveCamera(camera);
        engine.AddSecondaryCamera(camera);
    }
    ASSERT_EQ(entity.GetEngine(), &engine);
    ASSERT_EQ(engine.GetParts().GetCount(), 1u);
}

TEST(EntityLinkTest, AnEntityAndItsThreeEnginesGoInEveryOrder)
{
    // 0: the entity; 1, 2, 3: the graphics, physics and sound engines.
    std::vector<int> order{0, 1, 2, 3};
    do
    {
        SCOPED_TRACE(testing::PrintToString(order));
        auto graphics = NullEngine();
        auto physics = std::make_unique<CPhysicsEngine>(nullptr);
        auto sound = std::make_unique<CSoundEngine>(nullptr);
        auto camera = std::make_unique<CTestCameraEntity>(kId);
        JoinEverything(*graphics, *camera);
        camera->Physical().Attach(*physics);
        camera->Sonic().Attach(*sound);

        for (int step : order)
        {
            switch (step)
            {
            case 0:
                camera.reset();
                if (graphics)
                {
                    EXPECT_EQ(graphics->GetActiveCamera(), nullptr);
                    EXPECT_TRUE(graphics->GetSecondaryCameras().empty());
                    EXPECT_EQ(graphics->GetParts().GetCount(), 0u);
                    EXPECT_TRUE(graphics->Draw(false, false, false));
                }
                if (physics)
                {
                    EXPECT_EQ(physics->GetParts().GetCount(), 0u);
                }
                if (sound)
                {
                    EXPECT_EQ(sound->GetParts().GetCount(), 0u);
                }
                break;
            case 1:
                graphics.reset();
                if (camera)
                {
                    EXPECT_EQ(camera->GetEngine(), nullptr);
                    EXPECT_EQ(camera->GetSceneNode(), nullptr);
                }
                break;
            case 2:
                physics.reset();
                if (camera)
                {
                    EXPECT_FALSE(camera->Physical().IsAttached());
                }
                break;
            case 3:
                sound.reset();
                if (camera)
                {
                    EXPECT_FALSE(camera->Sonic().IsAttached());
                }
                break;
            }
            // What is left still works: the entity moves every part it has.
            if (camera)
            {
                camera->SetPosition(CVector(1, 2, 3));
                camera->RegisterWithEngine();
                camera->Refresh();
            }
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(EntityLinkTest, AnEngineGoingDownLetsGoOfEveryKind)
{
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<CGraphicalEntity>()>>> kinds = {
        {"light", [] { return std::make_unique<CTestLight>(kId); }},
        {"camera", [] { return std::make_unique<CTestCameraEntity>(kId); }},
        {"billboard", [] { return std::make_unique<CTestBillboard>(kId); }},
        {"particle system", [] { return std::make_unique<CTestParticleSystem>(kId); }},
        {"agent", [] { return std::make_unique<CKindEntity>(World::kTypeIdAgent, kId); }},
        {"trigger with markers",
         []
         {
             auto trigger = std::make_unique<CTestTrigger>(kId);
             trigger->SetFlags(1);
             return trigger;
         }},
    };
    for (const auto& [name, make] : kinds)
    {
        for (const bool closeOnly : {false, true})
        {
            SCOPED_TRACE(std::string(name) + (closeOnly ? ", device closed" : ", engine destroyed"));
            auto engine = NullEngine();
            std::unique_ptr<CGraphicalEntity> entity = make();
            entity->SetVisible(false);
            JoinEverything(*engine, *entity);
            ASSERT_NE(entity->GetSceneNode(), nullptr);
            if (closeOnly)
                engine->Destroy();
            else
                engine.reset();
            // The node, meshes and device objects went with the device;
            // the settings stay.
            EXPECT_EQ(entity->GetEngine(), nullptr);
            EXPECT_EQ(entity->GetSceneNode(), nullptr);
            EXPECT_EQ(entity->GetSceneManager(), nullptr);
            EXPECT_EQ(entity->GetMesh(), nullptr);
            EXPECT_EQ(entity->GetAnimatedMesh(), nullptr);
            EXPECT_FALSE(entity->IsVisible());
            EXPECT_FALSE(entity->UpdateParts());

            // The entity joins a new device as a new entity would.
            if (!engine)
                engine = NullEngine();
            else
                engine->Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
            engine->Add(entity.get(), nullptr, "");
            ASSERT_NE(entity->GetSceneNode(), nullptr);
            EXPECT_FALSE(entity->GetSceneNode()->isVisible());
            EXPECT_EQ(entity->GetEngine(), engine.get());
            entity.reset();
            EXPECT_EQ(engine->GetParts().GetCount(), 0u);
            EXPECT_TRUE(engine->Draw(false, false, false));
        }
    }
}

} // namespace
