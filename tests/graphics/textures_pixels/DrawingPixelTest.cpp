// Immediate drawing at known pixels on the Burnings renderer: each 2D
// primitive, text, named textures, and 3D primitives through a camera, on a
// 160 by 120 screen cleared black.

#include "BurningsSupport.h"

#include "graphics/engine/TextureLocks.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace
{

using namespace irr;

const CColor kRed(1, 0, 0, 1);
const CColor kGreen(0, 1, 0, 1);
const CColor kBlue(0, 0, 1, 1);
const CColor kWhite(1, 1, 1, 1);

using DrawingPixelTest = BurningsTest;

struct SPixel
{
    u32 x;
    u32 y;
    uint32_t rgb;
};

void ExpectPixels(video::IImage* image, const std::vector<SPixel>& pixels)
{
    ASSERT_NE(image, nullptr);
    for (const SPixel& pixel : pixels)
        EXPECT_EQ(Rgb(image, pixel.x, pixel.y), pixel.rgb) << "at " << pixel.x << "," << pixel.y;
    image->drop();
}

TEST_F(DrawingPixelTest, LinesRunBetweenTruncatedScreenFractions)
{
    // (0, 0) to (1, 1): pixel (0, 0) to (160, 120), three quarters down per
    // pixel across.
    ExpectPixels(DrawFrame([&] { engine.Draw2DLine(CPoint(0, 0), CPoint(1, 1), kRed); }),
                 {{0, 0, 0xFF0000}, {40, 30, 0xFF0000}, {120, 90, 0xFF0000}, {40, 31, 0}, {159, 0, 0}});
    // 0.999 of 160 is 159.84: pixel 159.
    ExpectPixels(DrawFrame([&] { engine.Draw2DLine(CPoint(0.999f, 0), CPoint(0.999f, 1), kGreen); }),
                 {{159, 10, 0x00FF00}, {158, 10, 0}});
}

TEST_F(DrawingPixelTest, RectanglesFillFromTheUpperLeftUpToTheLowerRight)
{
    // (0.25, 0.25)-(0.5, 0.5) is pixels (40, 30)-(80, 60), the last row and
    // column excluded.
    ExpectPixels(DrawFrame([&] { engine.Draw2DRectangle(CRect(0.25f, 0.25f, 0.5f, 0.5f), kBlue); }),
                 {{40, 30, 0x0000FF}, {79, 59, 0x0000FF}, {80, 60, 0}, {39, 30, 0}, {40, 29, 0}});
}

TEST_F(DrawingPixelTest, GradientsTakeTheirCornerColours)
{
    video::IImage* image =
        DrawFrame([&] { engine.Draw2DRectangleGradient(CRect(0, 0, 1, 1), kRed, kGreen, kBlue, kWhite); });
    ASSERT_NE(image, nullptr);
    const video::SColor upperLeft = image->getPixel(0, 0);
    const video::SColor upperRight = image->getPixel(159, 0);
    const video::SColor lowerLeft = image->getPixel(0, 119);
    const video::SColor lowerRight = image->getPixel(159, 119);
    EXPECT_GT(upperLeft.getRed(), 240u);
    EXPECT_LT(upperLeft.getGreen(), 16u);
    EXPECT_GT(upperRight.getGreen(), 240u);
    EXPECT_LT(upperRight.getRed(), 16u);
    EXPECT_GT(lowerLeft.getBlue(), 240u);
    EXPECT_LT(lowerLeft.getRed(), 16u);
    EXPECT_GT(lowerRight.getRed(), 240u);
    EXPECT_GT(lowerRight.getGreen(), 240u);
    EXPECT_GT(lowerRight.getBlue(), 240u);
    image->drop();
}

TEST_F(DrawingPixelTest, ClippedRectanglesStayInsideTheClipAndAllZeroMeansNone)
{
    const CRect whole(0, 0, 1, 1);
    ExpectPixels(DrawFrame([&] { engine.Draw2DRectangleClipped(whole, kRed, CRect(0.5f, 0.5f, 1, 1)); }),
                 {{80, 60, 0xFF0000}, {159, 119, 0xFF0000}, {79, 60, 0}, {80, 59, 0}});
    ExpectPixels(DrawFrame([&] { engine.Draw2DRectangleClipped(whole, kRed, CRect()); }),
                 {{0, 0, 0xFF0000}, {159, 119, 0xFF0000}});
    ExpectPixels(DrawFrame(
                     [&] {
                         engine.Draw2DRectangleGradientClipped(whole, kGreen, kGreen, kGreen, kGreen,
                                                               CRect(0, 0, 0.25f, 0.25f));
                     }),
                 {{0, 0, 0x00FF00}, {39, 29, 0x00FF00}, {40, 29, 0}, {39, 30, 0}});
    ExpectPixels(
        DrawFrame([&] { engine.Draw2DRectangleGradientClipped(whole, kBlue, kBlue, kBlue, kBlue, CRect()); }),
        {{0, 0, 0x0000FF}, {159, 119, 0x0000FF}});
}

TEST_F(DrawingPixelTest, CirclesHaveTheirRadiusInScreenWidthsOnBothAxes)
{
    // Radius 0.1 of 160 is 16 pixels, also vertically; four corners, the
    // first straight below the centre (80, 60).
    ExpectPixels(DrawFrame([&] { engine.Draw2DCircle(CPoint(0.5f, 0.5f), 0.1f, kWhite, 4); }),
                 {{80, 76, 0xFFFFFF},
                  {96, 60, 0xFFFFFF},
                  {80, 44, 0xFFFFFF},
                  {64, 60, 0xFFFFFF},
                  {80, 60, 0},
                  {88, 68, 0xFFFFFF}});
    // Fewer than two corners draw nothing.
    ExpectPixels(DrawFrame([&] { engine.Draw2DCircle(CPoint(0.5f, 0.5f), 0.1f, kWhite, 1); }), {{80, 76, 0}});
}

TEST_F(DrawingPixelTest, TextIsDrawnInsideItsRectangle)
{
    // The built-in font, also for a name no font has.
    for (const std::wstring font : {L"", L"no such font"})
    {
        video::IImage* image = DrawFrame(
            [&] { engine.DrawText(font, L"HHHH", CRect(0.25f, 0.25f, 0.75f, 0.75f), kGreen, true, true); });
        ASSERT_NE(image, nullptr);
        int inside = 0;
        int outside = 0;
        for (u32 y = 0; y < 120; ++y)
        {
            for (u32 x = 0; x < 160; ++x)
            {
                if (Rgb(image, x, y) == 0)
                    continue;
                (x >= 40 && x < 120 && y >= 30 && y < 90 ? inside : outside) += 1;
            }
        }
        EXPECT_GT(inside, 20);
        EXPECT_EQ(outside, 0);
        image->drop();
    }
}

TEST_F(DrawingPixelTest, NamedTexturesAreDrawnWholeOrScaledAndTinted)
{
    // A 4 x 4 texture: red, with a green pixel at (1, 1).
    ASSERT_TRUE(engine.CreateTexture(L"tile", CPoint(4, 4), video::ECF_A8R8G8B8));
    video::ITexture* texture = engine.GetTexture(L"tile", false);
    void* pixels = engine.TextureLock(texture);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            engine.TextureSetPixel(texture, pixels, x, y, x == 1 && y == 1 ? kGreen : kRed);
    engine.TextureUnlock(texture);

    ExpectPixels(DrawFrame([&] { engine.Draw2DImage(L"tile", CPoint(0.5f, 0.5f), false); }),
                 {{80, 60, 0xFF0000}, {81, 61, 0x00FF00}, {83, 63, 0xFF0000}, {84, 64, 0}, {79, 60, 0}});
    // Source pixels (1, 1)-(2, 2) (the green one) over the left half,
    // tinted white: all green.
    ExpectPixels(DrawFrame(
                     [&] {
                         engine.Draw2DImageScaled(L"tile", CRect(1, 1, 2, 2), CRect(0, 0, 0.5f, 1), CRect(),
                                                  kWhite, false);
                     }),
                 {{0, 0, 0x00FF00}, {79, 119, 0x00FF00}, {80, 0, 0}});
    // A missing texture draws nothing. (Burnings ignores the clip
    // rectangle of scaled images; OpenGL honours it: left to manual checks.)
    ExpectPixels(DrawFrame([&] { engine.Draw2DImage(L"missing.png", CPoint(0, 0), false); }), {{0, 0, 0}});
}

TEST_F(DrawingPixelTest, ThreeDimensionalShapesAreUnlitInWorldCoordinates)
{
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    // The camera at (0, 0, -10) looks at the origin: the origin is the
    // screen's centre.
    const CPoint centre = engine.GetScreenPosFrom3DPos(CVector(0, 0, 0));
    EXPECT_FLOAT_EQ(centre.x, 0.5f);
    EXPECT_FLOAT_EQ(centre.y, 0.5f);
    EXPECT_LT(engine.GetScreenPosFrom3DPos(CVector(-1, 0, 0)).x, 0.5f);

    // A triangle around the origin, seen from either side.
    ExpectPixels(
        DrawFrame(
            [&]
            {
                engine.Draw3DTriangle(CVector(-2, -2, 0), CVector(0, 2, 0), CVector(2, -2, 0), kGreen);
                engine.Draw3DTriangle(CVector(-2, -2, 0), CVector(2, -2, 0), CVector(0, 2, 0), kGreen);
            }),
        {{80, 60, 0x00FF00}, {2, 2, 0}});
    // The world's x axis through the centre: the middle row, which the
    // renderer rounds to row 59.
    ExpectPixels(DrawFrame([&] { engine.Draw3DLine(CVector(-100, 0, 0), CVector(100, 0, 0), kRed); }),
                 {{2, 59, 0xFF0000}, {157, 59, 0xFF0000}, {80, 30, 0}});
    // A box around the origin: its edges, not its inside.
    video::IImage* image = DrawFrame([&] { engine.Draw3DBox(CVector(-2, -2, -2), CVector(2, 2, 2), kBlue); });
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Rgb(image, 80, 60), 0u);
    int edges = 0;
    for (u32 x = 0; x < 160; ++x)
        edges += Rgb(image, x, 60) == 0x0000FF ? 1 : 0;
    EXPECT_GE(edges, 2);
    image->drop();
    engine.SetActiveCamera(nullptr);
}

