#pragma once

#include "core/foundation/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace irr::gui
{
class IGUIContextMenu;
class IGUIElement;
} // namespace irr::gui

namespace Misc::Serialization
{
class IArchive;
}

namespace Graphics::GUI
{

class IGuiLayoutHost;

// Reads layouts: creates the elements of a GUI under the GUI parent, each
// with its kind's keys and the blocks every element shares, includes other
// layouts and takes the skin, font, sprite and fader blocks. Works through
// the host alone; the messages name the GUI manager, whose calls these are.
// Damaged files, nesting past a limit and layouts that include themselves
// throw rather than run out of stack or load for ever.
class CGuiLayoutReader
{
public:
    explicit CGuiLayoutReader(IGuiLayoutHost& host) : m_host(host) {}
    CGuiLayoutReader(const CGuiLayoutReader&) = delete;
    CGuiLayoutReader& operator=(const CGuiLayoutReader&) = delete;

    // Loads a layout file (by name, also with ".kvogui" appended, through
    // the application's file system) under the GUI parent. A missing file
    // is logged and answers false; damaged files and a layout that
    // includes itself throw.
    bool Load(const std::wstring& fileName);
    // Load with the element as the GUI parent; the previous parent is
    // restored afterwards.
    bool LoadUnder(const std::wstring& fileName, irr::gui::IGUIElement* parent);

    // A GUI: an optional "Fader{" block, then an optional "Gui{" block whose
    // entries are created under the GUI parent.
    bool Read(Misc::Serialization::IArchive& archive);
    // Read with the element as the GUI parent, then the previous parent
    // again (also when the read throws).
    bool ReadUnder(irr::gui::IGUIElement* element, Misc::Serialization::IArchive& archive);
    // The entries of a "Gui{" block up to its "}".
    void ReadElements(Misc::Serialization::IArchive& archive);
    void ReadFader(Misc::Serialization::IArchive& archive);
    // The "TooltipInfo" entry of older layouts: read, without effect.
    void ReadTooltipInfo(Misc::Serialization::IArchive& archive);
    // The optional "TabStopInfo{" block; without it an element named by an
    // integer takes it as its tab order. Then applies the tab settings.
    void ReadTabStopInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The optional "AlignmentInfo{" block: alignment, sizes, clipping.
    void ReadAlignmentInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // The keys elements share. "-IdName" or "-Id": registers the name and
    // returns its new id. "-Position": four floats, as the rectangle rule
    // takes them.
    int32_t ReadElementIdName(Misc::Serialization::IArchive& archive);
    CRect ReadElementPosition(Misc::Serialization::IArchive& archive, const wchar_t* method = L"Read");
    // Optional "-Shortcut": binds the key (not unique) to the GUI event type
    // for the element name. True when a key was bound.
    bool ReadShortcut(Misc::Serialization::IArchive& archive, uint32_t eventType, const std::wstring& name);
    // An optional "Tooltip{" block: sets the element's tooltip. False when
    // there was none (or no element).
    bool ReadToolTip(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // The element kinds' blocks: each creates its element under the GUI
    // parent and answers it (null when nothing could be created).
    irr::gui::IGUIElement* ReadButton(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadImage(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadStaticText(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadEditBox(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadSpinBox(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadCheckBox(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadMenu(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadContextMenu(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadMenu(Misc::Serialization::IArchive& archive, bool context);
    // The items: from version 1019 inside "MenuItems{", before up to the
    // block's "}" (or a sub-menu's tooltip block).
    void loadMenuItems(irr::gui::IGUIContextMenu* menu, Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadToolbar(Misc::Serialization::IArchive& archive);
    // The "Button{" entries of a tool bar block (version 1019 on).
    void ReadToolbarButtons(irr::gui::IGUIElement* toolbar, Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadTabControl(Misc::Serialization::IArchive& archive);
    // A "TabPage{" entry of a tab control block, after its opening token.
    void ReadTabPage(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* tabControl);
    // A page of the tab control that is the GUI parent (or that
    // "-TabControl" names), else a free-standing tab.
    irr::gui::IGUIElement* ReadTab(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadScrollBar(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadListBox(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadComboBox(Misc::Serialization::IArchive& archive);
    irr::gui::IGUIElement* ReadTable(Misc::Serialization::IArchive& archive);

private:
    // Makes an element the GUI parent for a scope.
    class CParentScope;
    // One level of nesting: elements within elements and sub-menus within
    // menus count alike against the limit.
    class CReadLevel
    {
    public:
        // Throws "[CGuiManager::<method>] Layout nested deeper than 128
        // levels" past the limit.
        CReadLevel(CGuiLayoutReader& reader, const wchar_t* method);
        ~CReadLevel() { --m_depth; }
        CReadLevel(const CReadLevel&) = delete;
        CReadLevel& operator=(const CReadLevel&) = delete;

    private:
        int32_t& m_depth;
    };

    // The name that "-IdName" or "-Id" gives.
    std::wstring ReadElementIdNameText(Misc::Serialization::IArchive& archive);
    void Include(const std::wstring& fileName);
    // An element's tooltip, tab stop, alignment and nested GUI blocks.
    void ReadElementBlocks(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The same blocks of an element that could not be had, read and
    // dropped.
    void ReadDetachedBlocks(Misc::Serialization::IArchive& archive);

    static constexpr int32_t kMaxLayoutDepth = 128;
    // Includes read since the outermost load began.
    static constexpr int32_t kMaxIncludesPerLoad = 1024;

    IGuiLayoutHost& m_host;
    // The layouts being loaded, outermost first.
    std::vector<std::wstring> m_loadingFiles;
    int32_t m_includeCount = 0;
    int32_t m_readDepth = 0;
};

} // namespace Graphics::GUI
