#pragma once

// The engine's own GUI skin. Beyond Irrlicht's built-in skins it draws
// panes from skin images (sprites of its own sprite bank, named by role or
// by an element's registered name), can switch its highlight frames off and
// takes icons from "GUIICON_" images.

#include "core/foundation/Rect.h"

#include <IGUISkin.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace irr::gui
{
class IGUIEnvironment;
class IGUIFont;
class IGUISpriteBank;
} // namespace irr::gui
namespace irr::video
{
class IVideoDriver;
}

namespace Graphics
{

namespace Sprite
{
class CGuiKVOSpriteBank;
}

class CSkinImpl : public irr::gui::IGUISkin
{
public:
    // The slots that skin files and scripts know (the older, shorter
    // enumerations); the arrays hold every slot Irrlicht has.
    static constexpr uint32_t kFileColorCount = 21;
    static constexpr uint32_t kFileSizeCount = 10;
    static constexpr uint32_t kTextCount = irr::gui::EGDT_COUNT;
    static constexpr uint32_t kIconCount = irr::gui::EGDI_COUNT;
    static constexpr uint32_t kFontCount = irr::gui::EGDF_COUNT;

    // The registered name of an element ("" when it has none).
    using ElementNameLookup = std::function<std::wstring(irr::gui::IGUIElement*)>;

    // A skin with the default colours, sizes, texts and icons, and the
    // environment's built-in font in all five font slots. Its icons index
    // the sprite bank of sourceSkin (the skin it replaces), held for the
    // skin's life; its own sprite bank starts empty.
    CSkinImpl(irr::gui::IGUIEnvironment* environment, irr::gui::IGUISkin* sourceSkin);
    ~CSkinImpl() override;

    CSkinImpl(const CSkinImpl&) = delete;
    CSkinImpl& operator=(const CSkinImpl&) = delete;

    // Slot access; an index outside the slots gives the zero colour, 0, ""
    // or no font, and a setter ignores it.
    irr::video::SColor getColor(irr::gui::EGUI_DEFAULT_COLOR color) const override;
    void setColor(irr::gui::EGUI_DEFAULT_COLOR which, irr::video::SColor newColor) override;
    irr::s32 getSize(irr::gui::EGUI_DEFAULT_SIZE size) const override;
    const wchar_t* getDefaultText(irr::gui::EGUI_DEFAULT_TEXT text) const override;
    void setDefaultText(irr::gui::EGUI_DEFAULT_TEXT which, const wchar_t* newText) override;
    void setSize(irr::gui::EGUI_DEFAULT_SIZE which, irr::s32 size) override;
    irr::gui::IGUIFont* getFont(irr::gui::EGUI_DEFAULT_FONT which = irr::gui::EGDF_DEFAULT) const override;
    // Drops the font it replaces and holds the new one (null is allowed).
    void setFont(irr::gui::IGUIFont* font,
                 irr::gui::EGUI_DEFAULT_FONT which = irr::gui::EGDF_DEFAULT) override;
    // The icon bank: the sprite bank of the skin this one replaced.
    irr::gui::IGUISpriteBank* getSpriteBank() const override { return m_iconBank; }
    // The icon bank is fixed for the skin's life: throws.
    void setSpriteBank(irr::gui::IGUISpriteBank* bank) override;
    irr::u32 getIcon(irr::gui::EGUI_DEFAULT_ICON icon) const override;
    void setIcon(irr::gui::EGUI_DEFAULT_ICON icon, irr::u32 index) override;

    // Drawing (each pane from its skin image when there is one, else in the
    // skin's colours, then the highlight frame when highlights are on).
    void draw3DButtonPaneStandard(irr::gui::IGUIElement* element, const irr::core::rect<irr::s32>& rect,
                                  const irr::core::rect<irr::s32>* clip = 0) override;
    void draw3DButtonPanePressed(irr::gui::IGUIElement* element, const irr::core::rect<irr::s32>& rect,
                                 const irr::core::rect<irr::s32>* clip = 0) override;
    void draw3DSunkenPane(irr::gui::IGUIElement* element, irr::video::SColor bgcolor, bool flat,
                          bool fillBackGround, const irr::core::rect<irr::s32>& rect,
                          const irr::core::rect<irr::s32>* clip = 0) override;
    // With checkClientArea given, draws nothing and stores the client area
    // (the rectangle without the title bar) there.
    irr::core::rect<irr::s32> draw3DWindowBackground(irr::gui::IGUIElement* element, bool drawTitleBar,
                                                     irr::video::SColor titleBarColor,
                                                     const irr::core::rect<irr::s32>& rect,
                                                     const irr::core::rect<irr::s32>* clip = 0,
                                                     irr::core::rect<irr::s32>* checkClientArea = 0) override;
    void draw3DMenuPane(irr::gui::IGUIElement* element, const irr::core::rect<irr::s32>& rect,
                        const irr::core::rect<irr::s32>* clip = 0) override;
    void draw3DToolBar(irr::gui::IGUIElement* element, const irr::core::rect<irr::s32>& rect,
                       const irr::core::rect<irr::s32>* clip = 0) override;
    void draw3DTabButton(irr::gui::IGUIElement* element, bool active, const irr::core::rect<irr::s32>& rect,
                         const irr::core::rect<irr::s32>* clip = 0,
                         irr::gui::EGUI_ALIGNMENT alignment = irr::gui::EGUIA_UPPERLEFT) override;
    void draw3DTabBody(irr::gui::IGUIElement* element, bool border, bool background,
                       const irr::core::rect<irr::s32>& rect, const irr::core::rect<irr::s32>* clip = 0,
                       irr::s32 tabHeight = -1,
                       irr::gui::EGUI_ALIGNMENT alignment = irr::gui::EGUIA_UPPERLEFT) override;
    void drawIcon(irr::gui::IGUIElement* element, irr::gui::EGUI_DEFAULT_ICON icon,
                  const irr::core::position2di position, irr::u32 starttime = 0, irr::u32 currenttime = 0,
                  bool loop = false, const irr::core::rect<irr::s32>* clip = 0) override;
    void draw2DRectangle(irr::gui::IGUIElement* element, const irr::video::SColor& color,
                         const irr::core::rect<irr::s32>& pos,
                         const irr::core::rect<irr::s32>* clip = 0) override;

