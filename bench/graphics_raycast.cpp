// A ray cast against the triangles of a 100,000-triangle mesh on the NULL
// driver: the engine's polygon cast (the entity's node, its kept triangle
// selector, the hit list) beside Irrlicht's own getCollisionPoint on the
// same selector. Also the bounding-box casts over 1,000 nodes, keeping all
// hits and keeping the nearest.

#include "core/io/DataBag.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RayHitList.h"
#include "graphics/scene/GraphicalUnit.h"

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
class CBenchUnit : public Graphics::Scene::CGraphicalUnit
{
public:
    explicit CBenchUnit(int index)
    {
        char id[40];
        std::snprintf(id, sizeof(id), "00000000-0000-4000-8000-%012d", index);
        m_id = id;
    }
    const char* GetId() const override { return m_id.c_str(); }
    void SetId(const char* id) override { m_id = id; }
    void NewId() override {}
    const std::wstring& GetName() const override { return m_name; }
    void SetName(const std::wstring& name) override { m_name = name; }
    const CVector& GetPosition() const override { return m_position; }
    void SetPosition(const CVector& position) override
    {
        m_position = position;
        CGraphicalUnit::SetPosition(position);
    }
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override { m_rotation = rotation; }
    const CVector& GetScale() const override { return m_scale; }
    void SetScale(const CVector& scale) override { m_scale = scale; }
    void GetForce(CVector& force) override { force = CVector(); }
    void GetTorque(CVector& torque) override { torque = CVector(); }
    void GetVelocity(CVector& velocity) override { velocity = CVector(); }
    const std::wstring& GetScript() const override { return m_name; }
    void SetScript(const std::wstring&) override {}
    void SetFlags(uint32_t flags) override { m_flags = flags; }
    uint32_t GetFlags() const override { return m_flags; }
    CDataBag& GetData() override { return m_data; }
    const CDataBag& GetData() const override { return m_data; }
    CPhysicalEntity* GetPhysicalPart() override { return nullptr; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return this; }
    CSonicEntity* GetSonicPart() override { return nullptr; }

private:
    std::string m_id;
    std::wstring m_name;
    CVector m_position;
    CVector m_rotation;
    CVector m_scale{1.0f, 1.0f, 1.0f};
    uint32_t m_flags = 0;
    CDataBag m_data;
};

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
    SGridScene() : engine(nullptr), grid(1)
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

// 1,000 unit cubes in a row along the ray from (0, 0, 0) to (0, 0, 3000).
struct SBoxRow
{
    SBoxRow() : engine(nullptr)
    {
        engine.Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
        for (int index = 0; index < 1000; ++index)
        {
            units.push_back(std::make_unique<CBenchUnit>(index + 10));
            units.back()->SetPosition(CVector(0, 0, static_cast<float>(2 * index + 5)));
            engine.Add(units.back().get(), nullptr, "");
        }
    }
    ~SBoxRow()
    {
        for (auto& unit : units)
            engine.Remove(unit.get());
    }

    Graphics::CGraphicsEngine engine;
    std::vector<std::unique_ptr<CBenchUnit>> units;
};

// The bounding-box cast keeping every hit.
void BM_RayCastAllBoxes(benchmark::State& state)
{
    SBoxRow row;
    for (auto _ : state)
    {
        Graphics::CRayHitList hits;
        benchmark::DoNotOptimize(row.engine.RayCastAll(CVector(0, 0, 0), CVector(0, 0, 3000), 0, hits));
    }
}
BENCHMARK(BM_RayCastAllBoxes)->Unit(benchmark::kMicrosecond);

// The bounding-box cast asking for the nearest hit only.
void BM_RayCastFilterBoxes(benchmark::State& state)
{
    SBoxRow row;
    for (auto _ : state)
    {
        std::string nearest;
        benchmark::DoNotOptimize(row.engine.RayCastFilter(CVector(0, 0, 0), CVector(0, 0, 3000), 0, nearest));
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(BM_RayCastFilterBoxes)->Unit(benchmark::kMicrosecond);

} // namespace
