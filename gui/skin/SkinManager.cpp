#include "gui/skin/SkinManager.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/File.h"
#include "core/io/FileVersions.h"
#include "gui/fonts/BitmapFontLoader.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <IGUIEnvironment.h>
#include <IGUIFont.h>
#include <IGUIFontBitmap.h>
#include <IGUISkin.h>
#include <IGUISpriteBank.h>
#include <ITexture.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

namespace
{

using namespace irr;

// Slot names as skin files write them.
const char* const kFontKeys[CSkinImpl::kFontCount] = {"-defaultFont", "-buttonFont", "-windowFont",
                                                      "-menuFont", "-tooltipFont"};
const char* const kTextKeys[CSkinImpl::kTextCount] = {
    "-MessageBoxOkay",    "-MessageBoxCancel",     "-MessageBoxYes",        "-MessageBoxNo",
    "-WindowButtonClose", "-WindowButtonMaximize", "-WindowButtonMinimize", "-WindowButtonRestore"};
const char* const kSizeKeys[CSkinImpl::kFileSizeCount] = {
    "-ScrollBarSize",    "-MenuHeight",  "-WindowButtonWidth", "-CheckBoxWidth", "-MessageBoxWidth",
    "-MessageBoxHeight", "-ButtonWidth", "-ButtonHeight",      "-TextDistanceX", "-TextDistanceY"};
const char* const kColorKeys[CSkinImpl::kFileColorCount] = {
    "-3DDarkShadow",      "-3DShadow",      "-3DFace",         "-3DHighlight",     "-3DLight",
    "-ActiveBorder",      "-ActiveCaption", "-AppWorkspace",   "-ButtonText",      "-GrayText",
    "-Highlight",         "-HighlightText", "-InactiveBorder", "-InactiveCaption", "-ToolTip",
    "-ToolTipBackground", "-ScrollBar",     "-Window",         "-WindowSymbol",    "-Icon",
    "-IconHighlight"};

// The oldest skin body that is read in full; older ones only set the alpha.
constexpr uint32_t kCurrentSkinVersion = FileVersion::kGuiElementLinks;

// A byte value from a scaled component, held to 0-255 (not a number: 0).
u32 ToByte(double scaled)
{
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<u32>(scaled);
}

// The key as the integer it spells when it is the canonical decimal text
// of one ("0", "7", "-1"; not "02" or "+1").
bool ParseDecimalKey(const std::wstring& key, long long& value)
{
    if (key.empty() || key.size() > 20)
        return false;
    errno = 0;
    wchar_t* end = nullptr;
    value = std::wcstoll(key.c_str(), &end, 10);
    if (errno != 0 || end != key.c_str() + key.size())
        return false;
    return std::to_wstring(value) == key;
}

Misc::CLogger* Logger()
{
    return Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
}

} // namespace

CSkinManager::CSkinManager(const CApplication* application) : m_application(application) {}

CSkinManager::~CSkinManager()
{
    SetEnvironment(nullptr);
}

void CSkinManager::SetEnvironment(gui::IGUIEnvironment* environment)
{
    if (environment == m_environment)
        return;
    ClearFonts();
    if (environment)
        environment->grab();
    if (m_environment)
        m_environment->drop();
    m_environment = environment;
    m_loadedFonts.clear();
    m_fontFileCache.clear();
}

void CSkinManager::SetElementNameLookup(CSkinImpl::ElementNameLookup lookup)
{
    m_elementName = std::move(lookup);
    if (CSkinImpl* own = GetOwnSkin())
        own->SetElementNameLookup(m_elementName);
}

gui::IGUISkin* CSkinManager::CurrentSkin() const
{
    return m_environment ? m_environment->getSkin() : nullptr;
}

CSkinImpl* CSkinManager::GetOwnSkin() const
{
    gui::IGUISkin* skin = CurrentSkin();
    // Only the own skin reports a type past Irrlicht's three.
    return skin && skin->getType() >= gui::EGST_UNKNOWN ? dynamic_cast<CSkinImpl*>(skin) : nullptr;
}

bool CSkinManager::IsSkinInitialised() const
{
    gui::IGUISkin* skin = CurrentSkin();
    return skin && skin->getType() == gui::EGST_UNKNOWN;
}

