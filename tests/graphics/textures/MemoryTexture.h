#pragma once

// A texture in plain memory, of any of the four formats, that behaves like
// Irrlicht's OpenGL textures where it matters: each lock makes a fresh copy
// of the pixels and each unlock writes it back and frees it, so a pointer
// kept past an unlock points at freed memory (which ASan reports).

#include <ITexture.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

class CMemoryTexture : public irr::video::ITexture
{
public:
    CMemoryTexture(irr::u32 width, irr::u32 height, irr::video::ECOLOR_FORMAT format, irr::u32 bytesPerPixel)
        : ITexture("memory"), m_size(width, height), m_format(format), m_pitch(width * bytesPerPixel),
          m_pixels(static_cast<size_t>(m_pitch) * height, 0)
    {
    }

    void* lock(irr::video::E_TEXTURE_LOCK_MODE = irr::video::ETLM_READ_WRITE, irr::u32 = 0) override
    {
        ++locks;
        if (!m_locked)
        {
            m_locked = std::make_unique<uint8_t[]>(m_pixels.size());
            std::memcpy(m_locked.get(), m_pixels.data(), m_pixels.size());
        }
        return m_locked.get();
    }
    void unlock() override
    {
        ++unlocks;
        if (!m_locked)
            return;
        std::memcpy(m_pixels.data(), m_locked.get(), m_pixels.size());
        m_locked.reset();
    }
    const irr::core::dimension2d<irr::u32>& getOriginalSize() const override { return m_size; }
    const irr::core::dimension2d<irr::u32>& getSize() const override { return m_size; }
    irr::video::E_DRIVER_TYPE getDriverType() const override { return irr::video::EDT_NULL; }
    irr::video::ECOLOR_FORMAT getColorFormat() const override { return m_format; }
    irr::u32 getPitch() const override { return m_pitch; }
    void regenerateMipMapLevels(void* = 0) override { ++mipMapRegenerations; }

    // The pixels as they are outside a lock.
    std::vector<uint8_t>& Pixels() { return m_pixels; }
    uint8_t* Pixel(irr::u32 x, irr::u32 y)
    {
        return m_pixels.data() + y * m_pitch + x * (m_pitch / m_size.Width);
    }
    bool IsLocked() const { return m_locked != nullptr; }

    int locks = 0;
    int unlocks = 0;
    int mipMapRegenerations = 0;

private:
    irr::core::dimension2d<irr::u32> m_size;
    irr::video::ECOLOR_FORMAT m_format;
    irr::u32 m_pitch;
    std::vector<uint8_t> m_pixels;
    std::unique_ptr<uint8_t[]> m_locked;
};
