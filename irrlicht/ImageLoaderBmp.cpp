#include "irrlicht/ImageLoaderBmp.h"

#include <IImage.h>
#include <coreutil.h>

#include <algorithm>
#include <cstring>

namespace Graphics
{

using namespace irr;

namespace
{

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;

enum ECompression : uint32_t
{
    kPlain = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,
};

uint32_t U32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t U16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

// Everything the pixels are read by, taken from checked headers.
struct SLayout
{
    uint32_t width = 0;
    uint32_t height = 0;
    bool topDown = false;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = kPlain;
    // Red, green, blue and alpha masks of 16- and 32-bit pixels.
    uint32_t masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    const uint8_t* palette = nullptr;
    uint32_t paletteCount = 0;
    uint32_t paletteEntrySize = 4;
    const uint8_t* pixels = nullptr;
    size_t pixelBytes = 0;
    uint64_t rowBytes = 0;
};

bool Refuse(std::string& error, const char* reason)
{
    error = std::string("damaged BMP image: ") + reason;
    return false;
}

bool ReadLayout(const uint8_t* data, size_t size, uint32_t maxSide, SLayout& layout, std::string& error)
{
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return Refuse(error, "the headers are cut short");
    const uint32_t dataOffset = U32(data + 10);
    const uint32_t headerSize = U32(data + 14);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kLargestHeaderSize))
        return Refuse(error, "unknown header version");
    if (kFileHeaderSize + headerSize > size)
        return Refuse(error, "the headers are cut short");
    const uint8_t* header = data + kFileHeaderSize;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    size_t masksEnd = kFileHeaderSize + headerSize;
    if (headerSize == kCoreHeaderSize)
    {
        width = U16(header + 4);
        height = U16(header + 6);
        layout.bitsPerPixel = U16(header + 10);
        layout.paletteEntrySize = 3;
    }
    else
    {
        width = static_cast<int32_t>(U32(header + 4));
        height = static_cast<int32_t>(U32(header + 8));
        layout.bitsPerPixel = U16(header + 14);
        layout.compression = U32(header + 16);
        imageSize = U32(header + 20);
        colorsUsed = U32(header + 32);
        if (layout.compression == kBitFields || layout.compression == kAlphaBitFields)
        {
            // A version 1 header keeps its masks after it.
            const size_t count = layout.compression == kAlphaBitFields ? 4 : 3;
            const size_t at = kFileHeaderSize + kInfoHeaderSize;
            const size_t available =
                headerSize == kInfoHeaderSize ? count : (headerSize - kInfoHeaderSize) / 4;
            if (at + 4 * std::min(count, available) > size)
                return Refuse(error, "the headers are cut short");
            if (headerSize == kInfoHeaderSize)
                masksEnd = at + 4 * count;
            for (size_t mask = 0; mask < std::min<size_t>(std::min(count, available), 4); ++mask)
                layout.masks[mask] = U32(data + at + 4 * mask);
            layout.hasMasks = true;
        }
    }
    if (width <= 0 || height == 0)
        return Refuse(error, "the image has no pixels");
    layout.topDown = height < 0;
    layout.width = static_cast<uint32_t>(width);
    const int64_t rows = height < 0 ? -height : height;
    if (static_cast<uint64_t>(width) > maxSide || static_cast<uint64_t>(rows) > maxSide)
    {
        error = "the image is " + std::to_string(width) + " x " + std::to_string(rows) +
                " pixels; sides of at most " + std::to_string(maxSide) + " are taken";
        return false;
    }
    layout.height = static_cast<uint32_t>(rows);

    const uint16_t bits = layout.bitsPerPixel;
    switch (layout.compression)
    {
    case kPlain:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return Refuse(error, "unknown pixel size");
        break;
    case kRunLength8:
        if (bits != 8 || layout.topDown)
            return Refuse(error, "run-length packing that does not match the pixel size");
        break;
    case kRunLength4:
        if (bits != 4 || layout.topDown)
            return Refuse(error, "run-length packing that does not match the pixel size");
        break;
    case kBitFields:
    case kAlphaBitFields:
        if (bits != 16 && bits != 32)
            return Refuse(error, "bit fields that do not match the pixel size");
        break;
    default:
        return Refuse(error, "unknown compression");
    }