bool CSkinManager::CreateSkin(uint32_t type, bool copy)
{
    if (!m_environment)
        return false;
    gui::IGUISkin* old = m_environment->getSkin();
    if (old)
        old->grab();

    gui::IGUISkin* skin = nullptr;
    if (type >= kSkinOwn)
    {
        auto* own = new CSkinImpl(m_environment, old);
        own->SetElementNameLookup(m_elementName);
        skin = own;
    }
    else
    {
        static const gui::EGUI_SKIN_TYPE kTypes[] = {gui::EGST_WINDOWS_CLASSIC, gui::EGST_WINDOWS_METALLIC,
                                                     gui::EGST_BURNING_SKIN};
        skin = m_environment->createSkin(kTypes[type]);
    }

    if (copy && old)
    {
        for (u32 i = 0; i < gui::EGDF_COUNT; ++i)
            skin->setFont(old->getFont(static_cast<gui::EGUI_DEFAULT_FONT>(i)),
                          static_cast<gui::EGUI_DEFAULT_FONT>(i));
        for (u32 i = 0; i < gui::EGDI_COUNT; ++i)
            skin->setIcon(static_cast<gui::EGUI_DEFAULT_ICON>(i),
                          old->getIcon(static_cast<gui::EGUI_DEFAULT_ICON>(i)));
        // Every slot Irrlicht has, the ones skin files do not know included.
        for (u32 i = 0; i < gui::EGDS_COUNT; ++i)
            skin->setSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i),
                          old->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i)));
        for (u32 i = 0; i < gui::EGDC_COUNT; ++i)
            skin->setColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i),
                           old->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)));
        for (u32 i = 0; i < gui::EGDT_COUNT; ++i)
            skin->setDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(i),
                                 old->getDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(i)));
    }
    else if (!copy)
        ClearFonts();

    m_environment->setSkin(skin);
    skin->drop();
    if (old)
        old->drop();
    SetGuiAlpha(1.0f, true);
    return true;
}

bool CSkinManager::SkinActivate(const std::wstring& name, bool copyCurrent, bool loadFile)
{
    uint32_t type = kSkinOwn;
    if (name == L"CLASSIC")
        type = kSkinClassic;
    else if (name == L"METALLIC")
        type = kSkinMetallic;
    else if (name == L"BURN")
        type = kSkinBurning;
    if (!CreateSkin(type, copyCurrent))
        return false;
    m_skinName = name;
    if (type != kSkinOwn || !loadFile || !m_application)
        return true;

    const std::unique_ptr<IFile, void (*)(IFile*)> file(m_application->OpenFile(name, {L".kvoskin"}),
                                                        [](IFile* opened)
                                                        {
                                                            if (opened)
                                                                opened->drop();
                                                        });
    if (!file)
        return true;
    Logger()->Write(Logger()->GetSystemLevel(), false, L"[CGuiManager::SkinActivate] Loading %s...",
                    file->GetPath().c_str());
    Misc::Serialization::CArchiveHandle archive(file.get(), false, GetTypeName(), GetMinimumVersion());
    if (archive.IsOpen())
        ReadSkin(archive);
    return true;
}

void CSkinManager::DeactivateSkin()
{
    if (!m_environment)
        return;
    ClearFonts();
    CreateSkin(kSkinClassic, false);
    SetGuiAlpha(1.0f, true);
}

bool CSkinManager::SaveSkin(const std::wstring& path, const char* mode)
{
    Logger()->Write(Logger()->GetSystemLevel(), false, L"[CGuiManager::SaveSkin] Saving %s...", path.c_str());
    return Misc::Serialization::SaveSerializable(*this, path, mode);
}

bool CSkinManager::WriteSkin(Misc::Serialization::IArchive& archive)
{
    using Misc::Serialization::IArchive;
    bool ok = archive.WriteKeyWString("-SkinName", m_skinName);

    ok = archive.WriteString("Fonts{") && archive.EndLine(+1) && ok;
    for (u32 i = 0; i < CSkinImpl::kFontCount; ++i)
        ok = archive.WriteKeyWString(kFontKeys[i], GetFontFilename(std::to_wstring(i))) && ok;
    ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;

    ok = archive.WriteString("Labels{") && archive.EndLine(+1) && ok;
    for (u32 i = 0; i < CSkinImpl::kTextCount; ++i)
        ok = archive.WriteKeyWString(kTextKeys[i], GetSkinText(i)) && ok;
    ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;

    ok = archive.WriteString("Sizes{") && archive.EndLine(+1) && ok;
    for (u32 i = 0; i < CSkinImpl::kFileSizeCount; ++i)
        ok = archive.WriteKeyInt(kSizeKeys[i], GetSkinSize(i)) && ok;
    ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;

    ok = archive.WriteString("Colors{") && archive.EndLine(+1) && ok;
    for (u32 i = 0; i < CSkinImpl::kFileColorCount; ++i)
        ok = CNamedColor(GetSkinColor(i), kColorKeys[i]).Write(archive) && ok;
    ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;

    if (CSkinImpl* own = GetOwnSkin())
    {
        ok = archive.WriteString("Extensions{") && archive.EndLine(+1) && ok;
        ok = archive.WriteKeyBool("-Highlights", own->AreHighlightsEnabled()) && ok;
        ok = archive.WriteString("Images{") && archive.EndLine(+1) && ok;
        ok = own->GetOwnSpriteBank()->Write(archive) && ok;
        ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;
        ok = archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0) && ok;
    }
    return ok;
}

