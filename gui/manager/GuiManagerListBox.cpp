// The manager's list box operations: each checks that the element is an
// extended list box (or, for the shared item operations, a combo box), then
// asks the element itself or the list box operations; and the element
// factory's registration.

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GuiElementFactory.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/elements/GuiElementKinds.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

void CGuiManager::RegisterElementFactory()
{
    if (m_environment == nullptr || m_parts->factoryEnvironment == m_environment)
        return;
    auto* factory = new CGuiElementFactory(m_environment);
    m_environment->registerGUIElementFactory(factory);
    // The environment keeps it.
    factory->drop();
    m_parts->factoryEnvironment = m_environment;
}

CGUIListBoxEx* CGuiManager::AddListBox(const std::wstring& name, const CRect& rect, bool background,
                                       const std::wstring& scrollBarName, const std::wstring& upButtonName,
                                       const std::wstring& downButtonName)
{
    return m_parts->listBoxes.Add(name, rect, background, scrollBarName, upButtonName, downButtonName);
}

int32_t CGuiManager::AddListBoxItem(gui::IGUIElement* list, const std::wstring& text,
                                    const std::wstring& data, const std::wstring& iconName, int32_t index)
{
    return m_parts->listBoxes.AddItem(*As<CGUIListBoxEx>(*this, list, L"AddListBoxItem"), text, data,
                                      iconName, index);
}

void CGuiManager::SetListBoxItemIcon(gui::IGUIElement* list, int32_t index, const std::wstring& iconName)
{
    m_parts->listBoxes.SetItemIcon(*As<CGUIListBoxEx>(*this, list, L"SetListBoxItemIcon"), index, iconName);
}

std::wstring CGuiManager::GetListBoxItemIcon(gui::IGUIElement* list, int32_t index)
{
    return m_parts->listBoxes.GetItemIcon(*As<CGUIListBoxEx>(*this, list, L"GetListBoxItemIcon"), index);
}

void CGuiManager::SelectListBoxItem(gui::IGUIElement* list, int32_t index)
{
    m_parts->listBoxes.Select(*As<CGUIListBoxEx>(*this, list, L"SelectListBoxItem"), index);
}

void CGuiManager::SelectListBoxItemByText(gui::IGUIElement* list, const std::wstring& text)
{
    m_parts->listBoxes.SelectByText(*As<CGUIListBoxEx>(*this, list, L"SelectListBoxItemByText"), text);
}

void CGuiManager::SelectListBoxItemByData(gui::IGUIElement* list, const std::wstring& data)
{
    m_parts->listBoxes.SelectByData(*As<CGUIListBoxEx>(*this, list, L"SelectListBoxItemByData"), data);
}

bool CGuiManager::SetListBoxItemColor(gui::IGUIElement* list, int32_t index, const CColor& color,
                                      int32_t kind)
{
    As<CGUIListBoxEx>(*this, list, L"SetListBoxItemColor")->SetItemColor(index, color, kind);
    return true;
}

bool CGuiManager::ClearListBoxItemColor(gui::IGUIElement* list, int32_t index, int32_t kind)
{
    As<CGUIListBoxEx>(*this, list, L"ClearListBoxItemColor")->ClearItemColor(index, kind);
    return true;
}

CColor CGuiManager::GetListBoxItemColor(gui::IGUIElement* list, int32_t index, int32_t kind)
{
    return As<CGUIListBoxEx>(*this, list, L"GetListBoxItemColor")->GetItemColor(index, kind);
}

bool CGuiManager::HasListBoxItemColor(gui::IGUIElement* list, int32_t index, int32_t kind)
{
    return As<CGUIListBoxEx>(*this, list, L"HasListBoxItemColor")->HasItemColor(index, kind);
}

int32_t CGuiManager::GetListBoxSelected(gui::IGUIElement* list)
{
    return As<CGUIListBoxEx>(*this, list, L"GetListBoxSelected")->GetSelected();
}

void CGuiManager::SetListBoxItemText(gui::IGUIElement* list, int32_t index, const std::wstring& text)
{
    As<CGUIListBoxEx>(*this, list, L"SetListBoxItemText")->SetItemText(index, text);
}

int32_t CGuiManager::FindListBoxItemText(gui::IGUIElement* list, const std::wstring& text)
{
    return As<CGUIListBoxEx>(*this, list, L"FindListBoxItemText")->FindItemByText(text);
}

int32_t CGuiManager::FindListBoxItemData(gui::IGUIElement* list, const std::wstring& data)
{
    return As<CGUIListBoxEx>(*this, list, L"FindListBoxItemData")->FindItemByData(data);
}

void CGuiManager::RemoveListBoxItem(gui::IGUIElement* list, int32_t index)
{
    As<CGUIListBoxEx>(*this, list, L"RemoveListBoxItem")->RemoveItem(index);
}

void CGuiManager::ClearListBox(gui::IGUIElement* list)
{
    As<CGUIListBoxEx>(*this, list, L"ClearListBox")->Clear();
}

void CGuiManager::SetListBoxBackgroundVisible(gui::IGUIElement* list, bool visible)
{
    As<CGUIListBoxEx>(*this, list, L"SetListBoxBackgroundVisible")->SetBackgroundVisible(visible);
}

bool CGuiManager::IsListBoxBackgroundVisible(gui::IGUIElement* list)
{
    return As<CGUIListBoxEx>(*this, list, L"IsListBoxBackgroundVisible")->IsBackgroundVisible();
}

void CGuiManager::MakeListBoxItemVisible(gui::IGUIElement* list, int32_t index)
{
    As<CGUIListBoxEx>(*this, list, L"MakeListBoxItemVisible")->EnsureItemVisible(index);
}

int32_t CGuiManager::GetListBoxItemCount(gui::IGUIElement* list)
{
    return As<IGuiItemList>(*this, list, L"GetListBoxItemCount")->GetItemCount();
}

std::wstring CGuiManager::GetListBoxItemText(gui::IGUIElement* list, int32_t index)
{
    return As<IGuiItemList>(*this, list, L"GetListBoxItemText")->GetItemText(index);
}

std::wstring CGuiManager::GetListBoxItemData(gui::IGUIElement* list, int32_t index)
{
    return As<IGuiItemList>(*this, list, L"GetListBoxItemData")->GetItemData(index);
}

void CGuiManager::SetListItemData(gui::IGUIElement* list, int32_t index, const std::wstring& data)
{
    As<IGuiItemList>(*this, list, L"SetListItemData")->SetItemData(index, data);
}

} // namespace Graphics::GUI
