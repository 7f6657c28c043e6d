// The manager's combo box operations: each checks that the element is an
// extended combo box, then asks the element itself or the combo box
// operations.

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/elements/GuiElementKinds.h"

namespace Graphics::GUI
{

using namespace irr;

CGUIComboBoxEx* CGuiManager::AddComboBox(const std::wstring& name, const CRect& rect,
                                         const std::wstring& buttonName, const std::wstring& listName)
{
    return m_parts->comboBoxes.Add(name, rect, buttonName, listName);
}

int32_t CGuiManager::AddComboBoxItem(gui::IGUIElement* combo, const std::wstring& text,
                                     const std::wstring& data, int32_t index)
{
    return As<CGUIComboBoxEx>(*this, combo, L"AddComboBoxItem")->AddItem(text, data, index);
}

int32_t CGuiManager::AppendComboBoxItem(gui::IGUIElement* combo, const std::wstring& text,
                                        const std::wstring& data)
{
    return As<CGUIComboBoxEx>(*this, combo, L"AppendComboBoxItem")->AddItem(text, data, -1);
}

void CGuiManager::SelectComboBoxItem(gui::IGUIElement* combo, int32_t index)
{
    m_parts->comboBoxes.Select(*As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItem"), index);
}

void CGuiManager::SelectComboBoxItemByText(gui::IGUIElement* combo, const std::wstring& text)
{
    m_parts->comboBoxes.SelectByText(*As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItemByText"), text);
}

void CGuiManager::SelectComboBoxItemByData(gui::IGUIElement* combo, const std::wstring& data)
{
    m_parts->comboBoxes.SelectByData(*As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItemByData"), data);
}

int32_t CGuiManager::GetComboBoxSelected(gui::IGUIElement* combo)
{
    return As<CGUIComboBoxEx>(*this, combo, L"GetComboBoxSelected")->GetSelected();
}

void CGuiManager::SetComboBoxItemText(gui::IGUIElement* combo, int32_t index, const std::wstring& text)
{
    As<CGUIComboBoxEx>(*this, combo, L"SetComboBoxItemText")->SetItemText(index, text);
}

int32_t CGuiManager::FindComboBoxItemText(gui::IGUIElement* combo, const std::wstring& text)
{
    return As<CGUIComboBoxEx>(*this, combo, L"FindComboBoxItemText")->FindItemByText(text);
}

int32_t CGuiManager::FindComboBoxItemData(gui::IGUIElement* combo, const std::wstring& data)
{
    return As<CGUIComboBoxEx>(*this, combo, L"FindComboBoxItemData")->FindItemByData(data);
}

void CGuiManager::RemoveComboBoxItem(gui::IGUIElement* combo, int32_t index)
{
    As<CGUIComboBoxEx>(*this, combo, L"RemoveComboBoxItem")->RemoveItem(index);
}

void CGuiManager::ClearComboBox(gui::IGUIElement* combo)
{
    As<CGUIComboBoxEx>(*this, combo, L"ClearComboBox")->Clear();
}

void CGuiManager::SetComboBoxMaxItems(gui::IGUIElement* combo, uint32_t rows)
{
    As<CGUIComboBoxEx>(*this, combo, L"SetComboBoxMaxItems")->SetMaxItems(rows);
}

} // namespace Graphics::GUI
