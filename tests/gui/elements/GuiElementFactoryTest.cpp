// The element factory: its table of types, and the engine's list and combo
// boxes made by type name through the GUI environment.

#include "gui/GuiTestDevice.h"

#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GuiElementFactory.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace irr;
using Graphics::GUI::CGUIComboBoxEx;
using Graphics::GUI::CGuiElementFactory;
using Graphics::GUI::CGUIListBoxEx;

TEST(GuiElementFactoryTest, AnswersForItsTwoTypesOnly)
{
    CGuiTestDevice device;
    CGuiElementFactory factory(device.Environment());
    EXPECT_EQ(factory.getCreatableGUIElementTypeCount(), 2);
    EXPECT_EQ(factory.getCreateableGUIElementType(0), gui::EGUIET_COMBO_BOX);
    EXPECT_EQ(factory.getCreateableGUIElementType(1), gui::EGUIET_LIST_BOX);
    EXPECT_EQ(factory.getCreateableGUIElementType(2), gui::EGUIET_COUNT);
    EXPECT_EQ(factory.getCreateableGUIElementType(-1), gui::EGUIET_COUNT);
    EXPECT_EQ(std::string(factory.getCreateableGUIElementTypeName(0)), "CGUIComboBoxEx");
    EXPECT_EQ(std::string(factory.getCreateableGUIElementTypeName(1)), "CGUIListBoxEx");
    EXPECT_EQ(factory.getCreateableGUIElementTypeName(2), nullptr);
    EXPECT_EQ(std::string(factory.getCreateableGUIElementTypeName(gui::EGUIET_LIST_BOX)), "CGUIListBoxEx");
    EXPECT_EQ(factory.getCreateableGUIElementTypeName(gui::EGUIET_BUTTON), nullptr);
    EXPECT_EQ(factory.addGUIElement(gui::EGUIET_BUTTON, nullptr), nullptr);
    EXPECT_EQ(factory.addGUIElement("cguilistboxex", nullptr), nullptr);
    EXPECT_EQ(factory.addGUIElement(static_cast<const c8*>(nullptr), nullptr), nullptr);
}

TEST(GuiElementFactoryTest, TheEnvironmentMakesBothBoxesByNameUnderTheRoot)
{
    CGuiTestDevice device;
    gui::IGUIEnvironment* environment = device.Environment();
    auto* factory = new CGuiElementFactory(environment);
    environment->registerGUIElementFactory(factory);
    factory->drop();

    gui::IGUIElement* list = environment->addGUIElement("CGUIListBoxEx", nullptr);
    ASSERT_NE(CGUIListBoxEx::FromElement(list), nullptr);
    EXPECT_EQ(list->getType(), gui::EGUIET_LIST_BOX);
    EXPECT_EQ(list->getParent(), environment->getRootGUIElement());
    // The parent's reference is the only one.
    EXPECT_EQ(list->getReferenceCount(), 1);
    EXPECT_EQ(CGUIComboBoxEx::FromElement(list), nullptr);

    gui::IGUIElement* combo = factory->addGUIElement(gui::EGUIET_COMBO_BOX, list);
    ASSERT_NE(CGUIComboBoxEx::FromElement(combo), nullptr);
    EXPECT_EQ(combo->getParent(), list);
    EXPECT_EQ(combo->getReferenceCount(), 1);

    // The library's own list boxes are not taken for ours.
    gui::IGUIListBox* plain = environment->addListBox(core::rect<s32>(0, 0, 10, 10));
    EXPECT_EQ(CGUIListBoxEx::FromElement(plain), nullptr);
    list->remove();
    EXPECT_EQ(CGUIListBoxEx::FromElement(plain), nullptr);
}

} // namespace
