#pragma once

#include "irrlicht/ImageLoader.h"

namespace Graphics
{

// Windows bitmaps, read by our own code: every header field is checked
// against the file before it is used. Taken: the core and the Windows
// information headers (up to version 5), 1, 4 and 8 bits with a palette
// (uncompressed or run-length packed), 16 and 32 bits with or without bit
// fields, and 24 bits; bottom-up and top-down rows. 32-bit images are
// A8R8G8B8 (their alpha as stored), all others R8G8B8.
class CImageLoaderBmp : public CImageLoader
{
public:
    using CImageLoader::CImageLoader;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::video::IImage* Decode(const uint8_t* data, size_t size, std::string& error) const override;
    bool HasSignature(const uint8_t* data, size_t size) const override;
};

} // namespace Graphics
