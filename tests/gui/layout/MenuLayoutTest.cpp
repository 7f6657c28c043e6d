// Menus and tool bars in GUI layouts: hand-written files of both item
// grammars, shortcuts that choose items, round trips through every file
// form, damaged entries, and a seeded fuzz run of the readers.

#include "gui/GuiLayoutFixture.h"
#include "gui/layout/GuiLayoutKinds.h"
#include "gui/elements/GuiMenuOperations.h"

namespace
{

using namespace irr;

class MenuLayoutTest : public CGuiLayoutFixture
{
protected:
    // A key let go with control held, as the user's keyboard sends it.
    void PostControlKey(int key)
    {
        SEvent input;
        input.EventType = EET_KEY_INPUT_EVENT;
        input.KeyInput.Key = static_cast<EKEY_CODE>(key);
        input.KeyInput.Char = 0;
        input.KeyInput.PressedDown = false;
        input.KeyInput.Shift = false;
        input.KeyInput.Control = true;
        simulation.graphics.GetDevice()->postEventFromUser(input);
    }

    std::vector<std::wstring> ItemNames(const std::wstring& menu)
    {
        std::vector<std::wstring> names;
        gui::IGUIElement* element = gui.GetElement(menu, true);
        for (uint32_t index = 0; index < gui.GetMenuItemCount(element); ++index)
            names.push_back(gui.GetMenuItemName(element, static_cast<int32_t>(index)));
        return names;
    }

