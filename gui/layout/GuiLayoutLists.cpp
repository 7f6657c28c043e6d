// The "List" and "Combobox" blocks of GUI layouts: the engine's list and
// combo boxes with their sub-element names and items.

#include "core/foundation/Color.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/FileVersions.h"
#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"

#include <irrlicht.h>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

using Layout::Require;
using Layout::WriteBlockEnd;
using Layout::WriteBlockStart;

using namespace irr;
using Misc::Error::CKVOError;
using Misc::Serialization::IArchive;

namespace
{

// The item colour lines, by colour kind.
constexpr const char* kItemColorKeys[] = {"-TextColor", "-TextHighlightColor", "-IconColor",
                                          "-IconHighlightColor"};

std::wstring ReadKeyText(IArchive& archive, const wchar_t* method, const char* key)
{
    std::wstring text;
    Require(archive.ReadKeyWString(key, text), key, method);
    return text;
}

// Layouts from kElementFonts up to kGuiElementLinks named fonts the boxes
// never used.
bool HasOldFontKey(IArchive& archive)
{
    return archive.IsVersionAtLeast(FileVersion::kElementFonts) &&
           !archive.IsVersionAtLeast(FileVersion::kGuiElementLinks);
}

} // namespace

gui::IGUIElement* CGuiLayoutReader::ReadListBox(IArchive& archive)
{
    static constexpr const wchar_t* kMethod = L"ReadListBox";
    // Registered once, by the builder.
    const std::wstring name = ReadElementIdNameText(archive);
    const CRect position = ReadElementPosition(archive, kMethod);
    bool background = false;
    Require(archive.ReadKeyBool("-Background", background), "-Background", kMethod);
    if (HasOldFontKey(archive))
        ReadKeyText(archive, kMethod, "-Font");
    if (archive.IsVersionAtLeast(FileVersion::kListBoxIconFont) &&
        !archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
        ReadKeyText(archive, kMethod, "-IconFont");
    std::wstring scrollBarName;
    std::wstring upButtonName;
    std::wstring downButtonName;
    if (archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
    {
        scrollBarName = ReadKeyText(archive, kMethod, "-ScrollId");
        upButtonName = ReadKeyText(archive, kMethod, "-UpButtonId");
        downButtonName = ReadKeyText(archive, kMethod, "-DownButtonId");
    }
    CGUIListBoxEx* list =
        m_host.AddListBox(name, position, background, scrollBarName, upButtonName, downButtonName);
    if (list == nullptr)
        return nullptr;
    ReadToolTip(archive, list);

    while (archive.TestToken("Item{"))
    {
        const std::wstring label = ReadKeyText(archive, kMethod, "-Label");
        int32_t icon = -1;
        if (archive.TestToken("-Icon"))
        {
            // Older layouts named the icon by a font character.
            if (archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
            {
                Require(archive.ReadInt(icon), "-Icon", kMethod);
            }
            else
            {
                std::string dropped;
                Require(archive.ReadString(dropped), "-Icon", kMethod);
            }
        }
        std::wstring data;
        if (archive.TestToken("-Data"))
            Require(archive.ReadWString(data), "-Data", kMethod);
        const int32_t index = list->AddItem(label, data, icon < -1 ? -1 : icon, -1);
        for (int32_t kind = 0; kind < 4; ++kind)
        {
            if (!archive.TestToken(kItemColorKeys[kind], true))
                continue;
            CNamedColor color(0, 0, 0, 0, kItemColorKeys[kind]);
            Require(color.Read(archive), kItemColorKeys[kind], kMethod);
            list->SetItemColor(index, color, kind);
        }
        archive.ExpectToken("}");
    }
    return list;
}

bool CGuiLayoutWriter::WriteListBox(IArchive& archive, gui::IGUIElement* element)
{
    CGUIListBoxEx* list = CGUIListBoxEx::FromElement(element);
    if (list == nullptr)
        return false;
    bool ok = WriteElementIdName(archive, list) && WriteElementPosition(archive, list) &&
              archive.WriteKeyBool("-Background", list->IsBackgroundVisible()) &&
              archive.WriteKeyWString("-ScrollId", m_host.GetElementName(list->GetScrollBarId(), false)) &&
              archive.WriteKeyWString("-UpButtonId", m_host.GetElementName(list->GetUpButtonId(), false)) &&
              archive.WriteKeyWString("-DownButtonId", m_host.GetElementName(list->GetDownButtonId(), false));
    for (int32_t index = 0; ok && index < list->GetItemCount(); ++index)
    {
        ok = WriteBlockStart(archive, "Item{") && archive.WriteKeyWString("-Label", list->GetItemText(index));
        const int32_t icon = list->GetItemIcon(index);
        if (ok && icon >= 0)
            ok = archive.WriteKeyInt("-Icon", icon);
        const std::wstring data = list->GetItemData(index);
        if (ok && !data.empty())
            ok = archive.WriteKeyWString("-Data", data);
        for (int32_t kind = 0; ok && kind < 4; ++kind)
        {
            if (list->HasItemColor(index, kind))
                ok = CNamedColor(list->GetItemColor(index, kind), kItemColorKeys[kind]).Write(archive);
        }
        ok = ok && WriteBlockEnd(archive);
    }
    return ok;
}

gui::IGUIElement* CGuiLayoutReader::ReadComboBox(IArchive& archive)
{
    static constexpr const wchar_t* kMethod = L"ReadComboBox";
    // Registered once, by the builder.
    const std::wstring name = ReadElementIdNameText(archive);
    const CRect position = ReadElementPosition(archive, kMethod);
    if (HasOldFontKey(archive))
        ReadKeyText(archive, kMethod, "-Font");
    std::wstring buttonName;
    std::wstring listName;
    if (archive.IsVersionAtLeast(FileVersion::kGuiElementLinks))
    {
        buttonName = ReadKeyText(archive, kMethod, "-ButtonId");
        listName = ReadKeyText(archive, kMethod, "-ListId");
    }
    uint32_t maxItems = CGUIComboBoxEx::kDefaultMaxItems;
    if (archive.IsVersionAtLeast(FileVersion::kComboBoxMaxItems))
        Require(archive.ReadKeyULong("-MaxItems", maxItems), "-MaxItems", kMethod);
    CGUIComboBoxEx* combo = m_host.AddComboBox(name, position, buttonName, listName);
    if (combo == nullptr)
        return nullptr;
    while (archive.TestToken("Item{"))
    {
        const std::wstring label = ReadKeyText(archive, kMethod, "-Label");
        std::wstring data;
        if (archive.TestToken("-Data"))
            Require(archive.ReadWString(data), "-Data", kMethod);
        combo->AddItem(label, data, -1);
        archive.ExpectToken("}");
    }
    combo->SetMaxItems(maxItems);
    return combo;
}

bool CGuiLayoutWriter::WriteComboBox(IArchive& archive, gui::IGUIElement* element)
{
    CGUIComboBoxEx* combo = CGUIComboBoxEx::FromElement(element);
    if (combo == nullptr)
        return false;
    bool ok = WriteElementIdName(archive, combo) && WriteElementPosition(archive, combo) &&
              archive.WriteKeyWString("-ButtonId", m_host.GetElementName(combo->GetButtonId(), false)) &&
              archive.WriteKeyWString("-ListId", m_host.GetElementName(combo->GetListId(), false)) &&
              archive.WriteKeyULong("-MaxItems", combo->GetMaxItems());
    for (int32_t index = 0; ok && index < combo->GetItemCount(); ++index)
    {
        ok =
            WriteBlockStart(archive, "Item{") && archive.WriteKeyWString("-Label", combo->GetItemText(index));
        const std::wstring data = combo->GetItemData(index);
        if (ok && !data.empty())
            ok = archive.WriteKeyWString("-Data", data);
        ok = ok && WriteBlockEnd(archive);
    }
    return ok;
}

} // namespace Graphics::GUI
