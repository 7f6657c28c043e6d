#pragma once

#include "core/foundation/Color.h"
#include "gui/elements/GuiItemDataList.h"

#include <IGUIElement.h>

#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIListBox;
class IGUIScrollBar;
class IGUISpriteBank;
} // namespace irr::gui

namespace Graphics::GUI
{

// The engine's list box: an element of the list box type that holds a
// plain list box stretched over its whole area, and adds a data text per
// item, icons by sprite index, item colours by kind, ids for the scroll bar
// and its buttons, selection by text or data, and scrolling an item into
// view. The inner list box carries this element's id, so the events it
// raises reach scripts under this element's name.
class CGUIListBoxEx : public irr::gui::IGUIElement, public IGuiItemList
{
public:
    static constexpr const char* kTypeName = "CGUIListBoxEx";

    CGUIListBoxEx(irr::gui::IGUIEnvironment* environment, irr::gui::IGUIElement* parent);
    ~CGUIListBoxEx() override;

    // The element as an extended list box; null for any other element.
    static CGUIListBoxEx* FromElement(irr::gui::IGUIElement* element);

    bool OnEvent(const irr::SEvent& event) override;
    void setToolTipText(const wchar_t* text) override;
    const irr::core::stringw& getToolTipText() const override;
    void setID(irr::s32 id) override;

    int32_t GetItemCount() const override;
    std::wstring GetItemText(int32_t index) const override;
    // Inserts at a valid index, else appends; answers the item's index.
    int32_t AddItem(const std::wstring& text, const std::wstring& data, int32_t icon, int32_t index);
    void RemoveItem(int32_t index);
    void Clear();
    void SetItemText(int32_t index, const std::wstring& text);
    void SetItemIcon(int32_t index, int32_t icon);
    // -1 for an index outside the items.
    int32_t GetItemIcon(int32_t index) const;
    int32_t FindItemByText(const std::wstring& text) const;
    void SetSelected(int32_t index);
    int32_t GetSelected() const;
    // A text or data that matches nothing leaves the selection as it is.
    void SelectItemByText(const std::wstring& text);
    void SelectItemByData(const std::wstring& data);
    // Colour kinds 0 text, 1 text highlight, 2 icon, 3 icon highlight. A
    // negative index applies to every item; a negative kind to all four.
    void SetItemColor(int32_t index, const CColor& color, int32_t kind);
    // (0, 0, 0, 0) unless the item has its own colour of that kind.
    CColor GetItemColor(int32_t index, int32_t kind) const;
    void ClearItemColor(int32_t index, int32_t kind);
    bool HasItemColor(int32_t index, int32_t kind) const;
    void SetBackgroundVisible(bool visible);
    bool IsBackgroundVisible() const { return m_drawBackground; }
    // The ids of the scroll bar and its up and down buttons; 0 when there
    // is no such element.
    void SetScrollBarId(int32_t id);
    int32_t GetScrollBarId() const;
    void SetUpButtonId(int32_t id);
    int32_t GetUpButtonId() const;
    void SetDownButtonId(int32_t id);
    int32_t GetDownButtonId() const;
    void SetSpriteBank(irr::gui::IGUISpriteBank* bank);
    // Scrolls until the whole row lies in view, or as far as the scroll bar
    // goes.
    void EnsureItemVisible(int32_t index);

    irr::gui::IGUIListBox* GetInnerListBox() const { return m_listBox; }
    irr::gui::IGUIScrollBar* GetScrollBar() const;

private:
    bool IsValid(int32_t index) const { return index >= 0 && index < GetItemCount(); }

    irr::gui::IGUIListBox* m_listBox = nullptr;
    bool m_drawBackground = false;
};

} // namespace Graphics::GUI
