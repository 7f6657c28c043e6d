// The listener follows the graphics engine's active camera: its position,
// where it looks, its up vector and its velocity, with no jump in velocity
// when another camera becomes active.
#include "app/EngineComposition.h"
#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "support/JoinedEntity.h"
#include "sound/SoundEngine.h"

#include "SoundTestEngine.h"

#include <gtest/gtest.h>

TEST(SoundListenerTest, FollowsTheActiveCameraWithoutAJumpAtASwitch)
{
    Simulation::CSimulationManager manager(Halvane::AddEngineParts);
    Graphics::CGraphicsEngine* graphics = manager.GetPart<Graphics::CGraphicsEngine>();
    CSoundEngine* sound = manager.GetPart<CSoundEngine>();
    ASSERT_TRUE(sound->Init("", 100, false)); // steps every 10 ms
    CTestCameraEntity first;
    CTestCameraEntity second;
    first.SetPosition(CVector(1, 2, 3));
    first.SetLookAt(CVector(1, 2, 13));
    first.SetUp(CVector(0, 1, 0));
    second.SetPosition(CVector(50, 0, 0));
    second.SetLookAt(CVector(50, 0, -10));
    second.SetUp(CVector(1, 0, 0));

    graphics->SetActiveCamera(&first);
    EXPECT_TRUE(SameVector(sound->GetLastListenerPosition(), CVector(1, 2, 3)));
    sound->StartStop({&manager, true, 1000});
    first.SetPosition(CVector(2, 2, 3));
    ASSERT_TRUE(sound->Update({&manager, 1010, 1000}));
    SListener listener = ListenerOf(*sound);
    EXPECT_TRUE(SameVector(listener.position, CVector(2, 2, 3)));
    EXPECT_TRUE(SameVector(listener.velocity, CVector(100, 0, 0))); // 1 in 10 ms
    EXPECT_TRUE(SameVector(listener.at, CVector(-1, 0, 10)));
    EXPECT_TRUE(SameVector(listener.up, CVector(0, 1, 0)));

    // The switch: 48 units away, and no velocity for it.
    graphics->SetActiveCamera(&second);
    ASSERT_TRUE(sound->Update({&manager, 1030, 1010}));
    listener = ListenerOf(*sound);
    EXPECT_TRUE(SameVector(listener.position, CVector(50, 0, 0)));
    EXPECT_TRUE(SameVector(listener.velocity, CVector(0, 0, 0)));
    EXPECT_TRUE(SameVector(listener.at, CVector(0, 0, -10)));
    EXPECT_TRUE(SameVector(listener.up, CVector(1, 0, 0)));
    // Moved in 20 ms: the step's own interval.
    second.SetPosition(CVector(50, 0, 1));
    ASSERT_TRUE(sound->Update({&manager, 1050, 1030}));
    EXPECT_TRUE(SameVector(ListenerOf(*sound).velocity, CVector(0, 0, 50)));
    // No time since the last step counts as one millisecond.
    second.SetPosition(CVector(50, 0, 2));
    sound->StartStop({&manager, true, 1060});
    EXPECT_TRUE(sound->Step());
    EXPECT_TRUE(SameVector(ListenerOf(*sound).velocity, CVector(0, 0, 1000)));

    // Camera changes of another graphics engine are not this engine's; no
    // camera at all leaves the listener where it is.
    CEvtEntityPair foreign;
    foreign.sender = &manager;
    EXPECT_FALSE(sound->OnEvent(foreign));
    graphics->SetActiveCamera(nullptr);
    ASSERT_TRUE(sound->Update({&manager, 1070, 1060}));
    EXPECT_TRUE(SameVector(ListenerOf(*sound).position, CVector(50, 0, 2)));

    // With the camera management off the listener stays put.
    graphics->SetActiveCamera(&first);
    sound->EnableAutoManagedCamera(false);
    ASSERT_TRUE(sound->Update({&manager, 1080, 1070}));
    EXPECT_TRUE(SameVector(ListenerOf(*sound).position, CVector(50, 0, 2)));
    graphics->SetActiveCamera(nullptr);
}
