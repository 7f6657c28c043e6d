#pragma once

// What the Irrlicht in use changed under the GUI, mapped back in one place:
// element type numbers as scripts and layouts know them, and the element
// settings that the library keeps without getters, read through the
// element's attribute serialization.

// EGUIAlignment.h needs the library's basic types before it.
#include <irrTypes.h>

#include <EGUIAlignment.h>
#include <EGUIElementTypes.h>
#include <position2d.h>

#include <cstdint>

namespace irr
{
class IrrlichtDevice;
namespace gui
{
class IGUIElement;
class IGUIScrollBar;
} // namespace gui
namespace io
{
class IAttributes;
}
namespace video
{
class ITexture;
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

// Whether a static text may wrap the text: the library's line breaking
// takes time that grows far faster than the length of a word (a word of
// 100,000 characters takes seconds), and a word longer than a line runs
// past it unbroken anyway. Texts with a word of more than 1,024 characters
// are not wrapped.
bool CanWrapText(const wchar_t* text);

// The alignment of the number (0 upper-left, 1 lower-right, 2 centre, 3
// scale); another number throws "[CGuiManager::<method>] Invalid
// alignment:%i".
irr::gui::EGUI_ALIGNMENT ToAlignment(int32_t value, const wchar_t* method);

// The element's serialized attributes, dropped with this holder. Without a
// device or an element there are none, and every reading gives its default.
class CElementAttributes
{
public:
    CElementAttributes(irr::IrrlichtDevice* device, const irr::gui::IGUIElement* element);
    ~CElementAttributes();
    CElementAttributes(const CElementAttributes&) = delete;
    CElementAttributes& operator=(const CElementAttributes&) = delete;

    bool IsRead() const { return m_attributes != nullptr; }
    bool Has(const char* name) const;
    // An EGUI_ALIGNMENT number; 0 (upper-left) when missing.
    int32_t Alignment(const char* name) const;
    int32_t Int(const char* name) const;
    bool Bool(const char* name) const;
    irr::core::position2di Position(const char* name) const;
    // The first character of a text attribute; 0 for none.
    wchar_t FirstChar(const char* name) const;
    /// The attribute's texture or null, owned by the video driver (do not drop it).
    irr::video::ITexture* Texture(const char* name) const;

    // Changes one setting and hands all of them back to the element, which
    // takes them as a whole (and may reset what it keeps besides).
    void WriteBool(irr::gui::IGUIElement* element, const char* name, bool value);

private:
    irr::io::IAttributes* m_attributes = nullptr;
};

// The button children a scroll bar makes for itself: the up (left) one
// (0) first, then the down (right) one (1). With subElementsOnly, buttons
// the bar did not make itself are passed over. Null without a bar or such a
// button.
irr::gui::IGUIElement* ScrollBarButton(const irr::gui::IGUIScrollBar* bar, uint32_t which,
                                       bool subElementsOnly);

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
