#include "gui/manager/GuiManager.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/fonts/FontTool.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using Graphics::Sprite::CGuiKVOSpriteBank;

void CGuiManager::AttachSkins()
{
    const CApplication* application = nullptr;
    if (m_engine != nullptr && m_engine->GetOwner() != nullptr)
        application = m_engine->GetOwner()->GetApplication();
    m_skins.SetApplication(application);
    m_skins.SetEnvironment(m_environment);
    // The own skin finds an element's images by the element's name.
    m_skins.SetElementNameLookup([this](irr::gui::IGUIElement* element)
                                 { return GetElementName(element->getID(), false); });
    m_skins.DeactivateSkin();
    m_skins.SetGuiAlpha(1.0f, true);

    ReleaseSpriteBank();
    m_spriteBank = new CGuiKVOSpriteBank(m_environment);
    // Sprites take their textures the way scripts name them: through the
    // engine, which loads by the application's file lookup.
    if (m_engine != nullptr)
    {
        Graphics::CGraphicsEngine* engine = m_engine;
        m_spriteBank->SetTextureLoader([engine](const std::wstring& name)
                                       { return name.empty() ? nullptr : engine->GetTexture(name, false); });
    }
}

void CGuiManager::DetachSkins()
{
    // The builders' textures live in the device's driver.
    for (auto& entry : m_fontTools)
        entry.second->drop();
    m_fontTools.clear();
    ReleaseSpriteBank();
    m_skins.SetEnvironment(nullptr);
}

void CGuiManager::ReleaseSpriteBank()
{
    if (m_spriteBank == nullptr)
        return;
    // An element may still hold the bank for a while: it draws no more
    // screen sprites from now on.
    m_spriteBank->RemoveAllScreenSprites();
    m_spriteBank->drop();
    m_spriteBank = nullptr;
}

void CGuiManager::ClearSpriteBank()
{
    if (m_spriteBank != nullptr)
        m_spriteBank->Clear();
}

void CGuiManager::ClearSkins()
{
    m_skins.ClearFonts();
}

void CGuiManager::ReadSkin(Misc::Serialization::IArchive& archive)
{
    m_skins.ReadSkin(archive);
}

bool CGuiManager::WriteSkin(Misc::Serialization::IArchive& archive)
{
    return m_skins.WriteSkin(archive);
}

void CGuiManager::ReadFonts(Misc::Serialization::IArchive& archive)
{
    m_skins.ReadFonts(archive);
}

bool CGuiManager::ReadSpriteBank(Misc::Serialization::IArchive& archive)
{
    return loadSpriteBank(archive, nullptr);
}

irr::gui::IGUIFont* CGuiManager::GetFont(const std::wstring& name, bool registerFont)
{
    return m_skins.GetFont(name, registerFont);
}

bool CGuiManager::SetFont(const std::wstring& key, const std::wstring& file)
{
    return m_skins.SetFont(key, file);
}

void CGuiManager::ClearFonts()
{
    m_skins.ClearFonts();
}

CGuiKVOSpriteBank& CGuiManager::RequireSpriteBank(const wchar_t* method) const
{
    if (m_spriteBank == nullptr)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Graphics engine not initialised.", method);
    return *m_spriteBank;
}

std::wstring CGuiManager::AddSpriteBankEntry(const std::wstring& id, const std::wstring& textureName,
                                             const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    return RequireSpriteBank(L"AddSpriteBankEntry")
        .AddSpriteBankEntry(id, textureName, rectangles, frameTime);
}

std::wstring CGuiManager::AddSpriteToScreen(const std::wstring& spriteId, const CRect& rectangle,
                                            uint32_t startFrame, bool loop, bool oneShot, int32_t zOrder,
                                            const CColor& color, bool beforeGui, const CRect& clip)
{
    CGuiKVOSpriteBank& bank = RequireSpriteBank(L"AddSpriteToScreen");
    return bank.AddSpriteToScreen(spriteId, ScreenRectToPixels(rectangle), startFrame, loop, oneShot, zOrder,
                                  color, beforeGui, clip);
}

