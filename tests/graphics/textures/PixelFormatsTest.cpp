// The pixel formats as pure functions on buffers: reading and writing each
// of the four formats, the two byte orders of 24-bit pixels, and the raw
// image writer's conversions, clipping, flipping and scaling.

#include "graphics/engine/PixelFormats.h"

#include <gtest/gtest.h>

#include <SColor.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace
{

using namespace Graphics;
using namespace Graphics::PixelFormats;

// An image of width x height pixels of the format, pitch bytes a row.
struct SImage
{
    SImage(uint32_t width, uint32_t height, int32_t format, EByteOrder order = EByteOrder::RGB,
           size_t pad = 0)
        : bytes(static_cast<size_t>(height) * (width * BytesPerPixel(format) + pad), 0)
    {
        buffer.data = bytes.data();
        buffer.size = bytes.size();
        buffer.width = width;
        buffer.height = height;
        buffer.pitch = width * BytesPerPixel(format) + pad;
        buffer.format = format;
        buffer.order = order;
    }

    uint32_t Get(uint32_t x, uint32_t y) const
    {
        uint32_t argb = 0;
        EXPECT_TRUE(ReadPixel(buffer.format, buffer.order,
                              buffer.data + y * buffer.pitch + x * BytesPerPixel(buffer.format), argb));
        return argb;
    }
    void Set(uint32_t x, uint32_t y, uint32_t argb)
    {
        EXPECT_TRUE(WritePixel(buffer.format, buffer.order,
                               buffer.data + y * buffer.pitch + x * BytesPerPixel(buffer.format), argb));
    }

    std::vector<uint8_t> bytes;
    SPixelBuffer buffer;
};

TEST(PixelFormatsTest, EachFormatStoresItsBytesInItsOwnLayout)
{
    struct SCase
    {
        int32_t format;
        EByteOrder order;
        uint32_t written;
        std::vector<uint8_t> bytes;
        uint32_t read;
    };
    const SCase cases[] = {
        // Opaque red: 1 bit alpha, 5 bits red.
        {kPixelA1R5G5B5, EByteOrder::RGB, 0xFFFF0000u, {0x00, 0xFC}, 0xFFFF0000u},
        // No alpha bit, green 0x84 keeps its top five bits and widens again.
        {kPixelA1R5G5B5, EByteOrder::RGB, 0x7F008400u, {0x00, 0x02}, 0x00008400u},
        {kPixelR5G6B5, EByteOrder::RGB, 0x12FF8040u, {0x08, 0xFC}, 0xFFF88040u},
        // 24 bits: Irrlicht's images are red first, raw bitmaps blue first;
        // alpha is not stored and reads 0.
        {kPixelR8G8B8, EByteOrder::RGB, 0xFF112233u, {0x11, 0x22, 0x33}, 0x00112233u},
        {kPixelR8G8B8, EByteOrder::BGR, 0xFF112233u, {0x33, 0x22, 0x11}, 0x00112233u},
        // Colour (1, 0, 0, 1) as A8R8G8B8 is blue, green, red, alpha.
        {kPixelA8R8G8B8, EByteOrder::RGB, 0xFFFF0000u, {0x00, 0x00, 0xFF, 0xFF}, 0xFFFF0000u},
        {kPixelA8R8G8B8, EByteOrder::BGR, 0x80102030u, {0x30, 0x20, 0x10, 0x80}, 0x80102030u},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "format " << test.format << " word " << std::hex << test.written);
        std::vector<uint8_t> pixel(4, 0xEE);
        ASSERT_TRUE(WritePixel(test.format, test.order, pixel.data(), test.written));
        EXPECT_EQ(std::vector<uint8_t>(pixel.begin(), pixel.begin() + test.bytes.size()), test.bytes);
        // Nothing past the pixel is touched.
        if (test.bytes.size() < 4)
        {
            EXPECT_EQ(pixel[test.bytes.size()], 0xEE);
        }
        uint32_t argb = 0;
        ASSERT_TRUE(ReadPixel(test.format, test.order, pixel.data(), argb));
        EXPECT_EQ(argb, test.read);
    }
}