bool CSkinManager::Read(Misc::Serialization::IArchive& archive)
{
    ReadSkin(archive);
    return true;
}

void CSkinManager::ReadSkin(Misc::Serialization::IArchive& archive)
{
    if (!archive.IsVersionAtLeast(kCurrentSkinVersion))
    {
        ReadSkinLegacy(archive);
        return;
    }
    std::wstring name;
    archive.ReadKeyWString("-SkinName", name);
    m_skinName = name;
    SkinActivate(name, false, false);

    archive.ExpectToken("Fonts{");
    for (u32 i = 0; i < CSkinImpl::kFontCount; ++i)
    {
        std::wstring file;
        archive.ReadKeyWString(kFontKeys[i], file);
        SetFont(std::to_wstring(i), file);
    }
    archive.ExpectToken("}");

    archive.ExpectToken("Labels{");
    for (u32 i = 0; i < CSkinImpl::kTextCount; ++i)
    {
        std::wstring text;
        archive.ReadKeyWString(kTextKeys[i], text);
        SetSkinText(i, text);
    }
    archive.ExpectToken("}");

    archive.ExpectToken("Sizes{");
    for (u32 i = 0; i < CSkinImpl::kFileSizeCount; ++i)
    {
        int32_t value = 0;
        archive.ReadKeyInt(kSizeKeys[i], value);
        SetSkinSize(i, value);
    }
    archive.ExpectToken("}");

    archive.ExpectToken("Colors{");
    for (u32 i = 0; i < CSkinImpl::kFileColorCount; ++i)
    {
        CNamedColor color(0.0f, 0.0f, 0.0f, 0.0f, kColorKeys[i]);
        color.Read(archive);
        SetSkinColor(i, color);
    }
    archive.ExpectToken("}");

    // A body saved while the own skin was current carries its extensions,
    // whatever skin its name selects (DeactivateSkin keeps the name), so
    // the block is read wherever it is present, and a body without it is
    // complete.
    if (archive.TestToken("Extensions{", true))
        ReadExtensions(archive);
}

