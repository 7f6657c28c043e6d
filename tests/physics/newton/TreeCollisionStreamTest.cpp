// The tree-collision stream: round trip, and a reader that refuses damage.
#include "NewtonTestWorld.h"

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

using namespace NewtonTest;

namespace
{

struct Buffer
{
    std::vector<unsigned char> bytes;
    size_t position = 0;
    size_t largestRead = 0;
};

void WriteToBuffer(void* handle, const void* data, size_t size)
{
    auto* buffer = static_cast<Buffer*>(handle);
    const auto* bytes = static_cast<const unsigned char*>(data);
    buffer->bytes.insert(buffer->bytes.end(), bytes, bytes + size);
}

int ReadFromBuffer(void* handle, void* data, size_t size)
{
    auto* buffer = static_cast<Buffer*>(handle);
    buffer->largestRead = std::max(buffer->largestRead, size);
    if (buffer->bytes.size() - buffer->position < size)
        return 0;
    std::memcpy(data, buffer->bytes.data() + buffer->position, size);
    buffer->position += size;
    return 1;
}

class TreeCollisionStreamTest : public World
{
protected:
    // A bumpy grid of n x n quads with an attribute per quad.
    NewtonCollision* Terrain(int n)
    {
        NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
        NewtonTreeCollisionBeginBuild(tree);
        auto height = [](int x, int z) { return 0.1f * float((x * 7 + z * 3) % 5); };
        for (int x = 0; x < n; ++x)
            for (int z = 0; z < n; ++z)
            {
                const float quad[12] = {float(x),     height(x, z),         float(z),
                                        float(x),     height(x, z + 1),     float(z + 1),
                                        float(x + 1), height(x + 1, z + 1), float(z + 1),
                                        float(x + 1), height(x + 1, z),     float(z)};
                NewtonTreeCollisionAddFace(tree, 4, quad, 12, x * n + z);
            }
        NewtonTreeCollisionEndBuild(tree, 1);
        return tree;
    }

    Buffer Serialise(NewtonCollision* tree)
    {
        Buffer buffer;
        NewtonTreeCollisionSerialize(tree, WriteToBuffer, &buffer);
        return buffer;
    }

    NewtonCollision* Load(Buffer buffer)
    {
        buffer.position = 0;
        return NewtonCreateTreeCollisionFromSerialization(world, nullptr, ReadFromBuffer, &buffer);
    }

    struct Probe
    {
        float parameter;
        int id;
    };

    // Rays straight down over a collision placed at the origin.
    std::vector<Probe> Probes(NewtonCollision* collision)
    {
        NewtonBody* body = NewtonCreateBody(world, collision);
        std::vector<Probe> probes;
        for (float x = 0.25f; x < 8; x += 0.5f)
            for (float z = 0.3f; z < 8; z += 0.7f)
            {
                Probe probe{-1, -1};
                auto hit = [](const NewtonBody*, const float*, int id, void* data, float t)
                {
                    *static_cast<Probe*>(data) = Probe{t, id};
                    return t;
                };
                const float p0[3] = {x, 5, z};
                const float p1[3] = {x, -5, z};
                NewtonWorldRayCast(world, p0, p1, hit, &probe, nullptr);
                probes.push_back(probe);
            }
        NewtonDestroyBody(world, body);
        return probes;
    }
};

} // namespace

TEST_F(TreeCollisionStreamTest, RoundTripKeepsTheSurfaceAndAttributes)
{
    NewtonCollision* tree = Terrain(8);
    const Buffer buffer = Serialise(tree);
    NewtonCollision* loaded = Load(buffer);
    ASSERT_NE(loaded, nullptr);
    const auto before = Probes(tree);
    const auto after = Probes(loaded);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
    {
        EXPECT_GE(before[i].parameter, 0.0f);
        EXPECT_EQ(before[i].parameter, after[i].parameter);
        EXPECT_EQ(before[i].id, after[i].id);
    }
    // Serialising the loaded tree gives the same stream.
    EXPECT_EQ(Serialise(loaded).bytes, buffer.bytes);
    NewtonReleaseCollision(world, tree);
    NewtonReleaseCollision(world, loaded);
}

