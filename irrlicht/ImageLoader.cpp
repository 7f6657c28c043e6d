#include "irrlicht/ImageLoader.h"

#include <IReadFile.h>
#include <IVideoDriver.h>

#include <algorithm>
#include <new>

namespace Graphics
{

using namespace irr;

CImageLoader::CImageLoader(video::IVideoDriver* driver, uint32_t maxSide)
    : m_driver(driver), m_maxSide(std::min(maxSide, kMaxSide))
{
}

bool CImageLoader::isALoadableFileFormat(io::IReadFile* file) const
{
    std::vector<uint8_t> bytes;
    std::string error;
    const bool read = ReadWhole(file, bytes, error);
    if (file != nullptr)
        file->seek(0);
    return read && HasSignature(bytes.data(), bytes.size());
}

video::IImage* CImageLoader::loadImage(io::IReadFile* file) const
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWhole(file, bytes, error))
        return nullptr;
    return Decode(bytes.data(), bytes.size(), error);
}

bool CImageLoader::ReadWhole(io::IReadFile* file, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    if (file == nullptr || !file->seek(0))
    {
        error = "the file cannot be read";
        return false;
    }
    const long size = file->getSize();
    if (size < 0 || static_cast<unsigned long>(size) > kMaxFileSize)
    {
        error = "the file is larger than any image taken (" + std::to_string(kMaxFileSize) + " bytes)";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    // Read in pieces: one read takes at most what an s32 counts.
    size_t done = 0;
    while (done < bytes.size())
    {
        const u32 piece = static_cast<u32>(std::min<size_t>(bytes.size() - done, 1u << 24));
        const s32 got = file->read(bytes.data() + done, piece);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    if (done != bytes.size())
    {
        error = "the file could not be read whole";
        return false;
    }
    return true;
}

bool CImageLoader::CheckSize(uint64_t width, uint64_t height, std::string& error) const
{
    if (width == 0 || height == 0)
    {
        error = "the image has no pixels";
        return false;
    }
    if (width > m_maxSide || height > m_maxSide)
    {
        error = "the image is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels; sides of at most " + std::to_string(m_maxSide) + " are taken";
        return false;
    }
    return true;
}

video::IImage* CImageLoader::CreateImage(video::ECOLOR_FORMAT format, uint32_t width, uint32_t height,
                                         std::string& error) const
{
    if (!CheckSize(width, height, error))
        return nullptr;
    video::IImage* image = nullptr;
    try
    {
        image = m_driver->createImage(format, core::dimension2d<u32>(width, height));
    }
    catch (const std::bad_alloc&)
    {
    }
    if (image == nullptr || image->lock() == nullptr)
    {
        if (image != nullptr)
            image->drop();
        error = "no memory for the image";
        return nullptr;
    }
    return image;
}

} // namespace Graphics
