#pragma once

#include "irrlicht/ImageLoaderBmp.h"
#include "irrlicht/ImageLoaderJpeg.h"
#include "irrlicht/ImageLoaderPng.h"
#include "irrlicht/ImageLoaderTga.h"

#include <string>
#include <vector>

namespace Graphics
{

// The one way into Irrlicht's image decoding. Registered last on the
// driver, the gate is the first loader Irrlicht asks for every file,
// whatever its name, and whoever asked: textures by name or by file, skin
// and sprite bank images, font textures, height maps and the textures that
// mesh files name. It reads PNG, JPEG, BMP and TGA files through the
// engine's checked readers (the first three known by their bytes, TGA by
// its name or its footer) and refuses everything else: other formats'
// readers in Irrlicht do not survive hostile files. A refused file that
// came wrapped in a CWithdrawableFile is withdrawn, so no loader behind the
// gate sees it; every file the engine hands to Irrlicht comes wrapped.
class CImageGate : public irr::video::IImageLoader
{
public:
    // The side limit is the smaller of maxSide and CImageLoader::kMaxSide.
    CImageGate(irr::video::IVideoDriver* driver, uint32_t maxSide);

    // Every name: the gate decides by the bytes.
    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    // False: Irrlicht asks this only after every loader that claims the
    // name (the gate among them) has refused the file.
    bool isALoadableFileFormat(irr::io::IReadFile* file) const override;
    irr::video::IImage* loadImage(irr::io::IReadFile* file) const override;

    // The image in the file, or null with the reason.
    irr::video::IImage* Decode(irr::io::IReadFile* file, std::string& error) const;
    // Whether the file holds an image the gate reads with sides of at most
    // maxSide; the file is left at its start.
    bool Fits(irr::io::IReadFile* file, uint32_t maxSide) const;

    // Files whose names end in the new extension, as written, are read as
    // files of the known one are; false when the known extension is not one
    // the gate reads. Extensions may leave out the leading ".".
    bool MapExtension(const irr::io::path& newExtension, const irr::io::path& knownExtension);

    // Why the last image this thread asked for was refused (empty when it
    // was read).
    static const std::string& LastRefusal();

    uint32_t GetMaxSide() const { return m_png.GetMaxSide(); }

private:
    bool IsTgaName(const irr::io::path& name) const;

    CImageLoaderPng m_png;
    CImageLoaderJpeg m_jpeg;
    CImageLoaderBmp m_bmp;
    CImageLoaderTga m_tga;
    // Extensions mapped to TGA, with their ".", matched as written.
    std::vector<irr::io::path> m_tgaExtensions;
};

} // namespace Graphics