TEST_F(DrawingPixelTest, HostileCoordinatesDrawWhatLiesOnTheScreenAndNoMore)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float huge = 3e38f;
    const float values[] = {nan, inf, -inf, huge, -huge, 1e9f, -1e9f};
    ASSERT_TRUE(engine.CreateTexture(L"tile", CPoint(4, 4), video::ECF_A8R8G8B8));
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    video::IImage* image = DrawFrame(
        [&]
        {
            for (float value : values)
            {
                engine.Draw2DLine(CPoint(value, 0.5f), CPoint(-value, 0.5f), kRed);
                engine.Draw2DLine(CPoint(value, value), CPoint(0, 0), kRed);
                engine.Draw2DRectangle(CRect(value, value, -value, -value), kRed);
                engine.Draw2DRectangleGradient(CRect(-value, 0, value, 1), kRed, kRed, kRed, kRed);
                engine.Draw2DRectangleClipped(CRect(0, 0, 1, 1), kRed, CRect(value, value, -value, value));
                engine.Draw2DCircle(CPoint(value, 0.5f), value, kRed, 8);
                engine.Draw2DCircle(CPoint(0.5f, 0.5f), value, kRed, 8);
                engine.DrawText(L"", L"text", CRect(value, value, -value, -value), kRed, true, true);
                engine.Draw2DImageScaled(L"missing", CRect(value, value, value, value),
                                         CRect(value, value, value, value), CRect(), kRed, true);
                // The software blitters compute in int and read source
                // pixels without bounds.
                engine.Draw2DImage(L"tile", CPoint(value, value), true);
                engine.Draw2DImage(L"tile", CPoint(value, 0.5f), false);
                engine.Draw2DImageScaled(L"tile", CRect(0, 0, 4, 4), CRect(value, value, -value, -value),
                                         CRect(), kRed, true);
                engine.Draw2DImageScaled(L"tile", CRect(value, value, -value, -value),
                                         CRect(0, 0, 0.5f, 0.5f), CRect(), kRed, false);
                engine.Draw2DImageScaled(L"tile", CRect(-value, 0, value, 4), CRect(0, 0, 1, 1),
                                         CRect(value, 0, -value, 1), kRed, true);
                engine.Draw3DLine(CVector(value, 0, 0), CVector(0, value, 0), kRed);
                engine.Draw3DBox(CVector(value, value, value), CVector(-value, 0, 0), kRed);
                engine.Draw3DTriangle(CVector(value, 0, 0), CVector(0, value, 0), CVector(0, 0, value), kRed);
            }
        });
    ASSERT_NE(image, nullptr);
    // A horizontal line across the middle from far left to far right.
    EXPECT_EQ(Rgb(image, 80, 60), 0xFF0000u);
    image->drop();
    // A line whose ends lie far off the screen still crosses it where it
    // should: through (0, 0), (40, 30) and (80, 60) (give or take the
    // pixel that rounding at its far ends may move it by).
    image = DrawFrame([&] { engine.Draw2DLine(CPoint(-1e6f, -1e6f), CPoint(1e6f, 1e6f), kGreen); });
    ASSERT_NE(image, nullptr);
    for (const auto& [x, y] : {std::pair<u32, u32>{1, 1}, {40, 30}, {80, 60}, {120, 90}})
    {
        bool near = false;
        for (u32 dy = y - 1; dy <= y + 1; ++dy)
            for (u32 dx = x - 1; dx <= x + 1; ++dx)
                near = near || Rgb(image, dx, dy) == 0x00FF00u;
        EXPECT_TRUE(near) << x << "," << y;
    }
    EXPECT_EQ(Rgb(image, 120, 30), 0u);
    image->drop();
    engine.SetActiveCamera(nullptr);
}

} // namespace
