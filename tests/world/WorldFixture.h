#pragma once

// The engine object as the program builds it, with its world, and a
// temporary folder to load and save worlds in. The engines are started on
// request: graphics on the NULL driver, physics, sound on OpenAL's null
// backend.

#include "app/EngineComposition.h"
#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "sound/SoundEngine.h"
#include "support/TestFolder.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

class CWorldFixture
{
public:
    CWorldFixture()
        : graphics(manager.GetPart<Graphics::CGraphicsEngine>()), physics(manager.GetPart<CPhysicsEngine>()),
          sound(manager.GetPart<CSoundEngine>()), world(manager.GetPart<CWorld>()), data(world->GetData())
    {
    }

    void StartGraphics()
    {
        ASSERT_TRUE(graphics->Init("NULL", 320, 240, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
    }
    void StartPhysics()
    {
        ASSERT_TRUE(physics->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.5f, 1000.0f, false, 60, true));
    }
    void StartSound() { ASSERT_TRUE(sound->Init("", 100, false)); }
    void StartAll()
    {
        StartGraphics();
        StartPhysics();
        StartSound();
    }

    // The file's bytes; "" when there is none.
    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    Simulation::CSimulationManager manager{Halvane::AddEngineParts};
    Graphics::CGraphicsEngine* graphics;
    CPhysicsEngine* physics;
    CSoundEngine* sound;
    CWorld* world;
    CWorldData& data;
    CTestFolder folder;
};
