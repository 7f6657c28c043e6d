#pragma once

// Loaders that teach Irrlicht a new file extension: files whose names end
// in the new extension are read by the loader of a known one.

#include <IImageLoader.h>
#include <IMeshLoader.h>

namespace Graphics
{

// Whether the name ends in the extension (which begins with "."), exactly
// as written: "x.abc" ends in ".abc", "x.abc.old" and "x.ABC" do not.
bool EndsWithExtension(const irr::io::path& name, const irr::io::path& extension);

// An image loader for the extension that hands the file to the target.
class CTextureMapper : public irr::video::IImageLoader
{
public:
    // Holds the target; the extension begins with ".".
    CTextureMapper(irr::video::IImageLoader* target, const irr::io::path& extension);
    ~CTextureMapper() override;
    CTextureMapper(const CTextureMapper&) = delete;
    CTextureMapper& operator=(const CTextureMapper&) = delete;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    bool isALoadableFileFormat(irr::io::IReadFile* file) const override;
    irr::video::IImage* loadImage(irr::io::IReadFile* file) const override;

private:
    irr::video::IImageLoader* m_target;
    irr::io::path m_extension;
};

// The same for mesh loaders.
class CMeshMapper : public irr::scene::IMeshLoader
{
public:
    CMeshMapper(irr::scene::IMeshLoader* target, const irr::io::path& extension);
    ~CMeshMapper() override;
    CMeshMapper(const CMeshMapper&) = delete;
    CMeshMapper& operator=(const CMeshMapper&) = delete;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::scene::IAnimatedMesh* createMesh(irr::io::IReadFile* file) override;

private:
    irr::scene::IMeshLoader* m_target;
    irr::io::path m_extension;
};

} // namespace Graphics
