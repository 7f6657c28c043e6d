#include "gui/manager/GuiManagerParts.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

void CGuiManager::SParts::AttachSkins(CGuiManager& manager)
{
    const CApplication* application = nullptr;
    if (manager.m_host != nullptr)
        application = manager.m_host->GetApplication();
    skins.SetApplication(application);
    skins.SetEnvironment(manager.m_environment);
    // The own skin finds an element's images by the element's name.
    skins.SetElementNameLookup([&manager](irr::gui::IGUIElement* element)
                               { return manager.GetElementName(element->getID(), false); });
    skins.DeactivateSkin();
    skins.SetGuiAlpha(1.0f, true);

    sprites.Attach(manager.m_environment);
}

void CGuiManager::SParts::DetachSkins()
{
    // The builders' textures live in the device's driver.
    fontTools.Clear();
    sprites.Release();
    skins.SetEnvironment(nullptr);
}

void CGuiManager::ClearSpriteBank()
{
    m_parts->sprites.Clear();
}

void CGuiManager::ClearSkins()
{
    m_parts->skins.ClearFonts();
}

void CGuiManager::ReadSkin(Misc::Serialization::IArchive& archive)
{
    m_parts->skins.ReadSkin(archive);
}

bool CGuiManager::WriteSkin(Misc::Serialization::IArchive& archive)
{
    return m_parts->skins.WriteSkin(archive);
}

void CGuiManager::ReadFonts(Misc::Serialization::IArchive& archive)
{
    m_parts->skins.ReadFonts(archive);
}

irr::gui::IGUIFont* CGuiManager::GetFont(const std::wstring& name, bool registerFont)
{
    return m_parts->skins.GetFont(name, registerFont);
}

bool CGuiManager::SetFont(const std::wstring& key, const std::wstring& file)
{
    return m_parts->skins.SetFont(key, file);
}

void CGuiManager::ClearFonts()
{
    m_parts->skins.ClearFonts();
}

CSkinManager& CGuiManager::GetSkins()
{
    return m_parts->skins;
}

const CSkinManager& CGuiManager::GetSkins() const
{
    return m_parts->skins;
}

Graphics::Sprite::CGuiKVOSpriteBank* CGuiManager::GetSpriteBank() const
{
    return m_parts->sprites.Get();
}

// The sprite bank's front end.

std::wstring CGuiManager::AddSpriteBankEntry(const std::wstring& id, const std::wstring& textureName,
                                             const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    return m_parts->sprites.AddEntry(id, textureName, rectangles, frameTime);
}

std::wstring CGuiManager::AddSpriteToScreen(const std::wstring& spriteId, const CRect& rectangle,
                                            uint32_t startFrame, bool loop, bool oneShot, int32_t zOrder,
                                            const CColor& color, bool beforeGui, const CRect& clip)
{
    m_parts->sprites.Require(L"AddSpriteToScreen");
    return m_parts->sprites.AddToScreen(spriteId, ScreenRectToPixels(rectangle), startFrame, loop, oneShot,
                                        zOrder, color, beforeGui, clip);
}

bool CGuiManager::ScreenSpriteExists(const std::wstring& screenSpriteId)
{
    return m_parts->sprites.ScreenSpriteExists(screenSpriteId);
}

CRect CGuiManager::GetSpritePosition(const std::wstring& screenSpriteId, bool absolute)
{
    return m_parts->sprites.GetPosition(screenSpriteId, absolute);
}

void CGuiManager::MoveSprite(const std::wstring& screenSpriteId, const CRect& rectangle)
{
    m_parts->sprites.Require(L"MoveSprite");
    m_parts->sprites.Move(screenSpriteId, ScreenRectToPixels(rectangle));
}

void CGuiManager::ChangeSpriteColor(const std::wstring& screenSpriteId, const CColor& color)
{
    m_parts->sprites.ChangeColor(screenSpriteId, color);
}

void CGuiManager::RemoveSprite(const std::wstring& screenSpriteId)
{
    m_parts->sprites.Remove(screenSpriteId);
}

void CGuiManager::RemoveAllScreenSprites()
{
    m_parts->sprites.RemoveAllScreenSprites();
}

uint32_t CGuiManager::GetSpriteBankCount()
{
    return m_parts->sprites.GetCount();
}

bool CGuiManager::SpriteBankEntryExists(const std::wstring& id)
{
    return m_parts->sprites.EntryExists(id);
}

bool CGuiManager::loadSpriteBank(Misc::Serialization::IArchive& archive,
                                 Graphics::Sprite::CGuiKVOSpriteBank* bank)
{
    return m_parts->sprites.Load(archive, bank);
}

bool CGuiManager::saveSpriteBank(Misc::Serialization::IArchive& archive,
                                 Graphics::Sprite::CGuiKVOSpriteBank* bank)
{
    return m_parts->sprites.Save(archive, bank);
}

bool CGuiManager::LoadSpriteBankFile(const std::wstring& name)
{
    return m_parts->sprites.LoadFile(name);
}

bool CGuiManager::SaveSpriteBankFile(const std::wstring& path, const char* mode)
{
    return m_parts->sprites.SaveFile(path, mode);
}

} // namespace Graphics::GUI
