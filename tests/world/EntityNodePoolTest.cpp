#include "world/EntityNodePool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{

struct SNode
{
    char bytes[1200];
};

TEST(EntityNodePoolTest, SlotsAreDistinctAlignedAndGoBackWithTheirBlocks)
{
    CEntityNodePool pool;
    std::vector<unsigned char*> slots;
    std::set<unsigned char*> distinct;
    for (int i = 0; i < 1000; ++i)
    {
        auto* slot = static_cast<unsigned char*>(pool.Allocate(sizeof(SNode), alignof(SNode)));
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(slot) % alignof(std::max_align_t), 0u);
        // Filling the whole slot must not reach another one (the sanitizer
        // build checks the writes, the values below the neighbours).
        std::memset(slot, i & 0xFF, sizeof(SNode));
        slots.push_back(slot);
        distinct.insert(slot);
    }
    EXPECT_EQ(distinct.size(), slots.size());
    for (size_t i = 0; i < slots.size(); ++i)
        ASSERT_EQ(slots[i][0], static_cast<unsigned char>(i & 0xFF)) << i;
    EXPECT_GT(pool.GetBlockCount(), 1u);

    // Every other slot back, then the rest: blocks go as they empty, one
    // empty block stays.
    for (size_t i = 0; i < slots.size(); i += 2)
        pool.Release(slots[i]);
    for (size_t i = 1; i < slots.size(); i += 2)
        pool.Release(slots[i]);
    EXPECT_EQ(pool.GetBlockCount(), 1u);

    // Made again, the slots come in a row from fresh blocks.
    void* first = pool.Allocate(sizeof(SNode), alignof(SNode));
    void* second = pool.Allocate(sizeof(SNode), alignof(SNode));
    EXPECT_LT(first, second);
    pool.Release(first);
    pool.Release(second);
}

TEST(EntityNodePoolTest, RequestsItDoesNotServeAreRefused)
{
    struct SCase
    {
        const char* name;
        size_t size;
        size_t alignment;
    };
    const SCase cases[] = {
        {"another size", sizeof(SNode) + 1, alignof(SNode)},
        {"a smaller size", 8, 8},
        {"more alignment than a slot has", sizeof(SNode), 2 * alignof(std::max_align_t)},
    };
    CEntityNodePool pool;
    void* served = pool.Allocate(sizeof(SNode), alignof(SNode));
    ASSERT_NE(served, nullptr);
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pool.Allocate(c.size, c.alignment), nullptr);
    }
    EXPECT_TRUE(pool.Serves(sizeof(SNode)));
    EXPECT_FALSE(pool.Serves(sizeof(SNode) + 1));
    pool.Release(served);
    pool.Release(nullptr);
}

TEST(EntityNodePoolTest, TablesSharingAPoolPassNodesBetweenThem)
{
    using Allocator = CEntityNodeAllocator<std::pair<const std::string, SNode>>;
    using Table = std::map<std::string, SNode, std::less<>, Allocator>;
    CEntityNodePool pool;
    Table table{Allocator(&pool)};
    {
        Table maker{Allocator(&pool)};
        for (int i = 0; i < 300; ++i)
        {
            auto node = maker.extract(maker.try_emplace(std::to_string(i)).first);
            node.mapped().bytes[0] = static_cast<char>(i);
            table.insert(std::move(node));
        }
        // A node left in its handle goes back as the handle goes.
        auto left = maker.extract(maker.try_emplace("left").first);
    }
    ASSERT_EQ(table.size(), 300u);
    EXPECT_EQ(table.at("7").bytes[0], 7);
    // Erasing keeps the others where they are.
    const SNode* eight = &table.at("8");
    table.erase("7");
    EXPECT_EQ(&table.at("8"), eight);
    table.clear();
    EXPECT_EQ(pool.GetBlockCount(), 1u);
}

} // namespace
