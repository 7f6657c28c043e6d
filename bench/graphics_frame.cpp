// One frame on the NULL driver over a scene of N cube nodes: the engine's
// step (device messages, the frame's draw events, the camera pass, the GUI
// pass, the tick) next to a bare Irrlicht loop over the same scene
// (run, beginScene, drawAll, endScene). N = 0 is the empty frame.

#include "graphics/engine/FrameEntity.h"
#include "graphics/engine/GraphicsEngine.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

namespace
{

using namespace irr;

// N cubes on a grid in front of a camera, as both loops draw them.
scene::ICameraSceneNode* BuildScene(scene::ISceneManager* scene, int64_t nodes)
{
    for (int64_t index = 0; index < nodes; ++index)
    {
        const f32 x = static_cast<f32>(index % 40) * 2.0f - 40.0f;
        const f32 y = static_cast<f32>(index / 40 % 25) * 2.0f - 25.0f;
        scene->addCubeSceneNode(1.0f, nullptr, -1, core::vector3df(x, y, 50.0f));
    }
    return scene->addCameraSceneNode(nullptr, core::vector3df(0, 0, -20), core::vector3df(0, 0, 50), -1,
                                     true);
}

class CBenchCamera final : public Graphics::IFrameCamera
{
public:
    explicit CBenchCamera(scene::ICameraSceneNode* node) : m_node(node) {}
    scene::ICameraSceneNode* GetCameraNode() const override { return m_node; }
    CRect GetViewPort() const override { return CRect(0, 0, 1, 1); }
    std::string GetCameraId() const override { return "camera"; }

private:
    scene::ICameraSceneNode* m_node;
};

void BM_EngineFrame(benchmark::State& state)
{
    Graphics::CGraphicsEngine engine(nullptr);
    engine.Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
    engine.SetBackgroundRenderingEnabled(true);
    CBenchCamera camera(BuildScene(engine.GetDevice()->getSceneManager(), state.range(0)));
    engine.SetActiveCamera(&camera);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Step());
    engine.Destroy();
}

void BM_BareIrrlichtFrame(benchmark::State& state)
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.WindowSize = core::dimension2d<u32>(640, 480);
    parameters.LoggingLevel = ELL_ERROR;
    IrrlichtDevice* device = createDeviceEx(parameters);
    video::IVideoDriver* driver = device->getVideoDriver();
    scene::ISceneManager* scene = device->getSceneManager();
    BuildScene(scene, state.range(0));
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(device->run());
        driver->beginScene(true, true, video::SColor(0, 0, 0, 0));
        scene->drawAll();
        driver->endScene();
    }
    device->drop();
}

} // namespace

BENCHMARK(BM_EngineFrame)->Arg(0)->Arg(1000);
BENCHMARK(BM_BareIrrlichtFrame)->Arg(0)->Arg(1000);
