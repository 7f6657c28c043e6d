// The engine's image readers: every format it takes survives a round trip
// through Irrlicht's writers, hostile files are refused with a reason and
// never reach Irrlicht's own loaders, and mutated files load or fail
// cleanly.

#include "irrlicht/ImageGate.h"
#include "irrlicht/WithdrawableFile.h"

#include <gtest/gtest.h>
#include <irrlicht.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace irr;
using Bytes = std::string;

void Put16(Bytes& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(Bytes& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Put32BigEndian(Bytes& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift & 0xFF);
}

// A BMP's file and information headers.
Bytes BmpHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t dataSize,
                uint32_t offset = 54)
{
    Bytes out = "BM";
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, compression);
    Put32(out, dataSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    return out;
}

Bytes TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor = 0)
{
    Bytes out(18, '\0');
    out[2] = static_cast<char>(type);
    out[12] = static_cast<char>(width & 0xFF);
    out[13] = static_cast<char>(width >> 8);
    out[14] = static_cast<char>(height & 0xFF);
    out[15] = static_cast<char>(height >> 8);
    out[16] = static_cast<char>(bits);
    out[17] = static_cast<char>(descriptor);
    return out;
}

// A PNG signature and an IHDR chunk (with its checksum) declaring the size.
Bytes PngHeader(uint32_t width, uint32_t height)
{
    Bytes chunk = "IHDR";
    Put32BigEndian(chunk, width);
    Put32BigEndian(chunk, height);
    chunk += std::string("\x08\x06\x00\x00\x00", 5);
    Bytes out = "\x89PNG\r\n\x1a\n";
    Put32BigEndian(out, 13);
    out += chunk;
    Put32BigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(chunk.data()),
                                                    static_cast<uInt>(chunk.size()))));
    return out;
}

// Mended checksums, so that a mutated PNG reaches the decoder instead of
// failing at its first chunk.
void FixPngChecksums(Bytes& png)
{
    size_t at = 8;
    while (at + 12 <= png.size())
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(png.data());
        const size_t length = static_cast<size_t>(bytes[at]) << 24 |
                              static_cast<size_t>(bytes[at + 1]) << 16 |
                              static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
        if (length > png.size() - at - 12)
            return;
        const uLong sum = crc32(0, bytes + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i)
            png[at + 8 + length + i] = static_cast<char>(sum >> (24 - 8 * i) & 0xFF);
        at += length + 12;
    }
}

Bytes PcxHeader(uint16_t width, uint16_t height, uint8_t planes)
{
    Bytes out(128, '\0');
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    out[8] = static_cast<char>((width - 1) & 0xFF);
    out[9] = static_cast<char>((width - 1) >> 8);
    out[10] = static_cast<char>((height - 1) & 0xFF);
    out[11] = static_cast<char>((height - 1) >> 8);
    out[65] = static_cast<char>(planes);
    out[66] = static_cast<char>(width & 0xFF);
    out[67] = static_cast<char>(width >> 8);
    return out + Bytes(64, '\xC5');
}

Bytes PsdHeader(uint32_t width, uint32_t height, uint16_t compression)
{
    Bytes out = "8BPS";
    out += std::string("\x00\x01", 2) + std::string(6, '\0') + std::string("\x00\x03", 2);
    Put32BigEndian(out, height);
    Put32BigEndian(out, width);
    out += std::string("\x00\x08\x00\x03", 4) + std::string(12, '\0');
    out += static_cast<char>(compression >> 8);
    out += static_cast<char>(compression & 0xFF);
    return out + Bytes(64, '\x81');
}

class ImageGateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device = createDevice(video::EDT_NULL);
        ASSERT_NE(device, nullptr);
        driver = device->getVideoDriver();
        gate = new Graphics::CImageGate(driver, 16384);
        driver->addExternalImageLoader(gate);
        gate->drop();
    }
    void TearDown() override
    {
        if (device != nullptr)
            device->drop();
    }

    io::IReadFile* Memory(const Bytes& bytes, const char* name)
    {
        stored.push_back(bytes);
        return device->getFileSystem()->createMemoryReadFile(stored.back().data(),
                                                             static_cast<s32>(stored.back().size()), name);
    }

    // What the gate reads from the bytes; the reason when it refuses.
    video::IImage* Decode(const Bytes& bytes, const char* name, std::string& error)
    {
        io::IReadFile* file = Memory(bytes, name);
        video::IImage* image = gate->Decode(file, error);
        file->drop();
        return image;
    }

    // What the driver makes of the bytes when they come wrapped, as the
    // engine hands files to Irrlicht.
    video::IImage* ThroughDriver(const Bytes& bytes, const char* name)
    {
        io::IReadFile* file = Memory(bytes, name);
        Graphics::CWithdrawableFile* wrapped = Graphics::CWithdrawableFile::Wrap(file);
        file->drop();
        video::IImage* image = driver->createImageFromFile(wrapped);
        wrapped->drop();
        return image;
    }

    // The image as Irrlicht's writer for the extension writes it.
    Bytes Written(video::IImage* image, const char* name, u32 parameter = 0)
    {
        std::vector<char> memory(1 << 20);
        io::IWriteFile* file = device->getFileSystem()->createMemoryWriteFile(
            memory.data(), static_cast<s32>(memory.size()), name, false);
        EXPECT_TRUE(driver->writeImageToFile(image, file, parameter)) << name;
        const long size = file->getPos();
        file->drop();
        return Bytes(memory.data(), static_cast<size_t>(size));
    }

    video::IImage* Pattern(video::ECOLOR_FORMAT format, u32 width, u32 height)
    {
        video::IImage* image = driver->createImage(format, core::dimension2du(width, height));
        for (u32 y = 0; y < height; ++y)
        {
            for (u32 x = 0; x < width; ++x)
                image->setPixel(x, y,
                                video::SColor(format == video::ECF_A8R8G8B8 ? (x * 7) & 0xFF : 255,
                                              x * 6 & 0xFF, y * 9 & 0xFF, (x + y) * 3 & 0xFF));
        }
        return image;
    }

    IrrlichtDevice* device = nullptr;
    video::IVideoDriver* driver = nullptr;
    Graphics::CImageGate* gate = nullptr;
    std::vector<Bytes> stored;
};

TEST_F(ImageGateTest, EveryTakenFormatRoundTripsThroughIrrlichtsWriters)
{
    struct SCase
    {
        const char* name;
        video::ECOLOR_FORMAT format;
        int tolerance;
    };
    const SCase cases[] = {
        {"x.png", video::ECF_R8G8B8, 0},   {"x.png", video::ECF_A8R8G8B8, 0},
        {"x.bmp", video::ECF_R8G8B8, 0},   {"x.tga", video::ECF_R8G8B8, 0},
        {"x.tga", video::ECF_A8R8G8B8, 0}, {"x.jpg", video::ECF_R8G8B8, 24},
        {"x.bmp", video::ECF_A1R5G5B5, 8},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(std::string(test.name) + " format " + std::to_string(test.format));
        video::IImage* source = Pattern(test.format, 37, 23);
        const Bytes bytes = Written(source, test.name, 100);
        std::string error;
        video::IImage* image = Decode(bytes, test.name, error);
        ASSERT_NE(image, nullptr) << error;
        EXPECT_EQ(image->getDimension(), source->getDimension());
        int worst = 0;
        for (u32 y = 0; y < 23; ++y)
        {
            for (u32 x = 0; x < 37; ++x)
            {
                const video::SColor want = source->getPixel(x, y);
                const video::SColor got = image->getPixel(x, y);
                worst = std::max(
                    {worst, std::abs(static_cast<int>(want.getRed()) - static_cast<int>(got.getRed())),
                     std::abs(static_cast<int>(want.getGreen()) - static_cast<int>(got.getGreen())),
                     std::abs(static_cast<int>(want.getBlue()) - static_cast<int>(got.getBlue()))});
                if (test.format == video::ECF_A8R8G8B8 && image->getColorFormat() == video::ECF_A8R8G8B8)
                {
                    EXPECT_EQ(got.getAlpha(), want.getAlpha());
                }
            }
        }
        EXPECT_LE(worst, test.tolerance);
        image->drop();
        source->drop();
    }
}

