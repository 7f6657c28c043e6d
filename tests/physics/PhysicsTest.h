#pragma once

// What the physics tests share: an engine with a running world inside an
// engine object of its own, a clock that steps it, and entities to add.

#include "core/app/SimulationManager.h"
#include "physics/PhysicsEngine.h"
#include "support/PhysicalTestEntity.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

// The bytes of a saved file, cut short, with bytes changed or with bytes
// put in, as the seeded runs of damaged files make them.
inline std::string Damaged(std::string bytes, std::mt19937& random)
{
    switch (random() % 3)
    {
    case 0:
        bytes.resize(random() % bytes.size());
        break;
    case 1:
        for (int flips = 1 + int(random() % 4); flips > 0; --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        break;
    default:
        bytes.insert(random() % bytes.size(), std::string(1 + random() % 8, static_cast<char>(random())));
        break;
    }
    return bytes;
}

// A running physics engine inside an engine object of its own (the cache
// looks files up through the application), stepped by a clock of its own.
class CPhysicsTest : public ::testing::Test
{
protected:
    void SetUp() override { Init(); }
    void TearDown() override { CPhysicsEngine::SetGravity(CVector(0.0f, -9.8f, 0.0f)); }

    void Init(uint32_t rate = 60)
    {
        ASSERT_TRUE(engine.Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, rate, true));
    }

    // Steps of the period through the loop's fixed-period update.
    void Run(int steps, uint32_t periodMs = 16)
    {
        for (int i = 0; i < steps; ++i)
        {
            const uint32_t previous = now;
            now += periodMs;
            engine.SetDesiredFrameRate(1000 / periodMs);
            engine.Update(Simulation::Multicast::CEvtTick{&manager, now, previous});
        }
    }

    // A body of the mass at the position, with a box mesh of the size.
    CPhysicalTestEntity& Add(float mass, const CVector& position, const CVector& size = CVector(1, 1, 1))
    {
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        CPhysicalTestEntity& entity = *entities.back();
        entity.SetBox(size);
        entity.SetMass(mass);
        entity.SetPosition(position);
        engine.AddEntity(&entity);
        return entity;
    }

    // A static square of ground in the plane y = 0.
    CPhysicalTestEntity& AddGround(float halfSize = 20.0f)
    {
        entities.push_back(std::make_unique<CPhysicalTestEntity>());
        CPhysicalTestEntity& ground = *entities.back();
        ground.SetGround(halfSize);
        ground.SetMass(1000.0f);
        engine.AddEntity(&ground);
        return ground;
    }

    Simulation::CSimulationManager manager;
    CPhysicsEngine engine{&manager};
    uint32_t now = 0;
    std::vector<std::unique_ptr<CPhysicalTestEntity>> entities;
};
