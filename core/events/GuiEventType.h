#pragma once

#include <cstdint>

// The GUI event types of the GUI event channel (CGuiEvent::type) as scripts
// number them: those of the Irrlicht the scripts were written for, whatever
// the library in use numbers them (the event receiver maps them), plus the
// GUI manager's own name conflict. Scripts may give any number for a
// shortcut to raise, so the record keeps a plain number.
enum EGuiEventType : uint32_t
{
    kGuiFocusLost = 0,
    kGuiFocused = 1,
    kGuiHovered = 2,
    kGuiLeft = 3,
    kGuiElementClosed = 4,
    kGuiButtonClicked = 5,
    kGuiScrollBarChanged = 6,
    kGuiCheckBoxChanged = 7,
    kGuiListBoxChanged = 8,
    kGuiListBoxSelectedAgain = 9,
    kGuiFileSelected = 10,
    kGuiFileDialogCancelled = 11,
    kGuiMessageBoxYes = 12,
    kGuiMessageBoxNo = 13,
    kGuiMessageBoxOk = 14,
    kGuiMessageBoxCancel = 15,
    kGuiEditBoxEnter = 16,
    kGuiTabChanged = 17,
    kGuiMenuItemSelected = 18,
    kGuiComboBoxChanged = 19,
    kGuiSpinBoxChanged = 20,
    kGuiTableChanged = 21,
    kGuiTableHeaderChanged = 22,
    kGuiTableSelectedAgain = 23,
    kGuiIdConflict = 100,
};
