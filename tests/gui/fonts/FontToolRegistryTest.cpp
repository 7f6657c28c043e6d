// The registry of the font builders scripts make: handle ids that name a
// builder only while the registry that made it holds it.
#include "gui/fonts/FontToolRegistry.h"

#include "gui/GuiTestDevice.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{

using Graphics::GUI::CFontToolRegistry;

TEST(FontToolRegistryTest, BuildersLiveUntilDestroyedClearedOrTheRegistryGoes)
{
    CGuiTestDevice device;
    CFontToolRegistry registry;
    EXPECT_EQ(registry.Create(nullptr), 0u);

    const uint32_t first = registry.Create(device.Device());
    const uint32_t second = registry.Create(device.Device());
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, first);
    ASSERT_NE(registry.Get(first), nullptr);
    EXPECT_NE(registry.Get(first), registry.Get(second));

    // Another registry cannot destroy what this one holds.
    std::optional<CFontToolRegistry> other(std::in_place);
    const uint32_t others = other->Create(device.Device());
    EXPECT_FALSE(other->Destroy(first));
    EXPECT_NE(registry.Get(first), nullptr);

    EXPECT_TRUE(registry.Destroy(first));
    EXPECT_EQ(registry.Get(first), nullptr);
    EXPECT_FALSE(registry.Destroy(first));

    registry.Clear();
    EXPECT_EQ(registry.Get(second), nullptr);
    EXPECT_FALSE(registry.Destroy(second));

    // A registry that goes lets go of its builders' handles.
    ASSERT_NE(registry.Get(others), nullptr);
    other.reset();
    EXPECT_EQ(registry.Get(others), nullptr);
}

} // namespace
