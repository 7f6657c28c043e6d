#include "gui/skin/SkinImpl.h"

#include "core/foundation/KVOError.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <IGUIEnvironment.h>
#include <IGUIFont.h>
#include <IGUISpriteBank.h>
#include <IVideoDriver.h>

namespace Graphics
{

namespace
{

using namespace irr;

// The icon names of the "GUIICON_" image ids, in icon order.
const wchar_t* const kIconNames[CSkinImpl::kIconCount] = {L"WINDOW_MAXIMIZE",
                                                          L"WINDOW_RESTORE",
                                                          L"WINDOW_CLOSE",
                                                          L"WINDOW_MINIMIZE",
                                                          L"WINDOW_RESIZE",
                                                          L"CURSOR_UP",
                                                          L"CURSOR_DOWN",
                                                          L"CURSOR_LEFT",
                                                          L"CURSOR_RIGHT",
                                                          L"MENU_MORE",
                                                          L"CHECK_BOX_CHECKED",
                                                          L"DROP_DOWN",
                                                          L"SMALL_CURSOR_UP",
                                                          L"SMALL_CURSOR_DOWN",
                                                          L"RADIO_BUTTON_CHECKED",
                                                          L"MORE_LEFT",
                                                          L"MORE_RIGHT",
                                                          L"MORE_UP",
                                                          L"MORE_DOWN",
                                                          L"EXPAND",
                                                          L"COLLAPSE",
                                                          L"FILE",
                                                          L"DIRECTORY"};

// Default colours (red, green, blue) of the slots skin files know.
const u8 kDefaultColors[CSkinImpl::kFileColorCount][3] = {
    {50, 50, 50},    {130, 130, 130}, {210, 210, 210}, {255, 255, 255}, {210, 210, 210}, {16, 14, 115},
    {255, 255, 255}, {100, 100, 100}, {10, 10, 10},    {130, 130, 130}, {8, 36, 107},    {255, 255, 255},
    {165, 165, 165}, {210, 210, 210}, {0, 0, 0},       {255, 255, 225}, {230, 230, 230}, {255, 255, 255},
    {10, 10, 10},    {255, 255, 255}, {8, 36, 107}};

const s32 kDefaultSizes[CSkinImpl::kFileSizeCount] = {14, 30, 15, 18, 500, 200, 80, 30, 2, 0};

const wchar_t* const kDefaultTexts[CSkinImpl::kTextCount] = {L"OK",    L"Cancel",   L"Yes",      L"No",
                                                             L"Close", L"Maximize", L"Minimize", L"Restore"};

const u32 kDefaultIcons[CSkinImpl::kIconCount] = {225, 226, 227, 228, 242, 229, 230, 231, 232, 232, 233, 234,
                                                  235, 236, 237, 238, 239, 240, 241, 243, 244, 245, 246};

} // namespace

CSkinImpl::CSkinImpl(gui::IGUIEnvironment* environment, gui::IGUISkin* sourceSkin)
    : m_environment(environment), m_driver(environment ? environment->getVideoDriver() : nullptr)
{
    m_iconBank = sourceSkin ? sourceSkin->getSpriteBank() : nullptr;
    if (m_iconBank)
        m_iconBank->grab();
    m_ownBank = new Sprite::CGuiKVOSpriteBank(environment);

    // The slots Irrlicht added after the skin files were laid out take the
    // values of Irrlicht's own classic skin.
    gui::IGUISkin* classic = environment ? environment->createSkin(gui::EGST_WINDOWS_CLASSIC) : nullptr;
    for (u32 i = 0; i < gui::EGDC_COUNT; ++i)
    {
        if (i < kFileColorCount)
            m_colors[i] =
                video::SColor(255, kDefaultColors[i][0], kDefaultColors[i][1], kDefaultColors[i][2]);
        else
            m_colors[i] =
                classic ? classic->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)) : video::SColor(0);
    }
    for (u32 i = 0; i < gui::EGDS_COUNT; ++i)
    {
        if (i < kFileSizeCount)
            m_sizes[i] = kDefaultSizes[i];
        else
            m_sizes[i] = classic ? classic->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i)) : 0;
    }
    if (classic)
        classic->drop();

    for (u32 i = 0; i < kTextCount; ++i)
        m_texts[i] = kDefaultTexts[i];
    for (u32 i = 0; i < kIconCount; ++i)
    {
        m_icons[i] = kDefaultIcons[i];
        m_iconFromImage[i] = false;
    }
    gui::IGUIFont* builtIn = environment ? environment->getBuiltInFont() : nullptr;
    for (u32 i = 0; i < kFontCount; ++i)
    {
        m_fonts[i] = builtIn;
        if (builtIn)
            builtIn->grab();
    }
}

