// Extended combo boxes: built through the element factory under the GUI
// parent, filled and queried for scripts and layouts.

#include "core/foundation/KVOError.h"
#include "gui/elements/GUIComboBoxEx.h"
#include "gui/manager/GuiManager.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

CGUIComboBoxEx* CGuiManager::AddComboBox(const std::wstring& name, const CRect& rect,
                                         const std::wstring& buttonName, const std::wstring& listName)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    const int32_t buttonId = buttonName.empty() ? 0 : RegisterElementName(buttonName, IdAfter(id, 1));
    const int32_t listId = listName.empty() ? 0 : RegisterElementName(listName, IdAfter(id, 2));
    // A subscriber to a name conflict may have taken the GUI away.
    if (m_environment == nullptr)
        return nullptr;
    RegisterElementFactory();
    CGUIComboBoxEx* combo =
        CGUIComboBoxEx::FromElement(m_environment->addGUIElement(CGUIComboBoxEx::kTypeName, GetGuiParent()));
    if (combo == nullptr)
        return nullptr;
    combo->setID(id);
    if (buttonId != 0)
        combo->SetButtonId(buttonId);
    combo->SetListId(listId);
    combo->setRelativePosition(ScreenRectToPixelRect(rect));
    return combo;
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
    As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItem")->SetSelected(index);
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(combo->getID(), false), kGuiComboBoxChanged, 0});
}

void CGuiManager::SelectComboBoxItemByText(gui::IGUIElement* combo, const std::wstring& text)
{
    As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItemByText")->SelectItemByText(text);
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(combo->getID(), false), kGuiComboBoxChanged, 0});
}

void CGuiManager::SelectComboBoxItemByData(gui::IGUIElement* combo, const std::wstring& data)
{
    As<CGUIComboBoxEx>(*this, combo, L"SelectComboBoxItemByData")->SelectItemByData(data);
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(combo->getID(), false), kGuiComboBoxChanged, 0});
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

uint32_t CGuiManager::GetComboBoxMaxItems(gui::IGUIElement* combo)
{
    return As<CGUIComboBoxEx>(*this, combo, L"GetComboBoxMaxItems")->GetMaxItems();
}

} // namespace Graphics::GUI