TEST_F(TreeCollisionStreamTest, EmptyTreeRoundTrips)
{
    NewtonCollision* tree = NewtonCreateTreeCollision(world, nullptr);
    NewtonTreeCollisionBeginBuild(tree);
    NewtonTreeCollisionEndBuild(tree, 1);
    NewtonCollision* loaded = Load(Serialise(tree));
    ASSERT_NE(loaded, nullptr);
    NewtonReleaseCollision(world, tree);
    NewtonReleaseCollision(world, loaded);
}

TEST_F(TreeCollisionStreamTest, TruncatedOrDamagedStreamsAreRefused)
{
    NewtonCollision* tree = Terrain(3);
    const Buffer good = Serialise(tree);
    NewtonReleaseCollision(world, tree);
    for (size_t length = 0; length < good.bytes.size(); ++length)
    {
        Buffer cut = good;
        cut.bytes.resize(length);
        EXPECT_EQ(Load(cut), nullptr) << "cut at " << length;
    }
    for (size_t at = 0; at < good.bytes.size(); ++at)
    {
        Buffer flipped = good;
        flipped.bytes[at] ^= 0x10;
        EXPECT_EQ(Load(flipped), nullptr) << "byte " << at;
    }
    Buffer longer = good;
    longer.bytes.push_back(0);
    EXPECT_NE(Load(longer), nullptr) << "what follows the stream is not the tree's business";
}

TEST_F(TreeCollisionStreamTest, HugeCountsDoNotAllocateAheadOfTheData)
{
    struct Case
    {
        uint32_t vertices;
        uint32_t triangles;
    };
    for (const Case& c :
         {Case{0xFFFFFFFFu, 0xFFFFFFFFu}, Case{3 * (1u << 24), 1u << 24}, Case{0, 5}, Case{3, 0}, Case{1, 1}})
    {
        Buffer hostile;
        const unsigned char magic[4] = {'H', 'V', 'T', 'C'};
        hostile.bytes.assign(magic, magic + 4);
        for (uint32_t value : {1u, c.vertices, c.triangles})
            for (int i = 0; i < 4; ++i)
                hostile.bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
        hostile.bytes.resize(hostile.bytes.size() + 64, 0);
        Buffer probe = hostile;
        EXPECT_EQ(NewtonCreateTreeCollisionFromSerialization(world, nullptr, ReadFromBuffer, &probe),
                  nullptr);
        EXPECT_LE(probe.largestRead, 64u * 1024u) << "reads go chunk by chunk";
    }
}

TEST_F(TreeCollisionStreamTest, SeededFuzzNeverCrashes)
{
    NewtonCollision* tree = Terrain(4);
    const Buffer good = Serialise(tree);
    NewtonReleaseCollision(world, tree);
    std::mt19937 random(20261210);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int accepted = 0;
    int runs = 0;
    // At least 101 mutants whatever the machine's load.
    while (runs <= 100 || std::chrono::steady_clock::now() < deadline)
    {
        Buffer mutated = good;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e)
        {
            const size_t at = random() % mutated.bytes.size();
            switch (random() % 4)
            {
            case 0:
                mutated.bytes[at] = static_cast<unsigned char>(random());
                break;
            case 1:
                mutated.bytes.resize(at);
                break;
            case 2:
                mutated.bytes.insert(mutated.bytes.begin() + at, static_cast<unsigned char>(random()));
                break;
            default:
                mutated.bytes[at] ^= static_cast<unsigned char>(1u << (random() % 8));
                break;
            }
            if (mutated.bytes.empty())
                break;
        }
        NewtonCollision* loaded = Load(mutated);
        ++runs;
        if (loaded)
        {
            // Whatever was accepted is a usable collision.
            ++accepted;
            Probes(loaded);
            NewtonReleaseCollision(world, loaded);
        }
    }
    EXPECT_GT(runs, 100);
    EXPECT_LT(accepted, runs / 10 + 1);
}
