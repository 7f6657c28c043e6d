// A ray cast against the triangles of a 100,000-triangle mesh on the NULL
// driver: the engine's polygon cast (the entity's node, its kept triangle
// selector, the hit list) beside Irrlicht's own getCollisionPoint on the
// same selector. Also the bounding-box casts over 1,000 nodes (all hits, and
// the nearest only) beside Irrlicht's own bounding-box pick over them, and
// IGraphics:rayCastAll from a script beside bare C functions doing the same
// cast and building the same table.

#include "app/EngineComposition.h"
#include "bench/ScriptLoop.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/RayHitList.h"
#include "graphics/scene/GraphicalUnit.h"
#include "tests/support/JoinedEntity.h"
#include "irrlicht/IrrlichtConversions.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace irr;

// A unit joined the way the world map joins an entity's parts.
using CBenchUnit = CJoinedEntity<Graphics::Scene::CGraphicalUnit>;

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
    const core::line3df ray(Graphics::ToIrrlicht(SGridScene::kStart), Graphics::ToIrrlicht(SGridScene::kEnd));
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

// 1,000 unit cubes in a row along z in the engine object's graphics engine
// (NULL driver), the scene the bounding-box casts run over, in C++ and from
// scripts. Two rays (the benchmarks' argument, the hits it makes): along
// the row through every cube, and across the row through one of them; both
// walk all the nodes.
class CBoxRow
{
public:
    CBoxRow() : m_engine(Halvane::EngineComposition())
    {
        CScriptManager::SetInstance(&m_engine);
        graphics = m_engine.GetPart<Graphics::CGraphicsEngine>();
        if (!graphics->Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true))
            std::abort();
        for (int index = 0; index < kUnits; ++index)
        {
            m_units.push_back(std::make_unique<CBenchUnit>(UnitId(index + 10)));
            m_units.back()->SetPosition(CVector(0, 0, static_cast<float>(2 * index + 5)));
            graphics->Add(m_units.back().get(), nullptr, "");
        }
        s_current = this;
    }
    ~CBoxRow()
    {
        s_current = nullptr;
        for (auto& unit : m_units)
            graphics->Remove(unit.get());
        CScriptManager::SetInstance(nullptr);
    }
    CBoxRow(const CBoxRow&) = delete;
    CBoxRow& operator=(const CBoxRow&) = delete;

    // The ray that makes the given hits (kUnits or 1).
    static CVector Start(int64_t hits) { return hits == kUnits ? CVector(0, 0, 0) : CVector(-10, 0, 1001); }
    static CVector End(int64_t hits) { return hits == kUnits ? CVector(0, 0, 3000) : CVector(10, 0, 1001); }
    // The same ray as a script expression.
    static std::string ScriptRay(int64_t hits)
    {
        const CVector start = Start(hits);
        const CVector end = End(hits);
        char text[160];
        std::snprintf(text, sizeof(text), "IMisc:vectorCreate(%g, %g, %g), IMisc:vectorCreate(%g, %g, %g)",
                      start.x, start.y, start.z, end.x, end.y, end.z);
        return text;
    }

    // False, with the benchmark skipped, when the ray does not make the
    // hits it is named for.
    bool CheckHits(benchmark::State& run) const
    {
        Graphics::CRayHitList found;
        graphics->RayCastAll(Start(run.range(0)), End(run.range(0)), 0, found);
        if (static_cast<int64_t>(found.GetCount()) == run.range(0))
            return true;
        run.SkipWithError("the ray does not make the hits it is named for");
        return false;
    }

    LuaPlus::LuaState* State() const { return m_engine.GetMainState(); }
    // The row of the running benchmark, for the bare C functions.
    static CBoxRow& Current() { return *s_current; }

    static constexpr int kUnits = 1000;
    Graphics::CGraphicsEngine* graphics = nullptr;
    // The hits of the running benchmark's ray, for the bare table.
    Graphics::CRayHitList hits;
    int64_t ray = kUnits;

private:
    static inline CBoxRow* s_current = nullptr;
    CScriptManager m_engine;
    std::vector<std::unique_ptr<CBenchUnit>> m_units;
};

void BM_RayCastAllBoxes(benchmark::State& run)
{
    CBoxRow row;
    if (!row.CheckHits(run))
        return;
    const CVector start = CBoxRow::Start(run.range(0));
    const CVector end = CBoxRow::End(run.range(0));
    for (auto _ : run)
    {
        Graphics::CRayHitList hits;
        benchmark::DoNotOptimize(row.graphics->RayCastAll(start, end, 0, hits));
        benchmark::DoNotOptimize(hits);
    }
}

