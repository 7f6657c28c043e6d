#pragma once

// The GUI manager's skin and font state: which skin the GUI environment uses
// (Irrlicht's "CLASSIC", "METALLIC" and "BURN", or the engine's own skin,
// loaded from ".kvoskin" files), its slots, images, transparency and
// highlights, and the font registry that serves fonts by key. The GUI
// manager holds one and forwards its skin and font operations here, so the
// error messages name the GUI manager.

#include "core/foundation/Color.h"
#include "core/foundation/Rect.h"
#include "core/io/Serializable.h"
#include "gui/skin/SkinImpl.h"

#include <path.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CApplication;

namespace irr::gui
{
class IGUIEnvironment;
class IGUIFont;
class IGUISkin;
} // namespace irr::gui

namespace Graphics::GUI
{

class CSkinManager final : public virtual Misc::Serialization::ISerializable
{
public:
    // The skin types of CreateSkin: Irrlicht's three, then the own skin.
    enum ESkinType : uint32_t
    {
        kSkinClassic = 0,
        kSkinMetallic = 1,
        kSkinBurning = 2,
        kSkinOwn = 3,
    };

    // Files are looked up through the application (null: none are found).
    explicit CSkinManager(const CApplication* application = nullptr);
    ~CSkinManager();

    CSkinManager(const CSkinManager&) = delete;
    CSkinManager& operator=(const CSkinManager&) = delete;

    // Where files are looked up from now on (null: none are found).
    void SetApplication(const CApplication* application);
    // The GUI environment whose skin this manages; null means no GUI. A new
    // environment first drops every font of the old one.
    void SetEnvironment(irr::gui::IGUIEnvironment* environment);
    irr::gui::IGUIEnvironment* GetEnvironment() const { return m_environment; }
    // Handed to every own skin made from now on (and to the current one).
    void SetElementNameLookup(CSkinImpl::ElementNameLookup lookup);

    // Skins.
    // "CLASSIC", "METALLIC" and "BURN" (exact case) select Irrlicht's skins;
    // any other name makes an own skin and, with loadFile, reads the skin
    // file of that name (or the name with ".kvoskin") when there is one.
    // False only without a GUI.
    bool SkinActivate(const std::wstring& name, bool copyCurrent, bool loadFile);
    // Back to Irrlicht's classic skin, all colours opaque, no fonts. The
    // skin name stays.
    void DeactivateSkin();
    // Replaces the environment's skin with a new one of the type (0-2
    // Irrlicht's, 3 or more the own skin), copying the current skin's fonts,
    // icons, sizes, colours and texts or, without copy, dropping the
    // registered fonts. All colours come out opaque. False without a GUI.
    bool CreateSkin(uint32_t type, bool copy);
    // True while the own skin is current.
    bool IsSkinInitialised() const;
    // The own skin when it is current, else null.
    CSkinImpl* GetOwnSkin() const;
    const std::wstring& GetSkinName() const { return m_skinName; }

    // Saves the skin: "COMPRESSED" or "BINARY" a binary archive, any other
    // mode a text archive in that encoding. True when the file was written
    // and put in place.
    bool SaveSkin(const std::wstring& path, const char* mode);
    // The skin body, as in skin files and the "Skin" block of GUI layouts.
    bool WriteSkin(Misc::Serialization::IArchive& archive);
    void ReadSkin(Misc::Serialization::IArchive& archive);

    bool Write(Misc::Serialization::IArchive& archive) override { return WriteSkin(archive); }
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOSKIN"; }

    // Slots as skin files and scripts number them (21 colours, 10 sizes,
    // 8 texts); other indices and no GUI give zero, 0 or "" and are ignored
    // by the setters. Colours are fractions 0-1.
    CColor GetSkinColor(uint32_t index) const;
    void SetSkinColor(uint32_t index, const CColor& color);
    // Sizes and distances are held to +-2^24 pixels: the library adds them
    // to screen positions, which larger ones would overflow.
    static constexpr int32_t kMaxSkinSize = 1 << 24;
    int32_t GetSkinSize(uint32_t index) const;
    void SetSkinSize(uint32_t index, int32_t value);
    std::wstring GetSkinText(uint32_t index) const;
    void SetSkinText(uint32_t index, const std::wstring& text);

