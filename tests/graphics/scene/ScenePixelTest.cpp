// Real pixels on the Burnings renderer under xvfb-run (tests.cmake sets
// HALVANE_PIXEL_TESTS; elsewhere skipped): our billboard node drawn with its
// corners' colours, facing the camera, and a render target's texture put on
// an entity's material by the target's name.

#include "support/JoinedEntity.h"

#include "graphics/engine/RenderTarget.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

using namespace irr;

class ScenePixelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("HALVANE_PIXEL_TESTS") == nullptr)
            GTEST_SKIP() << "runs under xvfb-run (ctest -R scene/pixels)";
        // The X server now and then refuses a connection right after
        // another client's close: try again a moment later.
        for (int attempt = 0; attempt < 5 && !engine.IsRunning(); ++attempt)
        {
            if (!engine.Init("SOFTWARE", 160, 120, false, 32, false, false, false, 60, 0, 0, -1, -1, false))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(engine.IsRunning());
        engine.SetBackgroundRenderingEnabled(true);
        engine.SetBackColor(CColor(0, 0, 1, 1));
    }

    uint32_t ScreenPixel(u32 x, u32 y)
    {
        video::IImage* shot = engine.GetDevice()->getVideoDriver()->createScreenShot();
        const uint32_t rgb = shot->getPixel(x, y).color & 0xFFFFFFu;
        shot->drop();
        return rgb;
    }

    Graphics::CGraphicsEngine engine{nullptr};
};

TEST_F(ScenePixelTest, TheBillboardFacesTheCameraInItsCornersColours)
{
    CTestCameraEntity camera("00000000-0000-4000-8000-000000000001");
    camera.SetPosition(CVector(0, 0, -10));
    camera.SetAspectRatio(160.0f / 120.0f);
    engine.Add(&camera, nullptr, "");
    CTestBillboard billboard("00000000-0000-4000-8000-000000000002");
    billboard.SetScale(CVector(4, 1, 4));
    billboard.SetMaterialType(0, 0);
    engine.Add(&billboard, nullptr, "");
    for (uint32_t corner = 0; corner < 4; ++corner)
        billboard.SetVertexColor(corner, CColor(1, 0, 0, 1));
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(ScreenPixel(80, 60), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(2, 2), 0x0000FFu);

    // Seen from the side, it still faces the camera.
    camera.SetPosition(CVector(-10, 0, 0));
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(ScreenPixel(80, 60), 0xFF0000u);
}

TEST_F(ScenePixelTest, ARenderTargetsNameGivesItsTexture)
{
    CTestCameraEntity camera("00000000-0000-4000-8000-000000000001");
    engine.Add(&camera, nullptr, "");
    ASSERT_TRUE(engine.CreateRenderTarget(L"mirror", CPoint(64, 64), &camera, 0));
    CTestBillboard billboard("00000000-0000-4000-8000-000000000002");
    billboard.SetMaterialType(0, 0);
    engine.Add(&billboard, nullptr, "");
    billboard.SetMaterialTexture(L"mirror", 0, 0);
    video::ITexture* texture = engine.GetRenderTarget(L"mirror").GetTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(billboard.GetSceneNode()->getMaterial(0).getTexture(0), texture);
}

} // namespace
