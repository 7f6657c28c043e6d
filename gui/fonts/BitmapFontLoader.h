#pragma once

#include <IGUIFont.h>
#include <dimension2d.h>

#include <string>

class CApplication;
class IFile;

namespace irr::gui
{
class IGUIEnvironment;
}

namespace Graphics::GUI
{

// Loads bitmap fonts (a description in XML and the images it names)
// without letting Irrlicht read anything unchecked. The description is
// parsed whole by a real XML parser: the root is a bitmap font, every
// texture has an index below kMaxTextures and an image the engine's image
// gate reads, and every character has its text, a rectangle inside its
// texture and a texture that exists. Texture files are looked up beside the
// description first (so a font loads by its own path and from a zip), then
// through the search paths, and load through the engine's file system.
// Irrlicht then reads a rewritten description that names the loaded
// textures, in place of the file.
class CBitmapFontLoader
{
public:
    static constexpr size_t kMaxDescriptionSize = size_t{16} << 20;
    static constexpr int kMaxTextures = 1024;

    CBitmapFontLoader(irr::gui::IGUIEnvironment* environment, const CApplication* application);

    // The font the opened description describes, or null with the reason.
    irr::gui::IGUIFont* Load(IFile* description, std::string& error);

private:
    // Loads the texture the description names (once for the driver) and
    // gives its name in the driver and its size.
    bool LoadTexture(const std::wstring& descriptionPath, const char* fileName, std::string& textureName,
                     irr::core::dimension2du& size, std::string& error);

    irr::gui::IGUIEnvironment* m_environment;
    const CApplication* m_application;
};

} // namespace Graphics::GUI