    // Sets every colour's alpha to alpha x 255 (absolute) or scales it by
    // alpha (relative), held to 0-255.
    void SetGuiAlpha(float alpha, bool absolute);
    bool AreSkinHighlightsEnabled() const;
    void EnableSkinHighlights(bool enable);

    // Skin images (own skin only; otherwise 0, "", false or nothing).
    uint32_t GetSkinImageCount() const;
    std::wstring GetSkinImage(const std::wstring& id) const;
    bool SetSkinImage(const std::wstring& id, const std::wstring& textureFile,
                      const std::vector<CRect>& rectangles, uint32_t frameTime);
    void ClearSkinImage(const std::wstring& id);
    void ClearAllSkinImages();
    const std::map<std::wstring, uint32_t>* GetSkinImageIds() const;

    // Fonts.
    // Loads the font file and registers it under the key; the keys "0" to
    // "4" also set the skin's five fonts. Throws when the file is no font,
    // and for another key that is a plain decimal number ("7", "-1"): the
    // skin has no such font slot.
    bool SetFont(const std::wstring& key, const std::wstring& file);
    // The font of the file (registered under its name when asked), else the
    // font registered under the name as key, else the built-in font. Null
    // for a file that is no font. Throws without a GUI.
    irr::gui::IGUIFont* GetFont(const std::wstring& name, bool registerFont);
    // The file registered for the key; "" for an unknown key.
    std::wstring GetFontFilename(const std::wstring& key) const;
    // The first key (ascending) under which the font is registered; "".
    std::wstring GetFontKey(const irr::gui::IGUIFont* font) const;
    void ClearFonts();
    // Font lines ("-key file") up to, not including, the closing "}".
    void ReadFonts(Misc::Serialization::IArchive& archive);
    // Every registered key with its file, in ascending key order.
    const std::map<std::wstring, std::wstring>& GetFontFiles() const { return m_fontFiles; }

    // Textures of a bitmap font: how many, and the full name of one ("" for
    // no font or no such texture).
    static uint32_t GetFontTextureCount(irr::gui::IGUIFont* font);
    static std::wstring GetFontTextureName(irr::gui::IGUIFont* font, uint32_t index);

private:
    irr::gui::IGUISkin* CurrentSkin() const;
    void ReadSkinLegacy(Misc::Serialization::IArchive& archive);
    void ReadExtensions(Misc::Serialization::IArchive& archive);

    // A font key resolved to the file it names: Irrlicht's path and our full
    // name.
    struct SFontFile
    {
        irr::io::path path;
        std::wstring fullName;
        // The font read from it, once LoadFont has it (fonts stay loaded
        // while the environment lives, and the answers go with it).
        irr::gui::IGUIFont* font = nullptr;
    };
    // The file the key names through the application's file lookup, or
    // null. Text drawn in a named font asks every call, so the answers
    // (misses too) are kept as long as the file system keeps its own cached
    // lookups: until the search paths change or the search cache is cleared
    // or switched off. `cached` tells whether the answer was a kept one.
    SFontFile* FindFontFile(const std::wstring& name, bool& cached);
    void ForgetFontFile(const std::wstring& name);
    // The font the file describes, checked and read once for the
    // environment, or null.
    irr::gui::IGUIFont* LoadFont(SFontFile& file);

    const CApplication* m_application;
    std::unordered_map<std::wstring, std::optional<SFontFile>> m_fontFileCache;
    // The file system's cache generation the answers belong to.
    uint64_t m_fontFileGeneration = 0;
    // The answer while the file system caches nothing.
    SFontFile m_fontFileUncached;
    irr::gui::IGUIEnvironment* m_environment = nullptr; // grabbed while set
    // The fonts read into the environment, by Irrlicht's path (the
    // environment holds them as long as it lives).
    std::unordered_map<std::string, irr::gui::IGUIFont*> m_loadedFonts;
    CSkinImpl::ElementNameLookup m_elementName;
    std::wstring m_skinName;
    std::map<std::wstring, std::wstring> m_fontFiles;
    std::map<std::wstring, irr::gui::IGUIFont*> m_fonts; // each grabbed
};

} // namespace Graphics::GUI