TEST(PixelFormatsTest, ConversionsFollowIrrlichtsRulesForEveryWord)
{
    for (uint32_t word = 0; word <= 0xFFFF; ++word)
    {
        const uint16_t color = static_cast<uint16_t>(word);
        ASSERT_EQ(A1R5G5B5ToA8R8G8B8(color), irr::video::A1R5G5B5toA8R8G8B8(color)) << word;
        ASSERT_EQ(R5G6B5ToA8R8G8B8(color), irr::video::R5G6B5toA8R8G8B8(color)) << word;
        // Narrowing a widened 1-5-5-5 word gives the word back.
        ASSERT_EQ(A8R8G8B8ToA1R5G5B5(A1R5G5B5ToA8R8G8B8(color)), color) << word;
    }
    for (uint32_t argb : {0u, 0xFFFFFFFFu, 0x80123456u, 0x7FFEDCBAu, 0x00F8FC00u})
    {
        EXPECT_EQ(A8R8G8B8ToA1R5G5B5(argb), irr::video::A8R8G8B8toA1R5G5B5(argb));
        EXPECT_EQ(A8R8G8B8ToR5G6B5(argb), irr::video::A8R8G8B8toR5G6B5(argb));
    }
}

TEST(PixelFormatsTest, UnknownFormatsAreRefused)
{
    uint8_t pixel[4] = {};
    uint32_t argb = 0;
    for (int32_t format : {-1, 4, 5, 14, 1000})
    {
        EXPECT_EQ(BytesPerPixel(format), 0u);
        EXPECT_FALSE(ReadPixel(format, EByteOrder::RGB, pixel, argb));
        EXPECT_FALSE(WritePixel(format, EByteOrder::RGB, pixel, argb));
    }
    EXPECT_EQ(BytesPerPixel(kPixelA1R5G5B5), 2u);
    EXPECT_EQ(BytesPerPixel(kPixelR5G6B5), 2u);
    EXPECT_EQ(BytesPerPixel(kPixelR8G8B8), 3u);
    EXPECT_EQ(BytesPerPixel(kPixelA8R8G8B8), 4u);
}

TEST(PixelFormatsTest, TheWriterConvertsEachSourceIntoEachTextureFormat)
{
    struct SCase
    {
        int32_t source;
        int32_t destination;
        uint32_t in;
        uint32_t out;
    };
    const SCase cases[] = {
        {kPixelA1R5G5B5, kPixelA1R5G5B5, 0x00FF0000u, 0x00FF0000u},
        {kPixelA1R5G5B5, kPixelA8R8G8B8, 0xFF0000FFu, 0xFF0000FFu},
        // 24-bit sources are written opaque.
        {kPixelR8G8B8, kPixelA8R8G8B8, 0x00102030u, 0xFF102030u},
        {kPixelR8G8B8, kPixelA1R5G5B5, 0x00F80808u, 0xFFF80808u},
        {kPixelA8R8G8B8, kPixelA8R8G8B8, 0x12345678u, 0x12345678u},
        {kPixelA8R8G8B8, kPixelA1R5G5B5, 0x7FFFFFFFu, 0x00FFFFFFu},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message() << test.source << " -> " << test.destination);
        SImage source(2, 1, test.source, EByteOrder::BGR);
        source.Set(0, 0, test.in);
        source.Set(1, 0, test.in);
        SImage destination(2, 1, test.destination);
        ASSERT_EQ(CopyPixels(source.buffer, destination.buffer, 0, 0, false), EWriteResult::Written);
        EXPECT_EQ(destination.Get(0, 0) & 0xFFF8F8F8u, test.out & 0xFFF8F8F8u);
        EXPECT_EQ(destination.Get(1, 0), destination.Get(0, 0));
    }
}

TEST(PixelFormatsTest, RawBitmapsAreBlueFirstAndIrrlichtImagesRedFirst)
{
    // One raw pixel: blue 0x10, green 0x20, red 0x30.
    SImage raw(1, 1, kPixelR8G8B8, EByteOrder::BGR);
    raw.bytes = {0x10, 0x20, 0x30};
    raw.buffer.data = raw.bytes.data();
    SImage image(1, 1, kPixelR8G8B8, EByteOrder::RGB);
    image.Set(0, 0, raw.Get(0, 0));
    EXPECT_EQ(image.bytes, (std::vector<uint8_t>{0x30, 0x20, 0x10}));
    // The writer reads raw data blue first: red is 0x30.
    SImage argb(1, 1, kPixelA8R8G8B8);
    ASSERT_EQ(CopyPixels(raw.buffer, argb.buffer, 0, 0, false), EWriteResult::Written);
    EXPECT_EQ(argb.Get(0, 0), 0xFF302010u);
}

