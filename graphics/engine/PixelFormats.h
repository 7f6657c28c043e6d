#pragma once

// Pixels in memory: the four colour formats the engine reads and writes,
// their conversions, and the copy and scale of raw images into texture
// memory. Pure functions on buffers: every pixel they touch lies inside the
// buffers they are given.

#include <cstddef>
#include <cstdint>

namespace Graphics
{

// Colour format codes, numbered as Irrlicht numbers them.
enum EPixelFormat : int32_t
{
    kPixelA1R5G5B5 = 0,
    kPixelR5G6B5 = 1,
    kPixelR8G8B8 = 2,
    kPixelA8R8G8B8 = 3,
};

// The order of the three bytes of a 24-bit pixel, from the lowest address.
// Irrlicht keeps R8G8B8 images as red, green, blue; raw bitmap data that
// scripts hand in is blue, green, red. 16- and 32-bit pixels are
// little-endian words either way.
enum class EByteOrder
{
    RGB,
    BGR,
};

// An image in memory: rows of width pixels, pitch bytes apart.
struct SPixelBuffer
{
    uint8_t* data = nullptr;
    // Bytes from data on that may be touched.
    size_t size = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    size_t pitch = 0;
    int32_t format = kPixelA8R8G8B8;
    EByteOrder order = EByteOrder::RGB;
};

namespace PixelFormats
{

// 2, 2, 3 and 4 for the four formats; 0 for any other code.
uint32_t BytesPerPixel(int32_t format);

// Irrlicht's packing rules. Widening repeats each channel's top bits below
// it (5 bits c become c << 3 | c >> 2); the alpha bit gives 255 or 0.
uint32_t A1R5G5B5ToA8R8G8B8(uint16_t color);
uint16_t A8R8G8B8ToA1R5G5B5(uint32_t color);
// Red and blue widen by a plain shift (Irrlicht's rule), alpha is 255.
uint32_t R5G6B5ToA8R8G8B8(uint16_t color);
uint16_t A8R8G8B8ToR5G6B5(uint32_t color);

// Whether the buffer holds all its pixels: a known format, data, and
// (height - 1) rows of pitch bytes plus one row of width pixels within size.
// An empty buffer (no width or height) is not valid.
bool IsValid(const SPixelBuffer& buffer);

// The pixel at pixel as an A8R8G8B8 word; 24-bit pixels read with alpha 0.
// False for a format other than the four.
bool ReadPixel(int32_t format, EByteOrder order, const uint8_t* pixel, uint32_t& argb);
// Stores the A8R8G8B8 word in the format (16-bit formats by the packing
// rules, 24-bit without alpha). False for another format.
bool WritePixel(int32_t format, EByteOrder order, uint8_t* pixel, uint32_t argb);

enum class EWriteResult
{
    Written,
    // The source is not A1R5G5B5, R8G8B8 or A8R8G8B8 (scaled: not R8G8B8).
    UnknownSourceFormat,
    // The destination is not A1R5G5B5 or A8R8G8B8.
    UnknownDestinationFormat,
    // The source does not hold its rows (see IsValid).
    SourceTooShort,
    // The destination does not hold its rows.
    DestinationInvalid,
};

// Writes the source into the destination with its upper-left pixel at
// (destX, destY), converting the format; pixels that would fall outside the
// destination are left out. With flip the first row written is the source's
// last row. Source and destination may share memory. Formats are checked
// before anything is written: source first, then destination.
EWriteResult CopyPixels(const SPixelBuffer& source, const SPixelBuffer& destination, uint32_t destX,
                        uint32_t destY, bool flip);

// Writes the R8G8B8 source scaled by the factors into the destination's
// upper-left corner, nearest pixel: trunc(width x scaleX) by
// trunc(height x scaleY) pixels, limited to the destination; destination
// pixel (x, y) takes source pixel (trunc(x / scaleX), trunc(y / scaleY)).
// Factors that are not positive and finite write nothing.
EWriteResult ScalePixels(const SPixelBuffer& source, const SPixelBuffer& destination, float scaleX,
                         float scaleY, bool flip);

} // namespace PixelFormats

} // namespace Graphics
