#include "core/foundation/HandleRegistry.h"

#include <gtest/gtest.h>

#include <cmath>

using Misc::CHandleRegistry;

namespace
{

struct Lock
{
};
struct Font
{
};

TEST(HandleRegistry, IdsAreCheckedOnEveryUse)
{
    CHandleRegistry& registry = CHandleRegistry::GetInstance();
    Lock lock;
    Font font;
    const uint32_t lockId = registry.Add(&lock);
    const uint32_t fontId = registry.Add(&font);
    EXPECT_NE(lockId, 0u);
    EXPECT_NE(lockId, fontId);

    EXPECT_EQ(registry.Get<Lock>(lockId), &lock);
    EXPECT_EQ(registry.Get<Lock>(static_cast<double>(lockId)), &lock);
    EXPECT_EQ(registry.Get<Font>(lockId), nullptr); // wrong type
    for (double number : {lockId + 0.5, 0.0, -1.0, 4294967296.0, std::nan(""), double(INFINITY)})
        EXPECT_EQ(registry.Get<Lock>(number), nullptr) << number;

    EXPECT_TRUE(registry.Remove(lockId));
    EXPECT_FALSE(registry.Remove(lockId));
    EXPECT_EQ(registry.Get<Lock>(lockId), nullptr); // stale
    const uint32_t again = registry.Add(&lock);
    EXPECT_NE(again, lockId); // a stale id does not come back to life
    EXPECT_EQ(registry.Get<Lock>(lockId), nullptr);
    registry.Remove(again);
    registry.Remove(fontId);
}

} // namespace
