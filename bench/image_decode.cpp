// Decoding a 1024 x 1024 PNG and JPEG through the engine's image gate,
// beside bare libpng and libjpeg-turbo decoding the very same bytes; and
// loading the same files as textures through the gate beside Irrlicht's own
// loaders (a device without the gate, as before it existed).
#include "irrlicht/ImageGate.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace
{

using namespace irr;

constexpr u32 kSide = 1024;

// A device with the engine's gate (or without it), and the two files as
// Irrlicht's writers write them: smooth gradients with fine noise, about
// like game textures compress.
struct SImages
{
    explicit SImages(bool gated)
    {
        device = createDevice(video::EDT_NULL);
        device->getLogger()->setLogLevel(ELL_NONE);
        driver = device->getVideoDriver();
        if (gated)
        {
            gate = new Graphics::CImageGate(driver, 8192);
            driver->addExternalImageLoader(gate);
            gate->drop();
        }
        video::IImage* image = driver->createImage(video::ECF_R8G8B8, core::dimension2du(kSide, kSide));
        u32 noise = 1;
        for (u32 y = 0; y < kSide; ++y)
        {
            for (u32 x = 0; x < kSide; ++x)
            {
                noise = noise * 1103515245u + 12345u;
                const u32 grain = noise >> 28;
                image->setPixel(
                    x, y,
                    video::SColor(255, (x / 4 + grain) & 0xFF, (y / 4 + grain) & 0xFF, ((x + y) / 8) & 0xFF));
            }
        }
        png = Written(image, "x.png");
        jpeg = Written(image, "x.jpg");
        image->drop();
    }
    ~SImages() { device->drop(); }

    std::string Written(video::IImage* image, const char* name)
    {
        std::vector<char> memory(16u << 20);
        io::IWriteFile* file = device->getFileSystem()->createMemoryWriteFile(
            memory.data(), static_cast<s32>(memory.size()), name, false);
        driver->writeImageToFile(image, file, 90);
        const long size = file->getPos();
        file->drop();
        return std::string(memory.data(), static_cast<size_t>(size));
    }

    io::IReadFile* File(const std::string& bytes, const char* name) const
    {
        return device->getFileSystem()->createMemoryReadFile(const_cast<char*>(bytes.data()),
                                                             static_cast<s32>(bytes.size()), name, false);
    }

    IrrlichtDevice* device = nullptr;
    video::IVideoDriver* driver = nullptr;
    Graphics::CImageGate* gate = nullptr;
    std::string png;
    std::string jpeg;
};

SImages& Gated()
{
    static SImages images(true);
    return images;
}

SImages& Bare()
{
    static SImages images(false);
    return images;
}

struct SPngInput
{
    const std::string* bytes;
    size_t at;
};

void ReadPng(png_structp png, png_bytep target, png_size_t length)
{
    auto* input = static_cast<SPngInput*>(png_get_io_ptr(png));
    std::memcpy(target, input->bytes->data() + input->at, length);
    input->at += length;
}

// libpng on its own: the bytes into RGB rows.
void BareLibpng(benchmark::State& state)
{
    const std::string& bytes = Gated().png;
    for (auto _ : state)
    {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        SPngInput input{&bytes, 0};
        png_set_read_fn(png, &input, ReadPng);
        png_read_info(png, info);
        png_read_update_info(png, info);
        const size_t pitch = png_get_rowbytes(png, info);
        std::vector<png_byte> pixels(pitch * kSide);
        std::vector<png_bytep> rows(kSide);
        for (u32 row = 0; row < kSide; ++row)
            rows[row] = pixels.data() + row * pitch;
        png_read_image(png, rows.data());
        png_read_end(png, info);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BareLibpng)->Unit(benchmark::kMillisecond);

// libjpeg-turbo on its own: the bytes into RGB rows.
void BareLibjpeg(benchmark::State& state)
{
    const std::string& bytes = Gated().jpeg;
    for (auto _ : state)
    {
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        const size_t pitch = static_cast<size_t>(info.output_width) * 3;
        std::vector<unsigned char> pixels(pitch * info.output_height);
        while (info.output_scanline < info.output_height)
        {
            JSAMPROW row = pixels.data() + info.output_scanline * pitch;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BareLibjpeg)->Unit(benchmark::kMillisecond);

// The gate: the file read whole, checked and decoded into an image.
void GateDecode(benchmark::State& state, bool jpeg)
{
    SImages& images = Gated();
    io::IReadFile* file = images.File(jpeg ? images.jpeg : images.png, jpeg ? "x.jpg" : "x.png");
    std::string error;
    for (auto _ : state)
    {
        video::IImage* image = images.gate->Decode(file, error);
        if (image == nullptr)
            state.SkipWithError(error.c_str());
        else
            image->drop();
    }
    file->drop();
}
BENCHMARK_CAPTURE(GateDecode, png, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GateDecode, jpeg, true)->Unit(benchmark::kMillisecond);

// A texture from the file and gone again, through the gate or through
// Irrlicht's own loaders.
void LoadTexture(benchmark::State& state, bool gated, bool jpeg)
{
    SImages& images = gated ? Gated() : Bare();
    const std::string& bytes = jpeg ? images.jpeg : images.png;
    for (auto _ : state)
    {
        io::IReadFile* file = images.File(bytes, jpeg ? "x.jpg" : "x.png");
        video::ITexture* texture = images.driver->getTexture(file);
        file->drop();
        if (texture == nullptr)
        {
            state.SkipWithError("no texture");
            break;
        }
        images.driver->removeTexture(texture);
    }
}
BENCHMARK_CAPTURE(LoadTexture, png_irrlicht, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadTexture, png_gate, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadTexture, jpeg_irrlicht, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadTexture, jpeg_gate, true, true)->Unit(benchmark::kMillisecond);

} // namespace
