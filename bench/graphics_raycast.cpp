// A ray cast against the triangles of a 100,000-triangle mesh on the NULL
// driver: the engine's polygon cast (the entity's node, its kept triangle
// selector, the hit list) beside Irrlicht's own getCollisionPoint on the
// same selector. Also the bounding-box cast over 1,000 nodes.

#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RayHitList.h"
#include "graphics/scene/GraphicalUnit.h"
#include "tests/graphics/scene/SceneTestEntity.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace irr;

// A unit joined the way the world map joins an entity's parts.
using CBenchUnit = CSceneTestEntity<Graphics::Scene::CGraphicalUnit>;

std::string UnitId(int index)
{
    char id[40];
    std::snprintf(id, sizeof(id), "00000000-0000-4000-8000-%012d", index);
    return id;
}

// 224 x 224 squares of two triangles (100,352) in the plane y = 0, from
// (0, 0) to (224, 224), cached under the name.
void CacheGrid(scene::ISceneManager* scene, const char* name)
{
    constexpr u32 kSquares = 224;
    auto* buffer = new scene::SMeshBuffer();
    const video::SColor white(255, 255, 255, 255);
    for (u32 z = 0; z <= kSquares; ++z)
    {
        for (u32 x = 0; x <= kSquares; ++x)
            buffer->Vertices.push_back(
                video::S3DVertex(static_cast<f32>(x), 0, static_cast<f32>(z), 0, 1, 0, white, 0, 0));
    }
    for (u32 z = 0; z < kSquares; ++z)
    {
        for (u32 x = 0; x < kSquares; ++x)
        {
            const u16 corner = static_cast<u16>(z * (kSquares + 1) + x);
            const u16 next = static_cast<u16>(corner + kSquares + 1);
            for (u16 index : {corner, next, static_cast<u16>(corner + 1), static_cast<u16>(corner + 1), next,
                              static_cast<u16>(next + 1)})
                buffer->Indices.push_back(index);
        }
    }
    buffer->recalculateBoundingBox();
    auto* mesh = new scene::SMesh();
    mesh->addMeshBuffer(buffer);
    buffer->drop();
    mesh->recalculateBoundingBox();
    auto* animated = new scene::SAnimatedMesh(mesh);
    mesh->drop();
    scene->getMeshCache()->addMesh(name, animated);
    animated->drop();
}

struct SGridScene
{
    SGridScene() : engine(nullptr), grid(UnitId(1))
    {
        engine.Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
        CacheGrid(engine.GetDevice()->getSceneManager(), "grid.mesh");
        grid.SetModelName(L"grid.mesh");
        engine.Add(&grid, nullptr, "");
        // The selector is built by the first cast and kept on the node.
        Graphics::CRayHitList hits;
        engine.RayCastPolygon(kStart, kEnd, {&grid}, hits, false);
        if (hits.IsEmpty())
            std::fprintf(stderr, "the ray misses the grid\n");
    }
    ~SGridScene() { engine.Remove(&grid); }

    static inline const CVector kStart{111.3f, 50.0f, 97.6f};
    static inline const CVector kEnd{112.1f, -50.0f, 98.2f};
    Graphics::CGraphicsEngine engine;
    CBenchUnit grid;
};

SGridScene& Scene()
{
    static SGridScene scene;
    return scene;
}

void BM_RayCastPolygon(benchmark::State& state)
{
    SGridScene& scene = Scene();
    const std::vector<Graphics::Scene::CGraphicalEntity*> targets{&scene.grid};
    for (auto _ : state)
    {
        Graphics::CRayHitList hits;
        benchmark::DoNotOptimize(
            scene.engine.RayCastPolygon(SGridScene::kStart, SGridScene::kEnd, targets, hits, false));
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_RayCastPolygon)->Unit(benchmark::kMicrosecond);

void BM_IrrlichtCollisionPoint(benchmark::State& state)
{
    SGridScene& scene = Scene();
    scene::ISceneCollisionManager* collisions =
        scene.engine.GetDevice()->getSceneManager()->getSceneCollisionManager();
    scene::ITriangleSelector* selector = scene.grid.GetSceneNode()->getTriangleSelector();
    const core::line3df ray(SGridScene::kStart.ToIrrlicht(), SGridScene::kEnd.ToIrrlicht());
    for (auto _ : state)
    {
        core::vector3df point;
        core::triangle3df triangle;
        scene::ISceneNode* node = nullptr;
        benchmark::DoNotOptimize(collisions->getCollisionPoint(ray, selector, point, triangle, node));
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK(BM_IrrlichtCollisionPoint)->Unit(benchmark::kMicrosecond);

// The bounding-box cast over 1,000 unit cubes in a row along the ray.
void BM_RayCastAllBoxes(benchmark::State& state)
{
    Graphics::CGraphicsEngine engine(nullptr);
    engine.Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
    std::vector<std::unique_ptr<CBenchUnit>> units;
    for (int index = 0; index < 1000; ++index)
    {
        units.push_back(std::make_unique<CBenchUnit>(UnitId(index + 10)));
        units.back()->SetPosition(CVector(0, 0, static_cast<float>(2 * index + 5)));
        engine.Add(units.back().get(), nullptr, "");
    }
    for (auto _ : state)
    {
        Graphics::CRayHitList hits;
        benchmark::DoNotOptimize(engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 3000), 0, hits));
    }
    for (auto& unit : units)
        engine.Remove(unit.get());
}
BENCHMARK(BM_RayCastAllBoxes)->Unit(benchmark::kMicrosecond);

} // namespace
