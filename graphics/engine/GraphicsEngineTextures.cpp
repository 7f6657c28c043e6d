// Textures of the graphics engine: finding, loading, creating, writing raw
// data, copying, saving and 2D drawing of named textures, and new file
// extensions for the image and mesh loaders.

#include "graphics/engine/GraphicsEngine.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "irrlicht/SilentLog.h"
#include "graphics/meshes/MeshGate.h"
#include "graphics/engine/ImageFileWriter.h"
#include "irrlicht/ImageGate.h"
#include "irrlicht/IrrlichtConversions.h"
#include "irrlicht/IrrlichtFile.h"
#include "graphics/engine/PixelFormats.h"
#include "graphics/engine/TextureLocks.h"
#include "irrlicht/WithdrawableFile.h"

#include <irrlicht.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

namespace Graphics
{

using namespace irr;
using Misc::Error::CKVOError;
using PixelFormats::EWriteResult;

namespace
{

io::path ToPath(const std::wstring& name)
{
    return io::path(Misc::Text::WideToUtf8(name).c_str());
}

// One lock of a texture for the length of a scope (unlocking regenerates
// the mip maps).
class CScopedLock
{
public:
    CScopedLock(video::ITexture* texture, video::E_TEXTURE_LOCK_MODE mode)
        : m_texture(texture), m_pixels(texture->lock(mode))
    {
    }
    ~CScopedLock()
    {
        m_texture->unlock();
        m_texture->regenerateMipMapLevels();
    }
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;

