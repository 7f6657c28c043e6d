// The element-kind table of GUI layouts.

#include "gui/layout/GuiLayoutKinds.h"

#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"

namespace Graphics::GUI
{

namespace
{

using R = CGuiLayoutReader;
using W = CGuiLayoutWriter;

const SGuiLayoutKind kElementKinds[] = {
    {"Button", 0, &R::ReadButton, &W::WriteButton},
    {"Checkbox", 1, &R::ReadCheckBox, &W::WriteCheckBox},
    {"Combobox", 2, &R::ReadComboBox, &W::WriteComboBox},
    {"EditText", 5, &R::ReadEditBox, &W::WriteEditBox},
    {"Image", 9, &R::ReadImage, &W::WriteImage},
    {"Scrollbar", 14, &R::ReadScrollBar, &W::WriteScrollBar},
    {"TabControl", 18, &R::ReadTabControl, &W::WriteTabControl},
    {"Toolbar", 20, &R::ReadToolbar, &W::WriteToolbar},
    {"Spinbox", 15, &R::ReadSpinBox, &W::WriteSpinBox},
    {"Menu", 4, &R::ReadMenu, &W::WriteMenu},
    {"ContextMenu", 3, &R::ReadContextMenu, &W::WriteMenu},
    {"List", 10, &R::ReadListBox, &W::WriteListBox},
    {"Text", 16, &R::ReadStaticText, &W::WriteStaticText},
    {"Text2", 16, &R::ReadStaticText, &W::WriteStaticText},
    {"Tab", 17, &R::ReadTab, &W::WriteTab},
    {"TabColor", 17, &R::ReadTab, &W::WriteTab},
    {"TabPage", 17, &R::ReadTab, &W::WriteTab},
    {"Table", 19, &R::ReadTable, &W::WriteTable},
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
