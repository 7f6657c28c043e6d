// OpenGL on an X display, asked for by a Direct3D name. CTest runs this
// case alone under xvfb-run (see tests.cmake), which sets
// HALVANE_OPENGL_TESTS and an LSan suppression for the GL driver's
// libraries; elsewhere it is skipped. One device per process: Mesa's
// drivers do not like many in a row.

#include "GraphicsTestSupport.h"
#include "support/GlDriverPin.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace
{

using namespace irr;

// The window's position and size as the X server has them.
struct SGeometry
{
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
};

SGeometry WindowGeometry(Display* display, Window window)
{
    XSync(display, False);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    return SGeometry{attributes.x, attributes.y, static_cast<unsigned>(attributes.width),
                     static_cast<unsigned>(attributes.height)};
}

TEST(OpenGlTest, DirectXNamesOpenAnOpenGlWindowThatCanBePlaced)
{
    if (std::getenv("HALVANE_OPENGL_TESTS") == nullptr)
        GTEST_SKIP() << "runs under xvfb-run (ctest -R opengl)";
    CGraphicsSimulation simulation;
    Graphics::CGraphicsEngine& engine = simulation.graphics;
    bool opened = false;
    // The X server here now and then refuses a connection right after
    // another client's close: try again a moment later.
    for (int attempt = 0; attempt < 5 && !opened; ++attempt)
    {
        opened = engine.Init("DX9", 160, 120, false, 32, false, false, false, 60, 0, 0, 30, 40, false);
        if (!opened)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(opened);
    PinGlDriver();
    EXPECT_EQ(engine.GetDriverName(), "DX9");
    EXPECT_EQ(engine.GetDevice()->getVideoDriver()->getDriverType(), video::EDT_OPENGL);

    const Graphics::WindowHandle window = engine.GetWindowHandle();
    ASSERT_NE(window, 0u);
    auto* display = static_cast<Display*>(
        engine.GetDevice()->getVideoDriver()->getExposedVideoData().OpenGLLinux.X11Display);
    ASSERT_NE(display, nullptr);

    // Init placed the window where it was asked to.
    SGeometry geometry = WindowGeometry(display, window);
    EXPECT_EQ(geometry.x, 30);
    EXPECT_EQ(geometry.y, 40);

    engine.SetWindowParams(5, 10, 20, 200, 100);
    geometry = WindowGeometry(display, window);
    EXPECT_EQ(geometry.x, 10);
    EXPECT_EQ(geometry.y, 20);
    EXPECT_EQ(geometry.width, 200u);
    EXPECT_EQ(geometry.height, 100u);
    EXPECT_EQ(engine.GetWindowStyle(), 5u);

    // Left and top below 0 centre the window on the 1024 by 768 desktop;
    // sizes below 1 take the screen size.
    engine.SetWindowParams(5, -1, -1, 0, 0);
    geometry = WindowGeometry(display, window);
    EXPECT_EQ(geometry.width, 160u);
    EXPECT_EQ(geometry.height, 120u);
    EXPECT_EQ(geometry.x, (1024 - 160) / 2);
    EXPECT_EQ(geometry.y, (768 - 120) / 2);

    engine.SetBackgroundRenderingEnabled(true);
    EXPECT_TRUE(engine.Draw(false, false, true));
    engine.Destroy();
    EXPECT_FALSE(engine.IsRunning());
}

// Draws a red bar over the top quarter of the window after the GUI, so a
// shot that is upside down or shifted shows.
using PostGui = Misc::Multicast::Kind::DrawPostGui;
class CTopBar : public Misc::Multicast::CSubscriberOf<PostGui>
{
public:
    explicit CTopBar(video::IVideoDriver* driver) : m_driver(driver)
    {
        Misc::Multicast::CMulticastOf<PostGui>::Subscribe(this, 0);
    }
    ~CTopBar() override { Misc::Multicast::CMulticastOf<PostGui>::Unsubscribe(this); }
    CTopBar(const CTopBar&) = delete;
    CTopBar& operator=(const CTopBar&) = delete;
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsDrawPostGui&) override
    {
        const core::dimension2d<u32> size = m_driver->getScreenSize();
        m_driver->draw2DRectangle(
            video::SColor(255, 255, 0, 0),
            core::rect<s32>(0, 0, static_cast<s32>(size.Width), static_cast<s32>(size.Height / 4)));
        return false;
    }

private:
    video::IVideoDriver* m_driver;
};

// Its own process (tests.cmake): one OpenGL device per process.
TEST(OpenGlScreenShotTest, TheShotHoldsTheDrawnFrameAsTheScreenShowsIt)
{
    if (std::getenv("HALVANE_OPENGL_TESTS") == nullptr)
        GTEST_SKIP() << "runs under xvfb-run (ctest -R opengl)";
    CTestFolder folder;
    CGraphicsSimulation simulation;
    Graphics::CGraphicsEngine& engine = simulation.graphics;
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !opened; ++attempt)
    {
        opened = engine.Init("OPENGL", 160, 120, false, 32, false, false, false, 60, 0, 0, 0, 0, false);
        if (!opened)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(opened);
    PinGlDriver();
    engine.SetBackgroundRenderingEnabled(true);
    video::IVideoDriver* driver = engine.GetDevice()->getVideoDriver();
    CTopBar bar(driver);
    auto* display = static_cast<Display*>(driver->getExposedVideoData().OpenGLLinux.X11Display);
    const Window window = static_cast<Window>(engine.GetWindowHandle());
    ASSERT_NE(display, nullptr);

    const CColor colors[] = {CColor(0.2f, 0.4f, 0.6f, 1), CColor(0, 1, 0, 1)};
    for (const CColor& color : colors)
    {
        SCOPED_TRACE(color.ToString());
        engine.SetBackColor(color);
        // A few frames: the window maps during the first ones.
        for (int frame = 0; frame < 3; ++frame)
            ASSERT_TRUE(engine.Draw(false, false, true));
        for (const char* name : {"shot.png", "shot.bmp"})
        {
            SCOPED_TRACE(name);
            const std::string path = folder / name;
            ASSERT_TRUE(engine.ScreenShot(std::wstring(path.begin(), path.end()), 0));
            video::IImage* shot = driver->createImageFromFile(path.c_str());
            ASSERT_NE(shot, nullptr);
            ASSERT_EQ(shot->getDimension(), core::dimension2d<u32>(160, 120));
            XSync(display, False);
            XImage* screen = XGetImage(display, window, 0, 0, 160, 120, AllPlanes, ZPixmap);
            ASSERT_NE(screen, nullptr);
            // The bar at the top, the back colour below, as the X server
            // shows the window.
            for (const auto& [x, y] : {std::pair<u32, u32>{5, 5}, {150, 20}, {80, 60}, {5, 115}, {159, 119}})
            {
                const video::SColor pixel = shot->getPixel(x, y);
                const unsigned long grabbed = XGetPixel(screen, static_cast<int>(x), static_cast<int>(y));
                EXPECT_EQ(pixel.getRed(), (grabbed >> 16) & 0xff) << x << "," << y;
                EXPECT_EQ(pixel.getGreen(), (grabbed >> 8) & 0xff) << x << "," << y;
                EXPECT_EQ(pixel.getBlue(), grabbed & 0xff) << x << "," << y;
                const bool inBar = y < 30;
                EXPECT_EQ(pixel.getRed(), inBar ? 255u : static_cast<u32>(color.r * 255 + 0.5f))
                    << x << "," << y;
                EXPECT_NEAR(pixel.getGreen(), inBar ? 0.0 : color.g * 255, 1.0) << x << "," << y;
                EXPECT_NEAR(pixel.getBlue(), inBar ? 0.0 : color.b * 255, 1.0) << x << "," << y;
            }
            XDestroyImage(screen);
            shot->drop();
        }
    }
    engine.Destroy();
}

} // namespace