    uint8_t* Pixels() const { return static_cast<uint8_t*>(m_pixels); }

private:
    video::ITexture* m_texture;
    void* m_pixels;
};

// The locked memory of a texture as a pixel buffer: pitch bytes per row, as
// many rows as the texture is high.
SPixelBuffer TextureBuffer(video::ITexture* texture, void* pixels)
{
    SPixelBuffer buffer;
    buffer.data = static_cast<uint8_t*>(pixels);
    buffer.width = texture->getSize().Width;
    buffer.height = texture->getSize().Height;
    buffer.pitch = texture->getPitch();
    buffer.size = buffer.pitch * buffer.height;
    buffer.format = static_cast<int32_t>(texture->getColorFormat());
    buffer.order = EByteOrder::RGB;
    return buffer;
}

// Raw data that scripts hand in: rows of rowLength pixels one after the
// other, 24-bit pixels blue, green, red.
SPixelBuffer RawBuffer(const void* data, size_t size, uint32_t width, uint32_t rowLength, uint32_t height,
                       int32_t format)
{
    SPixelBuffer buffer;
    buffer.data = static_cast<uint8_t*>(const_cast<void*>(data));
    buffer.size = size;
    buffer.width = width;
    buffer.height = height;
    buffer.pitch = static_cast<size_t>(rowLength) * PixelFormats::BytesPerPixel(format);
    buffer.format = format;
    buffer.order = EByteOrder::BGR;
    return buffer;
}

const wchar_t* const kWriteInputFormat =
    L"[CGraphicsEngine::WriteTexture] Unknown input color format. Only A1R5G5B5, R8G8B8, A8R8G8B8 supported.";
const wchar_t* const kWriteOutputFormat =
    L"[CGraphicsEngine::WriteTexture] Unknown output color format. Only A1R5G5B5, A8R8G8B8 supported.";

// The writer's answer as the engine's errors; method names the caller.
void RaiseWriteResult(EWriteResult result, const wchar_t* method, const wchar_t* inputMessage,
                      const wchar_t* outputMessage)
{
    switch (result)
    {
    case EWriteResult::Written:
        return;
    case EWriteResult::UnknownSourceFormat:
        throw CKVOError(inputMessage);
    case EWriteResult::UnknownDestinationFormat:
        throw CKVOError(outputMessage);
    case EWriteResult::SourceTooShort:
        throw CKVOError::Format(L"[CGraphicsEngine::%s] Raw image data too short", method);
    case EWriteResult::DestinationInvalid:
        throw CKVOError::Format(L"[CGraphicsEngine::%s] Texture memory does not hold the texture", method);
    }
}

// The 2D blitters compute in int with pixel coordinates and the scale
// between source and destination: coordinates are held to +-2^24.
constexpr s32 kMaxBlitCoordinate = 1 << 24;

s32 BlitPixels(float pixels)
{
    return Misc::ToPixels(pixels, kMaxBlitCoordinate);
}

s32 BlitFraction(u32 side, float fraction)
{
    return Misc::FractionToPixels(side, fraction, kMaxBlitCoordinate);
}

// Whether a destination (either way round) reaches the render target.
bool ReachesScreen(core::rect<s32> destination, const core::dimension2du& screen)
{
    destination.repair();
    return destination.getWidth() > 0 && destination.getHeight() > 0 && destination.LowerRightCorner.X > 0 &&
           destination.LowerRightCorner.Y > 0 &&
           destination.UpperLeftCorner.X <
               static_cast<s32>(std::min<u32>(screen.Width, kMaxBlitCoordinate)) &&
           destination.UpperLeftCorner.Y < static_cast<s32>(std::min<u32>(screen.Height, kMaxBlitCoordinate));
}

// The part of the source inside the texture, and the part of the
// destination it maps to: the blitters read source pixels without looking
// at the texture's bounds. False when nothing of the source is inside.
bool ClipSourceToTexture(core::rect<s32>& source, core::rect<s32>& destination,
                         const core::dimension2du& size)
{
    const double sourceWidth = static_cast<double>(source.LowerRightCorner.X) - source.UpperLeftCorner.X;
    const double sourceHeight = static_cast<double>(source.LowerRightCorner.Y) - source.UpperLeftCorner.Y;
    if (!(sourceWidth > 0.0 && sourceHeight > 0.0))
        return false;
    core::rect<s32> inside = source;
    inside.clipAgainst(core::rect<s32>(0, 0, static_cast<s32>(size.Width), static_cast<s32>(size.Height)));
    if (inside.getWidth() <= 0 || inside.getHeight() <= 0)
        return false;
    const double scaleX =
        (static_cast<double>(destination.LowerRightCorner.X) - destination.UpperLeftCorner.X) / sourceWidth;
    const double scaleY =
        (static_cast<double>(destination.LowerRightCorner.Y) - destination.UpperLeftCorner.Y) / sourceHeight;
    const auto mapX = [&](s32 x)
    { return static_cast<s32>(destination.UpperLeftCorner.X + (x - source.UpperLeftCorner.X) * scaleX); };
    const auto mapY = [&](s32 y)
    { return static_cast<s32>(destination.UpperLeftCorner.Y + (y - source.UpperLeftCorner.Y) * scaleY); };
    destination = core::rect<s32>(mapX(inside.UpperLeftCorner.X), mapY(inside.UpperLeftCorner.Y),
                                  mapX(inside.LowerRightCorner.X), mapY(inside.LowerRightCorner.Y));
    source = inside;
    return true;
}

// A new texture's memory is whatever the allocator left there: it starts
// transparent black instead.
video::ITexture* Cleared(video::ITexture* texture)
{
    if (texture == nullptr)
        return nullptr;
    if (void* pixels = texture->lock(video::ETLM_WRITE_ONLY))
        std::memset(pixels, 0, static_cast<size_t>(texture->getPitch()) * texture->getSize().Height);
    texture->unlock();
    return texture;
}

// The extension with a leading "." when it has none.
io::path DottedExtension(const std::wstring& extension)
{
    io::path path = ToPath(extension);
    if (path.size() == 0 || path[0] != '.')
        path = io::path(".") + path;
    return path;
}

} // namespace

::CApplication* CGraphicsEngine::GetApplication() const
{
    return GetOwner() != nullptr ? GetOwner()->GetApplication() : nullptr;
}

video::ITexture* CGraphicsEngine::GetTexture(const std::wstring& name, bool create)
{
    if (m_device == nullptr)
        return nullptr;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    CSilentLog silent(m_device->getLogger());
    const io::path path = ToPath(name);
    video::ITexture* texture = path.size() != 0 ? driver->findTexture(path) : nullptr;
    if (texture == nullptr && path.size() != 0)
    {
        const ::CApplication* application = GetApplication();
        io::IReadFile* file = nullptr;
        if (application == nullptr)
        {
            // An engine without an application reads from the disk.
            file = m_device->getFileSystem()->createAndOpenFile(path);
        }
        else
        {
            try
            {
                file = CIrrlichtFile::Adopt(application->OpenFile(name));
            }
            catch (const Misc::Error::CKVOError&)
            {
            }
            catch (const std::exception&)
            {
            }
        }
        if (file != nullptr)
        {
            // Wrapped, so that an image the gate refuses reaches no other
            // loader.
            CWithdrawableFile* image = CWithdrawableFile::Wrap(file);
            file->drop();
            texture = driver->getTexture(image);
            image->drop();
        }
    }
    if (texture == nullptr && create)
        texture = Cleared(driver->addTexture(core::dimension2d<u32>(1, 1), path, video::ECF_A8R8G8B8));
    return texture;
}

bool CGraphicsEngine::LoadTexture(const std::wstring& name)
{
    return GetTexture(name, false) != nullptr;
}

video::ITexture* CGraphicsEngine::FindTexture(const std::wstring& name) const
{
    if (m_device == nullptr || name.empty())
        return nullptr;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    video::ITexture* texture = driver->findTexture(ToPath(name));
    if (texture != nullptr)
        return texture;
    // A loaded texture is named after the path its file was found at.
    const ::CApplication* application = GetApplication();
    if (application == nullptr)
        return nullptr;
    std::wstring found;
    try
    {
        found = application->GetFilenameFromFileSystem(name);
    }
    catch (const Misc::Error::CKVOError&)
    {
    }
    catch (const std::exception&)
    {
    }
    if (found.empty() || found == name)
        return nullptr;
    return driver->findTexture(ToPath(found));
}

bool CGraphicsEngine::TextureExists(const std::wstring& name)
{
    return FindTexture(name) != nullptr;
}

void CGraphicsEngine::UnloadTexture(const std::wstring& name)
{
    if (video::ITexture* texture = FindTexture(name))
        RemoveTexture(texture);
}

void CGraphicsEngine::RemoveTexture(video::ITexture* texture)
{
    m_textureLocks->Release(texture);
    video::IVideoDriver* driver = m_device->getVideoDriver();
    // No material may keep pointing at it.
    driver->setMaterial(video::SMaterial());
    driver->removeTexture(texture);
}

bool CGraphicsEngine::CreateTexture(const std::wstring& name, const CPoint& size, int32_t format)
{
    if (m_device == nullptr)
        return false;
    if (format < 0 || format >= static_cast<int32_t>(video::ECF_UNKNOWN))
        return false;
    const auto side = [](float value, uint32_t screen)
    {
        double pixels = value;
        if (pixels < 1.0)
            pixels *= screen;
        if (!(pixels > 0.0) || pixels > screen)
            pixels = screen;
        return static_cast<u32>(pixels);
    };
    const core::dimension2d<u32> pixels(side(size.x, m_screenWidth), side(size.y, m_screenHeight));
    // A fraction too small for one pixel makes no texture.
    if (pixels.Width == 0 || pixels.Height == 0)
        return false;
    CSilentLog silent(m_device->getLogger());
    return Cleared(m_device->getVideoDriver()->addTexture(
               pixels, ToPath(name), static_cast<video::ECOLOR_FORMAT>(format))) != nullptr;
}

uint32_t CGraphicsEngine::GetBytesPerPixel(int32_t format)
{
    const uint32_t bytes = PixelFormats::BytesPerPixel(format);
    if (bytes == 0)
        throw CKVOError(L"[CGraphicsEngine::GetBytesPerPixel] Unknown color format");
    return bytes;
}

void CGraphicsEngine::WriteTexture(const void* data, size_t dataSize, uint32_t width, uint32_t rowLength,
                                   uint32_t height, int32_t sourceFormat, video::ITexture* texture,
                                   void* lockedMemory, int32_t mode, bool flip)
{
    if (data == nullptr)
        throw CKVOError(L"[CGraphicsEngine::WriteTexture] Raw image data not defined");
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::WriteTexture] Texture not defined");
    const core::dimension2d<u32> size = texture->getSize();
    // Factors of an empty source are never used: it writes nothing.
    const float across = width != 0 ? static_cast<float>(size.Width) / static_cast<float>(width) : 0.0f;
    const float down = height != 0 ? static_cast<float>(size.Height) / static_cast<float>(height) : 0.0f;
    switch (mode)
    {
    case 0:
        break;
    case 1:
        writeToTextureWithScale(data, dataSize, width, rowLength, height, sourceFormat, texture, lockedMemory,
                                across, across, flip);
        return;
    case 2:
        writeToTextureWithScale(data, dataSize, width, rowLength, height, sourceFormat, texture, lockedMemory,
                                down, down, flip);
        return;
    case 3:
        writeToTextureWithScale(data, dataSize, width, rowLength, height, sourceFormat, texture, lockedMemory,
                                across, down, flip);
        return;
    default:
        return;
    }

