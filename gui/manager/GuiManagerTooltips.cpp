// Tooltips on elements.

#include "gui/manager/GuiManager.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

void CGuiManager::SetElementToolTip(gui::IGUIElement* element, const std::wstring& text)
{
    if (element == nullptr)
        return;
    element->setToolTipText(text.c_str());
    // A spin box is drawn by its edit box and buttons, which show their own
    // tooltips.
    if (element->getType() == gui::EGUIET_SPIN_BOX)
    {
        for (gui::IGUIElement* part : element->getChildren())
            part->setToolTipText(text.c_str());
    }
}

std::wstring CGuiManager::GetElementToolTip(gui::IGUIElement* element) const
{
    if (element == nullptr)
        return std::wstring();
    const wchar_t* text = element->getToolTipText().c_str();
    return text != nullptr ? std::wstring(text) : std::wstring();
}

bool CGuiManager::HasElementToolTip(gui::IGUIElement* element) const
{
    return !GetElementToolTip(element).empty();
}

} // namespace Graphics::GUI
