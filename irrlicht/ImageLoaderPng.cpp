#include "irrlicht/ImageLoaderPng.h"

#include <IImage.h>
#include <coreutil.h>

#include <png.h>

#include <cstring>

namespace Graphics
{

using namespace irr;

namespace
{

// What libpng's callbacks reach: the bytes and the first error.
struct SPngSource
{
    const uint8_t* data;
    size_t size;
    size_t position;
    char error[200];
};

void OnError(png_structp png, png_const_charp message)
{
    auto* source = static_cast<SPngSource*>(png_get_error_ptr(png));
    std::strncpy(source->error, message != nullptr ? message : "damaged data", sizeof(source->error) - 1);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep target, png_size_t length)
{
    auto* source = static_cast<SPngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position)
        png_error(png, "the file ends early");
    std::memcpy(target, source->data + source->position, length);
    source->position += length;
}

// The header and the transformations to 8-bit RGB or RGBA. Only plain
// values live here: libpng leaves by longjmp on an error.
bool ReadHeader(png_structp png, png_infop info, png_uint_32& width, png_uint_32& height, bool& alpha)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (depth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // A8R8G8B8 is B, G, R, A in memory.
    if (alpha)
        png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_byte channels = png_get_channels(png, info);
    if (png_get_bit_depth(png, info) != 8 || channels != (alpha ? 4 : 3))
        png_error(png, "unexpected pixel layout");
    return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

} // namespace

bool CImageLoaderPng::isALoadableFileExtension(const io::path& filename) const
{
    return core::hasFileExtension(filename, "png");
}

bool CImageLoaderPng::HasSignature(const uint8_t* data, size_t size) const
{
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

video::IImage* CImageLoaderPng::Decode(const uint8_t* data, size_t size, std::string& error) const
{
    error.clear();
    if (!HasSignature(data, size))
    {
        error = "not a PNG image";
        return nullptr;
    }
    SPngSource source{data, size, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "no memory for the PNG reader";
        return nullptr;
    }
    png_set_read_fn(png, &source, OnRead);
    // libpng refuses larger sides before it allocates rows.
    png_set_user_limits(png, GetMaxSide(), GetMaxSide());
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    video::IImage* image = nullptr;
    std::vector<png_bytep> rows;
    if (ReadHeader(png, info, width, height, alpha))
    {
        image = CreateImage(alpha ? video::ECF_A8R8G8B8 : video::ECF_R8G8B8, width, height, error);
        if (image != nullptr)
        {
            auto* pixels = static_cast<png_bytep>(image->lock());
            rows.resize(height);
            for (png_uint_32 row = 0; row < height; ++row)
                rows[row] = pixels + static_cast<size_t>(row) * image->getPitch();
            const bool read = ReadRows(png, info, rows.data());
            image->unlock();
            if (!read)
            {
                image->drop();
                image = nullptr;
            }
        }
    }
    if (image == nullptr && error.empty())
        error = std::string("damaged PNG image: ") + source.error;
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
}

} // namespace Graphics