    if (sourceFormat != kPixelA1R5G5B5 && sourceFormat != kPixelR8G8B8 && sourceFormat != kPixelA8R8G8B8)
        throw CKVOError(kWriteInputFormat);
    const int32_t textureFormat = static_cast<int32_t>(texture->getColorFormat());
    if (textureFormat != kPixelA1R5G5B5 && textureFormat != kPixelA8R8G8B8)
        throw CKVOError(kWriteOutputFormat);
    if (rowLength < width)
        throw CKVOError(L"[CGraphicsEngine::WriteTexture] Row length shorter than the width");
    const SPixelBuffer source = RawBuffer(data, dataSize, width, rowLength, height, sourceFormat);
    if (width != 0 && height != 0 && !PixelFormats::IsValid(source))
        throw CKVOError(L"[CGraphicsEngine::WriteTexture] Raw image data too short");
    if (lockedMemory == nullptr || width == 0 || height == 0 || size.Width == 0 || size.Height == 0)
        return;
    RaiseWriteResult(PixelFormats::CopyPixels(source, TextureBuffer(texture, lockedMemory), 0, 0, flip),
                     L"WriteTexture", kWriteInputFormat, kWriteOutputFormat);
}

void CGraphicsEngine::writeToTextureWithScale(const void* data, size_t dataSize, uint32_t width,
                                              uint32_t rowLength, uint32_t height, int32_t sourceFormat,
                                              video::ITexture* texture, void* lockedMemory, float scaleX,
                                              float scaleY, bool flip)
{
    const wchar_t* const input =
        L"[CGraphicsEngine::writeToTextureWithScale] Unknown input color format. Only "
        L"R8G8B8 supported.";
    const wchar_t* const output =
        L"[CGraphicsEngine::writeToTextureWithScale] Unknown output color format. Only "
        L"A1R5G5B5, A8R8G8B8 supported.";
    if (data == nullptr)
        throw CKVOError(L"[CGraphicsEngine::writeToTextureWithScale] Raw image data not defined");
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::writeToTextureWithScale] Texture not defined");
    if (sourceFormat != kPixelR8G8B8)
        throw CKVOError(input);
    const int32_t textureFormat = static_cast<int32_t>(texture->getColorFormat());
    if (textureFormat != kPixelA1R5G5B5 && textureFormat != kPixelA8R8G8B8)
        throw CKVOError(output);
    if (rowLength < width)
        throw CKVOError(L"[CGraphicsEngine::writeToTextureWithScale] Row length shorter than the width");
    const SPixelBuffer source = RawBuffer(data, dataSize, width, rowLength, height, sourceFormat);
    if (width != 0 && height != 0 && !PixelFormats::IsValid(source))
        throw CKVOError(L"[CGraphicsEngine::writeToTextureWithScale] Raw image data too short");
    const core::dimension2d<u32> size = texture->getSize();
    if (lockedMemory == nullptr || width == 0 || height == 0 || size.Width == 0 || size.Height == 0)
        return;
    RaiseWriteResult(
        PixelFormats::ScalePixels(source, TextureBuffer(texture, lockedMemory), scaleX, scaleY, flip),
        L"writeToTextureWithScale", input, output);
}

