#pragma once

// Loaders that teach Irrlicht a new mesh file extension: files whose names
// end in the new extension are read by the loader of a known one. (Images
// go through the engine's image gate, which maps extensions itself.)

#include <path.h>
#include <IMeshLoader.h>

namespace Graphics
{

// Whether the name ends in the extension (which begins with "."), exactly
// as written: "x.abc" ends in ".abc", "x.abc.old" and "x.ABC" do not.
bool EndsWithExtension(const irr::io::path& name, const irr::io::path& extension);

// A mesh loader for the extension that hands the file to the target.
class CMeshMapper : public irr::scene::IMeshLoader
{
public:
    CMeshMapper(irr::scene::IMeshLoader* target, const irr::io::path& extension);
    ~CMeshMapper() override;
    CMeshMapper(const CMeshMapper&) = delete;
    CMeshMapper& operator=(const CMeshMapper&) = delete;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::scene::IAnimatedMesh* createMesh(irr::io::IReadFile* file) override;
    // The loader that reads the files.
    irr::scene::IMeshLoader* GetTarget() const { return m_target; }

private:
    irr::scene::IMeshLoader* m_target;
    irr::io::path m_extension;
};

} // namespace Graphics
