#include "graphics/engine/PixelFormats.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Graphics::PixelFormats
{

namespace
{

uint16_t Load16(const uint8_t* pixel)
{
    return static_cast<uint16_t>(pixel[0] | (pixel[1] << 8));
}

uint32_t Load32(const uint8_t* pixel)
{
    return static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8 |
           static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[3]) << 24;
}

void Store16(uint8_t* pixel, uint16_t word)
{
    pixel[0] = static_cast<uint8_t>(word);
    pixel[1] = static_cast<uint8_t>(word >> 8);
}

void Store32(uint8_t* pixel, uint32_t word)
{
    pixel[0] = static_cast<uint8_t>(word);
    pixel[1] = static_cast<uint8_t>(word >> 8);
    pixel[2] = static_cast<uint8_t>(word >> 16);
    pixel[3] = static_cast<uint8_t>(word >> 24);
}

uint32_t Load24(EByteOrder order, const uint8_t* pixel)
{
    const uint32_t first = pixel[0];
    const uint32_t last = pixel[2];
    const uint32_t red = order == EByteOrder::RGB ? first : last;
    const uint32_t blue = order == EByteOrder::RGB ? last : first;
    return red << 16 | static_cast<uint32_t>(pixel[1]) << 8 | blue;
}

void Store24(EByteOrder order, uint8_t* pixel, uint32_t argb)
{
    const uint8_t red = static_cast<uint8_t>(argb >> 16);
    const uint8_t blue = static_cast<uint8_t>(argb);
    pixel[0] = order == EByteOrder::RGB ? red : blue;
    pixel[1] = static_cast<uint8_t>(argb >> 8);
    pixel[2] = order == EByteOrder::RGB ? blue : red;
}

bool IsWriterSource(int32_t format)
{
    return format == kPixelA1R5G5B5 || format == kPixelR8G8B8 || format == kPixelA8R8G8B8;
}

bool IsWriterDestination(int32_t format)
{
    return format == kPixelA1R5G5B5 || format == kPixelA8R8G8B8;
}

// A source pixel as the writer sees it: 24-bit pixels are opaque.
uint32_t SourceWord(const SPixelBuffer& source, const uint8_t* pixel)
{
    uint32_t argb = 0;
    ReadPixel(source.format, source.order, pixel, argb);
    return source.format == kPixelR8G8B8 ? (argb | 0xFF000000u) : argb;
}

// The byte ranges of the two buffers overlap.
bool Overlaps(const SPixelBuffer& a, const SPixelBuffer& b)
{
    const uint8_t* aEnd = a.data + a.size;
    const uint8_t* bEnd = b.data + b.size;
    return std::less<const uint8_t*>()(a.data, bEnd) && std::less<const uint8_t*>()(b.data, aEnd);
}

EWriteResult CheckWrite(const SPixelBuffer& source, const SPixelBuffer& destination)
{
    if (!IsWriterSource(source.format))
        return EWriteResult::UnknownSourceFormat;
    if (!IsWriterDestination(destination.format))
        return EWriteResult::UnknownDestinationFormat;
    if (source.width == 0 || source.height == 0)
        return EWriteResult::Written;
    if (!IsValid(source))
        return EWriteResult::SourceTooShort;
    if (!IsValid(destination))
        return EWriteResult::DestinationInvalid;
    return EWriteResult::Written;
}

} // namespace

uint32_t BytesPerPixel(int32_t format)
{
    switch (format)
    {
    case kPixelA1R5G5B5:
    case kPixelR5G6B5:
        return 2;
    case kPixelR8G8B8:
        return 3;
    case kPixelA8R8G8B8:
        return 4;
    default:
        return 0;
    }
}

uint32_t A1R5G5B5ToA8R8G8B8(uint16_t color)
{
    const uint32_t alpha = (color & 0x8000u) != 0 ? 0xFF000000u : 0u;
    const uint32_t red = (color >> 10) & 0x1Fu;
    const uint32_t green = (color >> 5) & 0x1Fu;
    const uint32_t blue = color & 0x1Fu;
    return alpha | (red << 3 | red >> 2) << 16 | (green << 3 | green >> 2) << 8 | (blue << 3 | blue >> 2);
}

uint16_t A8R8G8B8ToA1R5G5B5(uint32_t color)
{
    return static_cast<uint16_t>((color & 0x80000000u) >> 16 | (color & 0x00F80000u) >> 9 |
                                 (color & 0x0000F800u) >> 6 | (color & 0x000000F8u) >> 3);
}

uint32_t R5G6B5ToA8R8G8B8(uint16_t color)
{
    return 0xFF000000u | (color & 0xF800u) << 8 | (color & 0x07E0u) << 5 | (color & 0x001Fu) << 3;
}

uint16_t A8R8G8B8ToR5G6B5(uint32_t color)
{
    return static_cast<uint16_t>((color & 0x00F80000u) >> 8 | (color & 0x0000FC00u) >> 5 |
                                 (color & 0x000000F8u) >> 3);
}

bool IsValid(const SPixelBuffer& buffer)
{
    const uint64_t bytes = BytesPerPixel(buffer.format);
    if (bytes == 0 || buffer.data == nullptr || buffer.width == 0 || buffer.height == 0)
        return false;
    const uint64_t row = bytes * buffer.width;
    if (buffer.pitch < row)
        return false;
    // At most 2^32 rows of at most 2^64 / 2^33 bytes: no overflow below.
    if (buffer.pitch > (UINT64_MAX >> 33))
        return false;
    const uint64_t needed = static_cast<uint64_t>(buffer.height - 1) * buffer.pitch + row;
    return needed <= buffer.size;
}

