#include "gui/elements/GuiElementFactory.h"

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"

#include <irrlicht.h>

#include <cstring>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

struct SCreatableType
{
    const char* name;
    gui::EGUI_ELEMENT_TYPE type;
};

constexpr SCreatableType kCreatableTypes[] = {
    {CGUIComboBoxEx::kTypeName, gui::EGUIET_COMBO_BOX},
    {CGUIListBoxEx::kTypeName, gui::EGUIET_LIST_BOX},
};
constexpr s32 kCreatableTypeCount = static_cast<s32>(sizeof(kCreatableTypes) / sizeof(kCreatableTypes[0]));

} // namespace

gui::IGUIElement* CGuiElementFactory::addGUIElement(const c8* typeName, gui::IGUIElement* parent)
{
    if (typeName == nullptr || m_environment == nullptr)
        return nullptr;
    if (parent == nullptr)
        parent = m_environment->getRootGUIElement();
    gui::IGUIElement* element = nullptr;
    if (std::strcmp(typeName, CGUIComboBoxEx::kTypeName) == 0)
        element = new CGUIComboBoxEx(m_environment, parent);
    else if (std::strcmp(typeName, CGUIListBoxEx::kTypeName) == 0)
        element = new CGUIListBoxEx(m_environment, parent);
    else
        return nullptr;
    // The parent's child list holds the element from here on.
    element->drop();
    return element;
}

gui::IGUIElement* CGuiElementFactory::addGUIElement(gui::EGUI_ELEMENT_TYPE type, gui::IGUIElement* parent)
{
    const c8* name = getCreateableGUIElementTypeName(type);
    return name != nullptr ? addGUIElement(name, parent) : nullptr;
}

s32 CGuiElementFactory::getCreatableGUIElementTypeCount() const
{
    return kCreatableTypeCount;
}

gui::EGUI_ELEMENT_TYPE CGuiElementFactory::getCreateableGUIElementType(s32 index) const
{
    if (index < 0 || index >= kCreatableTypeCount)
        return gui::EGUIET_COUNT;
    return kCreatableTypes[index].type;
}

const c8* CGuiElementFactory::getCreateableGUIElementTypeName(s32 index) const
{
    if (index < 0 || index >= kCreatableTypeCount)
        return nullptr;
    return kCreatableTypes[index].name;
}

const c8* CGuiElementFactory::getCreateableGUIElementTypeName(gui::EGUI_ELEMENT_TYPE type) const
{
    for (const SCreatableType& row : kCreatableTypes)
    {
        if (row.type == type)
            return row.name;
    }
    return nullptr;
}

} // namespace Graphics::GUI
