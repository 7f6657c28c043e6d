#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIElement;
class IGUITab;
class IGUITabControl;
} // namespace irr::gui

namespace Graphics::GUI
{

class CGuiManager;

// What the manager does with tab controls and tabs beyond one call of the
// element itself: building them, page colours by the skin, checked indices
// and the settings kept in the attributes; and what scripts read and change
// on them, each operation checking the element's kind.
class CGuiTabOperations
{
public:
    // The manager names the GUI, its parent element, the skin and the
    // device.
    explicit CGuiTabOperations(CGuiManager& manager) : m_manager(manager) {}

    // A tab control under the GUI parent (pixels; the named one registers the
    // name and takes the screen rule); null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITabControl* AddControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                         bool border);
    irr::gui::IGUITabControl* AddControlNamed(const std::wstring& name, const CRect& rect,
                                              bool fillBackground, bool border);
    // A page of the tab control with the colour rule. An element that is no
    // tab control throws "[CGuiManager::addTabPage] Parent tab control not
    // defined." (before the named one takes its name).
    /// The new page, or null: its tab control owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* AddPage(irr::gui::IGUIElement* tabControl, int32_t id, const std::wstring& caption,
                               const CColor& color, bool drawBackground);
    irr::gui::IGUITab* AddPageNamed(irr::gui::IGUIElement* tabControl, const std::wstring& name,
                                    const std::wstring& caption, const CColor& color, bool drawBackground);
    // A free-standing tab under the GUI parent.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* Add(int32_t id, const CRect& pixelRect, bool drawBackground, const CColor& color);
    irr::gui::IGUITab* AddNamed(const std::wstring& name, const CRect& rect, bool drawBackground,
                                const CColor& color);

    // A colour with an alpha above 0.000001 becomes the background colour,
    // else the skin's 3D face colour does.
    void SetPageColor(irr::gui::IGUITab& tab, const CColor& color);

    // What scripts ask of tab controls and tabs. Each refuses an element of
    // another kind with "[CGuiManager::<method>] Gui element is not a tab
    // control:%s" ("... a tab:%s"), the method named after the operation
    // (GetTabCount, GetTab, GetActiveTab, SetActiveTab,
    // GetTabControlBackground, ...).
    int32_t GetCount(irr::gui::IGUIElement* tabControl);
    // The tab at the index, null when there is none.
    /// Not to be dropped: the tab control owns the tab, valid until it is removed.
    irr::gui::IGUITab* GetTab(irr::gui::IGUIElement* tabControl, int32_t index);
    int32_t GetActiveTab(irr::gui::IGUIElement* tabControl);
    // An index of no tab changes nothing; a change publishes the tab
    // changed event (type 17) through the library.
    void SetActiveTab(irr::gui::IGUIElement* tabControl, int32_t index);
    // The fill-background and border flags given at creation; setting them
    // afterwards changes the flags only.
    bool GetControlBackground(irr::gui::IGUIElement* tabControl);
    void SetControlBackground(irr::gui::IGUIElement* tabControl, bool fill);
    bool GetControlBorder(irr::gui::IGUIElement* tabControl);
    void SetControlBorder(irr::gui::IGUIElement* tabControl, bool border);
    CColor GetPageColor(irr::gui::IGUIElement* tab);
    bool GetPageBackground(irr::gui::IGUIElement* tab);
    void SetPageBackground(irr::gui::IGUIElement* tab, bool drawBackground);

private:
    // The new tab's colour and background.
    void SetUpTab(irr::gui::IGUITab& tab, const CColor& color, bool drawBackground);

    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
