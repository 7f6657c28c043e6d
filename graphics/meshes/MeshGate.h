#pragma once

#include "graphics/meshes/MeshReaderClient.h"

#include <IMeshLoader.h>
#include <path.h>

#include <string>
#include <utility>
#include <vector>

namespace irr::scene
{
class ISceneManager;
}

namespace Graphics
{

// The one way into Irrlicht's mesh loading. Added last to the scene
// manager, the gate is the first loader Irrlicht asks for every file,
// whatever its name; no model byte reaches one of Irrlicht's loaders in the
// engine's process unchecked:
// - MD2, MD3 and Quake 3 maps (whose mesh types scripts use) are checked
//   structurally (CModelChecks) and then read by Irrlicht's own loader; the
//   shader scripts a map opens are checked the same way and stood in for
//   their files while it loads;
// - every other format an Irrlicht loader claims goes to the model reader
//   process (CMeshReaderClient), and the mesh is rebuilt from its checked
//   description (CMeshDescription);
// - a file that no loader claims is refused.
// Irrlicht offers a file that one loader did not read to every other loader
// that claims its name, and those crash even on an empty file: so the gate
// never answers null. A refused file is answered with the gate's refusal
// mesh (empty), which the engine takes out of the mesh cache again and
// treats as no mesh (IsRefusal).
class CMeshGate : public irr::scene::IMeshLoader
{
public:
    // The scene manager owns the gate (it is not grabbed).
    CMeshGate(irr::scene::ISceneManager* scene, CMeshReaderClient::SSettings settings);
    ~CMeshGate() override;
    CMeshGate(const CMeshGate&) = delete;
    CMeshGate& operator=(const CMeshGate&) = delete;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::scene::IAnimatedMesh* createMesh(irr::io::IReadFile* file) override;

    // Files whose names end in the new extension, as written, are read as
    // files of the known one are; false when no loader reads the known one.
    // Extensions begin with ".".
    bool MapExtension(const irr::io::path& newExtension, const irr::io::path& knownExtension);

    // Whether the mesh is the answer to a refused file.
    bool IsRefusal(const irr::scene::IAnimatedMesh* mesh) const { return mesh == m_refusal; }

    // Why the last model this thread asked for was refused (empty when it
    // was read).
    static const std::string& LastRefusal();

    CMeshReaderClient& GetReader() { return m_reader; }

    // The largest model file read.
    static constexpr long kMaxFileBytes = 256L * 1024 * 1024;

private:
    enum class ERoute
    {
        Md2,
        Md3,
        Bsp,
        Reader,
        Refused,
    };
    // The route of a file by its name, and the name its loader reads it by
    // (with the known extension of a mapped one).
    ERoute RouteOf(const irr::io::path& name, irr::io::path& readAs) const;
    // One of Irrlicht's own loaders that claims the name (not the gate).
    irr::scene::IMeshLoader* IrrlichtLoaderFor(const irr::io::path& name) const;
    irr::scene::IAnimatedMesh* ReadInProcess(ERoute route, const irr::io::path& readAs, std::string bytes,
                                             std::string& reason);
    irr::scene::IAnimatedMesh* ReadInReader(const irr::io::path& readAs, const std::string& bytes,
                                            std::string& reason);
    // Answers a file the reader's loader opens.
    uint8_t Serve(const std::string& name, std::string& bytes) const;

    irr::scene::ISceneManager* m_scene;
    CMeshReaderClient m_reader;
    // The last description read (its memory is kept for the next).
    std::string m_description;
    // The bytes of the last file sent to the reader (kept likewise, up to
    // a size).
    std::string m_fileBytes;
    std::vector<std::pair<irr::io::path, irr::io::path>> m_extensions;
    irr::scene::IAnimatedMesh* m_refusal;
};

} // namespace Graphics
