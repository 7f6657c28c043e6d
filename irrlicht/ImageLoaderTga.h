#pragma once

#include "irrlicht/ImageLoader.h"

namespace Graphics
{

// Truevision TGA images, read by our own code: every header field is
// checked against the file before it is used, and run-length packets never
// write past the image. Taken: colour-mapped, true-colour and grey images,
// plain or run-length packed, 8, 15, 16, 24 and 32 bits, from either
// origin. Images with alpha (32 bits, or 16 with an alpha bit) are
// A8R8G8B8, the others R8G8B8.
class CImageLoaderTga : public CImageLoader
{
public:
    using CImageLoader::CImageLoader;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::video::IImage* Decode(const uint8_t* data, size_t size, std::string& error) const override;
    // The format has no signature at its start: only TGA 2.0 files, which
    // end with one, are known by their bytes.
    bool HasSignature(const uint8_t* data, size_t size) const override;
};

} // namespace Graphics
