// The engine's texture pixel operations on textures in plain memory: single
// pixels, raw data writes and texture copies in every format, their bounds,
// and the scripts' texture locks.

#include "MemoryTexture.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/HandleRegistry.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/TextureLocks.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;
using Graphics::CTextureLocks;
using Graphics::STextureLock;
using Misc::Error::CKVOError;

// The message of the error the action throws; "" when it throws none.
std::vector<uint8_t> Bytes(const uint8_t* at, size_t count)
{
    return std::vector<uint8_t>(at, at + count);
}

class TexturePixelsTest : public ::testing::Test
{
protected:
    CGraphicsEngine engine{nullptr};
};

TEST_F(TexturePixelsTest, PixelsReadAndWriteInEachFormat)
{
    struct SCase
    {
        video::ECOLOR_FORMAT format;
        u32 bytes;
        CColor color;
        std::vector<uint8_t> stored;
        CColor read;
    };
    const SCase cases[] = {
        // Blue, green, red, alpha.
        {video::ECF_A8R8G8B8, 4, CColor(1, 0, 0, 1), {0, 0, 255, 255}, CColor(1, 0, 0, 1)},
        // Irrlicht keeps 24-bit images red first; they read with alpha 0.
        {video::ECF_R8G8B8, 3, CColor(1, 0.5f, 0, 1), {255, 127, 0}, CColor(1, 127 / 255.0f, 0, 0)},
        {video::ECF_A1R5G5B5, 2, CColor(1, 0, 0, 1), {0x00, 0xFC}, CColor(1, 0, 0, 1)},
        {video::ECF_R5G6B5, 2, CColor(0, 1, 0, 0), {0xE0, 0x07}, CColor(0, 252 / 255.0f, 0, 1)},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.color.ToString());
        CMemoryTexture texture(3, 2, test.format, test.bytes);
        void* pixels = engine.TextureLock(&texture);
        ASSERT_TRUE(engine.TextureSetPixel(&texture, pixels, 2, 1, test.color));
        CColor read;
        ASSERT_TRUE(engine.TextureGetPixel(&texture, pixels, 2, 1, read));
        EXPECT_FLOAT_EQ(read.r, test.read.r);
        EXPECT_FLOAT_EQ(read.g, test.read.g);
        EXPECT_FLOAT_EQ(read.b, test.read.b);
        EXPECT_FLOAT_EQ(read.a, test.read.a);
        engine.TextureUnlock(&texture);
        EXPECT_EQ(Bytes(texture.Pixel(2, 1), test.bytes), test.stored);
        // The neighbours are untouched.
        EXPECT_EQ(Bytes(texture.Pixel(1, 1), test.bytes), std::vector<uint8_t>(test.bytes, 0));
        EXPECT_EQ(texture.mipMapRegenerations, 1);
    }
}

TEST_F(TexturePixelsTest, AChannelOfOneReadsAsOneOf255)
{
    CMemoryTexture texture(1, 1, video::ECF_A8R8G8B8, 4);
    texture.Pixels() = {1, 2, 255, 1};
    CColor read;
    ASSERT_TRUE(engine.TextureGetPixel(&texture, texture.Pixels().data(), 0, 0, read));
    EXPECT_FLOAT_EQ(read.b, 1 / 255.0f);
    EXPECT_FLOAT_EQ(read.g, 2 / 255.0f);
    EXPECT_FLOAT_EQ(read.r, 1.0f);
    EXPECT_FLOAT_EQ(read.a, 1 / 255.0f);
}

