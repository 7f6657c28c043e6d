// Menus and tool bars in GUI layouts: the "Menu" and "ContextMenu" blocks
// with their items, and the "Toolbar" block with the buttons older files
// keep inside it.

#include "core/foundation/Color.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/events/GuiEventType.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

using Layout::Require;
using Layout::WriteBlockEnd;
using Layout::WriteBlockStart;

using namespace irr;
using Misc::Serialization::IArchive;

namespace
{

// Items enclosed in "MenuItems{" from this version on.
constexpr uint32_t kEnclosedMenuItemsVersion = FileVersion::kGuiElementLinks;
// Tool bars carry their position and their buttons' fonts and shortcuts
// from this version on, their buttons from the second.
constexpr uint32_t kToolbarPositionVersion = FileVersion::kToolbarPosition;
constexpr uint32_t kToolbarButtonsVersion = FileVersion::kGuiElementLinks;

} // namespace

gui::IGUIElement* CGuiLayoutReader::ReadMenu(IArchive& archive)
{
    return ReadMenu(archive, false);
}

gui::IGUIElement* CGuiLayoutReader::ReadContextMenu(IArchive& archive)
{
    return ReadMenu(archive, true);
}

gui::IGUIElement* CGuiLayoutReader::ReadMenu(IArchive& archive, bool context)
{
    const int32_t id = ReadElementIdName(archive);
    CRect rect;
    if (archive.TestToken("-Position", true))
        rect = ReadElementPosition(archive);
    // A menu's font is the skin's: the key is read and has no effect.
    if (archive.TestToken("-Font"))
    {
        std::wstring font;
        Require(archive.ReadWString(font), "-Font");
    }
    gui::IGUIContextMenu* menu =
        context ? m_host.AddContextMenu(id, m_host.ScreenRectToPixels(rect)) : m_host.AddMenu(id);
    if (menu == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadMenu] Gui environment not available.");
    ReadToolTip(archive, menu);
    {
        // Each item added would size the menu with all its sub-menus again:
        // it is sized once, when all are in.
        struct SRestore
        {
            IGuiLayoutHost& host;
            bool held;
            ~SRestore() { host.HoldMenuSizing(held); }
        } restore{m_host, m_host.HoldMenuSizing(true)};
        loadMenuItems(menu, archive);
    }
    m_host.RecalculateMenuSize(menu);
    return menu;
}

void CGuiLayoutReader::loadMenuItems(gui::IGUIContextMenu* menu, IArchive& archive)
{
    const bool enclosed = archive.IsVersionAtLeast(kEnclosedMenuItemsVersion);
    if (enclosed)
        archive.ExpectToken("MenuItems{");
    // Older files end the list with the menu's own "}", or with the
    // tooltip block that follows a sub-menu's items.
    while (!archive.TestToken("}", true) && (enclosed || !archive.TestToken("Tooltip{", true)))
    {
        if (archive.TestToken("Item{"))
        {
            const int32_t id = ReadElementIdName(archive);
            std::wstring label;
            bool enabled = true;
            bool checked = false;
            Require(archive.ReadKeyWString("-Label", label), "-Label");
            Require(archive.ReadKeyBool("-Enable", enabled), "-Enable");
            if (archive.TestToken("-Checked"))
                Require(archive.ReadBool(checked), "-Checked");
            ReadShortcut(archive, kGuiMenuItemSelected, m_host.GetElementName(id, false));
            archive.ExpectToken("}");
            m_host.addMenuItem(menu, label, id, enabled, checked, -1);
        }
        else if (archive.TestToken("Separator{"))
        {
            archive.ExpectToken("}");
            m_host.AddMenuSeparator(menu, std::wstring(), -1);
        }
        else if (archive.TestToken("SubMenu{"))
        {
            const CReadLevel level(*this, L"loadMenuItems");
            const int32_t id = ReadElementIdName(archive);
            std::wstring label;
            bool enabled = true;
            Require(archive.ReadKeyWString("-Label", label), "-Label");
            Require(archive.ReadKeyBool("-Enable", enabled), "-Enable");
            ReadShortcut(archive, kGuiMenuItemSelected, m_host.GetElementName(id, false));
            gui::IGUIContextMenu* subMenu = m_host.addSubMenu(menu, label, id, enabled, -1);
            if (subMenu == nullptr)
                throw Misc::Error::CKVOError(L"[CGuiManager::loadMenuItems] Gui environment not available.");
            ReadToolTip(archive, subMenu);
            loadMenuItems(subMenu, archive);
            ReadToolTip(archive, subMenu);
            archive.ExpectToken("}");
        }
        else
        {
            const std::wstring token = archive.GetWString();
            throw Misc::Error::CKVOError::Format(L"[CGuiManager::loadMenuItems] Unknown menu item:%s",
                                                 token.c_str());
        }
    }
    if (enclosed)
        archive.ExpectToken("}");
    m_host.RecalculateMenuSize(menu);
}

