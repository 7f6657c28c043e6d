#include "gui/elements/GuiListBoxOperations.h"

#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GuiElementEvents.h"
#include "gui/manager/GuiIdSet.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

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

CGUIListBoxEx* CGuiListBoxOperations::Add(const std::wstring& name, const CRect& rect, bool background,
                                          const std::wstring& scrollBarName, const std::wstring& upButtonName,
                                          const std::wstring& downButtonName)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    // Part names prefer the ids that follow the list box's.
    const int32_t scrollBarId =
        scrollBarName.empty() ? 0 : m_manager.RegisterElementName(scrollBarName, IdAfter(id, 1));
    const int32_t upButtonId =
        upButtonName.empty() ? 0 : m_manager.RegisterElementName(upButtonName, IdAfter(id, 2));
    const int32_t downButtonId =
        downButtonName.empty() ? 0 : m_manager.RegisterElementName(downButtonName, IdAfter(id, 3));
    // A subscriber to a name conflict may have taken the GUI away.
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    m_manager.RegisterElementFactory();
    CGUIListBoxEx* list = CGUIListBoxEx::FromElement(
        environment->addGUIElement(CGUIListBoxEx::kTypeName, m_manager.GetGuiParent()));
    if (list == nullptr)
        return nullptr;
    list->SetSpriteBank(m_manager.GetSpriteBank());
    list->setID(id);
    if (scrollBarId != 0)
        list->SetScrollBarId(scrollBarId);
    if (upButtonId != 0)
        list->SetUpButtonId(upButtonId);
    if (downButtonId != 0)
        list->SetDownButtonId(downButtonId);
    list->setRelativePosition(m_manager.ScreenRectToPixelRect(rect));
    list->SetBackgroundVisible(background);
    return list;
}

int32_t CGuiListBoxOperations::AddItem(CGUIListBoxEx& list, const std::wstring& text,
                                       const std::wstring& data, const std::wstring& iconName, int32_t index)
{
    return list.AddItem(text, data, IconIndexOf(m_manager.GetSpriteBank(), iconName), index);
}

void CGuiListBoxOperations::SetItemIcon(CGUIListBoxEx& list, int32_t index, const std::wstring& iconName)
{
    list.SetItemIcon(index, IconIndexOf(m_manager.GetSpriteBank(), iconName));
}

std::wstring CGuiListBoxOperations::GetItemIcon(const CGUIListBoxEx& list, int32_t index) const
{
    const int32_t icon = list.GetItemIcon(index);
    return icon >= 0 ? IconNameOf(m_manager.GetSpriteBank(), icon) : std::wstring();
}

void CGuiListBoxOperations::Select(CGUIListBoxEx& list, int32_t index)
{
    list.SetSelected(index);
    PublishSelection(list);
}

void CGuiListBoxOperations::SelectByText(CGUIListBoxEx& list, const std::wstring& text)
{
    list.SelectItemByText(text);
    PublishSelection(list);
}

void CGuiListBoxOperations::SelectByData(CGUIListBoxEx& list, const std::wstring& data)
{
    list.SelectItemByData(data);
    PublishSelection(list);
}

void CGuiListBoxOperations::PublishSelection(const CGUIListBoxEx& list)
{
    // A subscriber may remove the list box: the name is taken first.
    const std::wstring name = m_manager.GetElementName(list.getID(), false);
    PublishNamedEvent(m_manager, name, kGuiListBoxChanged);
    PublishNamedEvent(m_manager, name, kGuiListBoxSelectedAgain);
}

} // namespace Graphics::GUI
