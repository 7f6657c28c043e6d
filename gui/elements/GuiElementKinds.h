#pragma once

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GUITableEx.h"
#include "gui/elements/GuiItemDataList.h"
#include "gui/manager/GuiManager.h"

#include <IGUIButton.h>
#include <IGUICheckBox.h>
#include <IGUIContextMenu.h>
#include <IGUIEditBox.h>
#include <IGUIElement.h>
#include <IGUIImage.h>
#include <IGUIScrollBar.h>
#include <IGUISpinBox.h>
#include <IGUIStaticText.h>
#include <IGUITabControl.h>
#include <IGUIToolbar.h>

namespace Graphics::GUI
{

// The element kinds that operations require, one row each: how an element
// of the kind is recognised and how the refusal names the kind. Scripts
// name elements without saying their kind, so an element of another kind
// is refused rather than used as this one.
template <class T> struct SElementKind; // a kind without a row does not compile

// Kinds of the library, known by their element type.
template <class T, irr::gui::EGUI_ELEMENT_TYPE Type> struct SLibraryKind
{
    static T* Cast(irr::gui::IGUIElement* element)
    {
        return element != nullptr && element->hasType(Type) ? static_cast<T*>(element) : nullptr;
    }
};

// Our own element classes, which recognise their elements themselves.
template <class T> struct SOwnKind
{
    static T* Cast(irr::gui::IGUIElement* element) { return T::FromElement(element); }
};

// clang-format off
template <> struct SElementKind<irr::gui::IGUIButton> : SLibraryKind<irr::gui::IGUIButton, irr::gui::EGUIET_BUTTON> { static constexpr const wchar_t* kName = L"a button"; };
template <> struct SElementKind<irr::gui::IGUICheckBox> : SLibraryKind<irr::gui::IGUICheckBox, irr::gui::EGUIET_CHECK_BOX> { static constexpr const wchar_t* kName = L"a check box"; };
template <> struct SElementKind<irr::gui::IGUIStaticText> : SLibraryKind<irr::gui::IGUIStaticText, irr::gui::EGUIET_STATIC_TEXT> { static constexpr const wchar_t* kName = L"a static text"; };
template <> struct SElementKind<irr::gui::IGUIEditBox> : SLibraryKind<irr::gui::IGUIEditBox, irr::gui::EGUIET_EDIT_BOX> { static constexpr const wchar_t* kName = L"an edit box"; };
template <> struct SElementKind<irr::gui::IGUISpinBox> : SLibraryKind<irr::gui::IGUISpinBox, irr::gui::EGUIET_SPIN_BOX> { static constexpr const wchar_t* kName = L"a spin box"; };
template <> struct SElementKind<irr::gui::IGUIImage> : SLibraryKind<irr::gui::IGUIImage, irr::gui::EGUIET_IMAGE> { static constexpr const wchar_t* kName = L"an image"; };
template <> struct SElementKind<irr::gui::IGUIToolBar> : SLibraryKind<irr::gui::IGUIToolBar, irr::gui::EGUIET_TOOL_BAR> { static constexpr const wchar_t* kName = L"a tool bar"; };
template <> struct SElementKind<irr::gui::IGUITabControl> : SLibraryKind<irr::gui::IGUITabControl, irr::gui::EGUIET_TAB_CONTROL> { static constexpr const wchar_t* kName = L"a tab control"; };
template <> struct SElementKind<irr::gui::IGUITab> : SLibraryKind<irr::gui::IGUITab, irr::gui::EGUIET_TAB> { static constexpr const wchar_t* kName = L"a tab"; };
template <> struct SElementKind<irr::gui::IGUIScrollBar> : SLibraryKind<irr::gui::IGUIScrollBar, irr::gui::EGUIET_SCROLL_BAR> { static constexpr const wchar_t* kName = L"a scroll bar"; };
template <> struct SElementKind<CGUITableEx> : SOwnKind<CGUITableEx> { static constexpr const wchar_t* kName = L"a table"; };
template <> struct SElementKind<CGUIListBoxEx> : SOwnKind<CGUIListBoxEx> { static constexpr const wchar_t* kName = L"a list box"; };
template <> struct SElementKind<CGUIComboBoxEx> : SOwnKind<CGUIComboBoxEx> { static constexpr const wchar_t* kName = L"a combo box"; };
// clang-format on

// Menu bars and context menus alike.
template <> struct SElementKind<irr::gui::IGUIContextMenu>
{
    static constexpr const wchar_t* kName = L"a menu";
    static irr::gui::IGUIContextMenu* Cast(irr::gui::IGUIElement* element)
    {
        const bool menu = element != nullptr && (element->getType() == irr::gui::EGUIET_MENU ||
                                                 element->getType() == irr::gui::EGUIET_CONTEXT_MENU);
        return menu ? static_cast<irr::gui::IGUIContextMenu*>(element) : nullptr;
    }
};

// The item operations that list boxes and combo boxes share.
template <> struct SElementKind<IGuiItemList>
{
    static constexpr const wchar_t* kName = L"a list box or combo box";
    static IGuiItemList* Cast(irr::gui::IGUIElement* element)
    {
        if (CGUIListBoxEx* list = CGUIListBoxEx::FromElement(element))
            return list;
        return CGUIComboBoxEx::FromElement(element);
    }
};

// The element as the kind T, or "[CGuiManager::<method>] Gui element is not
// <kind>:<name>".
template <class T> T* As(const CGuiManager& manager, irr::gui::IGUIElement* element, const wchar_t* method)
{
    T* typed = SElementKind<T>::Cast(element);
    if (typed == nullptr)
        manager.ThrowNotKind(element, method, SElementKind<T>::kName);
    return typed;
}

} // namespace Graphics::GUI