    static bool ButtonsHaveAReader()
    {
        size_t count = 0;
        const Graphics::GUI::SGuiLayoutKind* kinds = Graphics::GUI::CGuiLayoutKinds::GetAll(count);
        return count > 0 && kinds[0].reader != nullptr;
    }
};

TEST_F(MenuLayoutTest, MenusOfVersion1019LoadWithTheirItemsAndShortcuts)
{
    ASSERT_TRUE(Load(Fixture("menus_v1019.kvogui")));
    gui::IGUIElement* bar = gui.GetElement(L"bar", true);
    EXPECT_EQ(bar->getType(), gui::EGUIET_MENU);
    EXPECT_EQ(ItemNames(L"bar"), (std::vector<std::wstring>{L"file", L"help"}));
    EXPECT_EQ(ItemNames(L"file").size(), 3u);
    EXPECT_EQ(ItemNames(L"file")[0], L"open");
    EXPECT_EQ(ItemNames(L"file")[2], L"quit");
    EXPECT_TRUE(gui.GetMenus().HasItemSubMenu(L"file"));
    EXPECT_EQ(gui.GetMenus().GetItemLabel(L"open"), L"Open\u2026");
    EXPECT_TRUE(gui.GetMenus().IsItemChecked(L"open"));
    EXPECT_FALSE(gui.GetMenus().IsItemChecked(L"quit"));
    EXPECT_FALSE(gui.GetMenus().IsItemEnabled(L"quit"));
    EXPECT_EQ(gui.GetElementToolTip(gui.GetElement(L"file", true)), L"The file menu");
    gui::IGUIContextMenu* file = static_cast<gui::IGUIContextMenu*>(gui.GetElement(L"file", true));
    EXPECT_EQ(std::wstring(file->getItemText(1)), L"");

    gui::IGUIElement* popup = gui.GetElement(L"popup", true);
    EXPECT_EQ(popup->getType(), gui::EGUIET_CONTEXT_MENU);
    EXPECT_EQ(popup->getRelativePosition().UpperLeftCorner, core::position2di(400, 300));
    EXPECT_EQ(ItemNames(L"popup"), (std::vector<std::wstring>{L"copy"}));

    // The shortcuts choose their items.
    ASSERT_NE(gui.GetShortcuts().FindOf(L"open"), nullptr);
    EXPECT_EQ(gui.GetShortcuts().FindOf(L"open")->second.type, 18u);
    EXPECT_EQ(gui.GetShortcuts().FindOf(L"help")->first.keyCode, 0x70);
    CGuiRecorder recorder;
    PostControlKey(0x4F);
    EXPECT_EQ(recorder.Of({18}), (std::vector<SGuiRecord>{{L"open", 18}}));
}

TEST_F(MenuLayoutTest, OlderMenusEndTheirItemsWithTheBlockAndToolbarsHaveNoButtons)
{
    ASSERT_TRUE(Load(Fixture("menus_v1018.kvogui")));
    EXPECT_EQ(ItemNames(L"7"), (std::vector<std::wstring>{L"cut", L"more"}));
    EXPECT_EQ(ItemNames(L"more"), (std::vector<std::wstring>{L"deeper"}));
    EXPECT_TRUE(gui.GetMenus().IsItemChecked(L"deeper"));
    EXPECT_FALSE(gui.GetMenus().IsItemChecked(L"cut"));
    EXPECT_EQ(gui.GetElementToolTip(gui.GetElement(L"more", true)), L"More things");
    EXPECT_EQ(gui.GetElement(L"7", true)->getRelativePosition().UpperLeftCorner, core::position2di(10, 10));
    gui::IGUIElement* tools = gui.GetElement(L"tools", true);
    EXPECT_EQ(tools->getType(), gui::EGUIET_TOOL_BAR);
    EXPECT_EQ(tools->getRelativePosition(), core::rect<s32>(0, 540, 800, 600));

    // Before 1012 a tool bar block has no position.
    ASSERT_EQ(LoadText(Header(1011) + "Gui{\r\nToolbar{\r\n-IdName \"plain\"\r\n}\r\n}\r\n"), L"");
    EXPECT_GT(gui.GetElement(L"plain", true)->getRelativePosition().getHeight(), 0);
}

TEST_F(MenuLayoutTest, ToolbarButtonsInsideTheBlockAreLaidOutAndKeepTheirShortcuts)
{
    ASSERT_TRUE(Load(Fixture("toolbar_v1019.kvogui")));
    gui::IGUIElement* tools = gui.GetElement(L"tools", true);
    auto* fresh = static_cast<gui::IGUIButton*>(gui.GetElement(L"new", true));
    auto* save = static_cast<gui::IGUIButton*>(gui.GetElement(L"save", true));
    EXPECT_EQ(fresh->getParent(), tools);
    EXPECT_EQ(fresh->getRelativePosition().UpperLeftCorner, core::position2di(8, 2));
    EXPECT_EQ(save->getRelativePosition().UpperLeftCorner.X,
              fresh->getRelativePosition().LowerRightCorner.X + 3);
    EXPECT_TRUE(fresh->isPushButton());
    EXPECT_TRUE(save->isAlphaChannelUsed());
    EXPECT_TRUE(save->isDrawingBorder());
    ASSERT_NE(gui.GetShortcuts().FindOf(L"new"), nullptr);
    EXPECT_EQ(gui.GetShortcuts().FindOf(L"new")->second.type, 5u);

    // Saved, the buttons are the tool bar's children; they come back as its
    // buttons once the button kind has its reader.
    ASSERT_TRUE(gui.Save(folder.Wide("tools.kvogui"), "UTF8", false, nullptr));
    const std::string saved = folder.Read("tools.kvogui");
    EXPECT_NE(saved.find("Toolbar{"), std::string::npos);
    EXPECT_EQ(saved.find("-ImageFilename"),
              ButtonsHaveAReader() ? saved.find("-ImageFilename") : std::string::npos);
    if (ButtonsHaveAReader())
    {
        const core::rect<s32> saveRect = save->getRelativePosition();
        gui.Clear();
        ASSERT_TRUE(Load(folder.Wide("tools.kvogui")));
        EXPECT_EQ(gui.GetElement(L"save", true)->getParent(), gui.GetElement(L"tools", true));
        // The button reader places them as the tool bar block does.
        EXPECT_EQ(gui.GetElement(L"save", true)->getRelativePosition(), saveRect);
        EXPECT_EQ(saveRect.UpperLeftCorner.Y, 2);
    }
}

TEST_F(MenuLayoutTest, MenusRoundTripThroughEveryFormByteForByte)
{
    ASSERT_TRUE(Load(Fixture("menus_v1019.kvogui")));
    ASSERT_TRUE(Load(Fixture("menus_v1018.kvogui")));
    ASSERT_TRUE(gui.Save(folder.Wide("first.kvogui"), "UTF8", true, nullptr));
    const std::string first = folder.Read("first.kvogui");
    // Separators are saved as items without a label; the old grammar is
    // saved in the new one.
    EXPECT_EQ(first.find("Separator{"), std::string::npos);
    EXPECT_NE(first.find("-Label \"\""), std::string::npos);
    EXPECT_NE(first.find("ContextMenu{"), std::string::npos);
    EXPECT_NE(first.find("-Shortcut 0x4F+0x11"), std::string::npos);

    std::string previous = "first.kvogui";
    for (const char* mode : {"BINARY", "COMPRESSED", "UTF8"})
    {
        gui.Clear();
        ASSERT_TRUE(Load(folder.Wide(previous))) << mode;
        previous = std::string("next-") + mode + ".kvogui";
        ASSERT_TRUE(gui.Save(folder.Wide(previous), mode, true, nullptr)) << mode;
    }
    EXPECT_EQ(folder.Read(previous), first);
    EXPECT_EQ(ItemNames(L"file").size(), 3u);
    EXPECT_EQ(gui.GetMenus().GetItemLabel(L"quit"), L"Quit");
    EXPECT_EQ(ItemNames(L"more"), (std::vector<std::wstring>{L"deeper"}));
    EXPECT_EQ(gui.GetElementToolTip(gui.GetElement(L"more", true)), L"More things");
}

TEST_F(MenuLayoutTest, DamagedMenuEntriesFailWithClearErrors)
{
    const std::string menu = Header(1019) + "Gui{\r\nContextMenu{\r\n-IdName \"m\"\r\nMenuItems{\r\n";
    EXPECT_EQ(LoadText(menu + "Thing{\r\n}\r\n}\r\n}\r\n}\r\n"),
              L"[CGuiManager::loadMenuItems] Unknown menu item:Thing{");
    gui.Clear();
    EXPECT_NE(LoadText(menu + "Item{\r\n-IdName \"i\"\r\n-Enable 1\r\n}\r\n}\r\n}\r\n}\r\n"), L"");
    gui.Clear();
    // A list that never ends ends with the file.
    EXPECT_NE(LoadText(menu + "Item{\r\n-IdName \"i\"\r\n-Label \"I\"\r\n-Enable 1\r\n}\r\n"), L"");
    gui.Clear();
    EXPECT_NE(LoadText(menu + "SubMenu{\r\n-IdName \"s\"\r\n-Label \"S\"\r\n-Enable 1\r\nMenuItems{\r\n"),
              L"");
    EXPECT_EQ(gui.GetGuiParent(), root());
}

// Sub-menus within sub-menus count against the layout's nesting limit, as
// elements within elements do; a menu as deep as allowed loads, sized once.
TEST_F(MenuLayoutTest, SubMenuNestingIsLimitedLikeElements)
{
    const auto nested = [](int levels)
    {
        std::string text = Header(1019) + "Gui{\r\nContextMenu{\r\n-IdName \"m\"\r\nMenuItems{\r\n";
        for (int level = 0; level < levels; ++level)
            text += "SubMenu{\r\n-IdName \"s" + std::to_string(level) +
                    "\"\r\n-Label \"S\"\r\n-Enable 1\r\nMenuItems{\r\n";
        text += "Item{\r\n-IdName \"leaf\"\r\n-Label \"Leaf\"\r\n-Enable 1\r\n}\r\n";
        for (int level = 0; level < levels; ++level)
            text += "}\r\n}\r\n";
        return text + "}\r\n}\r\n}\r\n";
    };
    EXPECT_EQ(LoadText(nested(120)), L"");
    EXPECT_NE(gui.GetElement(L"leaf", false), nullptr);
    // The deepest sub-menu is sized to its item like the outer ones.
    const auto* deepest = gui.GetElement(L"s119", false);
    ASSERT_NE(deepest, nullptr);
    EXPECT_GT(deepest->getRelativePosition().getHeight(), 10);
    gui.Clear();
    for (int levels : {128, 400, 20000})
    {
        EXPECT_EQ(LoadText(nested(levels)),
                  L"[CGuiManager::loadMenuItems] Layout nested deeper than 128 levels")
            << levels;
        gui.Clear();
    }
}

// Mutated menu and tool bar layouts in every form: each load ends, with a
// result or an error, and leaves the manager usable.
TEST_F(MenuLayoutTest, FuzzedMenuLayoutsLoadOrFailCleanly)
{
    std::vector<std::string> seeds;
    for (const char* name : {"menus_v1019.kvogui", "menus_v1018.kvogui", "toolbar_v1019.kvogui"})
    {
        seeds.push_back(GuiTest::Fixture(name));
        ASSERT_TRUE(Load(Fixture(name)));
    }
    for (const char* mode : {"BINARY", "COMPRESSED"})
    {
        ASSERT_TRUE(gui.Save(folder.Wide("seed"), mode, false, nullptr));
        seeds.push_back(folder.Read("seed"));
    }
    gui.Clear();

    // At least 31 mutants whatever the machine's load.
    EXPECT_GT(FuzzLoads(seeds, 20261210, std::chrono::seconds(3), 31, 20), 30u);
    // Still usable.
    gui.Clear();
    ASSERT_TRUE(Load(Fixture("menus_v1019.kvogui")));
    EXPECT_EQ(ItemNames(L"bar").size(), 2u);
}

} // namespace
