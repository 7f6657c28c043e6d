// The engine object as the program puts it together: the core with the
// graphics, physics and sound engines, the world and the twelve script
// interfaces.
#include "app/EngineComposition.h"

#include "core/app/FakeClock.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/events/Multicast.h"
#include "core/script/lua/LuaObject.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"
#include "support/EventListener.h"
#include "support/JoinedEntity.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Misc::Multicast;

namespace
{

} // namespace

TEST(EngineCompositionTest, OwnsTheApplicationTheEnginesAndTheWorld)
{
    Simulation::CSimulationManager manager(Halvane::AddEngineParts);
    ASSERT_NE(manager.GetApplication(), nullptr);
    ASSERT_NE(manager.GetPart<Graphics::CGraphicsEngine>(), nullptr);
    ASSERT_NE(manager.GetPart<CPhysicsEngine>(), nullptr);
    ASSERT_NE(manager.GetPart<CSoundEngine>(), nullptr);
    ASSERT_NE(manager.GetPart<CWorld>(), nullptr);
    EXPECT_EQ(manager.GetPart<Graphics::CGraphicsEngine>()->GetOwner(), &manager);
    EXPECT_EQ(manager.GetPart<CWorld>()->GetOwner(), &manager);

    const auto& engines = manager.GetSubEngines();
    ASSERT_EQ(engines.size(), 3u);
    auto entry = engines.begin();
    EXPECT_EQ(entry->first, "graphics");
    EXPECT_EQ(entry->second, manager.GetPart<Graphics::CGraphicsEngine>());
    EXPECT_EQ((++entry)->first, "physics");
    EXPECT_EQ(entry->second, static_cast<Simulation::CSubEngine*>(manager.GetPart<CPhysicsEngine>()));
    EXPECT_EQ((++entry)->first, "sound");
    EXPECT_EQ(entry->second, static_cast<Simulation::CSubEngine*>(manager.GetPart<CSoundEngine>()));

    // The sound engine and the world follow camera changes.
    EXPECT_TRUE(CMulticast<Kind::CameraChange>::IsSubscribed(manager.GetPart<CSoundEngine>()));
    EXPECT_TRUE(CMulticast<Kind::CameraChange>::IsSubscribed(manager.GetPart<CWorld>()));

    EXPECT_TRUE(manager.IsThrottlingEnabled());
    EXPECT_TRUE(manager.GetExitOnQuit());
    EXPECT_FALSE(manager.IsFrameCounterEnabled());
}

TEST(EngineCompositionTest, TheLoopRunsWithTheRealEngines)
{
    CFakeClock clock;
    CEventListener<Kind::Run> run;
    auto manager = std::make_unique<Simulation::CSimulationManager>(Halvane::AddEngineParts);
    for (auto& entry : manager->GetSubEngines())
        entry.second->SetDesiredFrameRate(1000);
    manager->Run(20);

    // None of them has a device or world yet: nobody steps, every tick
    // sleeps a millisecond, and nobody holds the stop up.
    // Ticks at 1000..1021, the last one past the end.
    EXPECT_EQ(manager->GetTotalFrames(), 22u);
    EXPECT_EQ(clock.sleeps.size(), 22u);
    ASSERT_EQ(run.events.size(), 2u);
    EXPECT_TRUE(run.events[0].starting);
    EXPECT_FALSE(run.events[1].starting);
    EXPECT_EQ(manager->GetPart<Graphics::CGraphicsEngine>()->GetTotalFrames(), 0u);

    CSoundEngine* sound = manager->GetPart<CSoundEngine>();
    CWorld* world = manager->GetPart<CWorld>();
    manager.reset();
    EXPECT_FALSE(CMulticast<Kind::CameraChange>::IsSubscribed(sound));
    EXPECT_FALSE(CMulticast<Kind::CameraChange>::IsSubscribed(world));
}

TEST(EngineCompositionTest, GoesDownWithEntitiesInEveryEngine)
{
    auto manager = std::make_unique<Simulation::CSimulationManager>(Halvane::AddEngineParts);
    auto* graphics = manager->GetPart<Graphics::CGraphicsEngine>();
    ASSERT_TRUE(graphics->Init("NULL", 64, 64, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
    std::vector<std::string> releases;
    CTestLight light("00000000-0000-4000-8000-0000000000aa");
    CTestCameraEntity camera("00000000-0000-4000-8000-0000000000bb");
    light.Sonic().name = "light in sound";
    light.Physical().name = "light in physics";
    camera.Sonic().name = "camera in sound";
    camera.Physical().name = "camera in physics";
    for (auto* part : {&light.Sonic(), &camera.Sonic()})
    {
        part->releases = &releases;
        part->Attach(*manager->GetPart<CSoundEngine>());
    }
    for (auto* part : {&light.Physical(), &camera.Physical()})
    {
        part->releases = &releases;
        part->Attach(*manager->GetPart<CPhysicsEngine>());
    }
    graphics->Add(&light, nullptr, "");
    graphics->Add(&camera, nullptr, "");
    light.RegisterWithEngine();
    ASSERT_EQ(graphics->GetActiveCamera(), &camera);

    // The world goes first, then sound, physics and graphics, each letting
    // go of its parts; the entities outlive them all.
    manager.reset();
    EXPECT_EQ(releases, (std::vector<std::string>{"camera in sound", "light in sound", "camera in physics",
                                                  "light in physics"}));
    for (Graphics::Scene::CGraphicalEntity* entity :
         {static_cast<Graphics::Scene::CGraphicalEntity*>(&light),
          static_cast<Graphics::Scene::CGraphicalEntity*>(&camera)})
    {
        EXPECT_EQ(entity->GetEngine(), nullptr);
        EXPECT_EQ(entity->GetSceneNode(), nullptr);
    }
    light.SetPosition(CVector(1, 2, 3));
    camera.MoveForward(CVector(1, 1, 1), 1.0f);
}

TEST(EngineCompositionTest, TheEngineObjectPublishesTheTwelveInterfaces)
{
    CScriptManager engine(Halvane::EngineComposition());
    ASSERT_NE(engine.GetMainState(), nullptr);
    ASSERT_NE(engine.GetPart<Graphics::CGraphicsEngine>(), nullptr);
    for (const char* name : {"IApp", "IMisc", "ILog", "IState", "IEvents", "IGraphics", "ISkin", "IPhysics",
                             "ISound", "IKey", "IMouse", "IWorld"})
        EXPECT_TRUE(engine.GetMainState()->GetGlobals().Get(name).IsUserData()) << name;

    // The core alone publishes none.
    CScriptManager bare;
    EXPECT_TRUE(bare.GetMainState()->GetGlobals().Get("IApp").IsNil());
    EXPECT_TRUE(bare.GetSubEngines().empty());
}
