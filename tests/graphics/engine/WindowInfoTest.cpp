// Window, cursor, colours, statistics and system queries, with and without
// a device. Without one, every query gives its documented error or a
// neutral answer.
//
// Left to manual checks (not testable here): window-manager styles and the
// window's position on a real desktop, full screen, vertical sync, video
// mode switches, anti-aliasing, window focus.

#include "GraphicsTestSupport.h"

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManager.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace
{

using Graphics::CGraphicsEngine;

// The queries that need a device, each with the error it gives without one.
void ExpectSystemQueriesRefused(CGraphicsEngine& engine)
{
    const std::pair<std::function<void()>, std::wstring> cases[] = {
        {[&] { engine.GetOperatingSystemVersion(); }, L"GetOperatingSystemVersion"},
        {[&] { engine.GetOperatingSystemMHz(); }, L"GetOperatingSystemMHz"},
        {[&] { engine.GetOperatingSystemMemoryTotal(); }, L"GetOperatingSystemMemoryTotal"},
        {[&] { engine.GetOperatingSystemMemoryFree(); }, L"GetOperatingSystemMemoryFree"},
        {[&] { engine.GetNumberOfVideoModes(); }, L"GetNumberOfVideoModes"},
        {[&] { engine.GetVideoModeDepth(0); }, L"GetVideoModeDepth"},
        {[&] { engine.GetVideoModeWidth(0); }, L"GetVideoModeWidth"},
        {[&] { engine.GetVideoModeHeight(0); }, L"GetVideoModeHeight"},
        {[&] { engine.QueryFeature(0); }, L"QueryFeature"},
    };
    for (const auto& [call, method] : cases)
        EXPECT_EQ(WideErrorOf(call), L"[CGraphicsEngine::" + method + L"] Graphics Engine not initialised");
}

// Everything else answers neutrally and changes nothing.
void ExpectNeutralWithoutDevice(CGraphicsEngine& engine)
{
    EXPECT_FALSE(engine.IsRunning());
    engine.SetCursorVisible(true);
    EXPECT_FALSE(engine.IsCursorVisible());
    engine.SetCursorPosition(0.5f, 0.5f);
    engine.SetCursorType("WAIT");
    EXPECT_EQ(engine.GetCursorPosition().ToString(), CPoint().ToString());
    EXPECT_EQ(engine.GetCursorPixelPosition().ToString(), CPoint().ToString());
    EXPECT_EQ(engine.GetFrameRate(), 0);
    EXPECT_EQ(engine.GetNumberOfTris(), 0u);
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 0u);
    EXPECT_FALSE(engine.IsWindowActive());
    EXPECT_EQ(engine.GetWindowHandle(), 0u);
    EXPECT_FALSE(engine.SetWindowIcon(L"icon.ico"));
    engine.SetWindowParams(0, 10, 10, 100, 100);
    engine.SetAmbientColor(CColor(1, 1, 1, 1));
    EXPECT_TRUE(engine.GetAmbientColor().IsZero());
    engine.SetFog(CColor(1, 1, 1, 1), 1.0f, 2.0f);
    engine.WriteClipboard("text");
    EXPECT_FALSE(engine.ReadClipboard().has_value());
    EXPECT_FALSE(engine.ScreenShot(L"never.bmp", 0));
    engine.SetTextureMipMapping(true);
    EXPECT_FALSE(engine.GetTextureMipMapping());
    EXPECT_FALSE(engine.GetTextureQualityOptimized());
    EXPECT_FALSE(engine.GetTextureSpeedOptimized());
    EXPECT_EQ(engine.GetTextPixelDimensions(L"", L"text").ToString(), CPoint().ToString());
    EXPECT_EQ(engine.GetTextDimensions(L"", L"text").ToString(), CPoint().ToString());
    EXPECT_FALSE(engine.Draw(false, false, true));
}

