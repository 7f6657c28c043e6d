// 10,000 filled 2D rectangles per frame: through the engine's drawing
// function (screen fractions and the system's colours, converted per call)
// next to the same rectangles drawn straight on the Irrlicht driver (pixel
// rectangles and driver colours made beforehand), in one run. On the NULL
// driver (no pixels: the cost of the calls) and, when an X display exists
// (xvfb-run tools/bench.sh bench_graphics_draw), on the Burnings renderer.

#include "graphics/engine/GraphicsEngine.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace
{

using namespace irr;

constexpr int kRectangles = 10000;
constexpr uint32_t kWidth = 640;
constexpr uint32_t kHeight = 480;

struct SRectangle
{
    CRect fractions;
    CColor color;
    core::rect<s32> pixels;
    video::SColor driverColor;
};

// Rectangles of 4 to 16 pixels a side all over the screen.
const std::vector<SRectangle>& Rectangles()
{
    static const std::vector<SRectangle> rectangles = []
    {
        std::mt19937 random(5);
        std::vector<SRectangle> made;
        for (int index = 0; index < kRectangles; ++index)
        {
            const s32 x = static_cast<s32>(random() % (kWidth - 16));
            const s32 y = static_cast<s32>(random() % (kHeight - 16));
            const s32 width = 4 + static_cast<s32>(random() % 13);
            const s32 height = 4 + static_cast<s32>(random() % 13);
            SRectangle rectangle;
            rectangle.pixels = core::rect<s32>(x, y, x + width, y + height);
            // Fractions that truncate to exactly those pixels.
            rectangle.fractions = CRect((x + 0.5f) / kWidth, (y + 0.5f) / kHeight,
                                        (x + width + 0.5f) / kWidth, (y + height + 0.5f) / kHeight);
            const uint32_t red = random() % 256;
            const uint32_t green = random() % 256;
            const uint32_t blue = random() % 256;
            rectangle.color = CColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f);
            rectangle.driverColor = video::SColor(255, red, green, blue);
            made.push_back(rectangle);
        }
        return made;
    }();
    return rectangles;
}

bool Open(Graphics::CGraphicsEngine& engine, const char* driver)
{
    if (std::string(driver) == "SOFTWARE" && std::getenv("DISPLAY") == nullptr)
        return false;
    for (int attempt = 0; attempt < 5; ++attempt)
    {
        if (engine.Init(driver, kWidth, kHeight, false, 32, false, false, false, 60, 0, 0, -1, -1, false))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void DrawFrames(benchmark::State& state, const char* driverName, bool throughEngine)
{
    Graphics::CGraphicsEngine engine(nullptr);
    if (!Open(engine, driverName))
    {
        state.SkipWithError("no display for this driver (run under xvfb-run)");
        return;
    }
    const std::vector<SRectangle>& rectangles = Rectangles();
    video::IVideoDriver* driver = engine.GetDevice()->getVideoDriver();
    for (auto _ : state)
    {
        driver->beginScene(true, true, video::SColor(255, 0, 0, 0));
        if (throughEngine)
        {
            for (const SRectangle& rectangle : rectangles)
                engine.Draw2DRectangle(rectangle.fractions, rectangle.color);
        }
        else
        {
            for (const SRectangle& rectangle : rectangles)
                driver->draw2DRectangle(rectangle.driverColor, rectangle.pixels);
        }
        driver->endScene();
    }
    state.SetItemsProcessed(state.iterations() * kRectangles);
    engine.Destroy();
}

void BM_EngineRectangles_Burnings(benchmark::State& state)
{
    DrawFrames(state, "SOFTWARE", true);
}

void BM_DriverRectangles_Burnings(benchmark::State& state)
{
    DrawFrames(state, "SOFTWARE", false);
}

void BM_EngineRectangles_Null(benchmark::State& state)
{
    DrawFrames(state, "NULL", true);
}

void BM_DriverRectangles_Null(benchmark::State& state)
{
    DrawFrames(state, "NULL", false);
}

} // namespace

BENCHMARK(BM_EngineRectangles_Burnings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DriverRectangles_Burnings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineRectangles_Null)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DriverRectangles_Null)->Unit(benchmark::kMicrosecond);
