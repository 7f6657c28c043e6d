// Towers of boxes on a mesh: they stand without sleeping, and they sleep.
#include "NewtonTestWorld.h"

#include <cmath>
#include <vector>

using namespace NewtonTest;

namespace
{

class NewtonStackTest : public World
{
protected:
    // Ten boxes of the given size, each resting on the one below, on the
    // ground mesh; the engine's stepping at 60 updates per second (16 ms
    // updates, minimum frame rate 30).
    void BuildTower(float size, bool autoFreeze)
    {
        NewtonSetMinimumFrameRate(world, 30);
        NewtonMaterialSetDefaultFriction(world, 0, 0, 0.6f, 0.5f);
        Ground();
        for (int i = 0; i < 10; ++i)
        {
            NewtonBody* box = Box(0, size * (0.5f + i), 0, size);
            NewtonBodySetAutoFreeze(box, autoFreeze ? 1 : 0);
            tower.push_back(box);
        }
    }

    // How far the top box moved sideways in the given simulated seconds.
    float TopDrift(float seconds)
    {
        const auto start = Position(tower.back());
        Run(static_cast<int>(seconds / 0.016f), 0.016f);
        const auto end = Position(tower.back());
        return std::hypot(end[0] - start[0], end[2] - start[2]);
    }

    std::vector<NewtonBody*> tower;
};

} // namespace

TEST_F(NewtonStackTest, ATowerStandsWithoutSleeping)
{
    for (const float size : {1.0f, 0.8f})
    {
        tower.clear();
        NewtonDestroy(world);
        world = NewtonCreate(nullptr, nullptr);
        BuildTower(size, false);
        EXPECT_LT(TopDrift(30), 0.05f) << "boxes of " << size << " m";
        for (NewtonBody* box : tower)
            EXPECT_NE(NewtonBodyGetSleepingState(box), 0);
    }
}

TEST_F(NewtonStackTest, ATowerStillSleeps)
{
    BuildTower(1, true);
    EXPECT_LT(TopDrift(10), 0.01f);
    for (NewtonBody* box : tower)
        EXPECT_EQ(NewtonBodyGetSleepingState(box), 0);
}