void CGraphicsEngine::CopyTexture(video::ITexture* source, int32_t x, int32_t y, int32_t width,
                                  int32_t height, video::ITexture* destination, int32_t destX, int32_t destY)
{
    if (source == nullptr)
        throw CKVOError(L"[CGraphicsEngine::CopyTexture] Source image data not defined");
    if (destination == nullptr)
        throw CKVOError(L"[CGraphicsEngine::CopyTexture] Destination image data not defined");
    if (width < 0 || height < 0)
        throw CKVOError::Format(L"[CGraphicsEngine::CopyTexture] Invalid block size: %d x %d", width, height);
    const core::dimension2d<u32> sourceSize = source->getSize();
    const core::dimension2d<u32> destinationSize = destination->getSize();
    // Textures without pixels (the NULL driver's) have nothing to copy.
    if (sourceSize.Width == 0 || sourceSize.Height == 0 || destinationSize.Width == 0 ||
        destinationSize.Height == 0)
        return;
    if (x < 0 || y < 0 || static_cast<u32>(x) >= sourceSize.Width || static_cast<u32>(y) >= sourceSize.Height)
        throw CKVOError::Format(
            L"[CGraphicsEngine::CopyTexture] Source position outside the texture: (%d, %d)", x, y);
    if (destX < 0 || destY < 0 || static_cast<u32>(destX) >= destinationSize.Width ||
        static_cast<u32>(destY) >= destinationSize.Height)
        throw CKVOError::Format(
            L"[CGraphicsEngine::CopyTexture] Destination position outside the texture: (%d, %d)", destX,
            destY);

    // Scripts' locks of either texture let go meanwhile.
    CTextureLocks::CSuspend suspendSource(*m_textureLocks, source);
    CTextureLocks::CSuspend suspendDestination(*m_textureLocks,
                                               destination == source ? nullptr : destination);
    // One texture is locked once.
    CScopedLock destinationLock(destination, video::ETLM_READ_WRITE);
    std::optional<CScopedLock> sourceLock;
    uint8_t* sourcePixels = destinationLock.Pixels();
    if (source != destination)
    {
        sourceLock.emplace(source, video::ETLM_READ_ONLY);
        sourcePixels = sourceLock->Pixels();
    }
    if (sourcePixels == nullptr || destinationLock.Pixels() == nullptr)
        return;

    SPixelBuffer from = TextureBuffer(source, sourcePixels);
    const uint32_t bytes = PixelFormats::BytesPerPixel(from.format);
    const size_t offset = static_cast<size_t>(y) * from.pitch + static_cast<size_t>(x) * bytes;
    if (bytes == 0 || from.pitch < static_cast<size_t>(bytes) * from.width)
        throw CKVOError(kWriteInputFormat);
    from.data += offset;
    from.size -= offset;
    from.width = std::min<u32>(static_cast<u32>(width), from.width - static_cast<u32>(x));
    from.height = std::min<u32>(static_cast<u32>(height), from.height - static_cast<u32>(y));
    if (from.width == 0 || from.height == 0)
        return;
    RaiseWriteResult(PixelFormats::CopyPixels(from, TextureBuffer(destination, destinationLock.Pixels()),
                                              static_cast<u32>(destX), static_cast<u32>(destY), false),
                     L"WriteTexture", kWriteInputFormat, kWriteOutputFormat);
}

