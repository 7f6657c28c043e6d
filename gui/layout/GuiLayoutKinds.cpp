// The element-kind table of GUI layouts.

#include "gui/layout/GuiLayoutKinds.h"

#include "gui/layout/GuiLayoutWriter.h"
#include "gui/manager/GuiManager.h"

namespace Graphics::GUI
{

namespace
{

using M = CGuiManager;
using W = CGuiLayoutWriter;

const SGuiLayoutKind kElementKinds[] = {
    {"Button", 0, &M::ReadButton, &W::WriteButton},
    {"Checkbox", 1, &M::ReadCheckBox, &W::WriteCheckBox},
    {"Combobox", 2, &M::ReadComboBox, &W::WriteComboBox},
    {"EditText", 5, &M::ReadEditBox, &W::WriteEditBox},
    {"Image", 9, &M::ReadImage, &W::WriteImage},
    {"Scrollbar", 14, &M::ReadScrollBar, &W::WriteScrollBar},
    {"TabControl", 18, &M::ReadTabControl, &W::WriteTabControl},
    {"Toolbar", 20, &M::ReadToolbar, &W::WriteToolbar},
    {"Spinbox", 15, &M::ReadSpinBox, &W::WriteSpinBox},
    {"Menu", 4, &M::ReadMenu, &W::WriteMenu},
    {"ContextMenu", 3, &M::ReadContextMenu, &W::WriteMenu},
    {"List", 10, &M::ReadListBox, &W::WriteListBox},
    {"Text", 16, &M::ReadStaticText, &W::WriteStaticText},
    {"Text2", 16, &M::ReadStaticText, &W::WriteStaticText},
    {"Tab", 17, &M::ReadTab, &W::WriteTab},
    {"TabColor", 17, &M::ReadTab, &W::WriteTab},
    {"TabPage", 17, &M::ReadTab, &W::WriteTab},
    {"Table", 19, &M::ReadTable, &W::WriteTable},
};

} // namespace

const SGuiLayoutKind* CGuiLayoutKinds::GetAll(size_t& count)
{
    count = sizeof(kElementKinds) / sizeof(kElementKinds[0]);
    return kElementKinds;
}

const SGuiLayoutKind* CGuiLayoutKinds::FindByName(const std::string& blockName)
{
    for (const SGuiLayoutKind& kind : kElementKinds)
    {
        if (blockName == kind.blockName)
            return &kind;
    }
    return nullptr;
}

const SGuiLayoutKind* CGuiLayoutKinds::FindByType(int32_t type)
{
    for (const SGuiLayoutKind& kind : kElementKinds)
    {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

} // namespace Graphics::GUI
