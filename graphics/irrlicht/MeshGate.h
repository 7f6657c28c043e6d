#pragma once

#include <path.h>

#include <string>
#include <string_view>

namespace irr
{
namespace io
{
class IReadFile;
}
namespace scene
{
class IMeshLoader;
class ISceneManager;
} // namespace scene
} // namespace irr

namespace Graphics
{

// Which mesh files the engine lets Irrlicht read. Irrlicht hands a file to
// every loader that claims its name, one after the other, until one makes
// a mesh; most of its loaders do not survive damaged files (they index
// with the file's counts, read past their buffers or loop on huge counts).
// So a file is admitted only when each loader that claims its name reads
// it safely:
// - STL (ASCII and binary): Irrlicht's reader survives damaged files;
// - OBJ: only a file that passes CheckObj, read without its material
//   files (Irrlicht's material reader reads past its buffer);
// - every other format is refused.
// Extensions mapped onto a loader (CMeshMapper) count as that loader's.
class CMeshGate
{
public:
    // The kinds of loader the gate tells apart.
    enum class ELoader
    {
        Stl,
        Obj,
        Other,
    };

    // Whether the scene's loaders may read the file (left at its start);
    // the reason when not. Also sets the scene's parameters the admitted
    // readers need.
    static bool Admits(irr::scene::ISceneManager* scene, irr::io::IReadFile* file, std::string& reason);
    // The kind of the loader, or of the loader a mapper hands its files to.
    static ELoader KindOf(irr::scene::IMeshLoader* loader);
    // Whether Irrlicht's OBJ reader (material files ignored) reads the text
    // within its arrays: every face corner names a position, and a texture
    // coordinate and a normal when it gives one, that the file defines
    // before it; index words are short; lines that make the reader take
    // words from the next line are refused. The reason when not.
    static bool CheckObj(std::string_view text, std::string& reason);
};

} // namespace Graphics
