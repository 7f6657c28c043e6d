// The engine's combo box as a user opens it: the drop-down list takes the
// list id and as many rows as the maximum allows, under the box or above it
// at the bottom of the screen; a chosen row reaches scripts under the combo
// box's name.

#include "gui/GuiManagerTestSupport.h"

#include "gui/elements/GUIComboBoxEx.h"

namespace
{

using namespace irr;
using Graphics::GUI::CGUIComboBoxEx;

class GUIComboBoxExTest : public CGuiManagerFixture
{
protected:
    // The combo box's inner child of the type (its list button, its text,
    // its open list).
    static gui::IGUIElement* InnerChild(CGUIComboBoxEx* combo, gui::EGUI_ELEMENT_TYPE type)
    {
        for (gui::IGUIElement* child : combo->GetInnerComboBox()->getChildren())
        {
            if (child->getType() == type)
                return child;
        }
        return nullptr;
    }

    void ClickCentre(gui::IGUIElement* element)
    {
        const core::position2di centre = element->getAbsolutePosition().getCenter();
        Click(centre.X, centre.Y);
    }

    // The height the built-in font gives a row: "A" is 10 high, plus 4.
    int RowHeight() const
    {
        gui::IGUIFont* font = simulation.graphics.GetDevice()->getGUIEnvironment()->getSkin()->getFont();
        return static_cast<int>(font->getDimension(L"A").Height) + 4;
    }
};

TEST_F(GUIComboBoxExTest, TheOpenListHasTheMaximumRowsAndTheListId)
{
    CGUIComboBoxEx* combo =
        gui.AddComboBox(L"combo", CRect(100, 100, 300, 120), L"comboButton", L"comboList");
    ASSERT_NE(combo, nullptr);
    for (int index = 0; index < 10; ++index)
        gui.AppendComboBoxItem(combo, L"item " + std::to_wstring(index), L"data");
    gui.SetComboBoxMaxItems(combo, 3);
    gui::IGUIElement* button = InnerChild(combo, gui::EGUIET_BUTTON);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getID(), gui.GetElementId(L"comboButton", true));

    ClickCentre(button);
    gui::IGUIElement* list = InnerChild(combo, gui::EGUIET_LIST_BOX);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getID(), gui.GetElementId(L"comboList", true));
    EXPECT_EQ(list->getRelativePosition(), core::rect<s32>(0, 20, 200, 20 + 3 * RowHeight()));

    // Choosing a row changes the selection under the combo box's name.
    CGuiRecorder recorder;
    const core::rect<s32>& rows = list->getAbsolutePosition();
    Click(rows.UpperLeftCorner.X + 20, rows.UpperLeftCorner.Y + RowHeight() + RowHeight() / 2);
    EXPECT_EQ(gui.GetComboBoxSelected(combo), 1);
    EXPECT_EQ(recorder.Of({19}), (std::vector<SGuiRecord>{{L"combo", 19}}));
}

TEST_F(GUIComboBoxExTest, AnEmptyBoxOpensOneRowAndTheScreenBottomOpensAbove)
{
    CGUIComboBoxEx* empty = gui.AddComboBox(L"empty", CRect(100, 100, 300, 120), L"", L"");
    ClickCentre(InnerChild(empty, gui::EGUIET_BUTTON));
    gui::IGUIElement* list = InnerChild(empty, gui::EGUIET_LIST_BOX);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getRelativePosition().getHeight(), RowHeight());
    // The list id is 0 without a list name.
    EXPECT_EQ(list->getID(), 0);
    gui.SetFocus(nullptr);

    CGUIComboBoxEx* low = gui.AddComboBox(L"low", CRect(100, 570, 300, 590), L"", L"");
    for (int index = 0; index < 10; ++index)
        gui.AppendComboBoxItem(low, L"item", L"");
    ClickCentre(InnerChild(low, gui::EGUIET_BUTTON));
    list = InnerChild(low, gui::EGUIET_LIST_BOX);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getRelativePosition(), core::rect<s32>(0, -5 * RowHeight(), 200, 0));
    EXPECT_LE(list->getAbsolutePosition().LowerRightCorner.Y, 600);
}

TEST_F(GUIComboBoxExTest, FocusGoesToTheInnerComboBox)
{
    CGUIComboBoxEx* combo = gui.AddComboBox(L"combo", CRect(100, 100, 300, 120), L"", L"");
    gui.SetFocus(combo);
    EXPECT_EQ(gui.GetFocus(), combo->GetInnerComboBox());
    combo->setToolTipText(L"pick one");
    EXPECT_EQ(std::wstring(InnerChild(combo, gui::EGUIET_BUTTON)->getToolTipText().c_str()), L"pick one");
    EXPECT_EQ(std::wstring(combo->getToolTipText().c_str()), L"pick one");
}

} // namespace