CSkinImpl::~CSkinImpl()
{
    for (gui::IGUIFont* font : m_fonts)
    {
        if (font)
            font->drop();
    }
    if (m_iconBank)
        m_iconBank->drop();
    m_ownBank->drop();
}

video::SColor CSkinImpl::getColor(gui::EGUI_DEFAULT_COLOR color) const
{
    return static_cast<u32>(color) < gui::EGDC_COUNT ? m_colors[color] : video::SColor(0);
}

void CSkinImpl::setColor(gui::EGUI_DEFAULT_COLOR which, video::SColor newColor)
{
    if (static_cast<u32>(which) < gui::EGDC_COUNT)
        m_colors[which] = newColor;
}

s32 CSkinImpl::getSize(gui::EGUI_DEFAULT_SIZE size) const
{
    return static_cast<u32>(size) < gui::EGDS_COUNT ? m_sizes[size] : 0;
}

void CSkinImpl::setSize(gui::EGUI_DEFAULT_SIZE which, s32 size)
{
    if (static_cast<u32>(which) < gui::EGDS_COUNT)
        m_sizes[which] = size;
}

const wchar_t* CSkinImpl::getDefaultText(gui::EGUI_DEFAULT_TEXT text) const
{
    return static_cast<u32>(text) < kTextCount ? m_texts[text].c_str() : L"";
}

void CSkinImpl::setDefaultText(gui::EGUI_DEFAULT_TEXT which, const wchar_t* newText)
{
    if (static_cast<u32>(which) < kTextCount)
        m_texts[which] = newText ? newText : L"";
}

gui::IGUIFont* CSkinImpl::getFont(gui::EGUI_DEFAULT_FONT which) const
{
    return static_cast<u32>(which) < kFontCount ? m_fonts[which] : nullptr;
}

void CSkinImpl::setFont(gui::IGUIFont* font, gui::EGUI_DEFAULT_FONT which)
{
    if (static_cast<u32>(which) >= kFontCount)
        return;
    // Grab first: the new font may be the one it replaces.
    if (font)
        font->grab();
    if (m_fonts[which])
        m_fonts[which]->drop();
    m_fonts[which] = font;
}

void CSkinImpl::setSpriteBank(gui::IGUISpriteBank*)
{
    throw Misc::Error::CKVOError(L"[Skin::setSpriteBank] Not used.");
}

u32 CSkinImpl::getIcon(gui::EGUI_DEFAULT_ICON icon) const
{
    return static_cast<u32>(icon) < kIconCount ? m_icons[icon] : 0;
}

void CSkinImpl::setIcon(gui::EGUI_DEFAULT_ICON icon, u32 index)
{
    if (static_cast<u32>(icon) < kIconCount)
        m_icons[icon] = index;
}

bool CSkinImpl::IsIconFromImage(gui::EGUI_DEFAULT_ICON icon) const
{
    return static_cast<u32>(icon) < kIconCount && m_iconFromImage[icon];
}

std::wstring CSkinImpl::GetIconImageId(uint32_t icon)
{
    return icon < kIconCount ? std::wstring(L"GUIICON_") + kIconNames[icon] : std::wstring();
}

bool CSkinImpl::SetImage(const std::wstring& id, const std::wstring& textureFile,
                         const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    const std::wstring used = m_ownBank->AddSpriteBankEntry(id, textureFile, rectangles, frameTime);
    BindIconImage(id);
    return !used.empty();
}

void CSkinImpl::BindIconImage(const std::wstring& id)
{
    if (id.compare(0, 8, L"GUIICON_") != 0)
        return;
    for (u32 i = 0; i < kIconCount; ++i)
    {
        if (id.compare(8, std::wstring::npos, kIconNames[i]) != 0)
            continue;
        const s32 index = m_ownBank->FindSprite(id);
        if (index >= 0)
        {
            m_iconFromImage[i] = true;
            m_icons[i] = static_cast<u32>(index);
        }
        return;
    }
}

std::wstring CSkinImpl::GetImageFile(const std::wstring& id) const
{
    return m_ownBank->GetSpriteTextureName(id);
}

s32 CSkinImpl::FindElementImage(gui::IGUIElement* element, const wchar_t* defaultId) const
{
    if (element && m_elementName)
    {
        const std::wstring name = m_elementName(element);
        if (!name.empty())
        {
            const s32 index = m_ownBank->FindSprite(name);
            if (index >= 0)
                return index;
        }
    }
    return m_ownBank->FindSprite(defaultId);
}

} // namespace Graphics