bool ReadPixel(int32_t format, EByteOrder order, const uint8_t* pixel, uint32_t& argb)
{
    switch (format)
    {
    case kPixelA1R5G5B5:
        argb = A1R5G5B5ToA8R8G8B8(Load16(pixel));
        return true;
    case kPixelR5G6B5:
        argb = R5G6B5ToA8R8G8B8(Load16(pixel));
        return true;
    case kPixelR8G8B8:
        argb = Load24(order, pixel);
        return true;
    case kPixelA8R8G8B8:
        argb = Load32(pixel);
        return true;
    default:
        return false;
    }
}

bool WritePixel(int32_t format, EByteOrder order, uint8_t* pixel, uint32_t argb)
{
    switch (format)
    {
    case kPixelA1R5G5B5:
        Store16(pixel, A8R8G8B8ToA1R5G5B5(argb));
        return true;
    case kPixelR5G6B5:
        Store16(pixel, A8R8G8B8ToR5G6B5(argb));
        return true;
    case kPixelR8G8B8:
        Store24(order, pixel, argb);
        return true;
    case kPixelA8R8G8B8:
        Store32(pixel, argb);
        return true;
    default:
        return false;
    }
}

EWriteResult CopyPixels(const SPixelBuffer& source, const SPixelBuffer& destination, uint32_t destX,
                        uint32_t destY, bool flip)
{
    const EWriteResult check = CheckWrite(source, destination);
    if (check != EWriteResult::Written || source.width == 0 || source.height == 0)
        return check;
    if (destX >= destination.width || destY >= destination.height)
        return EWriteResult::Written;
    const uint32_t width = std::min(source.width, destination.width - destX);
    const uint32_t height = std::min(source.height, destination.height - destY);
    const size_t sourceBytes = BytesPerPixel(source.format);
    const size_t destinationBytes = BytesPerPixel(destination.format);

    // A copy within one image reads from a copy of the rows it needs, so
    // that no pixel is read after it was written.
    SPixelBuffer from = source;
    std::vector<uint8_t> rows;
    if (Overlaps(source, destination))
    {
        rows.resize(static_cast<size_t>(source.height) * source.width * sourceBytes);
        for (uint32_t y = 0; y < source.height; ++y)
            std::memcpy(rows.data() + static_cast<size_t>(y) * source.width * sourceBytes,
                        source.data + static_cast<size_t>(y) * source.pitch, source.width * sourceBytes);
        from.data = rows.data();
        from.size = rows.size();
        from.pitch = source.width * sourceBytes;
    }

    const bool sameLayout =
        from.format == destination.format && (from.format != kPixelR8G8B8 || from.order == destination.order);
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint32_t sourceRow = flip ? source.height - 1 - y : y;
        const uint8_t* in = from.data + static_cast<size_t>(sourceRow) * from.pitch;
        uint8_t* out = destination.data + static_cast<size_t>(destY + y) * destination.pitch +
                       static_cast<size_t>(destX) * destinationBytes;
        if (sameLayout)
        {
            std::memcpy(out, in, static_cast<size_t>(width) * sourceBytes);
            continue;
        }
        for (uint32_t x = 0; x < width; ++x)
            WritePixel(destination.format, destination.order, out + x * destinationBytes,
                       SourceWord(from, in + x * sourceBytes));
    }
    return EWriteResult::Written;
}

EWriteResult ScalePixels(const SPixelBuffer& source, const SPixelBuffer& destination, float scaleX,
                         float scaleY, bool flip)
{
    if (source.format != kPixelR8G8B8)
        return EWriteResult::UnknownSourceFormat;
    const EWriteResult check = CheckWrite(source, destination);
    if (check != EWriteResult::Written || source.width == 0 || source.height == 0)
        return check;
    if (!(scaleX > 0.0f && scaleY > 0.0f && std::isfinite(scaleX) && std::isfinite(scaleY)))
        return EWriteResult::Written;

    const double scaledWidth = std::trunc(static_cast<double>(source.width) * scaleX);
    const double scaledHeight = std::trunc(static_cast<double>(source.height) * scaleY);
    const uint32_t width = static_cast<uint32_t>(std::min<double>(scaledWidth, destination.width));
    const uint32_t height = static_cast<uint32_t>(std::min<double>(scaledHeight, destination.height));
    const float stepX = 1.0f / scaleX;
    const float stepY = 1.0f / scaleY;
    const size_t destinationBytes = BytesPerPixel(destination.format);

    SPixelBuffer from = source;
    std::vector<uint8_t> copy;
    if (Overlaps(source, destination))
    {
        copy.assign(source.data, source.data + source.size);
        from.data = copy.data();
    }

    for (uint32_t y = 0; y < height; ++y)
    {
        // Rounding of the step may reach one past the last row or column.
        uint32_t row =
            std::min<uint32_t>(static_cast<uint32_t>(static_cast<float>(y) * stepY), source.height - 1);
        if (flip)
            row = source.height - 1 - row;
        const uint8_t* in = from.data + static_cast<size_t>(row) * from.pitch;
        uint8_t* out = destination.data + static_cast<size_t>(y) * destination.pitch;
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t column =
                std::min<uint32_t>(static_cast<uint32_t>(static_cast<float>(x) * stepX), source.width - 1);
            WritePixel(destination.format, destination.order, out + x * destinationBytes,
                       SourceWord(from, in + column * 3));
        }
    }
    return EWriteResult::Written;
}

} // namespace Graphics::PixelFormats