// The bounding-box cast asking for the nearest hit only, as picking and
// line-of-sight tests do.
void BM_RayCastFilterBoxes(benchmark::State& run)
{
    CBoxRow row;
    if (!row.CheckHits(run))
        return;
    const CVector start = CBoxRow::Start(run.range(0));
    const CVector end = CBoxRow::End(run.range(0));
    for (auto _ : run)
    {
        std::string nearest;
        benchmark::DoNotOptimize(row.graphics->RayCastFilter(start, end, 0, nearest));
        benchmark::DoNotOptimize(nearest);
    }
}

// The floor: Irrlicht's own bounding-box pick over the same nodes, which
// keeps only the nearest node.
void BM_IrrlichtRayBoxes(benchmark::State& run)
{
    CBoxRow row;
    if (!row.CheckHits(run))
        return;
    scene::ISceneCollisionManager* collisions =
        row.graphics->GetDevice()->getSceneManager()->getSceneCollisionManager();
    const core::line3df ray(Graphics::ToIrrlicht(CBoxRow::Start(run.range(0))),
                            Graphics::ToIrrlicht(CBoxRow::End(run.range(0))));
    for (auto _ : run)
        benchmark::DoNotOptimize(collisions->getSceneNodeFromRayBB(ray, 0, false, nullptr));
}

// The {distance, entity} entries of the hits at 1 .. n, as the script
// function returns them.
void PushHitTable(lua_State* L, const Graphics::CRayHitList& hits)
{
    lua_createtable(L, static_cast<int>(hits.GetCount()), 0);
    int key = 0;
    for (const Graphics::SRayHit& hit : hits)
    {
        lua_createtable(L, 0, 2);
        lua_pushnumber(L, hit.distance);
        lua_setfield(L, -2, "distance");
        lua_pushlstring(L, hit.name.data(), hit.name.size());
        lua_setfield(L, -2, "entity");
        lua_rawseti(L, -2, ++key);
    }
}

// B:hitTable(): the table of hits found once beforehand, built by a bare
// C function.
int BareHitTable(lua_State* L)
{
    PushHitTable(L, CBoxRow::Current().hits);
    return 1;
}

// B:castAll(): the cast and its table, by a bare C function (the ray is
// fixed, so no arguments are read).
int BareCastAll(lua_State* L)
{
    CBoxRow& row = CBoxRow::Current();
    Graphics::CRayHitList hits;
    row.graphics->RayCastAll(CBoxRow::Start(row.ray), CBoxRow::End(row.ray), 0, hits);
    PushHitTable(L, hits);
    return 1;
}

// The body runs on the engine object's main state, with the ray in a and
// b, IGraphics in G and the bare functions on B; ten calls an iteration.
void RunBoxScript(benchmark::State& run, const char* body)
{
    CBoxRow row;
    if (!row.CheckHits(run))
        return;
    row.ray = run.range(0);
    row.graphics->RayCastAll(CBoxRow::Start(row.ray), CBoxRow::End(row.ray), 0, row.hits);
    lua_State* L = row.State()->GetCState();
    const luaL_Reg bare[] = {{"hitTable", &BareHitTable}, {"castAll", &BareCastAll}, {nullptr, nullptr}};
    luaL_register(L, "B", bare);
    lua_pop(L, 1);
    RunScriptLoop(run, row.State(), "local G, B = IGraphics, B local a, b = " + CBoxRow::ScriptRay(row.ray),
                  body, 10);
}

// IGraphics:rayCastAll: the cast, the hit table, the call.
void BM_ScriptRayCastAll(benchmark::State& run)
{
    RunBoxScript(run, "s = s + #G:rayCastAll(a, b, 0)");
}

// Floors: the same cast and table by a bare C function; the table alone.
void BM_ScriptBareCastAll(benchmark::State& run)
{
    RunBoxScript(run, "s = s + #B:castAll()");
}
void BM_ScriptBareHitTable(benchmark::State& run)
{
    RunBoxScript(run, "s = s + #B:hitTable()");
}

BENCHMARK(BM_RayCastAllBoxes)->ArgName("hits")->Arg(CBoxRow::kUnits)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RayCastFilterBoxes)
    ->ArgName("hits")
    ->Arg(CBoxRow::kUnits)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IrrlichtRayBoxes)->ArgName("hits")->Arg(CBoxRow::kUnits)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScriptRayCastAll)->ArgName("hits")->Arg(CBoxRow::kUnits)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScriptBareCastAll)->ArgName("hits")->Arg(CBoxRow::kUnits)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScriptBareHitTable)
    ->ArgName("hits")
    ->Arg(CBoxRow::kUnits)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

} // namespace
