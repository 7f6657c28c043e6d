#include "gui/sprites/GuiSpriteBankFront.h"

#include "core/foundation/KVOError.h"
#include "gui/manager/IGuiHost.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using Graphics::Sprite::CGuiKVOSpriteBank;

void CGuiSpriteBankFront::Attach(irr::gui::IGUIEnvironment* environment)
{
    Release();
    m_bank = new CGuiKVOSpriteBank(environment);
    // Sprites take their textures the way scripts name them: through the
    // engine, which loads by the application's file lookup.
    if (m_host != nullptr)
    {
        IGuiHost* host = m_host;
        m_bank->SetTextureLoader([host](const std::wstring& name)
                                 { return name.empty() ? nullptr : host->GetTexture(name, false); });
    }
}

void CGuiSpriteBankFront::Release()
{
    if (m_bank == nullptr)
        return;
    m_bank->RemoveAllScreenSprites();
    m_bank->drop();
    m_bank = nullptr;
}

void CGuiSpriteBankFront::Clear()
{
    if (m_bank != nullptr)
        m_bank->Clear();
}

CGuiKVOSpriteBank& CGuiSpriteBankFront::Require(const wchar_t* method) const
{
    if (m_bank == nullptr)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Graphics engine not initialised.", method);
    return *m_bank;
}

std::wstring CGuiSpriteBankFront::AddEntry(const std::wstring& id, const std::wstring& textureName,
                                           const std::vector<CRect>& rectangles, uint32_t frameTime)
{
    return Require(L"AddSpriteBankEntry").AddSpriteBankEntry(id, textureName, rectangles, frameTime);
}

std::wstring CGuiSpriteBankFront::AddToScreen(const std::wstring& spriteId, const CRect& pixelRect,
                                              uint32_t startFrame, bool loop, bool oneShot, int32_t zOrder,
                                              const CColor& color, bool beforeGui, const CRect& clip)
{
    return Require(L"AddSpriteToScreen")
        .AddSpriteToScreen(spriteId, pixelRect, startFrame, loop, oneShot, zOrder, color, beforeGui, clip);
}

bool CGuiSpriteBankFront::ScreenSpriteExists(const std::wstring& screenSpriteId)
{
    return Require(L"AddSpriteToScreen").ScreenSpriteExists(screenSpriteId);
}

CRect CGuiSpriteBankFront::GetPosition(const std::wstring& screenSpriteId, bool absolute)
{
    return Require(L"GetSpritePosition").GetSpritePosition(screenSpriteId, absolute);
}

void CGuiSpriteBankFront::Move(const std::wstring& screenSpriteId, const CRect& pixelRect)
{
    Require(L"MoveSprite").MoveSprite(screenSpriteId, pixelRect);
}

void CGuiSpriteBankFront::ChangeColor(const std::wstring& screenSpriteId, const CColor& color)
{
    Require(L"ChangeSpriteColor").ChangeSpriteColor(screenSpriteId, color);
}

void CGuiSpriteBankFront::Remove(const std::wstring& screenSpriteId)
{
    Require(L"RemoveSprite").RemoveSprite(screenSpriteId);
}

void CGuiSpriteBankFront::RemoveAllScreenSprites()
{
    Require(L"RemoveAllScreenSprites").RemoveAllScreenSprites();
}

uint32_t CGuiSpriteBankFront::GetCount()
{
    return Require(L"GetSpriteBankCount").GetSpriteCount();
}

bool CGuiSpriteBankFront::EntryExists(const std::wstring& id)
{
    return Require(L"SpriteBankEntryExists").SpriteExists(id);
}

bool CGuiSpriteBankFront::Load(Misc::Serialization::IArchive& archive, CGuiKVOSpriteBank* bank)
{
    if (bank == nullptr)
        bank = &Require(L"loadSpriteBank");
    return bank->LoadFromArchive(archive);
}

bool CGuiSpriteBankFront::Save(Misc::Serialization::IArchive& archive, CGuiKVOSpriteBank* bank)
{
    if (bank == nullptr)
        bank = &Require(L"saveSpriteBank");
    return bank->Write(archive);
}

bool CGuiSpriteBankFront::LoadFile(const std::wstring& name)
{
    CGuiKVOSpriteBank& bank = Require(L"LoadSpriteBankFile");
    const CApplication* application = nullptr;
    if (m_host != nullptr)
        application = m_host->GetApplication();
    return application != nullptr && bank.LoadFile(*application, name);
}

bool CGuiSpriteBankFront::SaveFile(const std::wstring& path, const char* mode)
{
    return Require(L"SaveSpriteBankFile").SaveFile(path, mode);
}

} // namespace Graphics::GUI
