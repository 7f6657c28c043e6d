// initEx into a window of the caller's own on an X display: the device
// renders into it while it exists; once it is gone no device is made (X
// would otherwise end the process). CTest runs these cases under xvfb-run
// (see tests.cmake), which sets HALVANE_PIXEL_TESTS; elsewhere they are
// skipped.

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "support/LuaTestState.h"

#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

class IGraphicsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("HALVANE_PIXEL_TESTS") == nullptr)
            GTEST_SKIP() << "runs under xvfb-run (ctest -R script_api/graphics/window)";
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 150, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
    }
    void TearDown() override
    {
        engine.reset();
        CScriptManager::SetInstance(nullptr);
        if (display != nullptr)
        {
            if (window != 0)
                XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }

    // initEx of the software renderer into the window; the X server may
    // refuse a connection that follows another closely, so a few attempts.
    std::string OpenIn(unsigned long id)
    {
        return EvalScript(engine->GetMainState(), "local id = " + std::to_string(id) + R"(
            for _ = 1, 5 do
                if IGraphics:initEx("SOFTWARE", 64, 48, false, 32, false, false, false, 100, id, true) then
                    return "open"
                end
            end
            return "closed"
        )")
            .GetString();
    }

    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<CScriptManager> engine;
};

TEST_F(IGraphicsWindow, TheDeviceRendersIntoTheCallersWindowWhileItExists)
{
    EXPECT_EQ(OpenIn(window), "open");
    EXPECT_EQ(EvalScript(engine->GetMainState(), R"(
        return tostring(IGraphics:getBackgroundRenderingEnabled()) .. " " .. tostring(IGraphics:draw(false, false, true))
    )")
                  .GetString(),
              std::string("true true"));
    EXPECT_EQ(RunScript(engine->GetMainState(), "IGraphics:destroy()"), "");

    XDestroyWindow(display, window);
    XSync(display, False);
    const unsigned long gone = window;
    window = 0;
    EXPECT_EQ(OpenIn(gone), "closed");
    EXPECT_EQ(RunScript(engine->GetMainState(), R"(
        assert(not IGraphics:isInitialised())
        local ok, message = pcall(IGraphics.initEx, IGraphics, "SOFTWARE", 64, 48, false, 32, false, false, false,
                                  100, )" + std::to_string(gone) +
                                                    R"(, false)
        assert(not ok and message:find("[CGraphicsEngine::Init] Failed to create the graphics device.", 1, true))
    )"),
              "");
}

} // namespace