TEST_F(TexturePixelsTest, PixelPositionsOutsideTheTextureAreErrors)
{
    CMemoryTexture texture(4, 3, video::ECF_A8R8G8B8, 4);
    void* pixels = texture.Pixels().data();
    CColor color(1, 1, 1, 1);
    const int32_t positions[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {INT32_MIN, INT32_MIN}, {INT32_MAX, 0}};
    for (const auto& position : positions)
    {
        SCOPED_TRACE(testing::Message() << position[0] << "," << position[1]);
        EXPECT_EQ(
            WideErrorOf([&] { engine.TextureGetPixel(&texture, pixels, position[0], position[1], color); }),
            L"[CGraphicsEngine::TextureGetPixel] Pixel position outside the texture: (" +
                std::to_wstring(position[0]) + L", " + std::to_wstring(position[1]) + L")");
        EXPECT_NE(
            WideErrorOf([&] { engine.TextureSetPixel(&texture, pixels, position[0], position[1], color); }),
            L"");
    }
    EXPECT_EQ(texture.Pixels(), std::vector<uint8_t>(4 * 3 * 4, 0));
    // No texture or no memory: false, nothing read.
    EXPECT_FALSE(engine.TextureGetPixel(nullptr, pixels, 0, 0, color));
    EXPECT_FALSE(engine.TextureGetPixel(&texture, nullptr, 0, 0, color));
    EXPECT_FALSE(engine.TextureSetPixel(&texture, nullptr, 0, 0, color));
    // A format the engine does not read.
    CMemoryTexture floating(1, 1, video::ECF_R32F, 4);
    EXPECT_FALSE(engine.TextureGetPixel(&floating, floating.Pixels().data(), 0, 0, color));
}

TEST_F(TexturePixelsTest, NullTexturesGiveNeutralAnswers)
{
    EXPECT_EQ(engine.GetTexturePitch(nullptr), 0u);
    EXPECT_EQ(engine.GetTextureColorFormat(nullptr), 0);
    EXPECT_FALSE(engine.GetTextureMipMapsExist(nullptr));
    EXPECT_TRUE(engine.TextureMipMapsRegenerate(nullptr));
    EXPECT_EQ(engine.TextureLock(nullptr), nullptr);
    engine.TextureUnlock(nullptr);
    EXPECT_EQ(engine.GetTextureSize(nullptr).x, 0.0f);
    EXPECT_EQ(engine.GetTextureOriginalSize(nullptr).y, 0.0f);
    EXPECT_EQ(engine.GetTextureFilename(nullptr, true), L"");
    CMemoryTexture texture(1, 1, video::ECF_A8R8G8B8, 4);
    EXPECT_EQ(engine.GetTextureFilename(&texture, false), L"memory");
}

TEST_F(TexturePixelsTest, BytesPerPixelKnowsFourFormats)
{
    EXPECT_EQ(CGraphicsEngine::GetBytesPerPixel(0), 2u);
    EXPECT_EQ(CGraphicsEngine::GetBytesPerPixel(1), 2u);
    EXPECT_EQ(CGraphicsEngine::GetBytesPerPixel(2), 3u);
    EXPECT_EQ(CGraphicsEngine::GetBytesPerPixel(3), 4u);
    for (int32_t format : {-1, 4, 14})
        EXPECT_EQ(WideErrorOf([&] { CGraphicsEngine::GetBytesPerPixel(format); }),
                  L"[CGraphicsEngine::GetBytesPerPixel] Unknown color format");
}

TEST_F(TexturePixelsTest, RawDataIsWrittenAsMuchAsFitsWithItsByteOrder)
{
    // 3 x 2 raw pixels, blue first, into a 2 x 2 texture: the overlapping
    // top-left part.
    const std::string raw = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    CMemoryTexture texture(2, 2, video::ECF_A8R8G8B8, 4);
    void* pixels = engine.TextureLock(&texture);
    engine.WriteTexture(raw.data(), raw.size(), 3, 3, 2, 2, &texture, pixels, 0, false);
    engine.TextureUnlock(&texture);
    EXPECT_EQ(texture.Pixels(),
              (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 10, 11, 12, 255, 13, 14, 15, 255}));

    // Flipped, the last source row comes first.
    pixels = engine.TextureLock(&texture);
    engine.WriteTexture(raw.data(), raw.size(), 3, 3, 2, 2, &texture, pixels, 0, true);
    engine.TextureUnlock(&texture);
    EXPECT_EQ(Bytes(texture.Pixel(0, 0), 4), (std::vector<uint8_t>{10, 11, 12, 255}));
    EXPECT_EQ(Bytes(texture.Pixel(0, 1), 4), (std::vector<uint8_t>{1, 2, 3, 255}));
}