void CSkinManager::ReadExtensions(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Extensions{");
    bool highlights = true;
    archive.ReadKeyBool("-Highlights", highlights);
    archive.ExpectToken("Images{");
    CSkinImpl* own = GetOwnSkin();
    if (own)
    {
        own->EnableHighlights(highlights);
        own->GetOwnSpriteBank()->LoadFromArchive(archive);
    }
    else
    {
        // A built-in skin has no images: read them past into a bank that
        // is thrown away.
        auto* discard = new Sprite::CGuiKVOSpriteBank(m_environment);
        discard->SetTextureLoader([](const std::wstring&) { return nullptr; });
        const std::unique_ptr<Sprite::CGuiKVOSpriteBank, void (*)(Sprite::CGuiKVOSpriteBank*)> holder(
            discard, [](Sprite::CGuiKVOSpriteBank* bank) { bank->drop(); });
        discard->LoadFromArchive(archive);
    }
    archive.ExpectToken("}");
    if (own)
    {
        for (u32 i = 0; i < CSkinImpl::kIconCount; ++i)
            own->BindIconImage(CSkinImpl::GetIconImageId(i));
    }
    archive.ExpectToken("}");
}

void CSkinManager::ReadSkinLegacy(Misc::Serialization::IArchive& archive)
{
    // Bodies of this age only still set the GUI alpha; the rest is read
    // past.
    if (archive.IsVersionAtLeast(FileVersion::kSkinAlpha))
    {
        bool active = false;
        archive.ReadKeyBool("-IsActive", active);
        if (active)
        {
            std::wstring font;
            archive.ReadKeyWString("-Font", font);
            if (archive.IsVersionAtLeast(FileVersion::kSkinHighlights))
            {
                bool highlights = false;
                archive.ReadKeyBool("-Highlights", highlights);
            }
        }
        // Free key and value pairs up to each block's "}"; a key or value
        // that cannot be read makes the archive report the missing "}". Keys
        // are never empty: an empty one means the text archive stopped at a
        // character it does not take as part of a token, without moving.
        std::wstring key;
        std::wstring text;
        archive.ExpectToken("Labels{");
        while (!archive.TestToken("}"))
        {
            if (!archive.ReadWString(key) || key.empty() || !archive.ReadWString(text))
            {
                archive.ExpectToken("}");
                break;
            }
        }
        archive.ExpectToken("Sizes{");
        while (!archive.TestToken("}"))
        {
            int32_t value = 0;
            if (!archive.ReadWString(key) || key.empty() || !archive.ReadInt(value))
            {
                archive.ExpectToken("}");
                break;
            }
        }
        archive.ExpectToken("Colors{");
        while (!archive.TestToken("}"))
        {
            CColor color;
            if (!archive.ReadWString(key) || key.empty() || !color.Read(archive))
            {
                archive.ExpectToken("}");
                break;
            }
        }
        archive.ExpectToken("Images{");
        while (archive.TestToken("Image{"))
        {
            int32_t id = 0;
            archive.ReadKeyInt("-Id", id);
            archive.ReadKeyWString("-Filename", text);
            archive.ExpectToken("}");
        }
        archive.ExpectToken("}");
    }
    if (archive.TestToken("-Alpha"))
    {
        float alpha = 1.0f;
        if (archive.ReadFloat(alpha))
            SetGuiAlpha(alpha, true);
    }
}

CColor CSkinManager::GetSkinColor(uint32_t index) const
{
    gui::IGUISkin* skin = CurrentSkin();
    if (!skin || index >= CSkinImpl::kFileColorCount)
        return CColor();
    const video::SColor value = skin->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(index));
    // Bytes become fractions by dividing by 255 (not through the component
    // rule, which would read a byte of 1 as a full 1.0).
    CColor color;
    color.r = static_cast<float>(value.getRed()) / 255.0f;
    color.g = static_cast<float>(value.getGreen()) / 255.0f;
    color.b = static_cast<float>(value.getBlue()) / 255.0f;
    color.a = static_cast<float>(value.getAlpha()) / 255.0f;
    return color;
}

void CSkinManager::SetSkinColor(uint32_t index, const CColor& color)
{
    gui::IGUISkin* skin = CurrentSkin();
    if (!skin || index >= CSkinImpl::kFileColorCount)
        return;
    // To the nearest byte, as every colour of the GUI: a colour read back
    // from the skin and set again stays what it was.
    skin->setColor(static_cast<gui::EGUI_DEFAULT_COLOR>(index), ToSColor(color));
}

int32_t CSkinManager::GetSkinSize(uint32_t index) const
{
    gui::IGUISkin* skin = CurrentSkin();
    if (!skin || index >= CSkinImpl::kFileSizeCount)
        return 0;
    return skin->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(index));
}

void CSkinManager::SetSkinSize(uint32_t index, int32_t value)
{
    gui::IGUISkin* skin = CurrentSkin();
    if (skin && index < CSkinImpl::kFileSizeCount)
        skin->setSize(static_cast<gui::EGUI_DEFAULT_SIZE>(index),
                      std::clamp(value, -kMaxSkinSize, kMaxSkinSize));
}

std::wstring CSkinManager::GetSkinText(uint32_t index) const
{
    gui::IGUISkin* skin = CurrentSkin();
    if (!skin || index >= CSkinImpl::kTextCount)
        return std::wstring();
    const wchar_t* text = skin->getDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(index));
    return text ? text : L"";
}

void CSkinManager::SetSkinText(uint32_t index, const std::wstring& text)
{
    gui::IGUISkin* skin = CurrentSkin();
    if (skin && index < CSkinImpl::kTextCount)
        skin->setDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(index), text.c_str());
}

