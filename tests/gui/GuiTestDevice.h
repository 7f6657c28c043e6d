#pragma once

// What the GUI tests share: an Irrlicht NULL device (GUI environment and
// driver without a display), textures of a chosen size (the NULL driver's
// own are 0 x 0) and a loader that serves them by name.

#include <IGUIEnvironment.h>
#include <ITexture.h>
#include <IVideoDriver.h>
#include <irrlicht.h>

#include <map>
#include <string>

class CGuiTestDevice
{
public:
    explicit CGuiTestDevice(irr::u32 width = 800, irr::u32 height = 600)
    {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.WindowSize = irr::core::dimension2d<irr::u32>(width, height);
        parameters.LoggingLevel = irr::ELL_NONE;
        m_device = irr::createDeviceEx(parameters);
    }
    ~CGuiTestDevice()
    {
        if (m_device)
            m_device->drop();
    }
    CGuiTestDevice(const CGuiTestDevice&) = delete;
    CGuiTestDevice& operator=(const CGuiTestDevice&) = delete;

    irr::IrrlichtDevice* Device() const { return m_device; }
    irr::gui::IGUIEnvironment* Environment() const { return m_device->getGUIEnvironment(); }
    irr::video::IVideoDriver* Driver() const { return m_device->getVideoDriver(); }

private:
    irr::IrrlichtDevice* m_device = nullptr;
};

// A texture that only has a name and a size.
class CFakeTexture : public irr::video::ITexture
{
public:
    CFakeTexture(const char* name, irr::u32 width, irr::u32 height) : ITexture(name), m_size(width, height) {}

    void* lock(irr::video::E_TEXTURE_LOCK_MODE = irr::video::ETLM_READ_WRITE, irr::u32 = 0) override
    {
        return nullptr;
    }
    void unlock() override {}
    const irr::core::dimension2d<irr::u32>& getOriginalSize() const override { return m_size; }
    const irr::core::dimension2d<irr::u32>& getSize() const override { return m_size; }
    irr::video::E_DRIVER_TYPE getDriverType() const override { return irr::video::EDT_NULL; }
    irr::video::ECOLOR_FORMAT getColorFormat() const override { return irr::video::ECF_A8R8G8B8; }
    irr::u32 getPitch() const override { return m_size.Width * 4; }
    void regenerateMipMapLevels(void* = 0) override {}

private:
    irr::core::dimension2d<irr::u32> m_size;
};

// Fake textures by name, held until the store goes; unknown names give null.
class CFakeTextureStore
{
public:
    ~CFakeTextureStore()
    {
        for (auto& [name, texture] : m_textures)
            texture->drop();
    }
    void Add(const std::string& name, irr::u32 width, irr::u32 height)
    {
        m_textures[std::wstring(name.begin(), name.end())] = new CFakeTexture(name.c_str(), width, height);
    }
    irr::video::ITexture* Get(const std::wstring& name) const
    {
        const auto found = m_textures.find(name);
        return found == m_textures.end() ? nullptr : found->second;
    }
    // A loader for CGuiKVOSpriteBank::SetTextureLoader.
    auto Loader() const
    {
        return [this](const std::wstring& name) { return Get(name); };
    }

private:
    std::map<std::wstring, irr::video::ITexture*> m_textures;
};
