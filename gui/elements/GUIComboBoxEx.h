#pragma once

#include "gui/elements/GuiItemDataList.h"

#include <IGUIElement.h>

#include <cstdint>
#include <string>
#include <vector>

namespace irr::gui
{
class IGUIComboBox;
}

namespace Graphics::GUI
{

// The engine's combo box: an element of the combo box type that holds a
// plain combo box stretched over its whole area, and adds a data text per
// item, insertion at a position, changing an item's text, selection by text
// or data, the number of rows its drop-down list opens with, and ids for
// its list button and that list. The inner combo box and its text carry
// this element's id, so their events reach scripts under this element's
// name.
class CGUIComboBoxEx : public irr::gui::IGUIElement, public IGuiItemList
{
public:
    static constexpr const char* kTypeName = "CGUIComboBoxEx";
    static constexpr uint32_t kDefaultMaxItems = 5;

    CGUIComboBoxEx(irr::gui::IGUIEnvironment* environment, irr::gui::IGUIElement* parent);
    ~CGUIComboBoxEx() override;

    // The element as an extended combo box; null for any other element.
    static CGUIComboBoxEx* FromElement(irr::gui::IGUIElement* element);

    bool OnEvent(const irr::SEvent& event) override;
    void setToolTipText(const wchar_t* text) override;
    void setID(irr::s32 id) override;

    int32_t GetItemCount() const override;
    std::wstring GetItemText(int32_t index) const override;
    // Inserts at a valid index, else appends; answers the item's index. The
    // first item of a box with nothing selected becomes the selection.
    int32_t AddItem(const std::wstring& text, const std::wstring& data, int32_t index);
    void RemoveItem(int32_t index);
    void Clear();
    void SetItemText(int32_t index, const std::wstring& text);
    int32_t FindItemByText(const std::wstring& text) const;
    int32_t GetSelected() const;
    // An index outside the items selects nothing.
    void SetSelected(int32_t index);
    // A text or data that matches nothing selects nothing.
    void SelectItemByText(const std::wstring& text);
    void SelectItemByData(const std::wstring& data);
    void SetMaxItems(uint32_t rows) { m_maxItems = rows; }
    uint32_t GetMaxItems() const { return m_maxItems; }
    // The list button's id; 0 without a button.
    void SetButtonId(int32_t id);
    int32_t GetButtonId() const;
    // The id the drop-down list takes each time it opens.
    void SetListId(int32_t id) { m_listId = id; }
    int32_t GetListId() const { return m_listId; }

    irr::gui::IGUIComboBox* GetInnerComboBox() const { return m_comboBox; }

private:
    bool IsValid(int32_t index) const { return index >= 0 && index < GetItemCount(); }
    // The inner combo box's child of the type: its list button, its text or
    // its open list.
    irr::gui::IGUIElement* FindInnerChild(irr::gui::EGUI_ELEMENT_TYPE type) const;
    // The library's combo box can only append: its items are made again
    // from the texts, keeping the selected index.
    void Rebuild(const std::vector<std::wstring>& texts);
    // Places the list that has just opened: as many rows as the maximum
    // allows, under the element, or above it where the screen ends.
    void PlaceOpenList(irr::gui::IGUIElement* list);

    irr::gui::IGUIComboBox* m_comboBox = nullptr;
    uint32_t m_maxItems = kDefaultMaxItems;
    int32_t m_listId = -1;
};

} // namespace Graphics::GUI