void CSkinManager::SetGuiAlpha(float alpha, bool absolute)
{
    gui::IGUISkin* skin = CurrentSkin();
    if (!skin)
        return;
    // Every colour the skin has, so the whole GUI fades together.
    for (u32 i = 0; i < gui::EGDC_COUNT; ++i)
    {
        const auto slot = static_cast<gui::EGUI_DEFAULT_COLOR>(i);
        const video::SColor old = skin->getColor(slot);
        const u32 newAlpha = absolute ? ToByte(static_cast<double>(alpha) * 255.0)
                                      : ToByte(static_cast<double>(old.getAlpha()) * alpha);
        skin->setColor(slot, video::SColor((newAlpha << 24) | (old.color & 0x00FFFFFFu)));
    }
}

bool CSkinManager::AreSkinHighlightsEnabled() const
{
    const CSkinImpl* own = GetOwnSkin();
    return own && own->AreHighlightsEnabled();
}

void CSkinManager::EnableSkinHighlights(bool enable)
{
    if (CSkinImpl* own = GetOwnSkin())
        own->EnableHighlights(enable);
}

uint32_t CSkinManager::GetSkinImageCount() const
{
    const CSkinImpl* own = GetOwnSkin();
    return own ? own->GetOwnSpriteBank()->GetSpriteCount() : 0;
}

std::wstring CSkinManager::GetSkinImage(const std::wstring& id) const
{
    const CSkinImpl* own = GetOwnSkin();
    return own ? own->GetImageFile(id) : std::wstring();
}

bool CSkinManager::SetSkinImage(const std::wstring& id, const std::wstring& textureFile,
                                const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    CSkinImpl* own = GetOwnSkin();
    return own && own->SetImage(id, textureFile, rectangles, frameTime);
}

void CSkinManager::ClearSkinImage(const std::wstring& id)
{
    if (CSkinImpl* own = GetOwnSkin())
        own->GetOwnSpriteBank()->RemoveSpriteId(id);
}

void CSkinManager::ClearAllSkinImages()
{
    if (CSkinImpl* own = GetOwnSkin())
        own->GetOwnSpriteBank()->Clear();
}

const std::map<std::wstring, uint32_t>* CSkinManager::GetSkinImageIds() const
{
    const CSkinImpl* own = GetOwnSkin();
    return own ? &own->GetOwnSpriteBank()->GetSpriteIds() : nullptr;
}

void CSkinManager::SetApplication(const CApplication* application)
{
    m_application = application;
    m_fontFileCache.clear();
}

CSkinManager::SFontFile* CSkinManager::FindFontFile(const std::wstring& name, bool& cached)
{
    cached = false;
    if (!m_application || name.empty())
        return nullptr;
    const uint64_t generation = m_application->GetFileSystem().GetCacheGeneration();
    if (generation != m_fontFileGeneration)
    {
        m_fontFileCache.clear();
        m_fontFileGeneration = generation;
    }
    if (generation != 0)
    {
        const auto known = m_fontFileCache.find(name);
        if (known != m_fontFileCache.end())
        {
            cached = true;
            return known->second ? &*known->second : nullptr;
        }
    }
    std::optional<SFontFile> found;
    if (IFile* file = m_application->OpenFile(name))
    {
        found = SFontFile{file->getFileName().c_str(), file->GetPath()};
        file->drop();
    }
    if (generation == 0)
    {
        if (!found)
            return nullptr;
        m_fontFileUncached = std::move(*found);
        return &m_fontFileUncached;
    }
    // Keys come from scripts: a script that makes up new ones all the time
    // does not grow this without end.
    constexpr size_t kMaximumCached = 1024;
    if (m_fontFileCache.size() >= kMaximumCached)
        m_fontFileCache.clear();
    auto& entry = m_fontFileCache.emplace(name, std::move(found)).first->second;
    return entry ? &*entry : nullptr;
}

void CSkinManager::ForgetFontFile(const std::wstring& name)
{
    m_fontFileCache.erase(name);
}

gui::IGUIFont* CSkinManager::LoadFont(SFontFile& file)
{
    if (file.font != nullptr)
        return file.font;
    // Irrlicht keeps the fonts it has read under their paths: a font is
    // checked and read once.
    const std::string path(file.path.c_str(), file.path.size());
    const auto loaded = m_loadedFonts.find(path);
    if (loaded != m_loadedFonts.end())
        return file.font = loaded->second;
    IFile* opened = m_application != nullptr ? m_application->OpenFile(file.fullName) : nullptr;
    if (opened == nullptr)
        return nullptr;
    // Checked before Irrlicht reads it; the description and its images load
    // through the engine's file system.
    std::string error;
    gui::IGUIFont* font = CBitmapFontLoader(m_environment, m_application).Load(opened, error);
    opened->drop();
    if (font != nullptr)
        m_loadedFonts.emplace(path, font);
    return file.font = font;
}