    // Irrlicht's "unknown" type, which no built-in skin has.
    irr::gui::EGUI_SKIN_TYPE getType() const override { return irr::gui::EGST_UNKNOWN; }

    // The sprite bank that holds the skin images.
    Sprite::CGuiKVOSpriteBank* GetOwnSpriteBank() const { return m_ownBank; }
    // Adds the image to the own sprite bank and, for a "GUIICON_" id, binds
    // the icon to it. True when the bank took the image.
    bool SetImage(const std::wstring& id, const std::wstring& textureFile,
                  const std::vector<CRect>& rectangles, uint32_t frameTime);
    // For "GUIICON_" + an icon name whose image exists: the icon is drawn
    // from that image from now on.
    void BindIconImage(const std::wstring& id);
    // The texture file of the image; "" for an unknown id.
    std::wstring GetImageFile(const std::wstring& id) const;
    // Whether the icon is drawn from the own sprite bank.
    bool IsIconFromImage(irr::gui::EGUI_DEFAULT_ICON icon) const;

    bool AreHighlightsEnabled() const { return m_highlights; }
    void EnableHighlights(bool enable) { m_highlights = enable; }

    // Where element names come from (the GUI manager's registry); without
    // one, elements have no names.
    void SetElementNameLookup(ElementNameLookup lookup) { m_elementName = std::move(lookup); }
    // The own sprite bank's index of the element's image (by its registered
    // name), else of the default image id, else -1.
    irr::s32 FindElementImage(irr::gui::IGUIElement* element, const wchar_t* defaultId) const;

    // "GUIICON_" + the icon's name, e.g. "GUIICON_CHECK_BOX_CHECKED".
    static std::wstring GetIconImageId(uint32_t icon);

private:
    // Draws image `index` of the own sprite bank over rect, animated from
    // application start.
    void DrawImage(irr::s32 index, const irr::core::rect<irr::s32>& rect,
                   const irr::core::rect<irr::s32>* clip);
    // Top corners in `top`, bottom corners in `bottom`.
    void DrawGradient(const irr::core::rect<irr::s32>& rect, irr::video::SColor top,
                      irr::video::SColor bottom, const irr::core::rect<irr::s32>* clip);
    // The four-line frame: top and left in a, right and bottom in b.
    void DrawHighlightFrame(const irr::core::rect<irr::s32>& rect, irr::video::SColor a, irr::video::SColor b,
                            const irr::core::rect<irr::s32>* clip);
    // Image or face-to-shadow gradient, then the frame.
    void DrawPane(irr::gui::IGUIElement* element, const wchar_t* imageId,
                  const irr::core::rect<irr::s32>& rect, const irr::core::rect<irr::s32>* clip,
                  irr::video::SColor a, irr::video::SColor b);

    irr::gui::IGUIEnvironment* m_environment;
    irr::video::IVideoDriver* m_driver;
    irr::gui::IGUISpriteBank* m_iconBank = nullptr; // grabbed
    Sprite::CGuiKVOSpriteBank* m_ownBank = nullptr; // owned (one reference)
    irr::video::SColor m_colors[irr::gui::EGDC_COUNT];
    irr::s32 m_sizes[irr::gui::EGDS_COUNT];
    std::wstring m_texts[kTextCount];
    irr::u32 m_icons[kIconCount];
    bool m_iconFromImage[kIconCount];
    irr::gui::IGUIFont* m_fonts[kFontCount]; // each grabbed
    bool m_highlights = true;
    ElementNameLookup m_elementName;
};

} // namespace Graphics