TEST(PixelFormatsTest, FormatsAreCheckedSourceFirstBeforeAnythingIsWritten)
{
    SImage r5g6b5(1, 1, kPixelR5G6B5);
    SImage rgb(1, 1, kPixelR8G8B8);
    SImage destination(1, 1, kPixelA8R8G8B8);
    SImage wrongDestination(1, 1, kPixelR8G8B8);
    destination.Set(0, 0, 0x11223344u);
    EXPECT_EQ(CopyPixels(r5g6b5.buffer, destination.buffer, 0, 0, false), EWriteResult::UnknownSourceFormat);
    EXPECT_EQ(CopyPixels(r5g6b5.buffer, wrongDestination.buffer, 0, 0, false),
              EWriteResult::UnknownSourceFormat);
    EXPECT_EQ(CopyPixels(rgb.buffer, wrongDestination.buffer, 0, 0, false),
              EWriteResult::UnknownDestinationFormat);
    EXPECT_EQ(destination.Get(0, 0), 0x11223344u);
    // The scaled writer takes 24-bit sources only.
    SImage argb(1, 1, kPixelA8R8G8B8);
    EXPECT_EQ(ScalePixels(argb.buffer, destination.buffer, 1, 1, false), EWriteResult::UnknownSourceFormat);
    EXPECT_EQ(destination.Get(0, 0), 0x11223344u);
}

TEST(PixelFormatsTest, BuffersThatDoNotHoldTheirRowsAreRefused)
{
    SImage source(4, 4, kPixelA8R8G8B8);
    SImage destination(4, 4, kPixelA8R8G8B8);
    SPixelBuffer shortSource = source.buffer;
    shortSource.size -= 1;
    EXPECT_FALSE(IsValid(shortSource));
    EXPECT_EQ(CopyPixels(shortSource, destination.buffer, 0, 0, false), EWriteResult::SourceTooShort);
    EXPECT_EQ(ScalePixels(SImage(4, 4, kPixelR8G8B8).buffer, shortSource, 1, 1, false),
              EWriteResult::DestinationInvalid);
    SPixelBuffer narrowPitch = source.buffer;
    narrowPitch.pitch = 15;
    EXPECT_FALSE(IsValid(narrowPitch));
    SPixelBuffer hugePitch = source.buffer;
    hugePitch.pitch = SIZE_MAX / 2;
    EXPECT_FALSE(IsValid(hugePitch));
    SPixelBuffer noData = source.buffer;
    noData.data = nullptr;
    EXPECT_FALSE(IsValid(noData));
    // The last row needs only its own pixels, not a whole pitch.
    SImage padded(3, 2, kPixelR8G8B8, EByteOrder::BGR, 3);
    padded.buffer.size -= 3;
    EXPECT_TRUE(IsValid(padded.buffer));
}

TEST(PixelFormatsTest, WritesAreCutAtTheDestinationsEdges)
{
    // A 4 x 4 source of distinct pixels written at each offset into a 3 x 3
    // destination surrounded by guard bytes: only the overlap changes.
    SImage source(4, 4, kPixelA8R8G8B8);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            source.Set(x, y, 0xFF000000u | (y << 8) | x);
    for (uint32_t offsetY = 0; offsetY < 4; ++offsetY)
    {
        for (uint32_t offsetX = 0; offsetX < 4; ++offsetX)
        {
            SCOPED_TRACE(testing::Message() << "at " << offsetX << "," << offsetY);
            std::vector<uint8_t> memory(8 + 3 * 3 * 4 + 8, 0xAB);
            SPixelBuffer destination;
            destination.data = memory.data() + 8;
            destination.size = 3 * 3 * 4;
            destination.width = 3;
            destination.height = 3;
            destination.pitch = 12;
            destination.format = kPixelA8R8G8B8;
            ASSERT_EQ(CopyPixels(source.buffer, destination, offsetX, offsetY, false), EWriteResult::Written);
            for (size_t guard = 0; guard < 8; ++guard)
            {
                ASSERT_EQ(memory[guard], 0xAB);
                ASSERT_EQ(memory[memory.size() - 1 - guard], 0xAB);
            }
            for (uint32_t y = 0; y < 3; ++y)
            {
                for (uint32_t x = 0; x < 3; ++x)
                {
                    uint32_t argb = 0;
                    ReadPixel(kPixelA8R8G8B8, EByteOrder::RGB, destination.data + y * 12 + x * 4, argb);
                    if (x >= offsetX && y >= offsetY)
                        EXPECT_EQ(argb, 0xFF000000u | ((y - offsetY) << 8) | (x - offsetX));
                    else
                        EXPECT_EQ(argb, 0xABABABABu);
                }
            }
        }
    }
}

