#pragma once

// The bitmap-font builder: lists the system's font families for a character
// set (fontconfig), renders every glyph a font covers into images of a
// given size (FreeType) and writes them with the ".xml" font description
// that Irrlicht's GUI loads as a bitmap font.

#include <IReferenceCounted.h>
#include <irrTypes.h>
#include <rect.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace irr
{

class IrrlichtDevice;

namespace video
{
class IImage;
class ITexture;
} // namespace video

class CFontTool : public IReferenceCounted
{
public:
    // Where one glyph lies: its rectangle in its image, the space before
    // (underhang) and after (overhang) it, and the image's index.
    struct SFontArea
    {
        core::rect<s32> rectangle;
        s32 underhang = 0;
        s32 overhang = 0;
        u32 sourceImage = 0;
    };

    // Limits checked before anything is allocated: font sizes in points,
    // image sides in pixels, and all images of one font together in bytes.
    static constexpr s32 kMaxFontSize = 256;
    static constexpr u32 kMaxTextureSize = 4096;
    static constexpr uint64_t kMaxImageBytes = 256ull * 1024 * 1024;

    // The device (not owned) gives the logger, the video driver and the
    // file system. Selects the first character set.
    explicit CFontTool(IrrlichtDevice* device);
    ~CFontTool() override;

    CFontTool(const CFontTool&) = delete;
    CFontTool& operator=(const CFontTool&) = delete;

    // Renders every glyph of the font (by index into the font names) at the
    // size, packed into images textureWidth wide and at most textureHeight
    // high. False for an unknown font or character set, sizes out of range,
    // or a font that cannot be loaded; the reason goes to the device's log.
    virtual bool BuildFont(u32 fontIndex, u32 charsetIndex, s32 fontSize, u32 textureWidth, u32 textureHeight,
                           bool bold, bool italic, bool antiAlias, bool alpha);
    // Writes the images as <base><n>.<format> and the description as
    // <base>.xml. False when there is nothing to write or a file cannot be
    // written.
    virtual bool SaveFont(const std::string& fileBase, const std::string& imageFormat);
    // Lists the font families of the character set (by index); an index
    // past the character sets changes nothing.
    virtual void SelectCharacterSet(u32 index);

    const std::vector<std::wstring>& GetFontNames() const { return m_fontNames; }
    const std::vector<std::wstring>& GetCharacterSetNames() const { return m_charsetNames; }
    const std::vector<SFontArea>& GetAreas() const { return m_areas; }
    const std::map<wchar_t, u32>& GetCharacterMap() const { return m_characters; }
    u32 GetImageCount() const { return static_cast<u32>(m_images.size()); }
    video::IImage* GetImage(u32 index) const { return index < m_images.size() ? m_images[index] : nullptr; }

private:
    void ClearFont();
    void Log(const std::string& text) const;

    std::vector<std::wstring> m_fontNames;
    std::vector<std::wstring> m_charsetNames;
    std::vector<SFontArea> m_areas;
    std::map<wchar_t, u32> m_characters;
    std::vector<video::IImage*> m_images;     // each held
    std::vector<video::ITexture*> m_textures; // each held, and in the driver's cache
    IrrlichtDevice* m_device;
    bool m_useAlpha = false;
};

} // namespace irr
