#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace irr::gui
{
class IGUIEnvironment;
}

namespace Misc::Serialization
{
class IArchive;
}

namespace Graphics::Sprite
{
class CGuiKVOSpriteBank;
}

namespace Graphics::GUI
{

class IGuiHost;

// The GUI's sprite bank as scripts reach it: one bank per GUI environment,
// made anew on every device. Without a bank each operation throws
// "[CGuiManager::<method>] Graphics engine not initialised.". Rectangles are
// pixels here; the manager converts script rectangles first.
class CGuiSpriteBankFront
{
public:
    explicit CGuiSpriteBankFront(IGuiHost* host) : m_host(host) {}
    ~CGuiSpriteBankFront() { Release(); }
    CGuiSpriteBankFront(const CGuiSpriteBankFront&) = delete;
    CGuiSpriteBankFront& operator=(const CGuiSpriteBankFront&) = delete;

    // A new bank on the environment; it loads textures through the host.
    void Attach(irr::gui::IGUIEnvironment* environment);
    // Lets go of the bank; an element may still hold it for a while, but it
    // draws no more screen sprites.
    void Release();
    // Empties the bank (nothing before there is one).
    void Clear();
    // The bank, or null without one.
    Graphics::Sprite::CGuiKVOSpriteBank* Get() const { return m_bank; }
    // The bank, or "[CGuiManager::<method>] Graphics engine not initialised.".
    Graphics::Sprite::CGuiKVOSpriteBank& Require(const wchar_t* method) const;

    std::wstring AddEntry(const std::wstring& id, const std::wstring& textureName,
                          const std::vector<CRect>& rectangles, uint32_t frameTime);
    std::wstring AddToScreen(const std::wstring& spriteId, const CRect& pixelRect, uint32_t startFrame,
                             bool loop, bool oneShot, int32_t zOrder, const CColor& color, bool beforeGui,
                             const CRect& clip);
    bool ScreenSpriteExists(const std::wstring& screenSpriteId);
    CRect GetPosition(const std::wstring& screenSpriteId, bool absolute);
    void Move(const std::wstring& screenSpriteId, const CRect& pixelRect);
    void ChangeColor(const std::wstring& screenSpriteId, const CColor& color);
    void Remove(const std::wstring& screenSpriteId);
    void RemoveAllScreenSprites();
    uint32_t GetCount();
    bool EntryExists(const std::wstring& id);
    // Reads or writes the bank (null: the GUI's own) in an open archive.
    bool Load(Misc::Serialization::IArchive& archive, Graphics::Sprite::CGuiKVOSpriteBank* bank);
    bool Save(Misc::Serialization::IArchive& archive, Graphics::Sprite::CGuiKVOSpriteBank* bank);
    // The file of the name (or with ".kvosprites") through the application's
    // file lookup; false when none is found or it is no sprite bank.
    bool LoadFile(const std::wstring& name);
    bool SaveFile(const std::wstring& path, const char* mode);

private:
    IGuiHost* m_host;
    Graphics::Sprite::CGuiKVOSpriteBank* m_bank = nullptr; // grabbed
};

} // namespace Graphics::GUI