TEST_F(ImageGateTest, OwnReadersTakeTheLayoutsGamesUse)
{
    // 8 bits with a palette, bottom-up; 32 bits with bit fields, top-down;
    // run-length packed 8 bits; a colour-mapped, run-length packed TGA.
    Bytes palette;
    for (int index = 0; index < 4; ++index)
        palette += std::string{static_cast<char>(index * 10), static_cast<char>(index * 20),
                               static_cast<char>(index * 30), 0};
    Bytes indexed = BmpHeader(3, 2, 8, 0, 0, 54 + 16);
    indexed[46] = 4; // colours used
    indexed += palette + std::string("\x00\x01\x02\x00", 4) + std::string("\x03\x09\x01\x00", 4);

    Bytes fields = BmpHeader(2, -1, 32, 3, 0, 66);
    Put32(fields, 0x0000FF00); // red
    Put32(fields, 0x00FF0000); // green
    Put32(fields, 0xFF000000); // blue
    Put32(fields, 0x11223344);
    Put32(fields, 0x00000000);

    Bytes packed = BmpHeader(4, 2, 8, 1, 0, 54 + 16);
    packed[46] = 4;
    packed += palette + std::string("\x04\x02\x00\x00\x02\x03\x00\x03\x01\x02\x01\x00\x00\x01", 14);

    Bytes mapped = TgaHeader(9, 3, 1, 8, 0x20);
    mapped[1] = 1;
    mapped[5] = 2; // two entries
    mapped[7] = 24;
    mapped += std::string("\x10\x20\x30\x40\x50\x60", 6) + std::string("\x81\x01\x00\x07", 4);

    struct SCase
    {
        const char* name;
        Bytes bytes;
        u32 width;
        u32 height;
        video::SColor topLeft;
        video::SColor bottomRight;
    };
    const SCase cases[] = {
        {"indexed.bmp", indexed, 3, 2, video::SColor(255, 90, 60, 30), video::SColor(255, 60, 40, 20)},
        {"fields.bmp", fields, 2, 1, video::SColor(255, 0x33, 0x22, 0x11), video::SColor(255, 0, 0, 0)},
        {"packed.bmp", packed, 4, 2, video::SColor(255, 90, 60, 30), video::SColor(255, 60, 40, 20)},
        {"mapped.tga", mapped, 3, 1, video::SColor(255, 0x60, 0x50, 0x40), video::SColor(255, 0, 0, 0)},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        std::string error;
        video::IImage* image = Decode(test.bytes, test.name, error);
        ASSERT_NE(image, nullptr) << error;
        EXPECT_EQ(image->getDimension(), core::dimension2du(test.width, test.height));
        EXPECT_EQ(image->getPixel(0, 0).color | 0xFF000000, test.topLeft.color);
        EXPECT_EQ(image->getPixel(test.width - 1, test.height - 1).color | 0xFF000000,
                  test.bottomRight.color);
        image->drop();
    }
}

// Files that crashed, overflowed or exhausted Irrlicht's own loaders: the
// gate refuses each with a reason, and through the driver no loader behind
// the gate sees them.
TEST_F(ImageGateTest, HostileFilesAreRefusedAndReachNoOtherLoader)
{
    video::IImage* small = Pattern(video::ECF_R8G8B8, 16, 16);
    const Bytes jpeg = Written(small, "x.jpg", 80);
    small->drop();
    Bytes tgaRuns = TgaHeader(10, 2, 2, 24) + Bytes(1, '\xFF') + "abc";
    Bytes lyingBmp = BmpHeader(4, 4, 24, 0, 0xF0000000u) + Bytes(48, '\x7F');
    struct SCase
    {
        const char* name;
        Bytes bytes;
        const char* reason;
    };
    const SCase cases[] = {
        {"truncated.jpg", jpeg.substr(0, 12), "JPEG"},
        {"huge.tga", TgaHeader(2, 16384, 16384, 32) + Bytes(256, 'x'), "sides of at most"},
        {"wide.tga", TgaHeader(2, 65535, 65535, 24) + Bytes(64, 'x'), "sides of at most"},
        {"runs.tga", TgaHeader(10, 4000, 4000, 24) + Bytes(1, '\xFF') + "abc", "run-length data ends early"},
        {"short.tga", TgaHeader(10, 64, 64, 24) + Bytes(1, '\xFF') + "abc", "run-length data ends early"},
        {"deep.pcx", PcxHeader(64, 64, 3), "pcx files are not read"},
        {"wrap.pcx", PcxHeader(65535, 65535, 1), "pcx files are not read"},
        {"packed.psd", PsdHeader(64, 64, 1), "psd files are not read"},
        {"huge.psd", PsdHeader(30000, 30000, 0), "psd files are not read"},
        {"x.wal", Bytes(100, '\x40'), "wal files are not read"},
        {"x.lmp", Bytes(100, '\x40'), "lmp files are not read"},
        {"x.ppm", "P6\n65535 65535\n255\n" + Bytes(16, 'x'), "ppm files are not read"},
        {"x.rgb", Bytes("\x01\xDA\x00\x01\x00\x03\xFF\xFF\xFF\xFF\x00\x03", 12) + Bytes(500, '\0'), "rgb"},
        {"huge.png", PngHeader(30000, 30000), "PNG"},
        {"lying.bmp", lyingBmp, "beyond the end of the file"},
        {"bmp.tga", BmpHeader(70000, 2, 24, 0, 0) + Bytes(16, 'x'), "sides of at most"},
        {"empty.png", Bytes(), "not a PNG, JPEG, BMP or TGA image"},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        std::string error;
        video::IImage* image = Decode(test.bytes, test.name, error);
        EXPECT_EQ(image, nullptr);
        EXPECT_NE(error.find(test.reason), std::string::npos) << error;
        EXPECT_EQ(ThroughDriver(test.bytes, test.name), nullptr);
        EXPECT_NE(Graphics::CImageGate::LastRefusal(), std::string());
    }
    // A run that would go past the image is cut at its end.
    std::string error;
    video::IImage* image = Decode(tgaRuns, "runs.tga", error);
    ASSERT_NE(image, nullptr) << error;
    EXPECT_EQ(image->getPixel(1, 1), video::SColor(255, 'c', 'b', 'a'));
    image->drop();
}

