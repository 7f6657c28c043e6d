// halvane-meshreader: the engine's model reader process. It reads model
// files with Irrlicht's own loaders on a null device, out of the engine's
// process, because those loaders trust the counts, offsets and indices of
// the files they read. The engine starts it under resource limits, sends it
// one model at a time and rebuilds each mesh from the description sent back
// after checking it (see irrlicht/MeshReaderProtocol.h). Whatever a
// hostile file does to this process stays in it.
#include "app/meshreader/ReaderArchive.h"
#include "app/meshreader/ReaderChannel.h"
#include "irrlicht/MeshDescription.h"
#include "irrlicht/MeshReaderProtocol.h"
#include "irrlicht/MeshWire.h"

#include <irrlicht.h>

#include <malloc.h>
#include <string>

namespace
{

using namespace irr;
namespace Protocol = Graphics::MeshReaderProtocol;

// The largest model file the engine sends, with its name and parameters.
constexpr size_t kMaxRequest = 300u * 1024 * 1024;

// Meshes keep only the names of their textures: every image "loads" as one
// pixel, without a byte of the file being read.
class CNameOnlyImageLoader : public video::IImageLoader
{
public:
    explicit CNameOnlyImageLoader(video::IVideoDriver* driver) : m_driver(driver) {}

    bool isALoadableFileExtension(const io::path&) const override { return true; }
    bool isALoadableFileFormat(io::IReadFile*) const override { return true; }
    video::IImage* loadImage(io::IReadFile*) const override
    {
        return m_driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(1, 1));
    }

private:
    video::IVideoDriver* m_driver;
};

void SetParameters(io::IAttributes* parameters, Graphics::CWireReader& request)
{
    const uint32_t count = request.Count(5);
    for (uint32_t index = 0; index < count && !request.Failed(); ++index)
    {
        const std::string name = request.Text(4096);
        const uint8_t kind = request.U8();
        switch (kind)
        {
        case Protocol::kBool:
            parameters->setAttribute(name.c_str(), request.U8() != 0);
            break;
        case Protocol::kInt:
            parameters->setAttribute(name.c_str(), static_cast<s32>(request.U32()));
            break;
        case Protocol::kFloat:
            parameters->setAttribute(name.c_str(), request.F32());
            break;
        default:
            parameters->setAttribute(name.c_str(), request.Text(64 * 1024).c_str());
            break;
        }
    }
}

// The engine's answers for files it expects the loader to open (those the
// models before opened), given with the model so that they are not asked.
void TellAnswers(MeshReader::CReaderArchive& archive, Graphics::CWireReader& request)
{
    const uint32_t count = request.Count(5);
    for (uint32_t index = 0; index < count && !request.Failed(); ++index)
    {
        const std::string name = request.Text(4096);
        const uint8_t status = request.U8();
        if (status != Protocol::kAbsent && status != Protocol::kImage)
            request.Fail();
        else
            archive.Tell(name.c_str(), status == Protocol::kImage);
    }
}

} // namespace

int main()
{
    // One model after another allocates and frees the same large blocks:
    // kept in the heap, they are not handed back to the system and faulted
    // in again for every model.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    SIrrlichtCreationParameters creation;
    creation.DriverType = video::EDT_NULL;
    creation.LoggingLevel = ELL_NONE;
    IrrlichtDevice* device = createDeviceEx(creation);
    if (device == nullptr)
        return 2;
    device->getLogger()->setLogLevel(ELL_NONE);
    scene::ISceneManager* scene = device->getSceneManager();
    video::IVideoDriver* driver = device->getVideoDriver();
    io::IFileSystem* files = device->getFileSystem();

    MeshReader::CReaderChannel channel(3, 4);
    auto* archive = new MeshReader::CReaderArchive(channel);
    files->addFileArchive(archive);
    // Asked before any other archive.
    const u32 last = files->getFileArchiveCount() - 1;
    files->moveFileArchive(last, -static_cast<s32>(last));
    auto* images = new CNameOnlyImageLoader(driver);
    driver->addExternalImageLoader(images);
    images->drop();

    int exitCode = 0;
    uint32_t tag = 0;
    std::string storage;
    std::string_view payload;
    while (channel.Receive(tag, storage, payload, kMaxRequest))
    {
        if (tag != Protocol::kLoad)
        {
            exitCode = 3;
            break;
        }
        Graphics::CWireReader request(payload);
        const std::string name = request.Text(64 * 1024);
        SetParameters(scene->getParameters(), request);
        archive->Forget();
        TellAnswers(*archive, request);
        const uint32_t size = request.Count(1);
        const std::string_view bytes = request.Raw(size);
        if (request.Failed())
        {
            exitCode = 3;
            break;
        }
        // Irrlicht's memory file only reads the bytes it is given.
        io::IReadFile* file = files->createMemoryReadFile(
            const_cast<char*>(bytes.data()), static_cast<s32>(bytes.size()), name.c_str(), false);
        scene::IAnimatedMesh* mesh = scene->getMesh(file);
        file->drop();
        if (archive->Broken())
            break;
        std::string description;
        std::string reason = "Irrlicht's loader made no mesh of the file";
        if (mesh != nullptr)
            Graphics::CMeshDescription::ClearUnreadablePositions(mesh);
        const bool described =
            mesh != nullptr && Graphics::CMeshDescription::Describe(mesh, description, reason);
        Graphics::CWireWriter failure;
        failure.Text(reason);
        const bool sent = described ? channel.Send(Protocol::kResult, description)
                                    : channel.Send(Protocol::kFailure, failure.Bytes());
        scene->getMeshCache()->clear();
        driver->removeAllTextures();
        if (!sent)
            break;
    }
    device->drop();
    return exitCode;
}