TEST_F(TexturePixelsTest, ScaleModesFitTheImageToTheTexture)
{
    // 8 x 4 raw pixels whose blue byte is the column, green the row.
    std::string raw;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            raw += {static_cast<char>(x), static_cast<char>(y), 0};
    struct SCase
    {
        int32_t mode;
        // The source pixel (column, row) seen at texture pixel (3, 1).
        int column;
        int row;
        // Whether texture pixel (3, 3) was written.
        bool bottomWritten;
    };
    // Into 4 x 4: mode 1 scales both axes by 4/8, mode 2 by 4/4, mode 3 by
    // 4/8 and 4/4.
    const SCase cases[] = {{1, 6, 2, false}, {2, 3, 1, true}, {3, 6, 1, true}};
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.mode);
        CMemoryTexture texture(4, 4, video::ECF_A8R8G8B8, 4);
        void* pixels = engine.TextureLock(&texture);
        engine.WriteTexture(raw.data(), raw.size(), 8, 8, 4, 2, &texture, pixels, test.mode, false);
        engine.TextureUnlock(&texture);
        EXPECT_EQ(Bytes(texture.Pixel(3, 1), 4),
                  (std::vector<uint8_t>{static_cast<uint8_t>(test.column), static_cast<uint8_t>(test.row), 0,
                                        255}));
        EXPECT_EQ(texture.Pixel(3, 3)[3], test.bottomWritten ? 255 : 0);
    }
    // Another mode writes nothing.
    CMemoryTexture texture(4, 4, video::ECF_A8R8G8B8, 4);
    for (int32_t mode : {-1, 4, 1000})
        engine.WriteTexture(raw.data(), raw.size(), 8, 8, 4, 2, &texture, texture.Pixels().data(), mode,
                            false);
    EXPECT_EQ(texture.Pixels(), std::vector<uint8_t>(64, 0));
}