bool CGuiLayoutWriter::WriteMenu(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr ||
        (element->getType() != gui::EGUIET_MENU && element->getType() != gui::EGUIET_CONTEXT_MENU))
        return false;
    bool ok = WriteElementIdName(archive, element);
    ok = WriteElementPosition(archive, element) && ok;
    return WriteMenuItems(archive, static_cast<gui::IGUIContextMenu*>(element)) && ok;
}

bool CGuiLayoutWriter::WriteMenuItems(IArchive& archive, gui::IGUIContextMenu* menu)
{
    bool ok = WriteBlockStart(archive, "MenuItems{");
    for (u32 index = 0; index < menu->getItemCount(); ++index)
    {
        const std::wstring name = m_host.GetElementName(menu->getItemCommandId(index), false);
        const wchar_t* text = menu->getItemText(index);
        const std::wstring label = text != nullptr ? text : L"";
        gui::IGUIContextMenu* subMenu = menu->getSubMenu(index);
        // Separators are items with an empty label: they read back as
        // separators.
        ok = WriteBlockStart(archive, subMenu != nullptr ? "SubMenu{" : "Item{") && ok;
        ok = archive.WriteKeyWString("-IdName", name) && ok;
        ok = archive.WriteKeyWString("-Label", label) && ok;
        ok = archive.WriteKeyBool("-Enable", menu->isItemEnabled(index)) && ok;
        if (subMenu == nullptr)
            ok = archive.WriteKeyBool("-Checked", menu->isItemChecked(index)) && ok;
        ok = WriteShortcut(name, archive) && ok;
        if (subMenu != nullptr)
        {
            ok = WriteMenuItems(archive, subMenu) && ok;
            ok = WriteToolTip(subMenu, archive) && ok;
        }
        ok = WriteBlockEnd(archive) && ok;
    }
    return WriteBlockEnd(archive) && ok;
}

gui::IGUIElement* CGuiLayoutReader::ReadToolbar(IArchive& archive)
{
    const int32_t id = ReadElementIdName(archive);
    CRect rect;
    if (archive.IsVersionAtLeast(kToolbarPositionVersion))
        rect = ReadElementPosition(archive);
    gui::IGUIToolBar* toolbar = m_host.AddToolbar(id, m_host.ScreenRectToPixels(rect));
    if (toolbar == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ReadToolbar] Gui environment not available.");
    if (archive.IsVersionAtLeast(kToolbarButtonsVersion))
        ReadToolbarButtons(toolbar, archive);
    return toolbar;
}

void CGuiLayoutReader::ReadToolbarButtons(gui::IGUIElement* toolbar, IArchive& archive)
{
    const bool withFonts = archive.IsVersionAtLeast(kToolbarPositionVersion);
    // The list ends where the tool bar's own trailing blocks or its "}"
    // begin.
    while (archive.TestToken("Button{"))
    {
        const int32_t id = ReadElementIdName(archive);
        std::wstring label;
        std::wstring image;
        std::wstring pressedImage;
        std::wstring font;
        bool pushButton = false;
        bool useAlpha = false;
        Require(archive.ReadKeyWString("-Label", label), "-Label");
        Require(archive.ReadKeyWString("-ImageFilename", image), "-ImageFilename");
        Require(archive.ReadKeyWString("-ImageFilenameActive", pressedImage), "-ImageFilenameActive");
        Require(archive.ReadKeyBool("-IsPushButton", pushButton), "-IsPushButton");
        Require(archive.ReadKeyBool("-UseAlpha", useAlpha), "-UseAlpha");
        if (withFonts)
            Require(archive.ReadKeyWString("-Font", font), "-Font");
        gui::IGUIButton* button = m_host.addToolbarButton(toolbar, id, label, font, image, pressedImage,
                                                          pushButton, useAlpha, true);
        if (button == nullptr)
            throw Misc::Error::CKVOError(L"[CGuiManager::ReadToolbarButtons] Gui environment not available.");
        ReadToolTip(archive, button);
        if (withFonts)
            ReadShortcut(archive, kGuiButtonClicked, m_host.GetElementName(id, false));
        archive.ExpectToken("}");
    }
}

bool CGuiLayoutWriter::WriteToolbar(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr || element->getType() != gui::EGUIET_TOOL_BAR)
        return false;
    // The buttons are the tool bar's children: the element writer writes
    // them as buttons of its nested GUI.
    return WriteElementIdName(archive, element) && WriteElementPosition(archive, element);
}

} // namespace Graphics::GUI
