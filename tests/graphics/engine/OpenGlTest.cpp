// OpenGL on an X display, asked for by a Direct3D name. CTest runs this
// case alone under xvfb-run (see tests.cmake), which sets
// HALVANE_OPENGL_TESTS and an LSan suppression for the GL driver's
// libraries; elsewhere it is skipped. One device per process: Mesa's
// drivers do not like many in a row.

#include "GraphicsTestSupport.h"
#include "support/GlDriverPin.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
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

} // namespace
