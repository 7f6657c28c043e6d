// Extended list boxes: built through the element factory under the GUI
// parent, filled and queried for scripts and layouts; and the factory's
// registration.

#include "core/foundation/KVOError.h"
#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GuiElementFactory.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/manager/GuiManager.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{
// Icons are the sprite bank's entries, by name; without a bank no name is
// known.
int32_t IconIndexOf(const Graphics::Sprite::CGuiKVOSpriteBank* bank, const std::wstring& name)
{
    return bank != nullptr && !name.empty() ? bank->FindSprite(name) : -1;
}

std::wstring IconNameOf(const Graphics::Sprite::CGuiKVOSpriteBank* bank, int32_t index)
{
    return bank != nullptr && index >= 0 ? bank->GetSpriteId(static_cast<uint32_t>(index)) : std::wstring();
}

} // namespace

void CGuiManager::RegisterElementFactory()
{
    if (m_environment == nullptr || m_factoryEnvironment == m_environment)
        return;
    auto* factory = new CGuiElementFactory(m_environment);
    m_environment->registerGUIElementFactory(factory);
    // The environment keeps it.
    factory->drop();
    m_factoryEnvironment = m_environment;
}

CGUIListBoxEx* CGuiManager::AddListBox(const std::wstring& name, const CRect& rect, bool background,
                                       const std::wstring& scrollBarName, const std::wstring& upButtonName,
                                       const std::wstring& downButtonName)
{
    const CGuiEventQueue::CHold events(m_events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    // Sub-names prefer the ids that follow the list box's.
    const int32_t scrollBarId =
        scrollBarName.empty() ? 0 : RegisterElementName(scrollBarName, IdAfter(id, 1));
    const int32_t upButtonId = upButtonName.empty() ? 0 : RegisterElementName(upButtonName, IdAfter(id, 2));
    const int32_t downButtonId =
        downButtonName.empty() ? 0 : RegisterElementName(downButtonName, IdAfter(id, 3));
    // A subscriber to a name conflict may have taken the GUI away.
    if (m_environment == nullptr)
        return nullptr;
    RegisterElementFactory();
    CGUIListBoxEx* list =
        CGUIListBoxEx::FromElement(m_environment->addGUIElement(CGUIListBoxEx::kTypeName, GetGuiParent()));
    if (list == nullptr)
        return nullptr;
    list->SetSpriteBank(m_sprites.Get());
    list->setID(id);
    if (scrollBarId != 0)
        list->SetScrollBarId(scrollBarId);
    if (upButtonId != 0)
        list->SetUpButtonId(upButtonId);
    if (downButtonId != 0)
        list->SetDownButtonId(downButtonId);
    list->setRelativePosition(ScreenRectToPixelRect(rect));
    list->SetBackgroundVisible(background);
    return list;
}

int32_t CGuiManager::AddListBoxItem(gui::IGUIElement* list, const std::wstring& text,
                                    const std::wstring& data, const std::wstring& iconName, int32_t index)
{
    return As<CGUIListBoxEx>(*this, list, L"AddListBoxItem")
        ->AddItem(text, data, IconIndexOf(m_sprites.Get(), iconName), index);
}

void CGuiManager::SetListBoxItemIcon(gui::IGUIElement* list, int32_t index, const std::wstring& iconName)
{
    As<CGUIListBoxEx>(*this, list, L"SetListBoxItemIcon")
        ->SetItemIcon(index, IconIndexOf(m_sprites.Get(), iconName));
}

std::wstring CGuiManager::GetListBoxItemIcon(gui::IGUIElement* list, int32_t index)
{
    const int32_t icon = As<CGUIListBoxEx>(*this, list, L"GetListBoxItemIcon")->GetItemIcon(index);
    return icon >= 0 ? IconNameOf(m_sprites.Get(), icon) : std::wstring();
}

void CGuiManager::SelectListBoxItem(gui::IGUIElement* list, int32_t index)
{
    As<CGUIListBoxEx>(*this, list, L"SelectListBoxItem")->SetSelected(index);
    PublishListBoxSelection(list);
}

void CGuiManager::SelectListBoxItemByText(gui::IGUIElement* list, const std::wstring& text)
{
    As<CGUIListBoxEx>(*this, list, L"SelectListBoxItemByText")->SelectItemByText(text);
    PublishListBoxSelection(list);
}

void CGuiManager::SelectListBoxItemByData(gui::IGUIElement* list, const std::wstring& data)
{
    As<CGUIListBoxEx>(*this, list, L"SelectListBoxItemByData")->SelectItemByData(data);
    PublishListBoxSelection(list);
}

void CGuiManager::PublishListBoxSelection(gui::IGUIElement* list)
{
    // A subscriber may remove the list box: the name is taken first.
    const std::wstring name = GetElementName(list->getID(), false);
    CMulticastOf<Kind::Gui>::Publish(CGuiEvent{m_source, name, kGuiListBoxChanged, 0});
    CMulticastOf<Kind::Gui>::Publish(CGuiEvent{m_source, name, kGuiListBoxSelectedAgain, 0});
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
