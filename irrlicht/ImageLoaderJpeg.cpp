#include "irrlicht/ImageLoaderJpeg.h"

#include <IImage.h>
#include <coreutil.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <jerror.h>

namespace Graphics
{

using namespace irr;

namespace
{

// The decoder's memory, beyond the image itself: enough for a progressive
// image of the largest size, never more.
constexpr long kMaxDecoderMemory = 512L << 20;

struct SJpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void OnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<SJpegErrors*>(info->err);
    errors->manager.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings about a damaged stretch the decoder can pass over stay silent;
// data that ends early (which the decoder would fill with grey) refuses
// the file.
void OnMessage(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<SJpegErrors*>(info->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF)
        errors->truncated = true;
}

// The header, with the output as RGB (or CMYK, converted afterwards).
// Only plain values live here: the decoder leaves by longjmp on an error.
bool Start(jpeg_decompress_struct* info, SJpegErrors* errors, const uint8_t* data, size_t size,
           uint32_t maxSide)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);
    // Refused before the decoder sizes its buffers.
    if (info->image_width > maxSide || info->image_height > maxSide)
        return false;
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(info);
    return true;
}

bool ReadRows(jpeg_decompress_struct* info, SJpegErrors* errors, uint8_t* pixels, uint32_t pitch,
              uint8_t* cmykRow)
{
    if (setjmp(errors->jump))
        return false;
    while (info->output_scanline < info->output_height)
    {
        uint8_t* target = pixels + static_cast<size_t>(info->output_scanline) * pitch;
        JSAMPROW row = cmykRow != nullptr ? cmykRow : target;
        if (jpeg_read_scanlines(info, &row, 1) != 1 || errors->truncated)
            return false;
        if (cmykRow != nullptr)
        {
            for (JDIMENSION x = 0; x < info->output_width; ++x)
            {
                const unsigned k = cmykRow[x * 4 + 3];
                for (int c = 0; c < 3; ++c)
                    target[x * 3 + c] = static_cast<uint8_t>(cmykRow[x * 4 + c] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(info);
    return !errors->truncated;
}

} // namespace

bool CImageLoaderJpeg::isALoadableFileExtension(const io::path& filename) const
{
    return core::hasFileExtension(filename, "jpg", "jpeg", "jpe");
}

bool CImageLoaderJpeg::HasSignature(const uint8_t* data, size_t size) const
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

video::IImage* CImageLoaderJpeg::Decode(const uint8_t* data, size_t size, std::string& error) const
{
    error.clear();
    if (!HasSignature(data, size))
    {
        error = "not a JPEG image";
        return nullptr;
    }
    jpeg_decompress_struct info;
    SJpegErrors errors;
    std::memset(&info, 0, sizeof(info));
    std::memset(errors.message, 0, sizeof(errors.message));
    errors.truncated = false;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnError;
    errors.manager.emit_message = OnMessage;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    video::IImage* image = nullptr;
    std::vector<uint8_t> cmykRow;
    if (Start(&info, &errors, data, size, GetMaxSide()))
    {
        image = CreateImage(video::ECF_R8G8B8, info.output_width, info.output_height, error);
        if (image != nullptr)
        {
            if (info.out_color_space == JCS_CMYK)
                cmykRow.resize(static_cast<size_t>(info.output_width) * 4);
            const bool read = ReadRows(&info, &errors, static_cast<uint8_t*>(image->lock()),
                                       image->getPitch(), cmykRow.empty() ? nullptr : cmykRow.data());
            image->unlock();
            if (!read)
            {
                image->drop();
                image = nullptr;
            }
        }
    }
    else if (errors.message[0] == '\0')
        CheckSize(info.image_width, info.image_height, error);
    if (image == nullptr && error.empty())
        error = std::string("damaged JPEG image: ") +
                (errors.message[0] != '\0' ? errors.message : "the data ends early");
    jpeg_destroy_decompress(&info);
    return image;
}

} // namespace Graphics
