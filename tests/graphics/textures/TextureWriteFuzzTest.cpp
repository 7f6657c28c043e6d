// A short seeded fuzz run of the paths that read image data handed in from
// outside: raw writes into textures (the data scripts pass as strings, with
// any sizes, formats, modes and flips), block copies with any regions, and
// the pixel functions on buffers of any shape. Buffers are allocated to
// their exact size, so a read or write past them is reported by ASan.

#include "MemoryTexture.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/PixelFormats.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;

constexpr auto kBudget = std::chrono::seconds(2);

video::ECOLOR_FORMAT RandomTextureFormat(std::mt19937& random)
{
    const video::ECOLOR_FORMAT formats[] = {video::ECF_A1R5G5B5, video::ECF_R5G6B5, video::ECF_R8G8B8,
                                            video::ECF_A8R8G8B8};
    return formats[random() % 4];
}

// Mostly small numbers, now and then an extreme one.
int32_t RandomNumber(std::mt19937& random, int32_t small)
{
    switch (random() % 16)
    {
    case 0:
        return INT32_MAX;
    case 1:
        return INT32_MIN;
    case 2:
        return -static_cast<int32_t>(random() % 8);
    case 3:
        return static_cast<int32_t>(random() % 100000);
    default:
        return static_cast<int32_t>(random() % static_cast<uint32_t>(small + 1));
    }
}

TEST(TextureWriteFuzzTest, RawWritesAndCopiesNeverLeaveTheirBuffers)
{
    std::mt19937 random(20240518);
    CGraphicsEngine engine(nullptr);
    const auto start = std::chrono::steady_clock::now();
    int runs = 0;
    int errors = 0;
    // At least 101 rounds whatever the machine's load.
    while (runs <= 100 || std::chrono::steady_clock::now() - start < kBudget)
    {
        ++runs;
        const video::ECOLOR_FORMAT format = RandomTextureFormat(random);
        const u32 bytes = Graphics::PixelFormats::BytesPerPixel(format);
        CMemoryTexture texture(1 + random() % 24, 1 + random() % 24, format, bytes);
        CMemoryTexture other(1 + random() % 24, 1 + random() % 24, RandomTextureFormat(random), 4);
        // A string of any length with any bytes, as a script would pass it.
        std::string data(random() % 2048, '\0');
        for (char& byte : data)
            byte = static_cast<char>(random());
        // Exactly the string's bytes on the heap.
        std::unique_ptr<char[]> exact(new char[data.size() + 1]);
        std::copy(data.begin(), data.end(), exact.get());
        const u32 width = static_cast<u32>(RandomNumber(random, 40));
        const u32 height = static_cast<u32>(RandomNumber(random, 40));
        const u32 rowLength = random() % 4 == 0 ? static_cast<u32>(RandomNumber(random, 40)) : width;
        const int32_t sourceFormat = static_cast<int32_t>(random() % 6) - 1;
        const int32_t mode = static_cast<int32_t>(random() % 6) - 1;
        try
        {
            void* pixels = engine.TextureLock(&texture);
            engine.WriteTexture(exact.get(), data.size(), width, rowLength, height, sourceFormat, &texture,
                                pixels, mode, random() % 2 == 0);
            const float scale = static_cast<float>(random() % 1000) / 100.0f - 1.0f;
            engine.writeToTextureWithScale(exact.get(), data.size(), width, rowLength, height, sourceFormat,
                                           &texture, pixels, scale, 1.0f / (scale + 2.0f), random() % 2 == 0);
            engine.TextureUnlock(&texture);
        }
        catch (const Misc::Error::CKVOError&)
        {
            engine.TextureUnlock(&texture);
            ++errors;
        }
        try
        {
            engine.CopyTexture(&other, RandomNumber(random, 30), RandomNumber(random, 30),
                               RandomNumber(random, 30), RandomNumber(random, 30), &texture,
                               RandomNumber(random, 30), RandomNumber(random, 30));
        }
        catch (const Misc::Error::CKVOError&)
        {
            ++errors;
        }
        try
        {
            CColor color;
            engine.TextureGetPixel(&texture, texture.Pixels().data(), RandomNumber(random, 30),
                                   RandomNumber(random, 30), color);
            engine.TextureSetPixel(&texture, texture.Pixels().data(), RandomNumber(random, 30),
                                   RandomNumber(random, 30), color);
        }
        catch (const Misc::Error::CKVOError&)
        {
            ++errors;
        }
        ASSERT_FALSE(texture.IsLocked());
        ASSERT_FALSE(other.IsLocked());
    }
    // The run did both: writes that went through and inputs refused.
    EXPECT_GT(runs, 100);
    EXPECT_GT(errors, 0);
}

TEST(TextureWriteFuzzTest, PixelBuffersOfAnyShapeAreCheckedBeforeUse)
{
    using namespace Graphics;
    std::mt19937 random(77);
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < kBudget)
    {
        // Buffers whose stated shape may not fit their memory.
        SPixelBuffer buffers[2];
        std::unique_ptr<uint8_t[]> memory[2];
        for (int index = 0; index < 2; ++index)
        {
            const size_t size = random() % 600;
            memory[index].reset(new uint8_t[size + 1]);
            SPixelBuffer& buffer = buffers[index];
            buffer.data = memory[index].get();
            buffer.size = size;
            buffer.width = random() % 20;
            buffer.height = random() % 20;
            buffer.pitch = random() % 4 == 0 ? random() % 100 : buffer.width * (1 + random() % 4);
            buffer.format = static_cast<int32_t>(random() % 6) - 1;
            buffer.order = random() % 2 == 0 ? EByteOrder::RGB : EByteOrder::BGR;
        }
        PixelFormats::CopyPixels(buffers[0], buffers[1], random() % 30, random() % 30, random() % 2 == 0);
        PixelFormats::ScalePixels(buffers[0], buffers[1], static_cast<float>(random() % 500) / 100.0f,
                                  static_cast<float>(random() % 500) / 100.0f, random() % 2 == 0);
        // The same memory on both sides.
        PixelFormats::CopyPixels(buffers[0], buffers[0], random() % 30, random() % 30, random() % 2 == 0);
    }
}

} // namespace
