#pragma once

#include <IImageLoader.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace irr::video
{
class IVideoDriver;
}

namespace Graphics
{

// The base of the engine's image readers. A reader takes the file's bytes
// whole, checks every size the file declares against the bytes present and
// against the side limit before it allocates anything, and reports a
// damaged, truncated or unsupported file as a refusal with its reason,
// never as a crash or a partial image.
class CImageLoader : public irr::video::IImageLoader
{
public:
    // The largest side any image may have: 8192 pixels a side is already a
    // 256 MB image, and larger sides in game content come from damaged or
    // hostile headers.
    static constexpr uint32_t kMaxSide = 8192;
    // No image file of a taken size needs more bytes than this (an
    // uncompressed 32-bit image of the largest size and its headers).
    static constexpr size_t kMaxFileSize = (size_t{kMaxSide} * kMaxSide * 4) + (1u << 20);

    // The driver makes the images; it is not held (it holds its loaders).
    // The side limit is the smaller of maxSide and kMaxSide.
    CImageLoader(irr::video::IVideoDriver* driver, uint32_t maxSide);

    bool isALoadableFileFormat(irr::io::IReadFile* file) const override;
    irr::video::IImage* loadImage(irr::io::IReadFile* file) const override;

    // The image the bytes hold, or null with the reason.
    virtual irr::video::IImage* Decode(const uint8_t* data, size_t size, std::string& error) const = 0;
    // Whether the bytes look like a file of this format.
    virtual bool HasSignature(const uint8_t* data, size_t size) const = 0;

    uint32_t GetMaxSide() const { return m_maxSide; }

    // The file's bytes from its start, or false with the reason.
    static bool ReadWhole(irr::io::IReadFile* file, std::vector<uint8_t>& bytes, std::string& error);

protected:
    // Whether the sides are taken; the reason when not.
    bool CheckSize(uint64_t width, uint64_t height, std::string& error) const;
    // A new image of a taken size, or null with the reason.
    irr::video::IImage* CreateImage(irr::video::ECOLOR_FORMAT format, uint32_t width, uint32_t height,
                                    std::string& error) const;

private:
    irr::video::IVideoDriver* m_driver;
    uint32_t m_maxSide;
};

} // namespace Graphics
