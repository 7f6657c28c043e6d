// Menus and tool bars: items placed and found by name, sized to their
// text, kept on the screen; the user's selections name the item; tool bar
// buttons laid out left to right.

#include "gui/GuiManagerTestSupport.h"
#include "gui/elements/GuiMenuOperations.h"

namespace
{

using namespace irr;

class MenuTest : public CGuiManagerFixture
{
protected:
    gui::IGUIContextMenu* ContextMenu(const std::wstring& name, const core::rect<s32>& rect)
    {
        return gui.AddContextMenuNamed(name,
                                       CRect(float(rect.UpperLeftCorner.X), float(rect.UpperLeftCorner.Y),
                                             float(rect.LowerRightCorner.X), float(rect.LowerRightCorner.Y)));
    }

    std::vector<std::wstring> Labels(gui::IGUIContextMenu* menu)
    {
        std::vector<std::wstring> labels;
        for (u32 index = 0; index < menu->getItemCount(); ++index)
            labels.push_back(menu->getItemText(index));
        return labels;
    }

    s32 TextHeight(const wchar_t* text)
    {
        return s32(environment()->getSkin()->getFont(gui::EGDF_MENU)->getDimension(text).Height);
    }
};

TEST_F(MenuTest, ItemsAreInsertedAtAPositionWithinTheItemsElseAppended)
{
    gui::IGUIContextMenu* menu = ContextMenu(L"menu", core::rect<s32>(10, 10, 100, 100));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(gui.AddMenuItem(menu, L"a", L"A", true, false, -1));
    EXPECT_TRUE(gui.AddMenuItem(menu, L"b", L"B", true, false, 5));
    EXPECT_TRUE(gui.AddMenuItem(menu, L"c", L"C", true, false, 2));
    EXPECT_EQ(Labels(menu), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_TRUE(gui.AddMenuItem(menu, L"first", L"First", true, false, 0));
    EXPECT_TRUE(gui.AddMenuItem(menu, L"last", L"Last", true, false, 4));
    ASSERT_NE(gui.AddSubMenuNamed(menu, L"more", L"More", true, 1), nullptr);
    EXPECT_EQ(Labels(menu), (std::vector<std::wstring>{L"First", L"More", L"A", L"B", L"C", L"Last"}));
    EXPECT_EQ(gui.GetMenuItemName(menu, 1), L"more");
    EXPECT_EQ(gui.GetMenuItemName(menu, 6), L"");
    EXPECT_EQ(gui.GetMenuItemName(menu, -1), L"");
}

TEST_F(MenuTest, AContextMenuIsAsHighAsItsItemsAndAsWideAsItsLongestText)
{
    gui::IGUIContextMenu* menu = ContextMenu(L"menu", core::rect<s32>(10, 20, 30, 40));
    gui.AddMenuItem(menu, L"one", L"Open", true, false, -1);
    gui.AddMenuSeparator(menu, L"", -1);
    const wchar_t* longText = L"A rather long menu entry text";
    gui.AddMenuItem(menu, L"two", longText, true, false, -1);
    const core::rect<s32> rect = menu->getRelativePosition();
    EXPECT_EQ(rect.UpperLeftCorner, core::position2di(10, 20));
    EXPECT_EQ(rect.getHeight(), 10 + TextHeight(L"Open") + 10 + TextHeight(longText));
    const s32 longWidth =
        s32(environment()->getSkin()->getFont(gui::EGDF_MENU)->getDimension(longText).Width) + 40;
    EXPECT_EQ(rect.getWidth(), std::max(longWidth, 100));
    // A menu bar keeps its own height.
    gui::IGUIContextMenu* bar = gui.AddMenuNamed(L"bar");
    const s32 barHeight = bar->getRelativePosition().getHeight();
    gui.AddMenuItem(bar, L"file", L"File", true, false, -1);
    gui.AddMenuItem(bar, L"edit", L"Edit", true, false, -1);
    EXPECT_EQ(bar->getRelativePosition().getHeight(), barHeight);
}

TEST_F(MenuTest, MenusStayOnTheScreenAndSubMenusNearTheRightEdgeOpenOnTheLeft)
{
    gui::IGUIContextMenu* menu = ContextMenu(L"menu", core::rect<s32>(650, 560, 700, 600));
    for (int item = 0; item < 6; ++item)
        gui.AddMenuItem(menu, L"item" + std::to_wstring(item), L"Item", true, false, -1);
    const core::rect<s32> rect = menu->getAbsolutePosition();
    EXPECT_EQ(rect.LowerRightCorner.Y, 600);
    EXPECT_EQ(rect.UpperLeftCorner.X, 650);

    gui::IGUIContextMenu* subMenu = gui.AddSubMenuNamed(menu, L"more", L"More", true, -1);
    ASSERT_NE(subMenu, nullptr);
    gui.AddMenuItem(subMenu, L"deep", L"Deep", true, false, -1);
    // It would reach past x 800 on the right: it opens on the left,
    // overlapping its parent.
    const s32 parentWidth = menu->getRelativePosition().getWidth();
    const s32 width = subMenu->getRelativePosition().getWidth();
    EXPECT_EQ(subMenu->getRelativePosition().UpperLeftCorner.X, parentWidth - 5 - (parentWidth + width - 10));
    EXPECT_LE(subMenu->getAbsolutePosition().LowerRightCorner.Y, 600);

    // Far from the edge it opens on the right.
    gui::IGUIContextMenu* left = ContextMenu(L"left", core::rect<s32>(10, 10, 50, 50));
    gui::IGUIContextMenu* leftSub = gui.AddSubMenuNamed(left, L"leftMore", L"More", true, -1);
    EXPECT_EQ(leftSub->getRelativePosition().UpperLeftCorner.X, left->getRelativePosition().getWidth() - 5);
}

TEST_F(MenuTest, ItemsAreReadAndChangedByNameAndSubMenusFollowTheirItem)
{
    gui::IGUIContextMenu* bar = gui.AddMenuNamed(L"bar");
    gui::IGUIContextMenu* file = gui.AddSubMenuNamed(bar, L"file", L"File", true, -1);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->isSubElement());
    EXPECT_EQ(file->getID(), gui.GetElementId(L"file", true));
    EXPECT_EQ(std::wstring(file->getText()), L"File");
    gui.AddMenuItem(file, L"open", L"Open", true, true, -1);

    EXPECT_TRUE(gui.GetMenus().HasItemSubMenu(L"file"));
    EXPECT_FALSE(gui.GetMenus().HasItemSubMenu(L"open"));
    EXPECT_TRUE(gui.GetMenus().IsItemChecked(L"open"));
    gui.GetMenus().SetItemChecked(L"open", false);
    EXPECT_FALSE(gui.GetMenus().IsItemChecked(L"open"));

    gui.GetMenus().SetItemEnabled(L"file", false);
    EXPECT_FALSE(gui.GetMenus().IsItemEnabled(L"file"));
    EXPECT_FALSE(file->isEnabled());
    gui.GetMenus().SetItemEnabled(L"file", true);
    EXPECT_TRUE(file->isEnabled());

    gui.GetMenus().SetItemLabel(L"file", L"Document");
    EXPECT_EQ(gui.GetMenus().GetItemLabel(L"file"), L"Document");
    EXPECT_EQ(std::wstring(file->getText()), L"Document");

    EXPECT_EQ(ErrorOf([&] { gui.GetMenus().GetItemLabel(L"bar"); }), L"Menu item not found:bar");
    EXPECT_EQ(ErrorOf([&] { gui.GetMenus().GetItemLabel(L"nothing"); }),
              L"[CGuiManager::GetElement] Cannot find gui element:nothing");
    EXPECT_EQ(ErrorOf([&] { gui.AddMenuItem(nullptr, L"x", L"X", true, false, -1); }),
              L"CGuiManager::addMenuItem] Parent context menu is not defined.");
    EXPECT_EQ(ErrorOf([&] { gui.addSubMenu(nullptr, L"X", 5, true, -1); }),
              L"CGuiManager::addSubMenu] Parent context menu is not defined.");
    gui::IGUIElement* text = AddNamed(L"text", core::rect<s32>(0, 0, 10, 10));
    EXPECT_EQ(ErrorOf([&] { gui.AddMenuItem(text, L"x", L"X", true, false, -1); }),
              L"[CGuiManager::addMenuItem] Gui element is not a menu:text");
    EXPECT_FALSE(gui.ElementExists(L"x"));
}

TEST_F(MenuTest, RemovingAnItemTakesItsSubMenuAndTheNamesBelowItOutOfTheGui)
{
    gui::IGUIContextMenu* menu = ContextMenu(L"menu", core::rect<s32>(10, 10, 100, 100));
    gui.AddMenuItem(menu, L"keep", L"Keep", true, false, -1);
    gui::IGUIContextMenu* more = gui.AddSubMenuNamed(menu, L"more", L"More", true, -1);
    gui.AddMenuItem(more, L"deep", L"Deep", true, false, -1);
    gui.AddShortcut(65, false, true, L"deep", 18, false);
    const s32 moreId = more->getID();

    // The sub-menu's name removes the item from the menu above.
    gui.Remove(L"more");
    EXPECT_EQ(Labels(menu), (std::vector<std::wstring>{L"Keep"}));
    EXPECT_EQ(gui.GetElement(moreId, false), nullptr);
    EXPECT_FALSE(gui.ElementExists(L"deep"));
    EXPECT_EQ(gui.GetShortcuts().GetAll().size(), 0u);
    EXPECT_EQ(menu->getChildren().size(), 0u);

    // Clearing does the same for every item.
    gui::IGUIContextMenu* again = gui.AddSubMenuNamed(menu, L"again", L"Again", true, -1);
    gui.AddMenuItem(again, L"inner", L"Inner", true, false, -1);
    gui.ClearMenu(menu);
    EXPECT_EQ(menu->getItemCount(), 0u);
    EXPECT_EQ(menu->getChildren().size(), 0u);
    EXPECT_FALSE(gui.ElementExists(L"keep"));
    EXPECT_FALSE(gui.ElementExists(L"inner"));
    EXPECT_TRUE(gui.ElementExists(L"menu"));

    // The menu's own name removes the menu.
    gui.Remove(L"menu");
    EXPECT_FALSE(gui.ElementExists(L"menu"));
}

TEST_F(MenuTest, ClickingAnItemPublishesTheMenuEventWithTheItemsName)
{
    gui::IGUIContextMenu* menu = ContextMenu(L"menu", core::rect<s32>(100, 100, 200, 200));
    gui.AddMenuItem(menu, L"open", L"Open", true, false, -1);
    gui.AddMenuItem(menu, L"save", L"Save", true, false, -1);
    CGuiRecorder recorder;
    // Items start 3 pixels below the top; the second one follows the first.
    // The menu marks the item under the moving mouse, and a click chooses it.
    const s32 y = 100 + 3 + TextHeight(L"Open") + 2;
    PostMouse(EMIE_MOUSE_MOVED, 110, y);
    Click(110, y);
    EXPECT_EQ(recorder.Of({18}), (std::vector<SGuiRecord>{{L"save", 18}}));

    // An item of a sub-menu of the menu bar is named the same way.
    gui::IGUIContextMenu* bar = gui.AddMenuNamed(L"bar");
    gui::IGUIContextMenu* file = gui.AddSubMenuNamed(bar, L"file", L"File", true, -1);
    gui.AddMenuItem(file, L"quit", L"Quit", true, false, -1);
    Click(15, 5);
    ASSERT_TRUE(file->isVisible());
    const core::rect<s32> fileRect = file->getAbsolutePosition();
    Click(fileRect.UpperLeftCorner.X + 5, fileRect.UpperLeftCorner.Y + 5);
    EXPECT_EQ(recorder.Of({18}), (std::vector<SGuiRecord>{{L"save", 18}, {L"quit", 18}}));
}

TEST_F(MenuTest, ToolbarButtonsAreLaidOutLeftToRightThreePixelsApart)
{
    gui::IGUIToolBar* toolbar = gui.AddToolbarNamed(L"tools", CRect(0, 0, 0, 0));
    ASSERT_NE(toolbar, nullptr);
    // No size: the library's placement stays.
    EXPECT_GT(toolbar->getRelativePosition().getHeight(), 0);
    // A tool bar spans its parent's width, whatever the rectangle says.
    gui::IGUIToolBar* placed = gui.AddToolbarNamed(L"placed", CRect(0.1f, 0.5f, 0.5f, 0.6f));
    EXPECT_EQ(placed->getRelativePosition(), core::rect<s32>(0, 300, 800, 360));

    gui::IGUIFont* font = environment()->getSkin()->getFont(gui::EGDF_BUTTON);
    const s32 openWidth = s32(font->getDimension(L"Open").Width);
    const s32 saveWidth = s32(font->getDimension(L"Save").Width);
    const s32 height = placed->getRelativePosition().getHeight();
    gui::IGUIButton* open =
        gui.AddToolbarButtonNamed(placed, L"open", L"Open", L"", L"", L"", true, false, true);
    gui::IGUIButton* save =
        gui.AddToolbarButtonNamed(placed, L"save", L"Save", L"", L"", L"", false, true, false);
    ASSERT_NE(open, nullptr);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(open->getRelativePosition(), core::rect<s32>(8, 2, 8 + openWidth + 12, 2 + height - 4));
    const s32 saveX = 8 + openWidth + 12 + 3;
    EXPECT_EQ(save->getRelativePosition(), core::rect<s32>(saveX, 2, saveX + saveWidth + 12, 2 + height - 4));
    EXPECT_TRUE(open->isPushButton());
    EXPECT_FALSE(save->isPushButton());
    EXPECT_TRUE(save->isAlphaChannelUsed());
    EXPECT_TRUE(open->isDrawingBorder());
    EXPECT_FALSE(save->isDrawingBorder());
    EXPECT_EQ(gui.GetElement(L"save", true), save);

    // A button with an image is sized to it (the null driver's textures
    // are 0 x 0).
    video::IImage* image = simulation.graphics.GetDevice()->getVideoDriver()->createImage(
        video::ECF_A8R8G8B8, core::dimension2du(4, 4));
    simulation.graphics.GetDevice()->getVideoDriver()->addTexture("icon.png", image);
    image->drop();
    gui::IGUIButton* icon =
        gui.AddToolbarButtonNamed(placed, L"icon", L"", L"", L"icon.png", L"", false, false, true);
    const s32 iconX = saveX + saveWidth + 12 + 3;
    EXPECT_EQ(icon->getRelativePosition(), core::rect<s32>(iconX, 2, iconX + 8, 2 + 6));

    EXPECT_EQ(
        ErrorOf([&] { gui.AddToolbarButtonNamed(nullptr, L"x", L"", L"", L"", L"", false, false, true); }),
        L"[CGuiManager::addToolbarButton] Toolbar not defined.");
    EXPECT_EQ(ErrorOf([&] { gui.AddToolbarButtonNamed(open, L"x", L"", L"", L"", L"", false, false, true); }),
              L"[CGuiManager::addToolbarButton] Gui element is not a tool bar:open");
    EXPECT_FALSE(gui.ElementExists(L"x"));
}

} // namespace
