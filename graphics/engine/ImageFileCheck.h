#pragma once

#include <cstdint>

namespace irr::io
{
class IReadFile;
}

namespace Graphics
{

// Whether an image file may be handed to Irrlicht's image loaders.
// Irrlicht's BMP reader trusts the header: a size or data offset that the
// file does not hold makes it read past its buffer. A BMP is taken only
// when it is uncompressed, its rows lie wholly within the file and its
// sides are at most the given maximum; other formats are left to their
// loaders. The file is read from its start and left at its start.
class CImageFileCheck
{
public:
    // A terrain of this many vertices a side already takes hundreds of
    // megabytes; larger sides come from damaged headers.
    static constexpr int32_t kMaxHeightMapSide = 4097;
    // Beyond what graphics drivers take for a texture side.
    static constexpr int32_t kMaxTextureSide = 16384;

    static bool IsReadable(irr::io::IReadFile* file, int32_t maxSide);
};

} // namespace Graphics
