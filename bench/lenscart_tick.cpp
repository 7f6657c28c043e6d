// The camera module's tick with one camera flying forward among 1,000 world
// cameras (the processor looks its camera up by id on every tick, then
// reads its keys and the cursor and moves camera and target) beside the
// same step made from C++ on the camera held by pointer: the forward key's
// bindings held too, the cursor read, SetPosition and SetLookAt by the
// facing vector times speed times the elapsed time.

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalCamera.h"
#include "gui/manager/InputKeyMapOf.h"
#include "lenscart/CameraProcessor.h"
#include "script_api/world/EntityArguments.h"
#include "world/ManagedCamera.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace
{

using Camera = CManagedEntity<Graphics::Scene::CGraphicalCamera>;
using LensCart::CCameraProcessor;

constexpr int kCameras = 1000;

// Ids differ from their first characters on, as random UUIDs do.
std::string IdOf(int index)
{
    char id[40];
    std::snprintf(id, sizeof(id), "%08x-0000-4000-8000-%012d", static_cast<unsigned>(index) * 2654435761u,
                  index);
    return id;
}

// The world's cameras in a map by id, as the world keeps a collection; in
// place of the program's world from Install (after the engine, whose world
// installs its own lookup) to Uninstall.
class CCameraWorld final : public ScriptWorld::IEntityLookup
{
public:
    CCameraWorld() = default;
    ~CCameraWorld() { Uninstall(); }
    void Install()
    {
        m_previous = ScriptWorld::SetEntityLookup(this);
        m_installed = true;
    }
    void Uninstall()
    {
        if (m_installed)
            ScriptWorld::SetEntityLookup(m_previous);
        m_installed = false;
    }
    CCameraWorld(const CCameraWorld&) = delete;
    CCameraWorld& operator=(const CCameraWorld&) = delete;

    std::map<std::string, std::unique_ptr<Camera>, std::less<>> cameras;

    Misc::World::IEntityInterface* FindUnit(uint32_t typeId, std::string_view id) override
    {
        if (typeId != Misc::World::kTypeIdCamera)
            return nullptr;
        const auto found = cameras.find(id);
        return found != cameras.end() ? found->second.get() : nullptr;
    }
    Misc::World::IEntityInterface* FindAnyUnit(std::string_view id) override
    {
        return FindUnit(Misc::World::kTypeIdCamera, id);
    }

private:
    ScriptWorld::IEntityLookup* m_previous = nullptr;
    bool m_installed = false;
};

// The engine on the NULL driver with the cameras in its scene and the
// forward key action on.
struct SScene
{
    SScene()
    {
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        luaL_dostring(engine->GetMainState()->GetCState(),
                      "IGraphics:init('NULL', 640, 480, false, 16, false, false, false, 100, false)");
        graphics = engine->GetPart<Graphics::CGraphicsEngine>();
        graphics->SetCursorPosition(0.5f, 0.5f);
        // In front of the lookup of the engine object's world.
        world.Install();
        for (int index = 0; index < kCameras; ++index)
        {
            auto camera = std::make_unique<Camera>();
            camera->SetId(IdOf(index).c_str());
            camera->SetLookAt(CVector(0, 0, 10));
            graphics->Add(camera.get(), nullptr, std::string());
            world.cameras[IdOf(index)] = std::move(camera);
        }
        Graphics::GUI::CInputKeyMap& keys = Graphics::GUI::InputKeyMapOf(*graphics->GetGuiManager());
        keys.AddActionKeyCode(CCameraProcessor::kMoveForward, L"", 0x57, false, false);
        keys.SetActionOn(CCameraProcessor::kMoveForward, true);
    }
    ~SScene()
    {
        world.cameras.clear();
        world.Uninstall();
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::unique_ptr<CScriptManager> engine;
    Graphics::CGraphicsEngine* graphics = nullptr;
    CCameraWorld world;
};

void BM_ModuleTick(benchmark::State& state)
{
    SScene scene;
    CCameraProcessor processor;
    processor.SetFrameRate(2000);
    processor.Start(IdOf(kCameras / 2), 0);
    CCameraProcessor::Event tick;
    tick.engine = scene.engine.get();
    uint32_t time = 0;
    for (auto _ : state)
    {
        tick.previousTime = time;
        time += 16;
        tick.time = time;
        processor.OnEvent(tick);
    }
    benchmark::DoNotOptimize(scene.world.cameras.begin()->second->GetPosition());
}
BENCHMARK(BM_ModuleTick);

void BM_DirectMove(benchmark::State& state)
{
    SScene scene;
    Camera& camera = *scene.world.cameras[IdOf(kCameras / 2)];
    const auto* forward = Graphics::GUI::InputKeyMapOf(*scene.graphics->GetGuiManager())
                              .FindBindings(CCameraProcessor::kMoveForward);
    const float distance = 10.0f * 0.016f;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(scene.graphics->GetCursorPosition());
        if (!Graphics::GUI::CInputKeyMap::IsAnyOn(*forward))
            continue;
        CVector facing = camera.GetForwardDirection();
        facing.y = 0.0f;
        const CVector p = camera.GetPosition();
        const CVector target = camera.GetLookAt();
        const CVector step(facing.x * distance, facing.y * distance, facing.z * distance);
        camera.SetPosition(CVector(p.x + step.x, p.y + step.y, p.z + step.z));
        camera.SetLookAt(CVector(target.x + step.x, target.y + step.y, target.z + step.z));
    }
    benchmark::DoNotOptimize(camera.GetPosition());
}
BENCHMARK(BM_DirectMove);

} // namespace
