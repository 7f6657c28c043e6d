// 10,000 entities whose settings change every frame, on the NULL driver:
// the entities' own setters (position, rotation, scale and a material
// colour, stored and then applied to the node, through the entity
// interface as the world's managed entities call them) beside the bare
// Irrlicht node setters making the same changes on the same nodes. Also the creation of
// 10,000 entities with their nodes beside 10,000 bare cube nodes.

#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalTrigger.h"
#include "tests/support/JoinedEntity.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace irr;

// A trigger joined the way the world joins an entity's parts: it stores
// identity and placement, then hands the value to the graphical part.
class CBenchEntity : public CJoinedEntity<Graphics::Scene::CGraphicalTrigger>
{
public:
    explicit CBenchEntity(int index) : CJoinedEntity(IdOf(index)) {}

private:
    static std::string IdOf(int index)
    {
        char id[40];
        std::snprintf(id, sizeof(id), "00000000-0000-4000-8000-%012d", index);
        return id;
    }
};

constexpr int kEntities = 10000;

std::unique_ptr<Graphics::CGraphicsEngine> MakeEngine()
{
    auto engine = std::make_unique<Graphics::CGraphicsEngine>(nullptr);
    engine->Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
    return engine;
}

// Entities with a marker cube node each (flags set), material 0 in use.
std::vector<std::unique_ptr<CBenchEntity>> MakeEntities(Graphics::CGraphicsEngine& engine, int count)
{
    std::vector<std::unique_ptr<CBenchEntity>> entities;
    entities.reserve(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index)
    {
        auto entity = std::make_unique<CBenchEntity>(index);
        entity->SetFlags(1);
        entity->SetMaterialType(0, 0);
        engine.Add(entity.get(), nullptr, std::string());
        entities.push_back(std::move(entity));
    }
    return entities;
}

// The frame's changes of entity `index`.
struct SChange
{
    CVector position;
    CVector rotation;
    CVector scale;
    CColor color;
};

SChange ChangeFor(int index, int frame)
{
    const float t = static_cast<float>((index + frame) % 360);
    return {CVector(t, t * 0.5f, -t), CVector(0.0f, t, 0.0f), CVector(1.0f + t * 0.001f, 1.0f, 1.0f),
            CColor(t / 360.0f, 0.5f, 0.25f, 1.0f)};
}

void BM_EntitySettingsPerFrame(benchmark::State& state)
{
    auto engine = MakeEngine();
    auto entities = MakeEntities(*engine, kEntities);
    int frame = 0;
    for (auto _ : state)
    {
        for (int index = 0; index < kEntities; ++index)
        {
            const SChange change = ChangeFor(index, frame);
            Misc::World::IEntityInterface& entity = *entities[static_cast<size_t>(index)];
            entity.SetPosition(change.position);
            entity.SetRotation(change.rotation);
            entity.SetScale(change.scale);
            entities[static_cast<size_t>(index)]->SetMaterialDiffuseColor(change.color, 0);
        }
        ++frame;
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    entities.clear();
    engine->Destroy();
}
BENCHMARK(BM_EntitySettingsPerFrame)->Unit(benchmark::kMillisecond);

void BM_BareNodeSettersPerFrame(benchmark::State& state)
{
    // The very nodes the entities made, so that both loops touch the same
    // memory.
    auto engine = MakeEngine();
    auto entities = MakeEntities(*engine, kEntities);
    std::vector<scene::ISceneNode*> nodes;
    for (const auto& entity : entities)
        nodes.push_back(entity->GetSceneNode());
    int frame = 0;
    for (auto _ : state)
    {
        for (int index = 0; index < kEntities; ++index)
        {
            const SChange change = ChangeFor(index, frame);
            scene::ISceneNode* node = nodes[static_cast<size_t>(index)];
            node->setPosition(core::vector3df(change.position.x, change.position.y, change.position.z));
            node->setRotation(core::vector3df(change.rotation.x, change.rotation.y, change.rotation.z));
            node->setScale(core::vector3df(change.scale.x, change.scale.y, change.scale.z));
            node->getMaterial(0).DiffuseColor = video::SColor(255, static_cast<u32>(change.color.r * 255.0f),
                                                              static_cast<u32>(change.color.g * 255.0f),
                                                              static_cast<u32>(change.color.b * 255.0f));
        }
        ++frame;
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    entities.clear();
    engine->Destroy();
}
BENCHMARK(BM_BareNodeSettersPerFrame)->Unit(benchmark::kMillisecond);

void BM_CreateEntities(benchmark::State& state)
{
    auto engine = MakeEngine();
    for (auto _ : state)
    {
        auto entities = MakeEntities(*engine, kEntities);
        state.PauseTiming();
        entities.clear();
        engine->ClearScene();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    engine->Destroy();
}
BENCHMARK(BM_CreateEntities)->Unit(benchmark::kMillisecond);

void BM_CreateBareCubeNodes(benchmark::State& state)
{
    auto engine = MakeEngine();
    scene::ISceneManager* scene = engine->GetDevice()->getSceneManager();
    for (auto _ : state)
    {
        for (int index = 0; index < kEntities; ++index)
            scene->addCubeSceneNode(1.0f, nullptr, 512);
        state.PauseTiming();
        scene->clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
    engine->Destroy();
}
BENCHMARK(BM_CreateBareCubeNodes)->Unit(benchmark::kMillisecond);

} // namespace