TEST(PixelFormatsTest, FlipWritesTheLastSourceRowFirst)
{
    SImage source(1, 4, kPixelR8G8B8, EByteOrder::BGR);
    for (uint32_t y = 0; y < 4; ++y)
        source.Set(0, y, y);
    // A destination of two rows gets source rows 3 and 2.
    SImage destination(1, 2, kPixelA8R8G8B8);
    ASSERT_EQ(CopyPixels(source.buffer, destination.buffer, 0, 0, true), EWriteResult::Written);
    EXPECT_EQ(destination.Get(0, 0), 0xFF000003u);
    EXPECT_EQ(destination.Get(0, 1), 0xFF000002u);
    ASSERT_EQ(ScalePixels(source.buffer, destination.buffer, 1.0f, 0.5f, true), EWriteResult::Written);
    EXPECT_EQ(destination.Get(0, 0), 0xFF000003u);
    EXPECT_EQ(destination.Get(0, 1), 0xFF000001u);
}

TEST(PixelFormatsTest, ScalingSamplesTheNearestSourcePixel)
{
    // A 640 pixel wide row scaled by 320 / 640 takes every second pixel.
    SImage source(640, 2, kPixelR8G8B8, EByteOrder::BGR);
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 640; ++x)
            source.Set(x, y, (y << 16) | x);
    SImage destination(320, 1, kPixelA8R8G8B8);
    ASSERT_EQ(ScalePixels(source.buffer, destination.buffer, 0.5f, 0.5f, false), EWriteResult::Written);
    for (uint32_t x = 0; x < 320; ++x)
        ASSERT_EQ(destination.Get(x, 0), 0xFF000000u | (2 * x)) << x;

    // Enlarging repeats pixels and stops at the destination's edge.
    SImage small(2, 1, kPixelR8G8B8, EByteOrder::BGR);
    small.Set(0, 0, 0x0000AA);
    small.Set(1, 0, 0x0000BB);
    SImage wide(5, 2, kPixelA1R5G5B5);
    ASSERT_EQ(ScalePixels(small.buffer, wide.buffer, 3.0f, 3.0f, false), EWriteResult::Written);
    const uint32_t a = A1R5G5B5ToA8R8G8B8(A8R8G8B8ToA1R5G5B5(0xFF0000AAu));
    const uint32_t b = A1R5G5B5ToA8R8G8B8(A8R8G8B8ToA1R5G5B5(0xFF0000BBu));
    for (uint32_t y = 0; y < 2; ++y)
    {
        EXPECT_EQ(wide.Get(0, y), a);
        EXPECT_EQ(wide.Get(2, y), a);
        EXPECT_EQ(wide.Get(3, y), b);
        EXPECT_EQ(wide.Get(4, y), b);
    }

    // Factors that are not positive and finite write nothing.
    SImage untouched(2, 2, kPixelA8R8G8B8);
    for (float factor : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(), 1e-30f})
    {
        ASSERT_EQ(ScalePixels(small.buffer, untouched.buffer, factor, factor, false), EWriteResult::Written);
        EXPECT_EQ(untouched.Get(0, 0), 0u);
    }
}

TEST(PixelFormatsTest, ACopyWithinOneImageReadsEachPixelBeforeItIsOverwritten)
{
    // Rows 0-2 copied one row down inside the same memory.
    SImage image(2, 4, kPixelA8R8G8B8);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 2; ++x)
            image.Set(x, y, y * 10 + x);
    SPixelBuffer top = image.buffer;
    top.height = 3;
    top.size = 3 * image.buffer.pitch;
    ASSERT_EQ(CopyPixels(top, image.buffer, 0, 1, false), EWriteResult::Written);
    for (uint32_t x = 0; x < 2; ++x)
    {
        EXPECT_EQ(image.Get(x, 0), x);
        EXPECT_EQ(image.Get(x, 1), x);
        EXPECT_EQ(image.Get(x, 2), 10 + x);
        EXPECT_EQ(image.Get(x, 3), 20 + x);
    }
}

} // namespace