gui::IGUIFont* CSkinManager::GetFont(const std::wstring& name, bool registerFont)
{
    if (!m_environment)
        throw Misc::Error::CKVOError(
            L"[CGuiManager::GetFont] Font not available. Gui manager not initialised.");
    bool cached = false;
    SFontFile* file = FindFontFile(name, cached);
    if (file != nullptr)
    {
        gui::IGUIFont* font = LoadFont(*file);
        if (font == nullptr && cached)
        {
            // The file may have gone since it was found: look again.
            ForgetFontFile(name);
            file = FindFontFile(name, cached);
            font = file != nullptr ? LoadFont(*file) : nullptr;
        }
        if (file != nullptr)
        {
            if (font && registerFont)
                SetFont(name, std::wstring(file->fullName));
            return font;
        }
    }
    const auto registered = m_fonts.find(name);
    if (registered != m_fonts.end())
        return registered->second;
    return m_environment->getBuiltInFont();
}

bool CSkinManager::SetFont(const std::wstring& key, const std::wstring& file)
{
    long long slot = -1;
    const bool decimal = ParseDecimalKey(key, slot);
    if (decimal && (slot < 0 || slot >= static_cast<long long>(CSkinImpl::kFontCount)))
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::SetFont] Invalid font key:%s", key.c_str());
    gui::IGUIFont* font = GetFont(file, false);
    if (!font)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::SetFont] Failed to load font:%s", file.c_str());
    // Held while the maps change: the font may be the one being replaced.
    font->grab();
    if (decimal)
    {
        if (gui::IGUISkin* skin = CurrentSkin())
            skin->setFont(font, static_cast<gui::EGUI_DEFAULT_FONT>(slot));
    }
    const auto old = m_fonts.find(key);
    if (old != m_fonts.end())
    {
        old->second->drop();
        m_fonts.erase(old);
    }
    m_fontFiles.erase(key);
    if (font != m_environment->getBuiltInFont())
    {
        font->grab();
        m_fonts[key] = font;
    }
    m_fontFiles[key] = file;
    font->drop();
    return true;
}

std::wstring CSkinManager::GetFontFilename(const std::wstring& key) const
{
    const auto found = m_fontFiles.find(key);
    return found == m_fontFiles.end() ? std::wstring() : found->second;
}

std::wstring CSkinManager::GetFontKey(const gui::IGUIFont* font) const
{
    for (const auto& [key, registered] : m_fonts)
    {
        if (registered == font)
            return key;
    }
    return std::wstring();
}

void CSkinManager::ClearFonts()
{
    for (auto& [key, font] : m_fonts)
        font->drop();
    m_fonts.clear();
    m_fontFiles.clear();
}

void CSkinManager::ReadFonts(Misc::Serialization::IArchive& archive)
{
    while (!archive.TestToken("}", true))
    {
        std::wstring key;
        std::wstring file;
        // A block cut off before its "}" (or an empty key, where the text
        // archive stops without moving) ends here; the caller's expected "}"
        // reports it.
        if (!archive.ReadWString(key) || key.empty() || !archive.ReadWString(file))
            return;
        SetFont(key.empty() ? key : key.substr(1), file);
    }
}

uint32_t CSkinManager::GetFontTextureCount(gui::IGUIFont* font)
{
    if (!font || font->getType() != gui::EGFT_BITMAP)
        return 0;
    gui::IGUISpriteBank* bank = static_cast<gui::IGUIFontBitmap*>(font)->getSpriteBank();
    return bank ? bank->getTextureCount() : 0;
}

std::wstring CSkinManager::GetFontTextureName(gui::IGUIFont* font, uint32_t index)
{
    if (!font || font->getType() != gui::EGFT_BITMAP)
        return std::wstring();
    gui::IGUISpriteBank* bank = static_cast<gui::IGUIFontBitmap*>(font)->getSpriteBank();
    video::ITexture* texture = bank && index < bank->getTextureCount() ? bank->getTexture(index) : nullptr;
    return texture ? Misc::Text::Utf8ToWide(texture->getName().getPath().c_str()) : std::wstring();
}

} // namespace Graphics::GUI
