#pragma once

#include <string>

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

// Writes the GUI, or one element with everything below it, as a layout:
// each element's block holds its kind's keys, then the blocks every element
// shares (tooltip, tab stops, alignment) and its children's GUI. Works
// through the host alone; the messages name the GUI manager, whose calls
// these are.
class CGuiLayoutWriter
{
public:
    explicit CGuiLayoutWriter(IGuiLayoutHost& host) : m_host(host) {}
    CGuiLayoutWriter(const CGuiLayoutWriter&) = delete;
    CGuiLayoutWriter& operator=(const CGuiLayoutWriter&) = delete;

    // Saves the whole GUI, or the element with its children, to the file:
    // mode "COMPRESSED", "BINARY" or a text encoding name.
    bool Save(const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates,
              irr::gui::IGUIElement* element);

    // The whole GUI below the GUI parent: a "Fader{" block, then its
    // children; nothing without a GUI parent.
    bool Write(Misc::Serialization::IArchive& archive);
    // "Gui{", the element's block, "}"; nothing for a null element.
    bool WriteOneElement(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "Gui{", the block of each child, "}".
    bool WriteChildren(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The element's block: its kind's keys and the shared blocks. Internal
    // elements, sub-elements and kinds without a writer (windows, message
    // boxes, ...) are left out with everything below them.
    bool WriteElement(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteFader(Misc::Serialization::IArchive& archive);
    bool WriteTabStopInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteAlignmentInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // The keys elements share: "-IdName" with the element's name (or "-Id"
    // with its id when it has none), "-Position" of the relative rectangle
    // (fractions when the archive attribute "useRelativeCoordinates" is
    // true), "-Label" with the caption.
    bool WriteElementIdName(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteElementPosition(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteElementLabel(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "-Shortcut" with the text of the element's first binding; nothing
    // when it has none.
    bool WriteShortcut(const std::wstring& name, Misc::Serialization::IArchive& archive);
    // The "Tooltip{" block of an element that has a tooltip.
    bool WriteToolTip(irr::gui::IGUIElement* element, Misc::Serialization::IArchive& archive);

    // The block bodies of the element kinds.
    bool WriteButton(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteImage(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteStaticText(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteEditBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteSpinBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteCheckBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteMenu(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "MenuItems{" with an "Item{" per item (separators with an empty
    // label) or a "SubMenu{" with its own items.
    bool WriteMenuItems(Misc::Serialization::IArchive& archive, irr::gui::IGUIContextMenu* menu);
    // The id, name and position; the buttons are written as the tool bar's
    // children.
    bool WriteToolbar(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteTabControl(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteTab(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteScrollBar(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteListBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteComboBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteTable(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

private:
    IGuiLayoutHost& m_host;
    std::wstring m_guiFile;
};

} // namespace Graphics::GUI
