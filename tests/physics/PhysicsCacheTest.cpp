// The collision cache: a static entity's tree in "<id>.kvophysicscache",
// found along the search paths, trusted only when it reads back whole.
#include "PhysicsTest.h"

#include "core/app/Application.h"

#include "support/TestFolder.h"

#include <filesystem>
#include <string>

namespace
{

constexpr int32_t kSearchKey = 0x40000001;

class PhysicsCacheTest : public CPhysicsTest
{
protected:
    void SetUp() override
    {
        CPhysicsTest::SetUp();
        manager.GetApplication()->AddSearchPath(folder.Wide(), false, kSearchKey);
    }
    void TearDown() override
    {
        manager.GetApplication()->ClearSearchPaths(kSearchKey);
        CPhysicsTest::TearDown();
    }

    // A ground entity at the height with a fixed id, and a box dropped on
    // it; the height the box comes to rest at.
    float RestingHeight(float groundHeight)
    {
        entities.clear();
        entities.push_back(std::make_unique<CPhysicalTestEntity>(kGroundId));
        CPhysicalTestEntity& ground = *entities.back();
        ground.SetGround(20.0f, groundHeight);
        ground.SetMass(1000.0f);
        engine.AddEntity(&ground);
        CPhysicalTestEntity& box = Add(1.0f, CVector(0, 4, 0));
        Run(150);
        return box.GetPosition().y;
    }

    std::string CacheFile() const { return folder / (std::string(kGroundId) + ".kvophysicscache"); }

    static constexpr const char* kGroundId = "0f8fad5b-d9cb-469f-a165-70867728950e";
    CTestFolder folder;
};

size_t FilesIn(const std::filesystem::path& path)
{
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        count += entry.is_regular_file() ? 1 : 0;
    return count;
}

} // namespace

TEST_F(PhysicsCacheTest, ACachedTreeIsUsedUntilItsFileGoes)
{
    EXPECT_NEAR(RestingHeight(0.0f), 0.5f, 0.01f);
    CPhysicalTestEntity& ground = *entities[0];
    EXPECT_TRUE(ground.GetCacheFilename().empty());
    // A folder given with a separator at its end.
    ASSERT_TRUE(ground.SaveToCache(folder.Wide() + L"/"));
    EXPECT_TRUE(std::filesystem::exists(CacheFile()));
    EXPECT_EQ(FilesIn(folder.Path()), 1u) << "nothing but the cache";
    EXPECT_EQ(ground.GetCacheFilename(), folder.Wide(std::string(kGroundId) + ".kvophysicscache"));

    // The mesh moved up, but the cache still holds the old tree.
    EXPECT_NEAR(RestingHeight(2.0f), 0.5f, 0.01f);

    std::filesystem::remove(CacheFile());
    EXPECT_NEAR(RestingHeight(2.0f), 2.5f, 0.01f);
}

TEST_F(PhysicsCacheTest, ADamagedCacheIsRebuiltFromTheMesh)
{
    RestingHeight(0.0f);
    ASSERT_TRUE(entities[0]->SaveToCache(folder.Wide()));
    const std::string bytes = folder.Read(std::string(kGroundId) + ".kvophysicscache");
    for (const std::string& damaged : {std::string("not a tree at all"), bytes.substr(0, bytes.size() / 2),
                                       std::string(bytes).replace(20, 4, "\xff\xff\xff\x7f")})
    {
        folder.Write(std::string(kGroundId) + ".kvophysicscache", damaged);
        EXPECT_NEAR(RestingHeight(2.0f), 2.5f, 0.01f);
    }
}

TEST_F(PhysicsCacheTest, OnlyWholeTreesAreSaved)
{
    // A dynamic box has no tree: nothing is written, no file is left.
    CPhysicalTestEntity& box = Add(1.0f, CVector(0, 5, 0));
    EXPECT_FALSE(box.SaveToCache(folder.Wide()));
    EXPECT_EQ(FilesIn(folder.Path()), 0u);
    // A folder that does not exist.
    RestingHeight(0.0f);
    EXPECT_FALSE(entities[0]->SaveToCache(folder.Wide(std::string("missing"))));
    EXPECT_EQ(FilesIn(folder.Path()), 0u);
}
