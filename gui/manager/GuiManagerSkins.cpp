#include "gui/manager/GuiManager.h"

#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

void CGuiManager::AttachSkins()
{
    const CApplication* application = nullptr;
    if (m_host != nullptr)
        application = m_host->GetApplication();
    m_skins.SetApplication(application);
    m_skins.SetEnvironment(m_environment);
    // The own skin finds an element's images by the element's name.
    m_skins.SetElementNameLookup([this](irr::gui::IGUIElement* element)
                                 { return GetElementName(element->getID(), false); });
    m_skins.DeactivateSkin();
    m_skins.SetGuiAlpha(1.0f, true);

    m_sprites.Attach(m_environment);
}

void CGuiManager::DetachSkins()
{
    // The builders' textures live in the device's driver.
    m_fontTools.Clear();
    m_sprites.Release();
    m_skins.SetEnvironment(nullptr);
}

void CGuiManager::ClearSpriteBank()
{
    m_sprites.Clear();
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
    return m_sprites.Load(archive, nullptr);
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

uint32_t CGuiManager::CreateFontTool()
{
    return m_fontTools.Create(m_device);
}

irr::CFontTool* CGuiManager::GetFontTool(uint32_t id) const
{
    return m_fontTools.Get(id);
}

bool CGuiManager::DestroyFontTool(uint32_t id)
{
    return m_fontTools.Destroy(id);
}

} // namespace Graphics::GUI
