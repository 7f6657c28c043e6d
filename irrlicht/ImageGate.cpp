#include "irrlicht/ImageGate.h"

#include "irrlicht/ExtensionMappers.h"
#include "irrlicht/WithdrawableFile.h"

#include <IImage.h>
#include <IReadFile.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace Graphics
{

using namespace irr;

namespace
{

thread_local std::string t_lastRefusal;

// The lower-case extension without "." (empty when there is none).
std::string ExtensionOf(const io::path& name)
{
    const std::string text(name.c_str(), name.size());
    const size_t dot = text.find_last_of('.');
    const size_t slash = text.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot))
        return std::string();
    std::string extension = text.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

CImageGate::CImageGate(video::IVideoDriver* driver, uint32_t maxSide)
    : m_png(driver, maxSide), m_jpeg(driver, maxSide), m_bmp(driver, maxSide), m_tga(driver, maxSide)
{
}

bool CImageGate::isALoadableFileExtension(const io::path&) const
{
    return true;
}

bool CImageGate::isALoadableFileFormat(io::IReadFile*) const
{
    return false;
}

video::IImage* CImageGate::loadImage(io::IReadFile* file) const
{
    std::string error;
    video::IImage* image = Decode(file, error);
    t_lastRefusal = error;
    if (image == nullptr)
    {
        if (auto* withdrawable = dynamic_cast<CWithdrawableFile*>(file))
            withdrawable->Withdraw();
    }
    return image;
}

video::IImage* CImageGate::Decode(io::IReadFile* file, std::string& error) const
{
    error.clear();
    auto* withdrawable = dynamic_cast<CWithdrawableFile*>(file);
    if (withdrawable != nullptr && withdrawable->IsWithdrawn())
    {
        error = "the file was refused";
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!CImageLoader::ReadWhole(file, bytes, error))
        return nullptr;
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    for (const CImageLoader* loader :
         {static_cast<const CImageLoader*>(&m_png), static_cast<const CImageLoader*>(&m_jpeg),
          static_cast<const CImageLoader*>(&m_bmp)})
    {
        if (loader->HasSignature(data, size))
            return loader->Decode(data, size, error);
    }
    if (IsTgaName(file->getFileName()) || m_tga.HasSignature(data, size))
        return m_tga.Decode(data, size, error);
    const std::string extension = ExtensionOf(file->getFileName());
    error = "not a PNG, JPEG, BMP or TGA image";
    if (!extension.empty())
        error += " (" + extension + " files are not read)";
    return nullptr;
}

bool CImageGate::Fits(io::IReadFile* file, uint32_t maxSide) const
{
    std::string error;
    video::IImage* image = Decode(file, error);
    if (file != nullptr)
        file->seek(0);
    if (image == nullptr)
        return false;
    const core::dimension2du size = image->getDimension();
    image->drop();
    return size.Width <= maxSide && size.Height <= maxSide;
}

bool CImageGate::IsTgaName(const io::path& name) const
{
    if (m_tga.isALoadableFileExtension(name))
        return true;
    for (const io::path& extension : m_tgaExtensions)
    {
        if (EndsWithExtension(name, extension))
            return true;
    }
    return false;
}

bool CImageGate::MapExtension(const io::path& newExtension, const io::path& knownExtension)
{
    const auto dotted = [](const io::path& extension)
    { return extension.size() != 0 && extension[0] == '.' ? extension : io::path(".") + extension; };
    const io::path added = dotted(newExtension);
    const io::path sample = io::path("x") + dotted(knownExtension);
    if (added.size() < 2 || knownExtension.size() == 0)
        return false;
    if (IsTgaName(sample))
    {
        m_tgaExtensions.push_back(added);
        return true;
    }
    // The other formats are known by their bytes whatever their name.
    return m_png.isALoadableFileExtension(sample) || m_jpeg.isALoadableFileExtension(sample) ||
           m_bmp.isALoadableFileExtension(sample);
}

const std::string& CImageGate::LastRefusal()
{
    return t_lastRefusal;
}

} // namespace Graphics
