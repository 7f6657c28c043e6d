// The cache of named entities over an index of its own: it answers what the
// index answers after every kind of change, for texts at the same place
// that say something else, for ids too long to copy and as it grows.

#include "script_api/world/EntityIdCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace
{

using ScriptWorld::CEntityIdCache;

// Stand-ins for collections and entities: only their addresses matter.
IWorldMap* Holder(int n)
{
    return reinterpret_cast<IWorldMap*>(static_cast<uintptr_t>(0x1000 * n));
}
Misc::World::IEntityInterface* Face(int n)
{
    return reinterpret_cast<Misc::World::IEntityInterface*>(static_cast<uintptr_t>(0x10 * n));
}

CWorldIdIndex::SEntry Entry(int holder, int face, uint32_t rank)
{
    return {Holder(holder), nullptr, Face(face), rank};
}

const Misc::World::IEntityInterface* FaceOf(const CWorldIdIndex::SEntry* entry)
{
    return entry != nullptr ? entry->face : nullptr;
}

TEST(EntityIdCacheTest, AnswersAsTheIndexAfterEveryChange)
{
    // Texts that stay where they are, as the keys of the collections and
    // the strings of a script do; the index views them.
    std::deque<std::string> keys;
    const auto key = [&](const std::string& text) -> std::string_view { return keys.emplace_back(text); };
    CWorldIdIndex index;
    CEntityIdCache cache;
    const std::string_view a = key("8d1a6a4e-9d5c-4d0e-8a34-000000000001");
    const std::string_view b = key("8d1a6a4e-9d5c-4d0e-8a34-000000000002");
    // The script's own string of the same id lies elsewhere.
    const std::string_view scriptA = key(std::string(a));

    EXPECT_EQ(cache.Find(index, scriptA), nullptr);
    index.Add(a, Entry(1, 1, 0));
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(1)) << "a miss is not kept";
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(1));
    EXPECT_EQ(FaceOf(cache.Find(index, a)), Face(1));

    // Deleted, then the id taken again by another entity.
    index.Remove(a, Holder(1));
    EXPECT_EQ(cache.Find(index, scriptA), nullptr);
    index.Add(a, Entry(2, 2, 1));
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(2));

    // A second holder earlier in the order comes first; when it goes, the
    // other again.
    index.Add(a, Entry(3, 3, 0));
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(3));
    index.Remove(a, Holder(3));
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(2));

    // Another entity added changes nothing for this id; cleared, none.
    index.Add(b, Entry(1, 4, 0));
    EXPECT_EQ(FaceOf(cache.Find(index, scriptA)), Face(2));
    EXPECT_EQ(FaceOf(cache.Find(index, b)), Face(4));
    index.Clear();
    EXPECT_EQ(cache.Find(index, scriptA), nullptr);
    EXPECT_EQ(cache.Find(index, b), nullptr);

    // Views that are empty or have no text are no id.
    EXPECT_EQ(cache.Find(index, std::string_view()), nullptr);
    EXPECT_EQ(cache.Find(index, std::string_view("", 0)), nullptr);
}

TEST(EntityIdCacheTest, TextAtTheSamePlaceThatSaysSomethingElseIsNoHit)
{
    CWorldIdIndex index;
    CEntityIdCache cache;
    const std::string first = "00000000-0000-4000-8000-000000000001";
    const std::string second = "00000000-0000-4000-8000-000000000002";
    index.Add(first, Entry(1, 1, 0));
    index.Add(second, Entry(1, 2, 0));
    // One buffer, as a string collected and another made where it was.
    char place[64] = {};
    std::memcpy(place, first.data(), first.size());
    EXPECT_EQ(FaceOf(cache.Find(index, std::string_view(place, first.size()))), Face(1));
    std::memcpy(place, second.data(), second.size());
    EXPECT_EQ(FaceOf(cache.Find(index, std::string_view(place, second.size()))), Face(2));
    // A shorter text at the same place.
    EXPECT_EQ(cache.Find(index, std::string_view(place, second.size() - 1)), nullptr);
    std::memcpy(place, "nobody", 6);
    EXPECT_EQ(cache.Find(index, std::string_view(place, second.size())), nullptr);
}

TEST(EntityIdCacheTest, GrowsWithTheIndexAndTakesLongIds)
{
    // Seeded: many entities, some with ids longer than a copy holds, some
    // deleted on the way; each lookup answers as the index.
    std::mt19937 random(7);
    std::deque<std::string> keys;
    std::vector<std::string_view> ids;
    CWorldIdIndex index;
    CEntityIdCache cache;
    for (int n = 1; n <= 3000; ++n)
    {
        std::string text = "id-" + std::to_string(n);
        if (n % 7 == 0)
            text += std::string(60, 'x');
        ids.push_back(keys.emplace_back(text));
        index.Add(ids.back(), Entry(1, n, 0));
        if (random() % 10 == 0)
        {
            const std::string_view gone = ids[random() % ids.size()];
            index.Remove(gone, Holder(1));
        }
        for (int look = 0; look < 3; ++look)
        {
            const std::string_view id = ids[random() % ids.size()];
            ASSERT_EQ(cache.Find(index, id), index.Find(id)) << id;
        }
    }
    for (const std::string_view id : ids)
        ASSERT_EQ(cache.Find(index, id), index.Find(id)) << id;
}

TEST(EntityIdCacheTest, AnotherIndexStartsAfresh)
{
    const std::string id = "00000000-0000-4000-8000-000000000001";
    CWorldIdIndex one;
    CWorldIdIndex other;
    CEntityIdCache cache;
    one.Add(id, Entry(1, 1, 0));
    other.Add(id, Entry(1, 2, 0));
    EXPECT_EQ(FaceOf(cache.Find(one, id)), Face(1));
    EXPECT_EQ(FaceOf(cache.Find(other, id)), Face(2));
    EXPECT_EQ(FaceOf(cache.Find(one, id)), Face(1));
}

} // namespace