bool CGraphicsEngine::TextureWriteToFile(video::ITexture* texture, const std::wstring& fileName,
                                         uint32_t parameter)
{
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::TextureWriteToFile] Input texture not specified.");
    if (m_device == nullptr)
        return false;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    video::IImage* image = nullptr;
    {
        CTextureLocks::CSuspend suspend(*m_textureLocks, texture);
        CScopedLock lock(texture, video::ETLM_READ_ONLY);
        const core::dimension2d<u32> size = texture->getSize();
        const size_t pitch = texture->getPitch();
        if (lock.Pixels() == nullptr || size.Width == 0 || size.Height == 0)
            return false;
        image = driver->createImage(texture->getColorFormat(), size);
        if (image == nullptr)
            return false;
        const size_t row = std::min<size_t>(pitch, image->getPitch());
        uint8_t* target = static_cast<uint8_t*>(image->lock());
        for (u32 line = 0; line < size.Height; ++line)
            std::copy_n(lock.Pixels() + line * pitch, row,
                        target + static_cast<size_t>(line) * image->getPitch());
        image->unlock();
    }
    const bool written = CImageFileWriter::Write(driver, image, fileName, parameter);
    image->drop();
    return written;
}

void CGraphicsEngine::Draw2DImage(const std::wstring& name, const CPoint& position, bool useAlpha)
{
    video::ITexture* texture = GetTexture(name, false);
    if (texture == nullptr)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const core::rect<s32> whole(core::position2d<s32>(0, 0), core::dimension2di(texture->getOriginalSize()));
    const core::rect<s32> placed(core::position2d<s32>(BlitFraction(m_screenWidth, position.x),
                                                       BlitFraction(m_screenHeight, position.y)),
                                 whole.getSize());
    if (!ReachesScreen(placed, driver->getCurrentRenderTargetSize()))
        return;
    driver->draw2DImage(texture, placed.UpperLeftCorner, whole, nullptr, video::SColor(255, 255, 255, 255),
                        useAlpha);
}