bool CGuiManager::ScreenSpriteExists(const std::wstring& screenSpriteId)
{
    return RequireSpriteBank(L"AddSpriteToScreen").ScreenSpriteExists(screenSpriteId);
}

CRect CGuiManager::GetSpritePosition(const std::wstring& screenSpriteId, bool absolute)
{
    return RequireSpriteBank(L"GetSpritePosition").GetSpritePosition(screenSpriteId, absolute);
}

void CGuiManager::MoveSprite(const std::wstring& screenSpriteId, const CRect& rectangle)
{
    CGuiKVOSpriteBank& bank = RequireSpriteBank(L"MoveSprite");
    bank.MoveSprite(screenSpriteId, ScreenRectToPixels(rectangle));
}

void CGuiManager::ChangeSpriteColor(const std::wstring& screenSpriteId, const CColor& color)
{
    RequireSpriteBank(L"ChangeSpriteColor").ChangeSpriteColor(screenSpriteId, color);
}

void CGuiManager::RemoveSprite(const std::wstring& screenSpriteId)
{
    RequireSpriteBank(L"RemoveSprite").RemoveSprite(screenSpriteId);
}

void CGuiManager::RemoveAllScreenSprites()
{
    RequireSpriteBank(L"RemoveAllScreenSprites").RemoveAllScreenSprites();
}

uint32_t CGuiManager::GetSpriteBankCount()
{
    return RequireSpriteBank(L"GetSpriteBankCount").GetSpriteCount();
}

bool CGuiManager::SpriteBankEntryExists(const std::wstring& id)
{
    return RequireSpriteBank(L"SpriteBankEntryExists").SpriteExists(id);
}

bool CGuiManager::loadSpriteBank(Misc::Serialization::IArchive& archive, CGuiKVOSpriteBank* bank)
{
    if (bank == nullptr)
        bank = &RequireSpriteBank(L"loadSpriteBank");
    return bank->LoadFromArchive(archive);
}

bool CGuiManager::saveSpriteBank(Misc::Serialization::IArchive& archive, CGuiKVOSpriteBank* bank)
{
    if (bank == nullptr)
        bank = &RequireSpriteBank(L"saveSpriteBank");
    return bank->Write(archive);
}

bool CGuiManager::LoadSpriteBankFile(const std::wstring& name)
{
    CGuiKVOSpriteBank& bank = RequireSpriteBank(L"LoadSpriteBankFile");
    const CApplication* application = nullptr;
    if (m_engine != nullptr && m_engine->GetOwner() != nullptr)
        application = m_engine->GetOwner()->GetApplication();
    return application != nullptr && bank.LoadFile(*application, name);
}

bool CGuiManager::SaveSpriteBankFile(const std::wstring& path, const char* mode)
{
    return RequireSpriteBank(L"SaveSpriteBankFile").SaveFile(path, mode);
}

uint32_t CGuiManager::CreateFontTool()
{
    if (m_device == nullptr)
        return 0;
    // Ids count on past the 32-bit range's end only by wrapping; 0 and ids
    // still in use are passed by.
    do
        ++m_lastFontToolId;
    while (m_lastFontToolId == 0 || m_fontTools.count(m_lastFontToolId) != 0);
    m_fontTools[m_lastFontToolId] = new irr::CFontTool(m_device);
    return m_lastFontToolId;
}

irr::CFontTool* CGuiManager::GetFontTool(uint32_t id) const
{
    const auto found = m_fontTools.find(id);
    return found != m_fontTools.end() ? found->second : nullptr;
}

bool CGuiManager::DestroyFontTool(uint32_t id)
{
    const auto found = m_fontTools.find(id);
    if (found == m_fontTools.end())
        return false;
    irr::CFontTool* tool = found->second;
    m_fontTools.erase(found);
    tool->drop();
    return true;
}

} // namespace Graphics::GUI
