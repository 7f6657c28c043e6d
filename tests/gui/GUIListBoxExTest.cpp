// The engine's list box as a user drives it: a clicked item reaches scripts
// under the list box's name, focus goes to the inner list box, and
// scrolling an item into view moves the scroll bar just far enough and
// always ends.

#include "GuiManagerTestSupport.h"

#include "gui/GUIListBoxEx.h"

namespace
{

using namespace irr;
using Graphics::GUI::CGUIListBoxEx;

class GUIListBoxExTest : public CGuiManagerFixture
{
protected:
    int RowHeight() const
    {
        gui::IGUIFont* font = simulation.graphics.GetDevice()->getGUIEnvironment()->getSkin()->getFont();
        return static_cast<int>(font->getDimension(L"A").Height) + 4;
    }
};

TEST_F(GUIListBoxExTest, AClickedItemIsPublishedUnderTheListBoxName)
{
    CGUIListBoxEx* list = gui.AddListBox(L"list", CRect(100, 100, 300, 300), true, L"", L"", L"");
    ASSERT_NE(list, nullptr);
    for (int index = 0; index < 5; ++index)
        gui.AddListBoxItem(list, L"item", L"data " + std::to_wstring(index), L"", -1);
    CGuiRecorder recorder;
    Click(150, 100 + RowHeight() * 2 + RowHeight() / 2);
    EXPECT_EQ(gui.GetListBoxSelected(list), 2);
    EXPECT_EQ(gui.GetListBoxItemData(list, gui.GetListBoxSelected(list)), L"data 2");
    const std::vector<SGuiRecord> selection = recorder.Of({8, 9});
    ASSERT_FALSE(selection.empty());
    EXPECT_EQ(selection.front(), (SGuiRecord{L"list", 8}));
    EXPECT_EQ(gui.GetFocus(), list->GetInnerListBox());

    gui.SetFocus(nullptr);
    gui.SetFocus(list);
    EXPECT_EQ(gui.GetFocus(), list->GetInnerListBox());
}

TEST_F(GUIListBoxExTest, EnsureItemVisibleScrollsJustFarEnoughAndEnds)
{
    CGUIListBoxEx* list = gui.AddListBox(L"list", CRect(0, 0, 200, 100), true, L"", L"", L"");
    for (int index = 0; index < 100; ++index)
        gui.AddListBoxItem(list, L"row", L"", L"", -1);
    gui::IGUIScrollBar* scrollBar = list->GetScrollBar();
    ASSERT_NE(scrollBar, nullptr);
    const int row = RowHeight();

    list->EnsureItemVisible(50);
    const int position = scrollBar->getPos();
    EXPECT_LE(row * 51 - position, 100);
    EXPECT_GT(row * 51 - position, 100 - 10);
    list->EnsureItemVisible(50);
    EXPECT_EQ(scrollBar->getPos(), position);
    list->EnsureItemVisible(0);
    EXPECT_EQ(scrollBar->getPos(), 0);
    list->EnsureItemVisible(99);
    EXPECT_EQ(scrollBar->getPos(), scrollBar->getMax());

    // A view lower than a row: the row never fits, and the loop still ends.
    list->setRelativePosition(core::rect<s32>(0, 0, 200, 5));
    list->EnsureItemVisible(40);
    list->EnsureItemVisible(3);
    SUCCEED();
}

TEST_F(GUIListBoxExTest, SubElementIdsAndTooltipGoToTheInnerParts)
{
    CGUIListBoxEx* list = gui.AddListBox(L"list", CRect(0, 0, 200, 100), false, L"bar", L"up", L"down");
    EXPECT_EQ(list->GetScrollBarId(), gui.GetElementId(L"bar", true));
    EXPECT_EQ(list->GetUpButtonId(), gui.GetElementId(L"up", true));
    EXPECT_EQ(list->GetDownButtonId(), gui.GetElementId(L"down", true));
    EXPECT_EQ(list->GetInnerListBox()->getID(), list->getID());
    list->setToolTipText(L"choose");
    EXPECT_EQ(std::wstring(list->GetInnerListBox()->getToolTipText().c_str()), L"choose");
    EXPECT_EQ(std::wstring(list->getToolTipText().c_str()), L"choose");
}

} // namespace
