#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIButton;
class IGUIElement;
class IGUIToolBar;
} // namespace irr::gui

namespace Graphics::GUI
{

class CGuiManager;
class IGuiHost;

// Tool bars and their buttons, placed one after another.
class CGuiToolBarOperations
{
public:
    // The manager names the GUI, its parent element and the fonts; the host
    // (may be null) gives the buttons' images.
    CGuiToolBarOperations(CGuiManager& manager, IGuiHost* host) : m_manager(manager), m_host(host) {}

    // A tool bar under the GUI parent; a rectangle with a width and a height
    // above 0.000001 places it, else the library's placement stays. Null
    // without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIToolBar* Add(int32_t id, const CRect& pixelRect);
    irr::gui::IGUIToolBar* AddNamed(const std::wstring& name, const CRect& rect);
    // A button after the tool bar's other buttons (3 pixels apart), sized to
    // its image, else to its text in the skin's button font. A null tool bar
    // throws "[CGuiManager::addToolbarButton] Toolbar not defined.", another
    // element "[CGuiManager::addToolbarButton] Gui element is not a tool
    // bar:%s" (before the named one takes its name).
    /// The new button, or null: the tool bar owns it (do not drop it) until it is removed.
    irr::gui::IGUIButton* AddButton(irr::gui::IGUIElement* toolbar, int32_t id, const std::wstring& text,
                                    const std::wstring& font, const std::wstring& image,
                                    const std::wstring& pressedImage, bool pushButton, bool useAlpha,
                                    bool border);
    irr::gui::IGUIButton* AddButtonNamed(irr::gui::IGUIElement* toolbar, const std::wstring& name,
                                         const std::wstring& text, const std::wstring& font,
                                         const std::wstring& image, const std::wstring& pressedImage,
                                         bool pushButton, bool useAlpha, bool border);
    // Where the tool bar's next button starts: after the right edge of its
    // last button, 5 pixels in when it has none.
    static int32_t NextButtonX(const irr::gui::IGUIElement* toolbar);

private:
    /// The tool bar itself, owned by the GUI environment (do not drop it).
    irr::gui::IGUIToolBar* CheckedToolBar(irr::gui::IGUIElement* toolbar) const;

    CGuiManager& m_manager;
    IGuiHost* m_host;
};

} // namespace Graphics::GUI
