#pragma once

#include <cstdint>

namespace irr::io
{
class IReadFile;
}

namespace Graphics
{

// Whether a height-map file may be handed to Irrlicht's image loaders.
// Irrlicht's BMP reader trusts the header: a size or data offset that the
// file does not hold makes it read past its buffer. A BMP is taken only
// when it is uncompressed, its rows lie wholly within the file and its
// sides are at most kMaxHeightMapSide; other formats are left to their
// loaders. The file is read from its start and left at its start.
class CHeightMapCheck
{
public:
    // A terrain of this many vertices a side already takes hundreds of
    // megabytes; larger sides come from damaged headers.
    static constexpr int32_t kMaxHeightMapSide = 4097;

    static bool IsReadable(irr::io::IReadFile* file);
};

} // namespace Graphics