void CGraphicsEngine::Draw2DImageScaled(const std::wstring& name, const CRect& source,
                                        const CRect& destination, const CRect& clip, const CColor& tint,
                                        bool useAlpha)
{
    video::ITexture* texture = GetTexture(name, false);
    if (texture == nullptr)
        return;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    core::rect<s32> from(BlitPixels(source.x1), BlitPixels(source.y1), BlitPixels(source.x2),
                         BlitPixels(source.y2));
    core::rect<s32> to(
        BlitFraction(m_screenWidth, destination.x1), BlitFraction(m_screenHeight, destination.y1),
        BlitFraction(m_screenWidth, destination.x2), BlitFraction(m_screenHeight, destination.y2));
    if (!ClipSourceToTexture(from, to, texture->getOriginalSize()) ||
        !ReachesScreen(to, driver->getCurrentRenderTargetSize()))
        return;
    const core::rect<s32> clipPixels(
        BlitFraction(m_screenWidth, clip.x1), BlitFraction(m_screenHeight, clip.y1),
        BlitFraction(m_screenWidth, clip.x2), BlitFraction(m_screenHeight, clip.y2));
    const bool unclipped = clip.x1 == 0.0f && clip.y1 == 0.0f && clip.x2 == 0.0f && clip.y2 == 0.0f;
    const video::SColor color = ToIrrlichtColor(tint);
    const video::SColor corners[4] = {color, color, color, color};
    driver->draw2DImage(texture, to, from, unclipped ? nullptr : &clipPixels, corners, useAlpha);
}

bool CGraphicsEngine::MapTextureExtension(const std::wstring& newExtension,
                                          const std::wstring& knownExtension)
{
    if (m_device == nullptr || m_imageGate == nullptr || newExtension.empty() || knownExtension.empty())
        return false;
    return m_imageGate->MapExtension(ToPath(newExtension), ToPath(knownExtension));
}

bool CGraphicsEngine::MapMeshExtension(const std::wstring& newExtension, const std::wstring& knownExtension)
{
    if (m_device == nullptr || m_meshGate == nullptr || newExtension.empty() || knownExtension.empty())
        return false;
    return m_meshGate->MapExtension(DottedExtension(newExtension), DottedExtension(knownExtension));
}

void CGraphicsEngine::TextureCreateAlphaChannelFromColor(video::ITexture* texture, const CColor& color)
{
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::TextureCreateAlphaChannelFromColor] Input texture not defined");
    if (m_device == nullptr)
        return;
    CTextureLocks::CSuspend suspend(*m_textureLocks, texture);
    CSilentLog silent(m_device->getLogger());
    m_device->getVideoDriver()->makeColorKeyTexture(texture, ToIrrlichtColor(color), false);
}

void CGraphicsEngine::TextureCreateAlphaChannelFromPos(video::ITexture* texture, int32_t x, int32_t y)
{
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Input texture not defined");
    if (m_device == nullptr)
        return;
    const core::dimension2d<u32> size = texture->getSize();
    // The driver reads the key colour at the position unchecked.
    if (size.Width == 0 || size.Height == 0)
        return;
    if (x < 0 || y < 0 || static_cast<u32>(x) >= size.Width || static_cast<u32>(y) >= size.Height)
        throw CKVOError::Format(L"[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Pixel position outside "
                                L"the texture: (%d, %d)",
                                x, y);
    CTextureLocks::CSuspend suspend(*m_textureLocks, texture);
    CSilentLog silent(m_device->getLogger());
    m_device->getVideoDriver()->makeColorKeyTexture(texture, core::position2d<s32>(x, y), false);
}

void CGraphicsEngine::TextureCreateNormalMap(video::ITexture* texture, float amplitude)
{
    if (texture == nullptr)
        throw CKVOError(L"[CGraphicsEngine::TextureCreateNormalMap] Input texture not defined");
    if (m_device == nullptr)
        return;
    CTextureLocks::CSuspend suspend(*m_textureLocks, texture);
    CSilentLog silent(m_device->getLogger());
    m_device->getVideoDriver()->makeNormalMapTexture(texture, amplitude);
}

uint32_t CGraphicsEngine::GetNumberOfLoadedMeshes() const
{
    return m_device != nullptr ? m_device->getSceneManager()->getMeshCache()->getMeshCount() : 0;
}

} // namespace Graphics
