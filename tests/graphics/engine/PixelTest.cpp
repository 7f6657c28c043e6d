// Real pixels from the Burnings renderer ("SOFTWARE") on an X display. CTest
// runs these cases under xvfb-run (see tests.cmake), which sets
// HALVANE_PIXEL_TESTS; elsewhere they are skipped.

#include "GraphicsTestSupport.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;

class PixelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("HALVANE_PIXEL_TESTS") == nullptr)
            GTEST_SKIP() << "runs under xvfb-run (ctest -R pixels)";
        ASSERT_TRUE(
            engine.Init("SOFTWARE", 160, 120, false, 32, false, false, false, 60, 0, 0, -1, -1, true));
        // A bare X server has no focused window.
        engine.SetBackgroundRenderingEnabled(true);
    }

    // The X server here now and then refuses a connection that follows
    // another client's close closely (the previous test's device): try
    // again a moment later.
    bool InitSoftware(uint32_t width, uint32_t height)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            if (engine.Init("SOFTWARE", width, height, false, 32, false, false, false, 60, 0, 0, -1, -1,
                            false))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // The screen as the engine writes it to a file, read back.
    video::IImage* Shot(const std::string& name)
    {
        const std::string path = folder / name;
        if (!engine.ScreenShot(std::wstring(path.begin(), path.end()), 0))
            return nullptr;
        return engine.GetDevice()->getVideoDriver()->createImageFromFile(path.c_str());
    }

    CTestFolder folder;
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
};

TEST_F(PixelTest, TheFrameIsClearedInTheBackColour)
{
    struct SCase
    {
        CColor color;
        video::SColor expected;
    };
    const SCase cases[] = {
        {CColor(1, 0, 0, 1), video::SColor(255, 255, 0, 0)},
        {CColor(0, 0.5f, 1, 1), video::SColor(255, 0, 127, 255)},
        {CColor(0.2f, 0.4f, 0.6f, 1), video::SColor(255, 51, 102, 153)},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.color.ToString());
        engine.SetBackColor(test.color);
        ASSERT_TRUE(engine.Draw(false, false, true));
        video::IImage* image = Shot("clear.bmp");
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getDimension(), core::dimension2d<u32>(160, 120));
        for (const auto& [x, y] : {std::pair<u32, u32>{0, 0}, {80, 60}, {159, 119}})
        {
            const video::SColor pixel = image->getPixel(x, y);
            EXPECT_EQ(pixel.getRed(), test.expected.getRed());
            EXPECT_EQ(pixel.getGreen(), test.expected.getGreen());
            EXPECT_EQ(pixel.getBlue(), test.expected.getBlue());
        }
        image->drop();
    }
}

TEST_F(PixelTest, AFrameThatKeepsTheBackBufferKeepsItsPixels)
{
    engine.SetBackColor(CColor(0, 1, 0, 1));
    ASSERT_TRUE(engine.Draw(false, false, true));
    engine.SetBackColor(CColor(0, 0, 1, 1));
    ASSERT_TRUE(engine.Draw(true, false, true));
    video::IImage* image = Shot("kept.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getPixel(10, 10).getGreen(), 255u);
    EXPECT_EQ(image->getPixel(10, 10).getBlue(), 0u);
    image->drop();
}

// The NULL driver keeps no viewport, so the camera passes' viewports are
// read from the Burnings renderer.
TEST_F(PixelTest, ViewportsAreScreenFractionsTruncatedToPixels)
{
    ASSERT_TRUE(InitSoftware(801, 600));
    struct SCase
    {
        CRect viewPort;
        core::rect<s32> pixels;
    };
    const SCase cases[] = {
        {CRect(0.5f, 0.0f, 1.0f, 1.0f), {400, 0, 801, 600}},
        {CRect(0.0f, 0.25f, 0.3333f, 0.75f), {0, 150, 266, 450}},
        {CRect(0.0f, 0.0f, 1.0f, 1.0f), {0, 0, 801, 600}},
        // Beyond the screen: kept on the screen.
        {CRect(-2.0f, -1.0f, 3.0f, 1e30f), {0, 0, 801, 600}},
        // Inverted: empty, never negative.
        {CRect(0.75f, 0.5f, 0.25f, 0.1f), {600, 300, 600, 300}},
    };
    video::IVideoDriver* driver = engine.GetDevice()->getVideoDriver();
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.viewPort.ToString());
        CTestCamera camera(engine, "camera", test.viewPort);
        engine.SetActiveCamera(&camera);
        std::vector<core::rect<s32>> sceneViewports;
        std::vector<core::rect<s32>> guiViewports;
        CChannelRecorder recorder;
        recorder.action = [&](const std::string& channel)
        {
            if (channel == "DrawPreScene")
                sceneViewports.push_back(driver->getViewPort());
            if (channel == "DrawPreGui")
                guiViewports.push_back(driver->getViewPort());
        };
        ASSERT_TRUE(engine.Draw(false, false, false));
        ASSERT_EQ(sceneViewports.size(), 1u);
        EXPECT_EQ(sceneViewports[0], test.pixels);
        // The GUI pass draws on the whole screen.
        ASSERT_EQ(guiViewports.size(), 1u);
        EXPECT_EQ(guiViewports[0], core::rect<s32>(0, 0, 801, 600));
        engine.SetActiveCamera(nullptr);
    }
}

TEST_F(PixelTest, TheDisplayAnswersDesktopCursorAndClipboardQueries)
{
    // xvfb-run's screen is 1024 by 768.
    EXPECT_EQ(engine.GetDesktopWidth(), 1024u);
    EXPECT_EQ(engine.GetDesktopHeight(), 768u);

    gui::ICursorControl* cursor = engine.GetDevice()->getCursorControl();
    engine.SetCursorType("WAIT");
    EXPECT_EQ(cursor->getActiveIcon(), gui::ECI_WAIT);
    engine.SetCursorType("arrow");
    EXPECT_EQ(cursor->getActiveIcon(), gui::ECI_WAIT);
    engine.SetCursorType("ARROW");
    EXPECT_EQ(cursor->getActiveIcon(), gui::ECI_NORMAL);
    engine.SetCursorType("UPARROW");
    EXPECT_EQ(cursor->getActiveIcon(), gui::ECI_UP);

    engine.WriteClipboard("copied text");
    const auto pasted = engine.ReadClipboard();
    ASSERT_TRUE(pasted.has_value());
    EXPECT_EQ(*pasted, "copied text");

    // The renderer does not tell its window, so it cannot be placed.
    EXPECT_EQ(engine.GetWindowHandle(), 0u);
}

} // namespace
