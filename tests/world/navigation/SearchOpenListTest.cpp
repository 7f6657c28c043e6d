// The open list against a plain heap of the same entries: seeded runs of
// pushes and pops, with f drawn from a few values (long ties, as on a grid
// of equal costs) or from many (few ties), give the entries back in the
// same order.

#include "world/navigation/SearchOpenList.h"

#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <vector>

namespace
{

using SEntry = CSearchOpenList::SEntry;

struct SLater
{
    bool operator()(const SEntry& a, const SEntry& b) const
    {
        return a.f > b.f || (!(b.f > a.f) && a.node > b.node);
    }
};
using CPlainHeap = std::priority_queue<SEntry, std::vector<SEntry>, SLater>;

struct SMix
{
    const char* name;
    // f is drawn from 0..values-1; 0 for any float in [0, 1000).
    int values;
    // Out of 100 steps, how many push (the rest pop).
    int pushes;
};

const SMix kMixes[] = {
    {"two values, growing", 2, 60},
    {"a few values, balanced", 4, 50},
    {"one value, fed as fast as taken", 1, 50},
    {"many values", 0, 60},
};

TEST(SearchOpenListTest, GivesEntriesInTheOrderOfAPlainHeap)
{
    for (const SMix& mix : kMixes)
    {
        SCOPED_TRACE(mix.name);
        for (uint32_t seed = 1; seed <= 20; ++seed)
        {
            SCOPED_TRACE(seed);
            std::mt19937 random(seed);
            CSearchOpenList list;
            for (int round = 0; round < 2; ++round)
            {
                // A second round after Clear reuses what the first kept.
                list.Clear();
                CPlainHeap plain;
                uint32_t node = 0;
                float base = 0.0f;
                for (int step = 0; step < 6000; ++step)
                {
                    const bool push = plain.empty() || static_cast<int>(random() % 100) < mix.pushes;
                    if (push)
                    {
                        float f = mix.values > 0 ? base + static_cast<float>(random() % mix.values)
                                                 : static_cast<float>(random() % 1000000) / 1000.0f;
                        // The least f creeps up as a search's does.
                        if (random() % 200 == 0)
                            base += 1.0f;
                        const SEntry entry{f, node++};
                        list.Push(entry);
                        plain.push(entry);
                    }
                    else
                    {
                        ASSERT_FALSE(list.Empty());
                        ASSERT_EQ(list.Top().node, plain.top().node);
                        list.Pop();
                        plain.pop();
                    }
                    ASSERT_EQ(list.Empty(), plain.empty());
                }
                while (!plain.empty())
                {
                    ASSERT_FALSE(list.Empty());
                    ASSERT_EQ(list.Top().node, plain.top().node);
                    list.Pop();
                    plain.pop();
                }
                EXPECT_TRUE(list.Empty());
            }
        }
    }
}

} // namespace
