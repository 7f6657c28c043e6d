// Textures with real pixels on the Burnings renderer: created, written from
// raw data, read back, scaled, copied, saved as PNG and loaded again; colour
// keys and normal maps.

#include "BurningsSupport.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/TextureLocks.h"

#include <string>

namespace
{

using namespace irr;
using Graphics::CTextureLocks;
using Graphics::STextureLock;

using TextureRoundTripTest = BurningsTest;

// Raw R8G8B8 data, blue first: blue is the column, green the row, red 7.
std::string RawGradient(int width, int height)
{
    std::string raw;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            raw += {static_cast<char>(x), static_cast<char>(y), 7};
    return raw;
}

// The pixel's channels as 0 to 255.
uint32_t Argb(Graphics::CGraphicsEngine& engine, const STextureLock* lock, int32_t x, int32_t y)
{
    CColor color;
    EXPECT_TRUE(engine.TextureGetPixel(lock->texture, lock->pixels, x, y, color));
    const auto channel = [](float value) { return static_cast<uint32_t>(value * 255.0f + 0.5f); };
    return channel(color.a) << 24 | channel(color.r) << 16 | channel(color.g) << 8 | channel(color.b);
}

TEST_F(TextureRoundTripTest, TexturesAreWrittenReadScaledCopiedSavedAndLoadedAgain)
{
    ASSERT_TRUE(engine.CreateTexture(L"canvas", CPoint(64, 32), video::ECF_A8R8G8B8));
    ASSERT_TRUE(engine.CreateTexture(L"copy", CPoint(32, 16), video::ECF_A8R8G8B8));
    video::ITexture* canvas = engine.GetTexture(L"canvas", false);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(engine.GetTextureSize(canvas).x, 64.0f);
    EXPECT_EQ(engine.GetTextureSize(canvas).y, 32.0f);
    EXPECT_EQ(engine.GetTextureColorFormat(canvas), video::ECF_A8R8G8B8);
    EXPECT_EQ(engine.GetTexturePitch(canvas), 256u);

    CTextureLocks& locks = engine.GetTextureLocks();
    const uint32_t id = locks.Lock(canvas);
    const STextureLock* lock = locks.Find(id);
    ASSERT_NE(lock->pixels, nullptr);

    // Unscaled: pixel (x, y) is raw pixel (x, y), opaque.
    const std::string raw = RawGradient(64, 32);
    engine.WriteTexture(raw.data(), raw.size(), 64, 64, 32, 2, canvas, lock->pixels, 0, false);
    EXPECT_EQ(Argb(engine, lock, 0, 0), 0xFF070000u);
    EXPECT_EQ(Argb(engine, lock, 63, 31), 0xFF071F3Fu);
    EXPECT_EQ(Argb(engine, lock, 10, 5), 0xFF07050Au);

    // Mode 3 fits a 128 x 64 image: every second pixel on both axes.
    const std::string large = RawGradient(128, 64);
    engine.WriteTexture(large.data(), large.size(), 128, 128, 64, 2, canvas, lock->pixels, 3, false);
    EXPECT_EQ(Argb(engine, lock, 10, 5), 0xFF070A14u);
    EXPECT_EQ(Argb(engine, lock, 63, 31), 0xFF073E7Eu);

    // Single pixels written through the lock.
    ASSERT_TRUE(engine.TextureSetPixel(canvas, lock->pixels, 1, 1, CColor(1, 0, 0, 1)));
    EXPECT_EQ(static_cast<uint8_t*>(lock->pixels)[256 + 4 + 2], 255);
    EXPECT_TRUE(locks.Unlock(id));
    EXPECT_FALSE(locks.Unlock(id));

    // The copy takes a block of the canvas.
    video::ITexture* copy = engine.GetTexture(L"copy", false);
    engine.CopyTexture(canvas, 10, 5, 8, 4, copy, 2, 3);
    const uint32_t copyId = locks.Lock(copy);
    EXPECT_EQ(Argb(engine, locks.Find(copyId), 2, 3), 0xFF070A14u);
    EXPECT_EQ(Argb(engine, locks.Find(copyId), 9, 6), 0xFF071022u);
    EXPECT_EQ(Argb(engine, locks.Find(copyId), 10, 6), 0u);
    locks.Unlock(copyId);

    // Saved as PNG and loaded again as a texture of its own.
    const std::wstring png = folder.Wide("canvas.png");
    ASSERT_TRUE(engine.TextureWriteToFile(canvas, png, 0));
    ASSERT_TRUE(engine.LoadTexture(png));
    video::ITexture* loaded = engine.GetTexture(png, false);
    ASSERT_NE(loaded, canvas);
    EXPECT_EQ(engine.GetTextureSize(loaded).x, 64.0f);
    const uint32_t loadedId = locks.Lock(loaded);
    EXPECT_EQ(Argb(engine, locks.Find(loadedId), 10, 5), 0xFF070A14u);
    EXPECT_EQ(Argb(engine, locks.Find(loadedId), 1, 1), 0xFFFF0000u);
    locks.Unlock(loadedId);
    EXPECT_EQ(engine.GetTextureFilename(loaded, true), L"canvas.png");
    EXPECT_TRUE(engine.TextureExists(png));
}

TEST_F(TextureRoundTripTest, CreatedTexturesAreFractionsOfTheScreenOrTheScreen)
{
    // Burnings reduces sides to powers of two (80 x 30 -> 64 x 16); the
    // requested size shows on the others.
    struct SCase
    {
        const wchar_t* name;
        CPoint size;
        float width;
        float height;
    };
    const SCase cases[] = {
        {L"half", CPoint(0.5f, 0.25f), 64, 16},
        {L"screen", CPoint(0, 2000), 128, 64},
        {L"exact", CPoint(16, 8), 16, 8},
    };
    for (const SCase& test : cases)
    {
        ASSERT_TRUE(engine.CreateTexture(test.name, test.size, video::ECF_A8R8G8B8));
        const CPoint size = engine.GetTextureSize(engine.GetTexture(test.name, false));
        EXPECT_EQ(size.x, test.width);
        EXPECT_EQ(size.y, test.height);
    }
}

TEST_F(TextureRoundTripTest, ColourKeysAndNormalMapsChangeThePixels)
{
    ASSERT_TRUE(engine.CreateTexture(L"keyed", CPoint(4, 4), video::ECF_A8R8G8B8));
    video::ITexture* texture = engine.GetTexture(L"keyed", false);
    CTextureLocks& locks = engine.GetTextureLocks();
    const uint32_t id = locks.Lock(texture);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            engine.TextureSetPixel(texture, locks.Find(id)->pixels, x, y,
                                   x == 0 ? CColor(1, 0, 0, 1)
                                          : (x == 1 ? CColor(0, 1, 0, 1) : CColor(0, 0, 1, 1)));
    // The scripts' lock stays valid across the driver's own work.
    engine.TextureCreateAlphaChannelFromColor(texture, CColor(1, 0, 0, 1));
    EXPECT_EQ(Argb(engine, locks.Find(id), 0, 2) >> 24, 0u);
    EXPECT_EQ(Argb(engine, locks.Find(id), 1, 2) >> 24, 255u);
    engine.TextureCreateAlphaChannelFromPos(texture, 1, 3);
    EXPECT_EQ(Argb(engine, locks.Find(id), 1, 0) >> 24, 0u);
    EXPECT_EQ(Argb(engine, locks.Find(id), 2, 0) >> 24, 255u);
    // The key's position is checked before the driver reads it.
    for (const auto& [x, y] : {std::pair<int32_t, int32_t>{4, 0}, {0, -1}, {INT32_MAX, INT32_MAX}})
    {
        try
        {
            engine.TextureCreateAlphaChannelFromPos(texture, x, y);
            ADD_FAILURE() << "no error for " << x << "," << y;
        }
        catch (const Misc::Error::CKVOError& error)
        {
            EXPECT_EQ(std::wstring(error.GetMessage())
                          .find(L"[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Pixel position outside "
                                L"the texture"),
                      0u);
        }
    }
    const uint32_t before = Argb(engine, locks.Find(id), 3, 3);
    engine.TextureCreateNormalMap(texture, 2.0f);
    EXPECT_NE(Argb(engine, locks.Find(id), 3, 3), before);
    EXPECT_TRUE(locks.Unlock(id));
}

TEST_F(TextureRoundTripTest, ScreenShotsAreWrittenAsImages)
{
    engine.SetBackColor(CColor(0, 1, 0, 1));
    ASSERT_TRUE(engine.Draw(false, false, false));
    ASSERT_TRUE(engine.ScreenShot(folder.Wide("shot.png"), 0));
    video::IImage* image = driver()->createImageFromFile((folder / "shot.png").c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Rgb(image, 10, 10), 0x00FF00u);
    image->drop();
}

} // namespace