TEST(WindowInfoWithoutDevice, BeforeInitAndAfterDestroy)
{
    CGraphicsSimulation simulation;
    {
        SCOPED_TRACE("before Init");
        ExpectSystemQueriesRefused(simulation.graphics);
        ExpectNeutralWithoutDevice(simulation.graphics);
    }
    ASSERT_TRUE(simulation.InitNull());
    simulation.graphics.Destroy();
    {
        SCOPED_TRACE("after Destroy");
        ExpectSystemQueriesRefused(simulation.graphics);
        ExpectNeutralWithoutDevice(simulation.graphics);
    }
}

class WindowInfoTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(simulation.InitNull(640, 480)); }

    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
};

TEST_F(WindowInfoTest, SystemQueriesAnswerWithADevice)
{
    EXPECT_EQ(engine.GetOperatingSystemVersion().rfind(L"Linux", 0), 0u);
    EXPECT_GT(engine.GetOperatingSystemMemoryTotal(), 0u);
    EXPECT_LE(engine.GetOperatingSystemMemoryFree(), engine.GetOperatingSystemMemoryTotal());
    engine.GetOperatingSystemMHz();

    // Modes: an index past the last one reads the last mode; without modes
    // (no display) each query gives 0.
    const uint32_t count = engine.GetNumberOfVideoModes();
    for (const uint32_t index : {0u, 1u, 1000u, 0xFFFFFFFFu})
    {
        const uint32_t clamped = count == 0 ? 0 : std::min(index, count - 1);
        irr::video::IVideoModeList* modes = engine.GetDevice()->getVideoModeList();
        EXPECT_EQ(engine.GetVideoModeWidth(index),
                  count == 0 ? 0u : modes->getVideoModeResolution(static_cast<irr::s32>(clamped)).Width);
        EXPECT_EQ(engine.GetVideoModeHeight(index),
                  count == 0 ? 0u : modes->getVideoModeResolution(static_cast<irr::s32>(clamped)).Height);
        EXPECT_EQ(engine.GetVideoModeDepth(index),
                  count == 0
                      ? 0u
                      : static_cast<uint32_t>(modes->getVideoModeDepth(static_cast<irr::s32>(clamped))));
    }

    // Codes that are no driver feature are simply unsupported.
    EXPECT_FALSE(engine.QueryFeature(irr::video::EVDF_COUNT));
    EXPECT_FALSE(engine.QueryFeature(0xFFFFFFFFu));
    EXPECT_EQ(engine.QueryFeature(irr::video::EVDF_RENDER_TO_TARGET),
              engine.GetDevice()->getVideoDriver()->queryFeature(irr::video::EVDF_RENDER_TO_TARGET));
}

TEST_F(WindowInfoTest, CaptionIsKeptForEveryDevice)
{
    engine.SetWindowCaption(L"Halvane \u00e9t\u00e9");
    EXPECT_EQ(engine.GetWindowCaption(), L"Halvane \u00e9t\u00e9");
    ASSERT_TRUE(simulation.InitNull());
    EXPECT_EQ(engine.GetWindowCaption(), L"Halvane \u00e9t\u00e9");
    // The NULL device has no window to show it or to place.
    EXPECT_EQ(engine.GetWindowHandle(), 0u);
    EXPECT_FALSE(engine.SetWindowIcon(L"icon.ico"));
    engine.SetWindowParams(3, -1, -1, 0, 0);
    EXPECT_EQ(engine.GetWindowStyle(), 3u);
}

TEST_F(WindowInfoTest, CursorPositionsAreWindowFractions)
{
    engine.SetCursorPosition(0.25f, 0.5f);
    EXPECT_EQ(engine.GetCursorPixelPosition().ToString(), CPoint(160, 240).ToString());
    EXPECT_EQ(engine.GetCursorPosition().ToString(), CPoint(0.25f, 0.5f).ToString());

    // Values far outside the window do not overflow the pixel conversion.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    for (const CPoint& hostile : {CPoint(nan, nan), CPoint(huge, -huge), CPoint(-1e20f, 1e20f)})
    {
        engine.SetCursorPosition(hostile.x, hostile.y);
        const CPoint pixels = engine.GetCursorPixelPosition();
        EXPECT_FALSE(std::isnan(pixels.x));
    }

    engine.SetCursorVisible(false);
    EXPECT_FALSE(engine.IsCursorVisible());
    engine.SetCursorVisible(true);
    EXPECT_TRUE(engine.IsCursorVisible());
    for (const char* name : {"ARROW", "arrow", "WAIT", "", "NOSUCHCURSOR"})
        engine.SetCursorType(name);
}

