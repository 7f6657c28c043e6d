#pragma once

#include "irrlicht/ImageLoader.h"

namespace Graphics
{

// JPEG images through libjpeg-turbo, whose errors end the decoding of that
// file only. Grey, YCbCr and RGB images become R8G8B8, and so do CMYK ones
// (as Adobe writes them, inverted).
class CImageLoaderJpeg : public CImageLoader
{
public:
    using CImageLoader::CImageLoader;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::video::IImage* Decode(const uint8_t* data, size_t size, std::string& error) const override;
    bool HasSignature(const uint8_t* data, size_t size) const override;
};

} // namespace Graphics
