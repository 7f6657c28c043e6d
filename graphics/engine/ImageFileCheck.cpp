#include "graphics/engine/ImageFileCheck.h"

#include <irrlicht.h>

#include <cstring>

namespace Graphics
{

namespace
{

// The file header (14 bytes) and the information header (40 bytes).
constexpr long kBmpHeaderSize = 54;

uint32_t ReadU32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t ReadU16(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

bool IsReadableBmp(const unsigned char* header, long fileSize, int32_t maxSide)
{
    const uint32_t dataOffset = ReadU32(header + 10);
    const int32_t width = static_cast<int32_t>(ReadU32(header + 18));
    const int32_t height = static_cast<int32_t>(ReadU32(header + 22));
    const uint16_t bitsPerPixel = ReadU16(header + 28);
    const uint32_t compression = ReadU32(header + 30);
    const uint32_t dataSize = ReadU32(header + 34);
    if (compression != 0 || width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32)
        return false;
    // Rows are padded to 4 bytes.
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(height);
    if (dataOffset < static_cast<uint32_t>(kBmpHeaderSize) ||
        static_cast<uint64_t>(dataOffset) + pixelBytes > static_cast<uint64_t>(fileSize))
        return false;
    // The reader takes the stated data size when there is one.
    return dataSize == 0 || dataSize >= pixelBytes;
}

} // namespace

bool CImageFileCheck::IsReadable(irr::io::IReadFile* file, int32_t maxSide)
{
    if (file == nullptr || !file->seek(0))
        return false;
    unsigned char header[kBmpHeaderSize];
    std::memset(header, 0, sizeof(header));
    const long fileSize = file->getSize();
    const irr::s32 read = file->read(header, sizeof(header));
    file->seek(0);
    if (read < 2 || header[0] != 'B' || header[1] != 'M')
        return true;
    return read == kBmpHeaderSize && IsReadableBmp(header, fileSize, maxSide);
}

} // namespace Graphics