TEST_F(WindowInfoTest, ColoursAndSwitches)
{
    engine.SetAmbientColor(CColor(0.25f, 0.5f, 0.75f, 1.0f));
    const CColor ambient = engine.GetAmbientColor();
    EXPECT_FLOAT_EQ(ambient.r, 0.25f);
    EXPECT_FLOAT_EQ(ambient.g, 0.5f);
    EXPECT_FLOAT_EQ(ambient.b, 0.75f);
    EXPECT_FLOAT_EQ(ambient.a, 1.0f);

    engine.SetBackColor(CColor(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_FLOAT_EQ(engine.GetBackColor().g, 0.2f);
    EXPECT_EQ(engine.GetBackColor().GetKey(), "-BackColor");

    engine.SetFog(CColor(1, 0, 0, 1), 10.0f, 100.0f);
    irr::video::SColor fogColor;
    irr::video::E_FOG_TYPE fogType;
    irr::f32 start = 0, end = 0, density = 0;
    bool pixelFog = true, rangeFog = true;
    engine.GetDevice()->getVideoDriver()->getFog(fogColor, fogType, start, end, density, pixelFog, rangeFog);
    EXPECT_EQ(fogColor.color, 0xFFFF0000u);
    EXPECT_EQ(fogType, irr::video::EFT_FOG_LINEAR);
    EXPECT_FLOAT_EQ(start, 10.0f);
    EXPECT_FLOAT_EQ(end, 100.0f);
    EXPECT_FLOAT_EQ(density, 0.01f);
    EXPECT_FALSE(pixelFog);
    EXPECT_FALSE(rangeFog);

    engine.SetTextureMipMapping(false);
    EXPECT_FALSE(engine.GetTextureMipMapping());
    engine.SetTextureMipMapping(true);
    EXPECT_TRUE(engine.GetTextureMipMapping());
    engine.SetTextureSpeedOptimized(true);
    EXPECT_TRUE(engine.GetTextureSpeedOptimized());
    // The library keeps speed and quality exclusive.
    engine.SetTextureQualityOptimized(true);
    EXPECT_TRUE(engine.GetTextureQualityOptimized());
    EXPECT_FALSE(engine.GetTextureSpeedOptimized());

    engine.EnableBackBuffer(false);
    engine.EnableZBuffer(false);
    EXPECT_FALSE(engine.IsBackBufferEnabled());
    EXPECT_FALSE(engine.IsZBufferEnabled());
}

TEST_F(WindowInfoTest, TextIsMeasuredInTheGuiManagersFont)
{
    // A name that is no file and no registered font measures in the
    // built-in font (6 by 10 pixels a letter).
    EXPECT_EQ(engine.GetTextPixelDimensions(L"no such font", L"AB").ToString(), CPoint(12, 10).ToString());
    EXPECT_EQ(engine.GetTextDimensions(L"no such font", L"AB").ToString(),
              CPoint(12.0f / 640, 10.0f / 480).ToString());
}

TEST_F(WindowInfoTest, NullDeviceHasNoClipboardNoScreenShotAndCountsNothing)
{
    engine.WriteClipboard("copied");
    EXPECT_FALSE(engine.ReadClipboard().has_value());
    EXPECT_FALSE(engine.ScreenShot(L"shot.bmp", 0));
    engine.SetBackgroundRenderingEnabled(true);
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(engine.GetNumberOfTris(), 0u);
    EXPECT_GE(engine.GetFrameRate(), 0);
}

TEST_F(WindowInfoTest, DesktopSizeIsAnsweredWithAndWithoutADevice)
{
    const uint32_t width = engine.GetDesktopWidth();
    const uint32_t height = engine.GetDesktopHeight();
    engine.Destroy();
    EXPECT_EQ(engine.GetDesktopWidth(), width);
    EXPECT_EQ(engine.GetDesktopHeight(), height);
}

} // namespace