TEST_F(TexturePixelsTest, BadRawWritesAreErrorsBeforeAnythingIsWritten)
{
    const std::string raw(4 * 4 * 4, '\x7F');
    CMemoryTexture texture(4, 4, video::ECF_A8R8G8B8, 4);
    CMemoryTexture rgbTexture(4, 4, video::ECF_R8G8B8, 3);
    void* pixels = texture.Pixels().data();
    struct SCase
    {
        const char* what;
        std::function<void()> write;
        std::wstring message;
    };
    const SCase cases[] = {
        {"no data", [&] { engine.WriteTexture(nullptr, 0, 1, 1, 1, 3, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Raw image data not defined"},
        {"no texture",
         [&] { engine.WriteTexture(raw.data(), raw.size(), 1, 1, 1, 3, nullptr, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Texture not defined"},
        {"R5G6B5 in",
         [&] { engine.WriteTexture(raw.data(), raw.size(), 4, 4, 4, 1, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Unknown input color format. Only A1R5G5B5, R8G8B8, A8R8G8B8 "
         L"supported."},
        {"R8G8B8 out",
         [&]
         {
             engine.WriteTexture(raw.data(), raw.size(), 4, 4, 4, 3, &rgbTexture, rgbTexture.Pixels().data(),
                                 0, false);
         },
         L"[CGraphicsEngine::WriteTexture] Unknown output color format. Only A1R5G5B5, A8R8G8B8 supported."},
        {"scaled A8R8G8B8 in",
         [&] { engine.WriteTexture(raw.data(), raw.size(), 4, 4, 4, 3, &texture, pixels, 1, false); },
         L"[CGraphicsEngine::writeToTextureWithScale] Unknown input color format. Only R8G8B8 supported."},
        {"scaled R8G8B8 out",
         [&]
         {
             engine.writeToTextureWithScale(raw.data(), raw.size(), 4, 4, 4, 2, &rgbTexture,
                                            rgbTexture.Pixels().data(), 1, 1, false);
         },
         L"[CGraphicsEngine::writeToTextureWithScale] Unknown output color format. Only A1R5G5B5, A8R8G8B8 "
         L"supported."},
        {"one byte short",
         [&] { engine.WriteTexture(raw.data(), raw.size() - 1, 4, 4, 4, 3, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Raw image data too short"},
        {"rows longer than the data",
         [&] { engine.WriteTexture(raw.data(), raw.size(), 4, 5, 4, 3, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Raw image data too short"},
        {"huge size",
         [&]
         { engine.WriteTexture(raw.data(), raw.size(), 65536, 65536, 65536, 3, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Raw image data too short"},
        {"scaled short", [&] { engine.WriteTexture(raw.data(), 47, 4, 4, 4, 2, &texture, pixels, 3, false); },
         L"[CGraphicsEngine::writeToTextureWithScale] Raw image data too short"},
        {"row length below the width",
         [&] { engine.WriteTexture(raw.data(), raw.size(), 4, 3, 4, 3, &texture, pixels, 0, false); },
         L"[CGraphicsEngine::WriteTexture] Row length shorter than the width"},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(WideErrorOf(test.write), test.message);
    }
    EXPECT_EQ(texture.Pixels(), std::vector<uint8_t>(64, 0));
    // Locked memory the driver does not have: nothing written, no error.
    engine.WriteTexture(raw.data(), raw.size(), 4, 4, 4, 3, &texture, nullptr, 0, false);
    engine.WriteTexture(raw.data(), raw.size(), 4, 4, 4, 2, &texture, nullptr, 3, false);
    EXPECT_EQ(texture.Pixels(), std::vector<uint8_t>(64, 0));
}

TEST_F(TexturePixelsTest, CopiesAreCutToWhatLiesInsideBothTextures)
{
    CMemoryTexture source(4, 4, video::ECF_A8R8G8B8, 4);
    for (u32 y = 0; y < 4; ++y)
        for (u32 x = 0; x < 4; ++x)
            source.Pixel(x, y)[0] = static_cast<uint8_t>(10 * y + x);
    CMemoryTexture destination(3, 3, video::ECF_A1R5G5B5, 2);
    // A block reaching past both textures: source (2, 2)-(3, 3) lands at
    // destination (1, 1)-(2, 2).
    engine.CopyTexture(&source, 2, 2, 100, 100, &destination, 1, 1);
    EXPECT_EQ(destination.Pixel(0, 0)[0], 0);
    EXPECT_EQ(destination.Pixel(1, 1)[0] & 0x1F, 22 >> 3);
    EXPECT_EQ(destination.Pixel(2, 2)[0] & 0x1F, 33 >> 3);
    EXPECT_FALSE(source.IsLocked());
    EXPECT_FALSE(destination.IsLocked());
    EXPECT_EQ(destination.mipMapRegenerations, 1);

    struct SCase
    {
        int32_t x, y, width, height, destX, destY;
        std::wstring message;
    };
    const SCase cases[] = {
        {-1, 0, 1, 1, 0, 0, L"[CGraphicsEngine::CopyTexture] Source position outside the texture: (-1, 0)"},
        {4, 0, 1, 1, 0, 0, L"[CGraphicsEngine::CopyTexture] Source position outside the texture: (4, 0)"},
        {0, 0, 1, 1, 0, 3,
         L"[CGraphicsEngine::CopyTexture] Destination position outside the texture: (0, 3)"},
        {0, 0, 1, 1, INT32_MIN, 0,
         L"[CGraphicsEngine::CopyTexture] Destination position outside the texture: (-2147483648, 0)"},
        {0, 0, -1, 1, 0, 0, L"[CGraphicsEngine::CopyTexture] Invalid block size: -1 x 1"},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(std::string(test.message.begin(), test.message.end()));
        EXPECT_EQ(WideErrorOf(
                      [&]
                      {
                          engine.CopyTexture(&source, test.x, test.y, test.width, test.height, &destination,
                                             test.destX, test.destY);
                      }),
                  test.message);
    }
    EXPECT_EQ(WideErrorOf([&] { engine.CopyTexture(nullptr, 0, 0, 1, 1, &destination, 0, 0); }),
              L"[CGraphicsEngine::CopyTexture] Source image data not defined");
    EXPECT_EQ(WideErrorOf([&] { engine.CopyTexture(&source, 0, 0, 1, 1, nullptr, 0, 0); }),
              L"[CGraphicsEngine::CopyTexture] Destination image data not defined");
    // Nothing stayed locked through the errors.
    EXPECT_EQ(source.locks, source.unlocks);
    EXPECT_EQ(destination.locks, destination.unlocks);
}

TEST_F(TexturePixelsTest, ACopyWithinOneTextureLocksItOnce)
{
    CMemoryTexture texture(3, 1, video::ECF_A8R8G8B8, 4);
    for (u32 x = 0; x < 3; ++x)
        texture.Pixel(x, 0)[0] = static_cast<uint8_t>(x + 1);
    engine.CopyTexture(&texture, 0, 0, 2, 1, &texture, 1, 0);
    EXPECT_EQ(texture.locks, 1);
    EXPECT_EQ(texture.Pixel(0, 0)[0], 1);
    EXPECT_EQ(texture.Pixel(1, 0)[0], 1);
    EXPECT_EQ(texture.Pixel(2, 0)[0], 2);
}

TEST_F(TexturePixelsTest, ScriptLocksAreIdsCheckedOnEveryUse)
{
    CTextureLocks& locks = engine.GetTextureLocks();
    CMemoryTexture texture(2, 2, video::ECF_A8R8G8B8, 4);
    EXPECT_EQ(locks.Lock(nullptr), 0u);
    const uint32_t first = locks.Lock(&texture);
    const uint32_t second = locks.Lock(&texture);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, first);
    // Both share one driver lock.
    EXPECT_EQ(texture.locks, 1);
    const STextureLock* lock = locks.Find(first);
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(lock->texture, &texture);
    EXPECT_EQ(locks.Find(second)->pixels, lock->pixels);
    // The handle registry knows the ids as locks.
    EXPECT_EQ(Misc::CHandleRegistry::GetInstance().Get<STextureLock>(first), lock);

    EXPECT_TRUE(locks.Unlock(first));
    // A second unlock of the same id and forged ids are refused.
    EXPECT_FALSE(locks.Unlock(first));
    EXPECT_FALSE(locks.Unlock(0));
    EXPECT_FALSE(locks.Unlock(second + 1000));
    EXPECT_EQ(locks.Find(first), nullptr);
    EXPECT_EQ(Misc::CHandleRegistry::GetInstance().Get<STextureLock>(first), nullptr);
    // The other lock still writes through.
    EXPECT_TRUE(texture.IsLocked());
    ASSERT_TRUE(engine.TextureSetPixel(&texture, locks.Find(second)->pixels, 1, 1, CColor(0, 0, 1, 1)));
    EXPECT_TRUE(locks.Unlock(second));
    EXPECT_FALSE(texture.IsLocked());
    EXPECT_EQ(texture.mipMapRegenerations, 1);
    EXPECT_EQ(Bytes(texture.Pixel(1, 1), 4), (std::vector<uint8_t>{255, 0, 0, 255}));
}

TEST_F(TexturePixelsTest, WorkOnALockedTextureRenewsTheScriptsLocks)
{
    // A copy into a texture a script holds locked unlocks and locks it again
    // around its own lock: the script's lock gets the new memory and sees
    // the copied pixels.
    CMemoryTexture source(1, 1, video::ECF_A8R8G8B8, 4);
    source.Pixels() = {9, 8, 7, 6};
    CMemoryTexture destination(1, 1, video::ECF_A8R8G8B8, 4);
    CTextureLocks& locks = engine.GetTextureLocks();
    const uint32_t id = locks.Lock(&destination);
    ASSERT_TRUE(engine.TextureSetPixel(&destination, locks.Find(id)->pixels, 0, 0, CColor(0, 0, 0, 0)));
    engine.CopyTexture(&source, 0, 0, 1, 1, &destination, 0, 0);
    EXPECT_TRUE(destination.IsLocked());
    CColor read;
    ASSERT_TRUE(engine.TextureGetPixel(&destination, locks.Find(id)->pixels, 0, 0, read));
    EXPECT_FLOAT_EQ(read.b, 9 / 255.0f);
    EXPECT_TRUE(locks.Unlock(id));
    EXPECT_EQ(destination.Pixels(), (std::vector<uint8_t>{9, 8, 7, 6}));
}

TEST_F(TexturePixelsTest, ReleasingATextureEndsItsLocks)
{
    CTextureLocks& locks = engine.GetTextureLocks();
    CMemoryTexture kept(1, 1, video::ECF_A8R8G8B8, 4);
    CMemoryTexture gone(1, 1, video::ECF_A8R8G8B8, 4);
    const uint32_t keptId = locks.Lock(&kept);
    const uint32_t goneId = locks.Lock(&gone);
    locks.Lock(&gone);
    locks.Release(&gone);
    EXPECT_EQ(locks.Find(goneId), nullptr);
    EXPECT_FALSE(gone.IsLocked());
    EXPECT_EQ(gone.getReferenceCount(), 1);
    EXPECT_NE(locks.Find(keptId), nullptr);
    locks.ReleaseAll();
    EXPECT_EQ(locks.Find(keptId), nullptr);
    EXPECT_EQ(kept.getReferenceCount(), 1);
}

} // namespace