    if (bits <= 8)
    {
        const uint32_t most = 1u << bits;
        layout.paletteCount = colorsUsed != 0 && colorsUsed < most ? colorsUsed : most;
        const uint64_t paletteEnd = static_cast<uint64_t>(masksEnd) +
                                    static_cast<uint64_t>(layout.paletteCount) * layout.paletteEntrySize;
        if (paletteEnd > size)
            return Refuse(error, "the palette lies beyond the end of the file");
        layout.palette = data + masksEnd;
    }

    if (dataOffset < masksEnd || dataOffset > size)
        return Refuse(error, "the pixel data does not lie within the file");
    layout.pixels = data + dataOffset;
    layout.pixelBytes = size - dataOffset;
    if (imageSize != 0 && imageSize > layout.pixelBytes)
        return Refuse(error, "the declared data size goes beyond the end of the file");
    if (layout.compression == kRunLength8 || layout.compression == kRunLength4)
    {
        if (imageSize != 0)
            layout.pixelBytes = imageSize;
        return true;
    }
    // Rows are padded to 4 bytes.
    layout.rowBytes = (static_cast<uint64_t>(layout.width) * bits + 31) / 32 * 4;
    const uint64_t needed = layout.rowBytes * layout.height;
    if (needed > layout.pixelBytes)
        return Refuse(error, "the pixel data is cut short");
    if (imageSize != 0 && imageSize < needed)
        return Refuse(error, "the declared data size is smaller than the pixels");
    return true;
}

// Maps a masked field to 8 bits.
uint8_t Field(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while ((mask >> shift & 1u) == 0)
        ++shift;
    const uint32_t top = mask >> shift;
    uint32_t value = (pixel & mask) >> shift;
    // Widens a field of any width to 0..255.
    return static_cast<uint8_t>(static_cast<uint64_t>(value) * 255 / top);
}

void PutPaletteColor(const SLayout& layout, uint32_t index, uint8_t* target)
{
    if (index >= layout.paletteCount)
    {
        target[0] = target[1] = target[2] = 0;
        return;
    }
    const uint8_t* entry = layout.palette + static_cast<size_t>(index) * layout.paletteEntrySize;
    target[0] = entry[2];
    target[1] = entry[1];
    target[2] = entry[0];
}

// Unpacks run-length rows into palette indices, bottom row first; false
// when the data ends before the end-of-image mark.
bool UnpackRunLength(const SLayout& layout, std::vector<uint8_t>& indices)
{
    const bool four = layout.compression == kRunLength4;
    const uint8_t* data = layout.pixels;
    const size_t end = layout.pixelBytes;
    size_t at = 0;
    uint64_t x = 0;
    uint64_t y = 0;
    const auto put = [&](uint8_t value)
    {
        if (x < layout.width && y < layout.height)
            indices[static_cast<size_t>(y * layout.width + x)] = value;
        ++x;
    };
    while (at + 2 <= end)
    {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0)
        {
            for (unsigned i = 0; i < count; ++i)
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
        }
        else if (value == 0)
        {
            x = 0;
            ++y;
        }
        else if (value == 1)
            return true;
        else if (value == 2)
        {
            if (at + 2 > end)
                return false;
            x += data[at];
            y += data[at + 1];
            at += 2;
        }
        else
        {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            if (at + bytes > end)
                return false;
            for (unsigned i = 0; i < value; ++i)
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? data[at + i / 2] >> 4 : data[at + i / 2] & 0x0F)
                         : data[at + i]);
            // Absolute runs are padded to whole 16-bit words.
            at += bytes + (bytes & 1u);
        }
        if (y >= layout.height)
            return true;
    }
    return false;
}

} // namespace

