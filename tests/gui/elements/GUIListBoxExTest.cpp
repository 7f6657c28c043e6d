// The engine's list box as a user drives it: a clicked item reaches scripts
// under the list box's name, focus goes to the inner list box, and
// scrolling an item into view moves the scroll bar just far enough and
// always ends.

#include "gui/GuiManagerTestSupport.h"

#include "gui/GuiTestDevice.h"

#include "gui/elements/GUIListBoxEx.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

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

TEST_F(GUIListBoxExTest, IconsAreTheSpriteBanksEntriesByName)
{
    CFakeTextureStore textures;
    textures.Add("icons.png", 32, 16);
    Graphics::Sprite::CGuiKVOSpriteBank* bank = gui.GetSpriteBank();
    ASSERT_NE(bank, nullptr);
    bank->SetTextureLoader(textures.Loader());
    ASSERT_EQ(gui.AddSpriteBankEntry(L"star", L"icons.png", {{0, 0, 16, 16}}, 0), L"star");
    ASSERT_EQ(gui.AddSpriteBankEntry(L"moon", L"icons.png", {{16, 0, 32, 16}}, 0), L"moon");

    CGUIListBoxEx* list = gui.AddListBox(L"list", CRect(0, 0, 200, 100), true, L"", L"", L"");
    const int32_t first = gui.AddListBoxItem(list, L"night", L"", L"moon", -1);
    const int32_t second = gui.AddListBoxItem(list, L"nothing", L"", L"no such sprite", -1);
    EXPECT_EQ(list->GetItemIcon(first), bank->FindSprite(L"moon"));
    EXPECT_EQ(gui.GetListBoxItemIcon(list, first), L"moon");
    EXPECT_EQ(list->GetItemIcon(second), -1);
    EXPECT_EQ(gui.GetListBoxItemIcon(list, second), L"");
    gui.SetListBoxItemIcon(list, second, L"star");
    EXPECT_EQ(gui.GetListBoxItemIcon(list, second), L"star");
    EXPECT_EQ(gui.GetListBoxItemText(list, second), L"nothing");
    // Drawing with the icons reaches the bank (nothing to see on this
    // driver, but nothing out of range either).
    simulation.graphics.GetDevice()->getGUIEnvironment()->drawAll();
}

} // namespace
