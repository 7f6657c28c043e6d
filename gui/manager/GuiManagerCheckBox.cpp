// Check boxes: built under the GUI parent, read, and set from scripts with
// the event that tells listeners the state changed.

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/elements/GuiElementKinds.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

gui::IGUICheckBox* CGuiManager::AddCheckBoxNamed(const std::wstring& name, const std::wstring& caption,
                                                 bool checked, const CRect& rect)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    // Without an environment nothing is created, and no name is taken.
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddCheckBox(id, caption, checked, ScreenRectToPixels(rect));
}

gui::IGUICheckBox* CGuiManager::AddCheckBox(int32_t id, const std::wstring& caption, bool checked,
                                            const CRect& pixelRect)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    return m_environment->addCheckBox(checked, ToPixelRect(pixelRect), GetGuiParent(), id, caption.c_str());
}

void CGuiManager::SetCheckBoxChecked(gui::IGUIElement* element, bool checked)
{
    gui::IGUICheckBox* checkBox = As<gui::IGUICheckBox>(*this, element, L"SetCheckBoxChecked");
    checkBox->setChecked(checked);
    // Whether a subscriber handled it does not matter.
    CMulticastOf<Kind::Gui>::Publish(
        CGuiEvent{m_source, GetElementName(element->getID(), false), kGuiCheckBoxChanged, 0});
}

std::wstring CGuiManager::GetOpenDialogFileName(int32_t id)
{
    ForgetClosedDialogs();
    gui::IGUIElement* element = GetElement(id, true);
    if (!element->hasType(gui::EGUIET_FILE_OPEN_DIALOG))
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::GetOpenDialogFileName] Gui element is not a file open dialog:%s",
            GetElementName(id, false).c_str());
    const wchar_t* fileName = static_cast<gui::IGUIFileOpenDialog*>(element)->getFileName();
    return fileName != nullptr ? std::wstring(fileName) : std::wstring();
}

} // namespace Graphics::GUI
