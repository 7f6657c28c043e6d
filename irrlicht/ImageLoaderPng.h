#pragma once

#include "irrlicht/ImageLoader.h"

namespace Graphics
{

// PNG images through libpng, whose errors end the decoding of that file
// only. Every PNG kind is taken: palettes and grey levels become RGB,
// transparency an alpha channel, 16-bit samples 8-bit ones. Images with
// alpha are A8R8G8B8, the others R8G8B8.
class CImageLoaderPng : public CImageLoader
{
public:
    using CImageLoader::CImageLoader;

    bool isALoadableFileExtension(const irr::io::path& filename) const override;
    irr::video::IImage* Decode(const uint8_t* data, size_t size, std::string& error) const override;
    bool HasSignature(const uint8_t* data, size_t size) const override;
};

} // namespace Graphics
