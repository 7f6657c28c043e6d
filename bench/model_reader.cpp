// Models through the model reader process next to Irrlicht's direct load of
// the same bytes, in one run: a skinned B3D of 2,000 vertices and a binary X
// of 4,000. The reader path is the engine's: the mesh gate sends the file to
// the reader (kept alive between models), checks the description and
// rebuilds the mesh. "Cold" starts a new reader for the model, as the first
// model of a run does. "Describe" and "Rebuild" time the two halves of the
// hand-over alone (the reader describing the mesh Irrlicht made; the engine
// checking and rebuilding it): the reader's load is Irrlicht's direct load
// plus the describing, and the engine's rebuild follows it, so their sum over
// the direct load is the least the reader path can cost per model.
//
// The machine is shared: each figure is the median of several repetitions
// (9 unless the command line says otherwise), reported with its spread.
#include "irrlicht/MeshDescription.h"
#include "graphics/meshes/MeshGate.h"
#include "tests/support/ModelFixtures.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace irr;

const std::string& B3d()
{
    static const std::string bytes = ModelFixtures::SkinnedB3d(1000);
    return bytes;
}

const std::string& X()
{
    static const std::string bytes = ModelFixtures::BinaryX(100, 40);
    return bytes;
}

class CDevice
{
public:
    explicit CDevice(bool gated)
    {
        SIrrlichtCreationParameters creation;
        creation.DriverType = video::EDT_NULL;
        creation.LoggingLevel = ELL_NONE;
        m_device = createDeviceEx(creation);
        if (gated)
        {
            m_gate = new Graphics::CMeshGate(Scene(), Graphics::CMeshReaderClient::SSettings());
            Scene()->addExternalMeshLoader(m_gate);
            m_gate->drop();
        }
    }
    ~CDevice() { m_device->drop(); }
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    scene::ISceneManager* Scene() const { return m_device->getSceneManager(); }

    // Loads count models of the bytes (each under a name of its own) and
    // lets go of them; false when one did not load.
    bool Load(const std::string& bytes, const char* extension, int count)
    {
        bool loaded = true;
        std::string copy = bytes;
        for (int index = 0; index < count; ++index)
        {
            const std::string name = "/bench/model" + std::to_string(index) + extension;
            io::IReadFile* file = m_device->getFileSystem()->createMemoryReadFile(
                copy.data(), static_cast<s32>(copy.size()), name.c_str(), false);
            scene::IAnimatedMesh* mesh = Scene()->getMesh(file);
            file->drop();
            loaded = loaded && mesh != nullptr && (m_gate == nullptr || !m_gate->IsRefusal(mesh));
        }
        Scene()->getMeshCache()->clear();
        return loaded;
    }

private:
    IrrlichtDevice* m_device = nullptr;
    Graphics::CMeshGate* m_gate = nullptr;
};

void Run(benchmark::State& state, bool gated, const std::string& bytes, const char* extension, int count)
{
    CDevice device(gated);
    // The reader is started before the timing.
    if (!device.Load(bytes, extension, 1))
        state.SkipWithError("the model did not load");
    for (auto _ : state)
    {
        if (!device.Load(bytes, extension, count))
            state.SkipWithError("the model did not load");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_B3dDirect(benchmark::State& state)
{
    Run(state, false, B3d(), ".b3d", static_cast<int>(state.range(0)));
}
void BM_B3dReader(benchmark::State& state)
{
    Run(state, true, B3d(), ".b3d", static_cast<int>(state.range(0)));
}
void BM_XDirect(benchmark::State& state)
{
    Run(state, false, X(), ".x", static_cast<int>(state.range(0)));
}
void BM_XReader(benchmark::State& state)
{
    Run(state, true, X(), ".x", static_cast<int>(state.range(0)));
}

// One model with a reader started for it.
void BM_B3dReaderCold(benchmark::State& state)
{
    for (auto _ : state)
    {
        CDevice device(true);
        if (!device.Load(B3d(), ".b3d", 1))
            state.SkipWithError("the model did not load");
    }
}
void BM_B3dDirectWithDevice(benchmark::State& state)
{
    for (auto _ : state)
    {
        CDevice device(false);
        if (!device.Load(B3d(), ".b3d", 1))
            state.SkipWithError("the model did not load");
    }
}

// The description of the bytes' mesh as Irrlicht loads it directly.
std::string DescriptionOf(const std::string& bytes, const char* extension)
{
    CDevice device(false);
    std::string copy = bytes;
    const std::string name = std::string("/bench/described") + extension;
    io::IReadFile* file = device.Scene()->getFileSystem()->createMemoryReadFile(
        copy.data(), static_cast<s32>(copy.size()), name.c_str(), false);
    scene::IAnimatedMesh* mesh = device.Scene()->getMesh(file);
    file->drop();
    std::string description;
    std::string reason;
    if (mesh == nullptr || !Graphics::CMeshDescription::Describe(mesh, description, reason))
        description.clear();
    return description;
}

void Describe(benchmark::State& state, const std::string& bytes, const char* extension)
{
    CDevice device(false);
    std::string copy = bytes;
    const std::string name = std::string("/bench/described") + extension;
    io::IReadFile* file = device.Scene()->getFileSystem()->createMemoryReadFile(
        copy.data(), static_cast<s32>(copy.size()), name.c_str(), false);
    scene::IAnimatedMesh* mesh = device.Scene()->getMesh(file);
    file->drop();
    if (mesh == nullptr)
        state.SkipWithError("the model did not load");
    std::string description;
    std::string reason;
    for (auto _ : state)
    {
        if (mesh == nullptr || !Graphics::CMeshDescription::Describe(mesh, description, reason))
            state.SkipWithError("the mesh was not described");
        benchmark::DoNotOptimize(description.data());
    }
}

void Rebuild(benchmark::State& state, const std::string& bytes, const char* extension)
{
    const std::string description = DescriptionOf(bytes, extension);
    CDevice device(false);
    std::string reason;
    for (auto _ : state)
    {
        scene::IAnimatedMesh* mesh = Graphics::CMeshDescription::Rebuild(device.Scene(), description, reason);
        if (mesh == nullptr)
        {
            state.SkipWithError("the description was refused");
            break;
        }
        mesh->drop();
    }
}

void BM_B3dDescribe(benchmark::State& state)
{
    Describe(state, B3d(), ".b3d");
}
void BM_B3dRebuild(benchmark::State& state)
{
    Rebuild(state, B3d(), ".b3d");
}
void BM_XDescribe(benchmark::State& state)
{
    Describe(state, X(), ".x");
}
void BM_XRebuild(benchmark::State& state)
{
    Rebuild(state, X(), ".x");
}

BENCHMARK(BM_B3dDirect)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_B3dReader)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XDirect)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XReader)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_B3dDirectWithDevice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_B3dReaderCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_B3dDescribe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_B3dRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XDescribe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XRebuild)->Unit(benchmark::kMillisecond);

} // namespace

// Repetitions and medians unless the command line asks otherwise (its flags
// come after these and win).
int main(int argc, char** argv)
{
    std::vector<char*> arguments{argv[0]};
    std::string repetitions = "--benchmark_repetitions=9";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    arguments.push_back(repetitions.data());
    arguments.push_back(aggregates.data());
    for (int index = 1; index < argc; ++index)
        arguments.push_back(argv[index]);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