bool CImageLoaderBmp::isALoadableFileExtension(const io::path& filename) const
{
    return core::hasFileExtension(filename, "bmp");
}

bool CImageLoaderBmp::HasSignature(const uint8_t* data, size_t size) const
{
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

video::IImage* CImageLoaderBmp::Decode(const uint8_t* data, size_t size, std::string& error) const
{
    error.clear();
    SLayout layout;
    if (!ReadLayout(data, size, GetMaxSide(), layout, error))
        return nullptr;
    std::vector<uint8_t> indices;
    const bool runLength = layout.compression == kRunLength8 || layout.compression == kRunLength4;
    if (runLength)
    {
        indices.assign(static_cast<size_t>(layout.width) * layout.height, 0);
        if (!UnpackRunLength(layout, indices))
        {
            Refuse(error, "the run-length data ends early");
            return nullptr;
        }
    }
    const bool alpha = layout.bitsPerPixel == 32;
    video::IImage* image =
        CreateImage(alpha ? video::ECF_A8R8G8B8 : video::ECF_R8G8B8, layout.width, layout.height, error);
    if (image == nullptr)
        return nullptr;
    auto* pixels = static_cast<uint8_t*>(image->lock());
    const uint32_t pitch = image->getPitch();
    uint32_t masks[4] = {layout.masks[0], layout.masks[1], layout.masks[2], layout.masks[3]};
    if (!layout.hasMasks && layout.bitsPerPixel == 16)
    {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    for (uint32_t y = 0; y < layout.height; ++y)
    {
        // Stored rows run bottom-up unless the height was negative.
        const uint32_t stored = layout.topDown ? y : layout.height - 1 - y;
        uint8_t* target = pixels + static_cast<size_t>(y) * pitch;
        if (runLength)
        {
            const uint8_t* row = indices.data() + static_cast<size_t>(stored) * layout.width;
            for (uint32_t x = 0; x < layout.width; ++x)
                PutPaletteColor(layout, row[x], target + x * 3);
            continue;
        }
        const uint8_t* row = layout.pixels + stored * layout.rowBytes;
        switch (layout.bitsPerPixel)
        {
        case 1:
        case 4:
        case 8:
        {
            const unsigned bits = layout.bitsPerPixel;
            const unsigned perByte = 8 / bits;
            const unsigned valueMask = (1u << bits) - 1;
            for (uint32_t x = 0; x < layout.width; ++x)
            {
                const unsigned shift = 8 - bits * (x % perByte + 1);
                PutPaletteColor(layout, row[x / perByte] >> shift & valueMask, target + x * 3);
            }
            break;
        }
        case 16:
            for (uint32_t x = 0; x < layout.width; ++x)
            {
                const uint32_t value = U16(row + x * 2);
                target[x * 3] = Field(value, masks[0]);
                target[x * 3 + 1] = Field(value, masks[1]);
                target[x * 3 + 2] = Field(value, masks[2]);
            }
            break;
        case 24:
            for (uint32_t x = 0; x < layout.width; ++x)
            {
                target[x * 3] = row[x * 3 + 2];
                target[x * 3 + 1] = row[x * 3 + 1];
                target[x * 3 + 2] = row[x * 3];
            }
            break;
        default:
            if (!layout.hasMasks)
            {
                // B, G, R, A as stored: A8R8G8B8's own order.
                std::memcpy(target, row, static_cast<size_t>(layout.width) * 4);
                break;
            }
            for (uint32_t x = 0; x < layout.width; ++x)
            {
                const uint32_t value = U32(row + x * 4);
                target[x * 4] = Field(value, masks[2]);
                target[x * 4 + 1] = Field(value, masks[1]);
                target[x * 4 + 2] = Field(value, masks[0]);
                target[x * 4 + 3] = masks[3] != 0 ? Field(value, masks[3]) : 255;
            }
            break;
        }
    }
    image->unlock();
    return image;
}

} // namespace Graphics