TEST_F(ImageGateTest, MappedExtensionsReadAsTheKnownOne)
{
    const Bytes targa = TgaHeader(2, 1, 1, 24) + "abc";
    std::string error;
    EXPECT_EQ(Decode(targa, "x.img", error), nullptr);
    EXPECT_FALSE(gate->MapExtension(".img", ".psd"));
    EXPECT_FALSE(gate->MapExtension("", ".tga"));
    ASSERT_TRUE(gate->MapExtension("img", "TGA"));
    video::IImage* image = Decode(targa, "x.img", error);
    ASSERT_NE(image, nullptr) << error;
    image->drop();
    EXPECT_EQ(Decode(targa, "x.IMG", error), nullptr);
    // Other formats are known by their bytes whatever the name.
    EXPECT_TRUE(gate->MapExtension(".pic", ".png"));
}

// Seeded mutations of a file of every taken format, half a second each: each
// loads or is refused, through the driver as the engine uses it.
TEST_F(ImageGateTest, MutatedFilesLoadOrFailCleanly)
{
    video::IImage* rgb = Pattern(video::ECF_R8G8B8, 24, 16);
    video::IImage* argb = Pattern(video::ECF_A8R8G8B8, 24, 16);
    Bytes mappedTga = TgaHeader(9, 8, 8, 8);
    mappedTga[1] = 1;
    mappedTga[5] = 4;
    mappedTga[7] = 32;
    mappedTga += Bytes(16, '\x55') + Bytes("\x87\x01\x07\x02\x03\x00\x01\x02\x03\x00\x01\x02\x03", 13) +
                 Bytes(40, '\x02');
    struct SSeed
    {
        const char* name;
        Bytes bytes;
    };
    const SSeed seeds[] = {
        {"x.png", Written(argb, "x.png")},
        {"x.jpg", Written(rgb, "x.jpg", 90)},
        {"x.bmp", Written(rgb, "x.bmp")},
        {"x.tga", Written(argb, "x.tga")},
        {"m.tga", mappedTga},
        {"r.bmp", BmpHeader(8, 8, 4, 2, 0, 54 + 64) + Bytes(64, '\x11') +
                      Bytes("\x04\x12\x00\x03\x34\x50\x00\x00\x00\x02\x01\x01\x03\x21\x00\x01", 16)},
    };
    rgb->drop();
    argb->drop();
    std::mt19937 random(20261210);
    for (const SSeed& seed : seeds)
    {
        size_t loaded = 0;
        size_t runs = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (std::chrono::steady_clock::now() < deadline)
        {
            Bytes mutated = seed.bytes;
            const int steps = 1 + static_cast<int>(random() % 4);
            for (int step = 0; step < steps && !mutated.empty(); ++step)
            {
                // Headers are where a reader is led astray: mostly there.
                const size_t span = random() % 2 == 0 ? std::min<size_t>(64, mutated.size()) : mutated.size();
                const size_t at = random() % span;
                switch (random() % 4)
                {
                case 0:
                    mutated[at] = static_cast<char>(random());
                    break;
                case 1:
                    mutated.resize(at);
                    break;
                case 2:
                    mutated[at] = static_cast<char>(0xFF);
                    break;
                default:
                    mutated.insert(at, Bytes(1 + random() % 8, static_cast<char>(random())));
                    break;
                }
            }
            if (seed.bytes.compare(0, 4, "\x89PNG") == 0)
                FixPngChecksums(mutated);
            video::IImage* image = ThroughDriver(mutated, seed.name);
            if (image != nullptr)
            {
                const core::dimension2du size = image->getDimension();
                EXPECT_LE(size.Width, 16384u);
                image->getPixel(size.Width - 1, size.Height - 1);
                image->drop();
                ++loaded;
            }
            ++runs;
            stored.clear();
        }
        std::printf("%s: %zu of %zu mutated files loaded\n", seed.name, loaded, runs);
        EXPECT_GT(runs, 0u);
    }
}

} // namespace
