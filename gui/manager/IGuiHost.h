#pragma once

#include <cstdint>
#include <string>

class CApplication;

namespace irr::video
{
class ITexture;
}

namespace Graphics
{
class CGraphicsEngine;
}

namespace Graphics::GUI
{

// What the GUI asks of the graphics engine that owns it: textures by name,
// the screen's size, the time of the next frame and the application's file
// lookup. The GUI sits below the engine and knows it by this alone.
class IGuiHost
{
public:
    // The texture of that name (a new empty one with create); null.
    virtual irr::video::ITexture* GetTexture(const std::wstring& name, bool create) = 0;
    // The texture's name; with nameOnly its file name and extension.
    virtual std::wstring GetTextureFilename(irr::video::ITexture* texture, bool nameOnly) const = 0;
    virtual uint32_t GetScreenWidth() const = 0;
    virtual uint32_t GetScreenHeight() const = 0;
    // When the engine draws its next frame (fades and scrollers aim there).
    virtual uint32_t GetNextDueTime() const = 0;
    // The application's file lookup; null in an engine without one.
    virtual ::CApplication* GetApplication() const = 0;
    // The engine that GUI events and graphics ticks name as their source.
    virtual Graphics::CGraphicsEngine* GetEventSource() = 0;

protected:
    ~IGuiHost() = default;
};

} // namespace Graphics::GUI
