#include "gui/elements/GuiComboBoxOperations.h"

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GuiElementEvents.h"
#include "gui/manager/GuiIdSet.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

CGUIComboBoxEx* CGuiComboBoxOperations::Add(const std::wstring& name, const CRect& rect,
                                            const std::wstring& buttonName, const std::wstring& listName)
{
    const CGuiEventQueue::CHold events(m_manager.GetEventQueue());
    if (m_manager.GetGuiEnvironment() == nullptr)
        return nullptr;
    const int32_t id = m_manager.RegisterElementName(name, 0);
    const int32_t buttonId =
        buttonName.empty() ? 0 : m_manager.RegisterElementName(buttonName, IdAfter(id, 1));
    const int32_t listId = listName.empty() ? 0 : m_manager.RegisterElementName(listName, IdAfter(id, 2));
    // A subscriber to a name conflict may have taken the GUI away.
    gui::IGUIEnvironment* environment = m_manager.GetGuiEnvironment();
    if (environment == nullptr)
        return nullptr;
    m_manager.RegisterElementFactory();
    CGUIComboBoxEx* combo = CGUIComboBoxEx::FromElement(
        environment->addGUIElement(CGUIComboBoxEx::kTypeName, m_manager.GetGuiParent()));
    if (combo == nullptr)
        return nullptr;
    combo->setID(id);
    if (buttonId != 0)
        combo->SetButtonId(buttonId);
    combo->SetListId(listId);
    combo->setRelativePosition(m_manager.ScreenRectToPixelRect(rect));
    return combo;
}

void CGuiComboBoxOperations::Select(CGUIComboBoxEx& combo, int32_t index)
{
    combo.SetSelected(index);
    PublishElementEvent(m_manager, combo, kGuiComboBoxChanged);
}

void CGuiComboBoxOperations::SelectByText(CGUIComboBoxEx& combo, const std::wstring& text)
{
    combo.SelectItemByText(text);
    PublishElementEvent(m_manager, combo, kGuiComboBoxChanged);
}

void CGuiComboBoxOperations::SelectByData(CGUIComboBoxEx& combo, const std::wstring& data)
{
    combo.SelectItemByData(data);
    PublishElementEvent(m_manager, combo, kGuiComboBoxChanged);
}

uint32_t CGuiComboBoxOperations::GetMaxItems(gui::IGUIElement* combo)
{
    return As<CGUIComboBoxEx>(m_manager, combo, L"GetComboBoxMaxItems")->GetMaxItems();
}

} // namespace Graphics::GUI
