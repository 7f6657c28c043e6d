#pragma once

#include "core/events/Multicast.h"
#include "core/foundation/Color.h"

#include <cstdint>
#include <map>
#include <string>

namespace irr
{
class IrrlichtDevice;
namespace gui
{
class IGUIElement;
class IGUIEnvironment;
class IGUIFont;
class IGUIInOutFader;
} // namespace gui
namespace io
{
class IFileSystem;
}
} // namespace irr

namespace Graphics
{
class CGraphicsEngine;
}

namespace Graphics::GUI
{

// The GUI manager of the graphics engine: it stands between the scripts and
// Irrlicht's GUI environment. The graphics engine creates it with itself,
// attaches it to every new device, fades the GUI in when the loop starts and
// waits for its fade-out when the loop stops. This part holds what the
// engine's frame and input handling need: the element names, the keyboard
// shortcuts, the fader and the fonts.
class CGuiManager
{
public:
    // A keyboard shortcut: key code, pressed, shift and control must all be
    // equal for a key event to match. Keys order by code, then by each flag
    // in turn, a set flag before an unset one.
    struct SShortcutKey
    {
        uint16_t keyCode = 0;
        bool pressed = false;
        bool shift = false;
        bool control = false;

        bool operator<(const SShortcutKey& other) const;
    };
    using ShortcutMap = std::map<SShortcutKey, CGuiEvent>;

    // Fades the whole screen from a colour to transparent (fade-in) or back
    // (fade-out) with an Irrlicht in/out fader element. While a fade exists
    // it listens to the graphics tick, and with auto-clear it removes the
    // finished fader there.
    class CFaderManager : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsTick>
    {
    public:
        explicit CFaderManager(CGuiManager* manager);
        ~CFaderManager() override;
        CFaderManager(const CFaderManager&) = delete;
        CFaderManager& operator=(const CFaderManager&) = delete;

        // Stores the fade colour, both times (milliseconds) and the id, and
        // switches auto-clear on.
        void Configure(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime);
        // A fade of time milliseconds from the colour (in) or to it (out);
        // nothing for a time of 0. Replaces a running fade.
        void FadeIn(const CColor& color, uint32_t time, bool autoClear);
        void FadeOut(const CColor& color, uint32_t time, bool autoClear);
        // Removes the fader element; with reset also both times, the id and
        // auto-clear go back to their start values.
        void Clear(bool reset);
        // True when no fader element exists or its fade has run its time.
        bool IsComplete() const;

        bool OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick) override;

        const CColor& GetColor() const { return m_color; }
        uint32_t GetInTime() const { return m_inTime; }
        uint32_t GetOutTime() const { return m_outTime; }
        int32_t GetId() const { return m_id; }

    private:
        void Fade(const CColor& color, uint32_t time, bool autoClear, bool fadeIn);

        int32_t m_id = -1;
        CColor m_color;
        uint32_t m_inTime = 0;
        uint32_t m_outTime = 0;
        bool m_autoClear = true;
        CGuiManager* m_manager;
        irr::gui::IGUIInOutFader* m_element = nullptr;
    };

    explicit CGuiManager(Graphics::CGraphicsEngine* engine);
    ~CGuiManager();
    CGuiManager(const CGuiManager&) = delete;
    CGuiManager& operator=(const CGuiManager&) = delete;

    // Attaches the manager to a new device (null keeps the current one):
    // takes its GUI environment and file system and clears the GUI.
    void SetDevice(irr::IrrlichtDevice* device);
    // Lets go of the device before it is dropped: the GUI, the fonts and
    // every pointer into the environment go, so nothing dangles afterwards.
    void DetachDevice();

    // Removes the whole GUI: the fader, every element, the element names
    // and the shortcuts. Nothing without a GUI environment.
    void Clear();
    // The sprite bank and the skins come with the skin support; until then
    // there is nothing to release.
    void ClearSpriteBank() {}
    void ClearSkins() {}

    // The loop starts: fade in with the configured colour and in-time.
    void Start();
    // The loop stops: when started, fade out with the out-time and take the
    // focus from the GUI.
    void Stop();
    bool IsStarted() const { return m_started; }

    // The element under which new elements are created: the environment's
    // root (id 0) unless set otherwise; null without a GUI environment.
    irr::gui::IGUIElement* GetGuiParent();

    // Element names beside the numeric ids.
    void SetElementName(const std::wstring& name, int32_t id);
    // The name registered for the id; "" when there is none, or with
    // throwIfMissing "[CGuiManager::GetElementName] Cannot find gui element:%i".
    std::wstring GetElementName(int32_t id, bool throwIfMissing) const;

    // Binds the key (not pressed, with shift and control) to a GUI event of
    // the element (flag 1). With unique, a key that is bound already stays
    // as it is and the result is 0; otherwise the result is the key code.
    uint16_t AddShortcut(uint16_t keyCode, bool shift, bool control, const std::wstring& elementName,
                         uint32_t eventType, bool unique);
    // The GUI event bound to exactly this key, or null.
    const CGuiEvent* FindShortcut(const SShortcutKey& key) const;
    // Removes every binding; returns how many there were.
    size_t ClearShortcuts();
    const ShortcutMap& GetShortcuts() const { return m_shortcuts; }

    // The font of that name: a file of that name (through the application's
    // file system) loaded by the GUI environment, else the font registered
    // under the name as key, else the environment's built-in font. Null when
    // a file opens and is no font. With registerFont, a loaded font is
    // registered under the name. Throws without a GUI environment.
    irr::gui::IGUIFont* GetFont(const std::wstring& name, bool registerFont);
    // Registers the font loaded from the file under the key; the keys "0" to
    // "4" also set the skin's fonts. Throws when the file gives no font.
    bool SetFont(const std::wstring& key, const std::wstring& file);
    // Drops every registered font.
    void ClearFonts();

    CFaderManager& GetFader() { return m_fader; }
    Graphics::CGraphicsEngine* GetGraphicsEngine() const { return m_engine; }
    irr::IrrlichtDevice* GetDevice() const { return m_device; }
    irr::gui::IGUIEnvironment* GetGuiEnvironment() const { return m_environment; }

private:
    Graphics::CGraphicsEngine* m_engine;
    irr::IrrlichtDevice* m_device = nullptr;
    irr::gui::IGUIEnvironment* m_environment = nullptr;
    irr::io::IFileSystem* m_fileSystem = nullptr;
    // Holds one reference while set.
    irr::gui::IGUIElement* m_guiParent = nullptr;
    ShortcutMap m_shortcuts;
    CFaderManager m_fader;
    bool m_started = false;
    // Each font is grabbed while registered.
    std::map<std::wstring, irr::gui::IGUIFont*> m_fonts;
    std::map<std::wstring, std::wstring> m_fontFiles;
    std::map<std::wstring, int32_t> m_nameToId;
    std::map<int32_t, std::wstring> m_idToName;
};

} // namespace Graphics::GUI
