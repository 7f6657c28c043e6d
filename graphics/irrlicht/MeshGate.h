#pragma once

#include <path.h>

#include <string>

namespace irr::scene
{
class IMeshLoader;
class ISceneManager;
} // namespace irr::scene

namespace Graphics
{

// Which mesh files the engine lets Irrlicht read. Irrlicht hands a file to
// every loader that claims its name, one after the other, until one makes
// a mesh; most of its loaders do not survive damaged files (they index
// with the file's counts, read past their buffers or loop on huge counts).
// So a file is admitted only when each loader that claims its name
// survives them: of Irrlicht's loaders, STL's (ASCII and binary) alone.
// Extensions mapped onto a loader (CMeshMapper) count as that loader's.
class CMeshGate
{
public:
    // Whether the scene's loaders may read the named file; the reason when
    // not.
    static bool Admits(irr::scene::ISceneManager* scene, const irr::io::path& name, std::string& reason);
    // Whether the loader (or the loader a mapper hands its files to) reads
    // damaged files safely.
    static bool IsSafeLoader(irr::scene::IMeshLoader* loader);
};

} // namespace Graphics
