#pragma once

// What the Burnings pixel cases share: a SOFTWARE device on the X display
// that xvfb-run provides (see tests.cmake, which sets HALVANE_PIXEL_TESTS;
// elsewhere the cases are skipped), frames with a drawing step, and the
// screen's pixels.

#include "graphics/engine/GraphicsTestSupport.h"

#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

class BurningsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("HALVANE_PIXEL_TESTS") == nullptr)
            GTEST_SKIP() << "runs under xvfb-run (ctest -R textures_pixels)";
        ASSERT_TRUE(InitSoftware(160, 120));
    }

    // The X server here now and then refuses a connection that follows
    // another client's close closely: try again a moment later.
    bool InitSoftware(uint32_t width, uint32_t height)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            if (engine.Init("SOFTWARE", width, height, false, 32, false, false, false, 60, 0, 0, -1, -1,
                            false))
            {
                // A bare X server has no focused window.
                engine.SetBackgroundRenderingEnabled(true);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // One frame whose GUI pass runs the step (drawing as scripts do, from a
    // frame event); the screen as it was drawn.
    irr::video::IImage* DrawFrame(const std::function<void()>& step)
    {
        CRecordListener<Misc::Multicast::Kind::DrawPostGui> listener(
            [&](const auto&)
            {
                step();
                return false;
            });
        if (!engine.Draw(false, false, false))
            return nullptr;
        return driver()->createScreenShot();
    }

    irr::video::IVideoDriver* driver() const { return engine.GetDevice()->getVideoDriver(); }

    CTestFolder folder;
    CGraphicsSimulation simulation;
    Graphics::CGraphicsEngine& engine = simulation.graphics;
};

// The red, green and blue of a pixel as one 0xRRGGBB number.
inline uint32_t Rgb(irr::video::IImage* image, irr::u32 x, irr::u32 y)
{
    return image->getPixel(x, y).color & 0xFFFFFFu;
}
