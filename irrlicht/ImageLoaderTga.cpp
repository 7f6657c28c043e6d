#include "irrlicht/ImageLoaderTga.h"

#include <IImage.h>
#include <coreutil.h>

#include <cstring>

namespace Graphics
{

using namespace irr;

namespace
{

constexpr size_t kHeaderSize = 18;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";

uint16_t U16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

bool Refuse(std::string& error, const char* reason)
{
    error = std::string("damaged TGA image: ") + reason;
    return false;
}

// One stored pixel (or colour-map entry) of 8 to 32 bits as B, G, R, A.
void ToColor(const uint8_t* stored, unsigned bits, bool alphaBit, uint8_t* bgra)
{
    switch (bits)
    {
    case 8:
        bgra[0] = bgra[1] = bgra[2] = stored[0];
        bgra[3] = 255;
        break;
    case 15:
    case 16:
    {
        const unsigned value = U16(stored);
        bgra[0] = static_cast<uint8_t>((value & 0x1F) * 255 / 31);
        bgra[1] = static_cast<uint8_t>((value >> 5 & 0x1F) * 255 / 31);
        bgra[2] = static_cast<uint8_t>((value >> 10 & 0x1F) * 255 / 31);
        bgra[3] = !alphaBit || (value & 0x8000) != 0 ? 255 : 0;
        break;
    }
    case 24:
        bgra[0] = stored[0];
        bgra[1] = stored[1];
        bgra[2] = stored[2];
        bgra[3] = 255;
        break;
    default:
        std::memcpy(bgra, stored, 4);
        break;
    }
}

} // namespace

bool CImageLoaderTga::isALoadableFileExtension(const io::path& filename) const
{
    return core::hasFileExtension(filename, "tga");
}

bool CImageLoaderTga::HasSignature(const uint8_t* data, size_t size) const
{
    const size_t length = sizeof(kFooterSignature);
    return size >= kHeaderSize + 8 + length &&
           std::memcmp(data + size - length, kFooterSignature, length) == 0;
}

video::IImage* CImageLoaderTga::Decode(const uint8_t* data, size_t size, std::string& error) const
{
    error.clear();
    if (size < kHeaderSize)
    {
        Refuse(error, "the header is cut short");
        return nullptr;
    }
    const unsigned idLength = data[0];
    const unsigned mapType = data[1];
    const unsigned imageType = data[2];
    const unsigned mapFirst = U16(data + 3);
    const unsigned mapLength = U16(data + 5);
    const unsigned mapBits = data[7];
    const uint32_t width = U16(data + 12);
    const uint32_t height = U16(data + 14);
    const unsigned bits = data[16];
    const unsigned descriptor = data[17];
    const bool alphaBit = (descriptor & 0x0F) != 0;
    const bool topDown = (descriptor & 0x20) != 0;
    const bool rightToLeft = (descriptor & 0x10) != 0;

    const bool mapped = imageType == 1 || imageType == 9;
    const bool trueColor = imageType == 2 || imageType == 10;
    const bool grey = imageType == 3 || imageType == 11;
    const bool runLength = imageType >= 9;
    if (!mapped && !trueColor && !grey)
    {
        Refuse(error, "unknown image type");
        return nullptr;
    }
    if (mapType > 1 || (mapped && mapType != 1) || (mapped && bits != 8) || (grey && bits != 8) ||
        (trueColor && bits != 15 && bits != 16 && bits != 24 && bits != 32))
    {
        Refuse(error, "a pixel size that does not match the image type");
        return nullptr;
    }
    if (mapType == 1 && mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32)
    {
        Refuse(error, "unknown colour-map entry size");
        return nullptr;
    }
    if (!CheckSize(width, height, error))
        return nullptr;

    size_t at = kHeaderSize + idLength;
    const size_t mapEntryBytes = mapType == 1 ? (mapBits + 7) / 8 : 0;
    const uint8_t* map = data + std::min(at, size);
    at += static_cast<size_t>(mapLength) * mapEntryBytes;
    if (at > size)
    {
        Refuse(error, "the colour map lies beyond the end of the file");
        return nullptr;
    }
    const size_t pixelBytes = (bits + 7) / 8;
    const size_t count = static_cast<size_t>(width) * height;
    if (!runLength && at + count * pixelBytes > size)
    {
        Refuse(error, "the pixel data is cut short");
        return nullptr;
    }
    // A packet covers at most 128 pixels: fewer bytes cannot cover the
    // image, whatever they hold, and nothing is allocated for it.
    if (runLength && (size - at) * 128 < count)
    {
        Refuse(error, "the run-length data ends early");
        return nullptr;
    }

    // Unpacks the stored pixels in stored order, every one checked against
    // the end of the file.
    std::vector<uint8_t> stored;
    const uint8_t* source = data + at;
    if (runLength)
    {
        stored.resize(count * pixelBytes);
        size_t done = 0;
        while (done < count)
        {
            if (at >= size)
            {
                Refuse(error, "the run-length data ends early");
                return nullptr;
            }
            const unsigned packet = data[at++];
            const size_t run = std::min<size_t>((packet & 0x7F) + 1u, count - done);
            const size_t bytes = (packet & 0x80) != 0 ? pixelBytes : run * pixelBytes;
            if (at + bytes > size)
            {
                Refuse(error, "the run-length data ends early");
                return nullptr;
            }
            if ((packet & 0x80) != 0)
            {
                for (size_t i = 0; i < run; ++i)
                    std::memcpy(stored.data() + (done + i) * pixelBytes, data + at, pixelBytes);
            }
            else
                std::memcpy(stored.data() + done * pixelBytes, data + at, bytes);
            at += bytes;
            done += run;
        }
        source = stored.data();
    }

    const unsigned colorBits = mapped ? mapBits : bits;
    const bool alpha = colorBits == 32 || ((colorBits == 16 || colorBits == 15) && alphaBit);
    video::IImage* image = CreateImage(alpha ? video::ECF_A8R8G8B8 : video::ECF_R8G8B8, width, height, error);
    if (image == nullptr)
        return nullptr;
    auto* pixels = static_cast<uint8_t*>(image->lock());
    const uint32_t pitch = image->getPitch();
    const size_t targetBytes = alpha ? 4 : 3;
    for (uint32_t y = 0; y < height; ++y)
    {
        const uint32_t row = topDown ? y : height - 1 - y;
        uint8_t* target = pixels + static_cast<size_t>(y) * pitch;
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t column = rightToLeft ? width - 1 - x : x;
            const uint8_t* pixel = source + (static_cast<size_t>(row) * width + column) * pixelBytes;
            uint8_t bgra[4] = {0, 0, 0, 255};
            if (mapped)
            {
                // Indices outside the map are black.
                if (pixel[0] >= mapFirst && pixel[0] - mapFirst < mapLength)
                    ToColor(map + (pixel[0] - mapFirst) * mapEntryBytes, mapBits, alphaBit, bgra);
            }
            else
                ToColor(pixel, bits, alphaBit, bgra);
            uint8_t* out = target + x * targetBytes;
            if (alpha)
                std::memcpy(out, bgra, 4);
            else
            {
                out[0] = bgra[2];
                out[1] = bgra[1];
                out[2] = bgra[0];
            }
        }
    }
    image->unlock();
    return image;
}

} // namespace Graphics
