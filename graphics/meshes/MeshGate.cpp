#include "graphics/meshes/MeshGate.h"

#include "core/foundation/Logger.h"
#include "irrlicht/ExtensionMappers.h"
#include "irrlicht/FileStandIn.h"
#include "irrlicht/ImageGate.h"
#include "irrlicht/MeshDescription.h"
#include "irrlicht/MeshReaderProtocol.h"
#include "irrlicht/ModelChecks.h"

#include <irrlicht.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace Graphics
{

using namespace irr;
namespace Protocol = MeshReaderProtocol;

namespace
{

// The shader scripts Irrlicht's map loader opens for every map, and the
// largest one read.
const char* const kShaderScripts[] = {"scripts/common.shader", "scripts/sfx.shader",
                                      "scripts/gfx.shader",    "scripts/liquid.shader",
                                      "scripts/models.shader", "scripts/walls.shader"};
constexpr long kMaxShaderScriptBytes = 4L * 1024 * 1024;
// The largest file a model opens while it is read (a material library).
constexpr long kMaxServedFileBytes = 64L * 1024 * 1024;
// The largest file buffer kept for the next model.
constexpr size_t kMaxKeptFileBytes = 16u * 1024 * 1024;

std::string& Refusal()
{
    thread_local std::string refusal;
    return refusal;
}

// The whole file, or false when it is larger than the limit or unreadable.
bool ReadAll(io::IReadFile* file, long limit, std::string& bytes)
{
    const long size = file->getSize();
    if (size < 0 || size > limit)
        return false;
    // Every byte is read over: a buffer kept from an earlier file is not
    // cleared first.
    bytes.resize(static_cast<size_t>(size));
    return file->seek(0) && (size == 0 || file->read(bytes.data(), static_cast<u32>(size)) == size);
}

} // namespace

CMeshGate::CMeshGate(scene::ISceneManager* scene, CMeshReaderClient::SSettings settings)
    : m_scene(scene), m_reader(std::move(settings)), m_refusal(new scene::SAnimatedMesh())
{
}

CMeshGate::~CMeshGate()
{
    m_refusal->drop();
}

const std::string& CMeshGate::LastRefusal()
{
    return Refusal();
}

bool CMeshGate::isALoadableFileExtension(const io::path&) const
{
    return true;
}

scene::IMeshLoader* CMeshGate::IrrlichtLoaderFor(const io::path& name) const
{
    // Asked as Irrlicht asks them: the loader added last first.
    for (u32 index = m_scene->getMeshLoaderCount(); index > 0; --index)
    {
        scene::IMeshLoader* loader = m_scene->getMeshLoader(index - 1);
        if (loader != nullptr && loader != this && loader->isALoadableFileExtension(name))
            return loader;
    }
    return nullptr;
}

CMeshGate::ERoute CMeshGate::RouteOf(const io::path& name, io::path& readAs) const
{
    readAs = name;
    for (size_t index = m_extensions.size(); index > 0; --index)
    {
        if (EndsWithExtension(name, m_extensions[index - 1].first))
        {
            readAs = name + m_extensions[index - 1].second;
            break;
        }
    }
    if (core::hasFileExtension(readAs, "md2"))
        return ERoute::Md2;
    if (core::hasFileExtension(readAs, "md3"))
        return ERoute::Md3;
    if (core::hasFileExtension(readAs, "bsp"))
        return ERoute::Bsp;
    // Quake 3 scripts are claimed by the map loader but are no models.
    if (core::hasFileExtension(readAs, "shader", "cfg"))
        return ERoute::Refused;
    return IrrlichtLoaderFor(readAs) != nullptr ? ERoute::Reader : ERoute::Refused;
}

bool CMeshGate::MapExtension(const io::path& newExtension, const io::path& knownExtension)
{
    io::path readAs;
    if (RouteOf(io::path("gate") + knownExtension, readAs) == ERoute::Refused)
        return false;
    m_extensions.emplace_back(newExtension, knownExtension);
    return true;
}

scene::IAnimatedMesh* CMeshGate::createMesh(io::IReadFile* file)
{
    std::string& refusal = Refusal();
    refusal.clear();
    if (file == nullptr)
        return nullptr;
    scene::IAnimatedMesh* mesh = nullptr;
    // No exception may cross back into Irrlicht.
    try
    {
        io::path readAs;
        const ERoute route = RouteOf(file->getFileName(), readAs);
        std::string bytes;
        if (route == ERoute::Refused)
            refusal = "no model reader reads files of this kind";
        else if (!ReadAll(file, kMaxFileBytes, route == ERoute::Reader ? m_fileBytes : bytes))
            refusal = "the file is unreadable or larger than " + std::to_string(kMaxFileBytes) + " bytes";
        else if (route == ERoute::Reader)
            mesh = ReadInReader(readAs, m_fileBytes, refusal);
        else
            mesh = ReadInProcess(route, readAs, std::move(bytes), refusal);
        if (m_fileBytes.size() > kMaxKeptFileBytes)
            std::string().swap(m_fileBytes);
    }
    catch (const std::exception& error)
    {
        refusal = error.what();
        mesh = nullptr;
    }
    if (mesh == nullptr)
    {
        if (refusal.empty())
            refusal = "the file holds no mesh";
        // No loader behind the gate is asked.
        m_refusal->grab();
        mesh = m_refusal;
    }
    return mesh;
}

scene::IAnimatedMesh* CMeshGate::ReadInProcess(ERoute route, const io::path& readAs, std::string bytes,
                                               std::string& reason)
{
    const bool checked = route == ERoute::Md2   ? CModelChecks::CheckMd2(bytes, reason)
                         : route == ERoute::Md3 ? CModelChecks::CheckMd3(bytes, reason)
                                                : CModelChecks::CheckBsp(bytes, reason);
    if (!checked)
        return nullptr;
    scene::IMeshLoader* loader = IrrlichtLoaderFor(readAs);
    if (loader == nullptr)
    {
        reason = "no loader reads files of this kind";
        return nullptr;
    }
    io::IFileSystem* files = m_scene->getFileSystem();
    // The shader scripts a map opens are read here, checked, and stand in
    // for their files while the map loads (an unsound one as an empty file).
    std::vector<std::unique_ptr<CFileStandIn>> scripts;
    if (route == ERoute::Bsp)
    {
        for (const char* name : kShaderScripts)
        {
            io::IReadFile* script = files->existFile(name) ? files->createAndOpenFile(name) : nullptr;
            if (script == nullptr)
                continue;
            std::string text;
            std::string why = "larger than " + std::to_string(kMaxShaderScriptBytes) + " bytes or unreadable";
            const bool sound =
                ReadAll(script, kMaxShaderScriptBytes, text) && CModelChecks::CheckQuake3Text(text, why);
            script->drop();
            if (!sound)
            {
                text.clear();
                Misc::CLogger::WriteSystem(L"[CMeshGate::createMesh] Shader script refused [%S]: %S", name,
                                           why);
                std::fprintf(stderr, "[CMeshGate::createMesh] Shader script refused [%s]: %s\n", name,
                             why.c_str());
            }
            scripts.push_back(std::make_unique<CFileStandIn>(files, name, std::move(text)));
        }
    }
    io::IReadFile* checkedFile =
        files->createMemoryReadFile(bytes.data(), static_cast<s32>(bytes.size()), readAs, false);
    scene::IAnimatedMesh* mesh = loader->createMesh(checkedFile);
    checkedFile->drop();
    if (mesh == nullptr)
        reason = "Irrlicht's loader made no mesh of the file";
    return mesh;
}

uint8_t CMeshGate::Serve(const std::string& name, std::string& bytes) const
{
    io::IFileSystem* files = m_scene->getFileSystem();
    const io::path path = name.c_str();
    // An image is only named by a mesh: the reader needs to know that it
    // exists, as Irrlicht's texture lookup here would find it.
    video::IVideoDriver* driver = m_scene->getVideoDriver();
    for (u32 index = 0; driver != nullptr && index < driver->getImageLoaderCount(); ++index)
    {
        video::IImageLoader* loader = driver->getImageLoader(index);
        if (loader != nullptr && dynamic_cast<CImageGate*>(loader) == nullptr &&
            loader->isALoadableFileExtension(path))
            return files->existFile(path) ? Protocol::kImage : Protocol::kAbsent;
    }
    // Any other file that exists but that the engine cannot read (a folder,
    // one too large) is an empty file to the reader's loader, which would
    // otherwise read it from the disk itself.
    bytes.clear();
    if (!files->existFile(path))
        return Protocol::kAbsent;
    io::IReadFile* file = files->createAndOpenFile(path);
    if (file != nullptr && !ReadAll(file, kMaxServedFileBytes, bytes))
        bytes.clear();
    if (file != nullptr)
        file->drop();
    return Protocol::kBytes;
}

scene::IAnimatedMesh* CMeshGate::ReadInReader(const io::path& readAs, const std::string& bytes,
                                              std::string& reason)
{
    if (core::hasFileExtension(readAs, "obj") && !CModelChecks::CheckObj(bytes, reason))
        return nullptr;
    if (core::hasFileExtension(readAs, "b3d") && !CModelChecks::CheckB3dChunks(bytes, reason))
        return nullptr;
    if (core::hasFileExtension(readAs, "3ds") && !CModelChecks::Check3dsChunks(bytes, reason))
        return nullptr;
    // The reader's loaders see the scene's loader parameters.
    std::vector<CMeshReaderClient::SParameter> parameters;
    io::IAttributes* attributes = m_scene->getParameters();
    for (u32 index = 0; index < attributes->getAttributeCount(); ++index)
    {
        CMeshReaderClient::SParameter parameter{attributes->getAttributeName(index), Protocol::kString, "",
                                                0};
        switch (attributes->getAttributeType(index))
        {
        case io::EAT_BOOL:
            parameter.kind = Protocol::kBool;
            parameter.number = attributes->getAttributeAsBool(index) ? 1 : 0;
            break;
        case io::EAT_INT:
            parameter.kind = Protocol::kInt;
            parameter.number = static_cast<uint32_t>(attributes->getAttributeAsInt(index));
            break;
        case io::EAT_FLOAT:
        {
            parameter.kind = Protocol::kFloat;
            const f32 value = attributes->getAttributeAsFloat(index);
            std::memcpy(&parameter.number, &value, sizeof value);
            break;
        }
        case io::EAT_STRING:
            parameter.text = attributes->getAttributeAsString(index).c_str();
            break;
        default:
            continue;
        }
        parameters.push_back(std::move(parameter));
    }
    if (!m_reader.Read(
            readAs.c_str(), parameters, bytes,
            [this](const std::string& name, std::string& content) { return Serve(name, content); },
            m_description, reason))
        return nullptr;
    scene::IAnimatedMesh* mesh = CMeshDescription::Rebuild(m_scene, m_description, reason);
    if (mesh == nullptr)
        reason = "the model reader's description was refused: " + reason;
    return mesh;
}

} // namespace Graphics
