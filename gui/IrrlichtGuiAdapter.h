#pragma once

// What the Irrlicht in use changed under the GUI, mapped back in one place:
// element type numbers as scripts and layouts know them, and the element
// settings that the library keeps without getters, read through the
// element's attribute serialization.

// EGUIAlignment.h needs the library's basic types before it.
#include <irrTypes.h>

#include <EGUIAlignment.h>
#include <EGUIElementTypes.h>

#include <cstdint>

namespace irr
{
class IrrlichtDevice;
namespace gui
{
class IGUIElement;
}
} // namespace irr

namespace Graphics::GUI::IrrlichtGui
{

// The scripts' element type number: the library added the tree view (21)
// before the window, so the window is 21 for scripts, the plain element and
// the root (which had no type of its own) 22, and the tree view, unknown to
// scripts, counts as a plain element. Types past the library's own (element
// factories) keep their distance from the end of the list.
int32_t ScriptElementType(irr::gui::EGUI_ELEMENT_TYPE type);

// The alignment of the number (0 upper-left, 1 lower-right, 2 centre, 3
// scale); another number throws "[CGuiManager::<method>] Invalid
// alignment:%i".
irr::gui::EGUI_ALIGNMENT ToAlignment(int32_t value, const wchar_t* method);

// Layout settings without getters. Alignments are EGUI_ALIGNMENT numbers
// (0 upper-left, 1 lower-right, 2 centre, 3 scale).
struct SElementLayout
{
    int32_t alignLeft = 0;
    int32_t alignRight = 0;
    int32_t alignTop = 0;
    int32_t alignBottom = 0;
    uint32_t minWidth = 1;
    uint32_t minHeight = 1;
    uint32_t maxWidth = 0;
    uint32_t maxHeight = 0;
};

// Reads the element's layout settings from its serialized attributes;
// false (layout untouched) without an element or a device.
bool ReadElementLayout(irr::IrrlichtDevice* device, const irr::gui::IGUIElement* element,
                       SElementLayout& layout);

} // namespace Graphics::GUI::IrrlichtGui
