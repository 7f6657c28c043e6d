// Drawing 1,000 animated screen sprites in one GUI draw pass, next to the
// same 1,000 draw2DImage calls made straight on the driver (the floor), on
// the Burnings software renderer. "per_sprite" is the time per sprite.
//
// The renderer needs a window: without a display the program runs itself
// again under xvfb-run.
#include "core/events/Multicast.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "platform/ExecutablePath.h"
#include "platform/Process.h"

#include <IImage.h>
#include <IVideoDriver.h>
#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using Graphics::Sprite::CGuiKVOSpriteBank;

namespace
{

using namespace irr;

constexpr int kSprites = 1000;
constexpr u32 kFrames = 4;
constexpr u32 kFrameTime = 50;

// One device and one sprite bank with kSprites screen sprites, made once.
struct SScene
{
    SScene()
    {
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_BURNINGSVIDEO;
        parameters.WindowSize = core::dimension2d<u32>(640, 480);
        parameters.LoggingLevel = ELL_NONE;
        device = createDeviceEx(parameters);
        if (!device)
            return;
        driver = device->getVideoDriver();
        // Four 16 x 16 frames side by side.
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(64, 16));
        for (u32 x = 0; x < 64; ++x)
            for (u32 y = 0; y < 16; ++y)
                image->setPixel(x, y, video::SColor(255, x * 4, y * 16, 128));
        texture = driver->addTexture("walk.png", image);
        image->drop();
        bank = new CGuiKVOSpriteBank(device->getGUIEnvironment());
        std::vector<CRect> frames;
        for (u32 f = 0; f < kFrames; ++f)
            frames.push_back(CRect(static_cast<float>(f * 16), 0, static_cast<float>(f * 16 + 16), 16));
        bank->AddSpriteBankEntry(L"walk", L"walk.png", frames, kFrameTime);
        for (int i = 0; i < kSprites; ++i)
        {
            const float x = static_cast<float>((i * 37) % 620);
            const float y = static_cast<float>((i * 53) % 460);
            bank->AddSpriteToScreen(L"walk", CRect(x, y, x + 16, y + 16), static_cast<uint32_t>(i) % kFrames,
                                    true, false, i % 7, CColor(1, 1, 1, 1), false, CRect());
        }
        driver->beginScene(true, true, video::SColor(255, 0, 0, 0));
        // One pass before timing, so neither benchmark pays for first use.
        for (int pass = 0; pass < 20; ++pass)
            Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostGui>::Publish({});
    }
    ~SScene()
    {
        if (!device)
            return;
        driver->endScene();
        bank->drop();
        device->drop();
    }

    IrrlichtDevice* device = nullptr;
    video::IVideoDriver* driver = nullptr;
    video::ITexture* texture = nullptr;
    CGuiKVOSpriteBank* bank = nullptr;
};

SScene& Scene()
{
    static SScene scene;
    return scene;
}

void SetPerSprite(benchmark::State& state)
{
    state.counters["per_sprite"] = benchmark::Counter(
        double(kSprites), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The real path: the post-GUI draw event, which the bank answers by
// drawing its screen sprites in z order at their current frames.
void BM_ScreenSprites(benchmark::State& state)
{
    SScene& scene = Scene();
    if (!scene.device)
    {
        state.SkipWithError("no Burnings device");
        return;
    }
    for (auto _ : state)
        Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostGui>::Publish({});
    SetPerSprite(state);
}
BENCHMARK(BM_ScreenSprites)->Unit(benchmark::kMicrosecond);

// The floor: the same kSprites stretched draws, with their destinations and
// current frames worked out beforehand, called straight on the driver.
void BM_DriverDrawFloor(benchmark::State& state)
{
    SScene& scene = Scene();
    if (!scene.device)
    {
        state.SkipWithError("no Burnings device");
        return;
    }
    std::vector<core::rect<s32>> destinations;
    std::vector<core::rect<s32>> sources;
    const u32 now = CGuiKVOSpriteBank::GetApplicationTime();
    for (int i = 0; i < kSprites; ++i)
    {
        const s32 x = (i * 37) % 620;
        const s32 y = (i * 53) % 460;
        destinations.emplace_back(x, y, x + 16, y + 16);
        const s32 frame = static_cast<s32>((now / kFrameTime + static_cast<u32>(i)) % kFrames);
        sources.emplace_back(frame * 16, 0, frame * 16 + 16, 16);
    }
    const video::SColor white(255, 255, 255, 255);
    const video::SColor colors[4] = {white, white, white, white};
    for (auto _ : state)
    {
        for (int i = 0; i < kSprites; ++i)
            scene.driver->draw2DImage(scene.texture, destinations[i], sources[i], nullptr, colors, true);
    }
    SetPerSprite(state);
}
BENCHMARK(BM_DriverDrawFloor)->Unit(benchmark::kMicrosecond);

// Runs this program again under a virtual X server; its report is printed
// here. False when that cannot be done or the run fails.
bool RunUnderVirtualDisplay(int argc, char** argv)
{
    const std::string xvfbRun = Platform::FindOnPath("xvfb-run");
    const std::string self = Platform::GetExecutablePath();
    if (xvfbRun.empty() || self.empty())
    {
        std::fprintf(stderr, "bench_gui_sprites: no display and no xvfb-run\n");
        return false;
    }
    std::vector<std::string> arguments = {"-a", "-s", "-screen 0 1024x768x24 -noreset", self};
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    std::string output;
    const bool ok = Platform::RunForOutput(xvfbRun, arguments, output);
    std::fputs(output.c_str(), stdout);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return RunUnderVirtualDisplay(argc, argv) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
