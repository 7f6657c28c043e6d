// The id set against the standard library's set over a seeded run of adds,
// erases and clears: ids from a narrow range (so that erased slots pile up
// and are reused) and from the whole range, the extremes included.

#include "gui/manager/GuiIdSet.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <unordered_set>

namespace
{

using Graphics::GUI::CGuiIdSet;

TEST(GuiIdSetTest, AnswersAsAStandardSetThroughASeededRunOfChanges)
{
    std::mt19937 random(53);
    CGuiIdSet ids;
    std::unordered_set<int32_t> expected;
    const auto pick = [&random]() -> int32_t
    {
        switch (random() % 4)
        {
        case 0:
            return random() % 2 == 0 ? INT32_MIN : INT32_MAX;
        case 1:
            return static_cast<int32_t>(random());
        default:
            return static_cast<int32_t>(random() % 300) - 150;
        }
    };
    for (int step = 0; step < 200000; ++step)
    {
        const int32_t id = pick();
        const uint32_t action = random() % 100;
        if (action < 50)
        {
            ids.Add(id);
            expected.insert(id);
        }
        else if (action < 95)
        {
            ids.Erase(id);
            expected.erase(id);
        }
        else if (action == 99 && step % 7 == 0)
        {
            ids.Clear();
            expected.clear();
        }
        ASSERT_EQ(ids.Contains(id), expected.count(id) != 0) << "step " << step << ", id " << id;
        ASSERT_EQ(ids.Size(), expected.size()) << "step " << step;
    }
    for (int32_t id = -200; id <= 200; ++id)
        EXPECT_EQ(ids.Contains(id), expected.count(id) != 0) << id;
}

} // namespace
