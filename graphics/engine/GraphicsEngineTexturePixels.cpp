// Texture properties, locks and single pixels of the graphics engine.

#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/engine/PixelFormats.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;
using Misc::Error::CKVOError;

namespace
{

// The pixel's address in the locked memory, or null when the texture's
// memory layout is unknown. A position outside the texture throws.
uint8_t* PixelAddress(video::ITexture* texture, const void* data, int32_t x, int32_t y, const wchar_t* method)
{
    const uint32_t bytes = PixelFormats::BytesPerPixel(static_cast<int32_t>(texture->getColorFormat()));
    if (bytes == 0)
        return nullptr;
    const core::dimension2d<u32> size = texture->getSize();
    if (x < 0 || y < 0 || static_cast<u32>(x) >= size.Width || static_cast<u32>(y) >= size.Height)
        throw CKVOError::Format(L"[CGraphicsEngine::%s] Pixel position outside the texture: (%d, %d)", method,
                                x, y);
    const size_t pitch = texture->getPitch();
    if (pitch < static_cast<size_t>(bytes) * size.Width)
        return nullptr;
    return static_cast<uint8_t*>(const_cast<void*>(data)) + static_cast<size_t>(y) * pitch +
           static_cast<size_t>(x) * bytes;
}

} // namespace

uint32_t CGraphicsEngine::GetTexturePitch(video::ITexture* texture) const
{
    return texture != nullptr ? texture->getPitch() : 0;
}

int32_t CGraphicsEngine::GetTextureColorFormat(video::ITexture* texture) const
{
    return texture != nullptr ? static_cast<int32_t>(texture->getColorFormat()) : 0;
}

bool CGraphicsEngine::GetTextureMipMapsExist(video::ITexture* texture) const
{
    return texture != nullptr && texture->hasMipMaps();
}

bool CGraphicsEngine::TextureMipMapsRegenerate(video::ITexture* texture)
{
    if (texture != nullptr)
        texture->regenerateMipMapLevels();
    return true;
}

void* CGraphicsEngine::TextureLock(video::ITexture* texture)
{
    return texture != nullptr ? texture->lock(video::ETLM_READ_WRITE) : nullptr;
}

void CGraphicsEngine::TextureUnlock(video::ITexture* texture)
{
    if (texture == nullptr)
        return;
    texture->unlock();
    texture->regenerateMipMapLevels();
}

CPoint CGraphicsEngine::GetTextureOriginalSize(video::ITexture* texture) const
{
    if (texture == nullptr)
        return CPoint();
    const core::dimension2d<u32>& size = texture->getOriginalSize();
    return CPoint(static_cast<float>(size.Width), static_cast<float>(size.Height));
}

CPoint CGraphicsEngine::GetTextureSize(video::ITexture* texture) const
{
    if (texture == nullptr)
        return CPoint();
    const core::dimension2d<u32>& size = texture->getSize();
    return CPoint(static_cast<float>(size.Width), static_cast<float>(size.Height));
}

std::wstring CGraphicsEngine::GetTextureFilename(video::ITexture* texture, bool nameOnly) const
{
    if (texture == nullptr)
        return std::wstring();
    const io::path& path = texture->getName().getPath();
    std::wstring name = Misc::Text::Utf8ToWide(std::string(path.c_str(), path.size()));
    if (nameOnly)
    {
        const size_t slash = name.find_last_of(L"/\\");
        if (slash != std::wstring::npos)
            name.erase(0, slash + 1);
    }
    return name;
}

bool CGraphicsEngine::TextureGetPixel(video::ITexture* texture, const void* data, int32_t x, int32_t y,
                                      CColor& color)
{
    if (texture == nullptr || data == nullptr)
        return false;
    const uint8_t* pixel = PixelAddress(texture, data, x, y, L"TextureGetPixel");
    uint32_t argb = 0;
    if (pixel == nullptr || !PixelFormats::ReadPixel(static_cast<int32_t>(texture->getColorFormat()),
                                                     EByteOrder::RGB, pixel, argb))
        return false;
    // Channel values become fractions by 255 throughout: a channel of 1 is
    // 1/255, not the full 1.0 that the component rule would make of it.
    const auto fraction = [argb](int shift) { return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f; };
    color.r = fraction(16);
    color.g = fraction(8);
    color.b = fraction(0);
    color.a = fraction(24);
    return true;
}

bool CGraphicsEngine::TextureSetPixel(video::ITexture* texture, void* data, int32_t x, int32_t y,
                                      const CColor& color)
{
    if (texture == nullptr || data == nullptr)
        return false;
    uint8_t* pixel = PixelAddress(texture, data, x, y, L"TextureSetPixel");
    return pixel != nullptr && PixelFormats::WritePixel(static_cast<int32_t>(texture->getColorFormat()),
                                                        EByteOrder::RGB, pixel, ToIrrlichtColor(color).color);
}

} // namespace Graphics
