// Tab controls, tabs and scroll bars in GUI layouts: hand-written files
// across the version gates, pages as entries and as children, round trips
// through every file form, and a seeded fuzz run of the readers.

#include "gui/GuiLayoutFixture.h"
#include "gui/elements/GuiScrollBarOperations.h"
#include "gui/elements/GuiTabOperations.h"

namespace
{

using namespace irr;

class TabsLayoutTest : public CGuiLayoutFixture
{
protected:
    gui::IGUITab* Tab(const std::wstring& name)
    {
        gui::IGUIElement* element = gui.GetElement(name, true);
        EXPECT_EQ(element->getType(), gui::EGUIET_TAB);
        return static_cast<gui::IGUITab*>(element);
    }

    video::SColor Face() { return environment()->getSkin()->getColor(gui::EGDC_3D_FACE); }
};

TEST_F(TabsLayoutTest, PagesComeFromEntriesAndFromTabBlocksUnderTheTabControl)
{
    CGuiRecorder recorder;
    ASSERT_TRUE(Load(Fixture("tabs_v1019.kvogui")));
    gui::IGUIElement* tabs = gui.GetElement(L"tabs", true);
    EXPECT_EQ(tabs->getRelativePosition(), core::rect<s32>(80, 60, 720, 540));
    EXPECT_TRUE(gui.GetTabs().GetControlBackground(tabs));
    EXPECT_FALSE(gui.GetTabs().GetControlBorder(tabs));
    ASSERT_EQ(gui.GetTabs().GetCount(tabs), 2);
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, 0), Tab(L"general"));
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, 1), Tab(L"colors"));
    EXPECT_EQ(gui.GetElementText(Tab(L"general")), L"General");
    EXPECT_EQ(Tab(L"general")->getBackgroundColor(), video::SColor(255, 255, 0, 0));
    EXPECT_TRUE(Tab(L"general")->isDrawingBackground());
    // "TabColor" is a tab block too; alpha 0 is the skin's face colour.
    EXPECT_EQ(Tab(L"colors")->getBackgroundColor(), Face());
    EXPECT_FALSE(Tab(L"colors")->isDrawingBackground());

    // Anywhere else a tab block is a free-standing tab.
    gui::IGUITab* loose = Tab(L"loose");
    EXPECT_EQ(loose->getParent(), root());
    EXPECT_EQ(loose->getRelativePosition(), core::rect<s32>(10, 10, 110, 60));
    EXPECT_EQ(gui.GetElementText(loose), L"Loose");
    EXPECT_TRUE(loose->isDrawingBackground());
    EXPECT_EQ(loose->getBackgroundColor(), video::SColor(255, 0, 0, 255));

    // Scroll bars: steps from the fractions, at least 1; each publishes its
    // position as it is made.
    auto* volume = static_cast<gui::IGUIScrollBar*>(gui.GetElement(L"volume", true));
    EXPECT_TRUE(gui.GetScrollBars().IsHorizontal(volume));
    EXPECT_EQ(volume->getMax(), 5);
    EXPECT_EQ(volume->getPos(), 3);
    EXPECT_EQ(volume->getSmallStep(), 1);
    EXPECT_EQ(volume->getLargeStep(), 5);
    EXPECT_EQ(gui.GetScrollBars().GetUpButtonId(volume), gui.GetElementId(L"volumeDown", true));
    auto* old = static_cast<gui::IGUIScrollBar*>(gui.GetElement(L"old", true));
    EXPECT_FALSE(gui.GetScrollBars().IsHorizontal(old));
    EXPECT_EQ(old->getSmallStep(), 5);
    EXPECT_EQ(old->getLargeStep(), 50);
    EXPECT_EQ(recorder.Of({6}), (std::vector<SGuiRecord>{{L"volume", 6}, {L"old", 6}}));
}

TEST_F(TabsLayoutTest, OlderFilesTakeTheDefaultsOfWhatTheyDoNotStore)
{
    const std::string text =
        Header(1014) +
        "Gui{\r\nTabControl{\r\n-IdName \"tabs\"\r\n-Position 0 0 400 300\r\n-ShowBackground 0\r\n"
        "-ShowBorder 1\r\n-Font \"big.xml\"\r\nTabPage{\r\n-IdName \"page\"\r\n-Label \"Page\"\r\n}\r\n}\r\n"
        "Scrollbar{\r\n-IdName \"bar\"\r\n-Position 0 0 20 200\r\n-Style \"vertical\"\r\n-Max 30\r\n"
        "-InitPos 99\r\n}\r\nTab{\r\n-IdName \"bare\"\r\n}\r\n}\r\n";
    ASSERT_EQ(LoadText(text), L"");
    gui::IGUIElement* tabs = gui.GetElement(L"tabs", true);
    EXPECT_FALSE(gui.GetTabs().GetControlBackground(tabs));
    EXPECT_TRUE(gui.GetTabs().GetControlBorder(tabs));
    EXPECT_EQ(Tab(L"page")->getBackgroundColor(), Face());
    EXPECT_TRUE(Tab(L"page")->isDrawingBackground());
    auto* bar = static_cast<gui::IGUIScrollBar*>(gui.GetElement(L"bar", true));
    EXPECT_EQ(bar->getPos(), 30);
    EXPECT_EQ(bar->getSmallStep(), 3);
    EXPECT_EQ(bar->getLargeStep(), 6);
    // A free-standing tab without a rectangle fills its parent.
    EXPECT_EQ(Tab(L"bare")->getRelativePosition(), core::rect<s32>(0, 0, 800, 600));

    // Files of 1014 to 1018 must name the tab control's font.
    gui.Clear();
    const std::string noFont = Header(1016) +
                               "Gui{\r\nTabControl{\r\n-IdName \"tabs\"\r\n-Position 0 0 400 300\r\n"
                               "-ShowBackground 0\r\n-ShowBorder 1\r\n}\r\n}\r\n";
    EXPECT_NE(LoadText(noFont), L"");
}

TEST_F(TabsLayoutTest, TabControlsAndScrollBarsRoundTripThroughEveryFormByteForByte)
{
    ASSERT_TRUE(Load(Fixture("tabs_v1019.kvogui")));
    gui.SetTabPageColor(Tab(L"colors"), CColor(0, 0.5f, 0, 1));
    gui.GetTabs().SetActiveTab(gui.GetElement(L"tabs", true), 1);
    ASSERT_TRUE(gui.Save(folder.Wide("first.kvogui"), "UTF8", false, nullptr));
    const std::string first = folder.Read("first.kvogui");
    // Pages are written as the tab control's "Tab" children.
    EXPECT_EQ(first.find("TabPage{"), std::string::npos);
    EXPECT_EQ(first.find("TabColor{"), std::string::npos);
    EXPECT_NE(first.find("Tab{"), std::string::npos);
    EXPECT_EQ(first.find("-TabControl"), std::string::npos);
    EXPECT_NE(first.find("-Style horizontal"), std::string::npos);
    EXPECT_NE(first.find("-UpButtonId volumeDown"), std::string::npos);

    std::string previous = "first.kvogui";
    for (const char* mode : {"BINARY", "COMPRESSED", "UTF8"})
    {
        gui.Clear();
        ASSERT_TRUE(Load(folder.Wide(previous))) << mode;
        previous = std::string("next-") + mode + ".kvogui";
        ASSERT_TRUE(gui.Save(folder.Wide(previous), mode, false, nullptr)) << mode;
    }
    EXPECT_EQ(folder.Read(previous), first);
    gui::IGUIElement* tabs = gui.GetElement(L"tabs", true);
    ASSERT_EQ(gui.GetTabs().GetCount(tabs), 2);
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, 1), Tab(L"colors"));
    EXPECT_EQ(Tab(L"colors")->getBackgroundColor(), video::SColor(255, 0, 128, 0));
    EXPECT_EQ(Tab(L"loose")->getParent(), root());
    auto* volume = static_cast<gui::IGUIScrollBar*>(gui.GetElement(L"volume", true));
    EXPECT_EQ(volume->getLargeStep(), 5);
    EXPECT_EQ(volume->getPos(), 3);
}

// Mutated tab and scroll bar layouts in every form: each load ends, with a
// result or an error, and leaves the manager usable.
TEST_F(TabsLayoutTest, FuzzedTabLayoutsLoadOrFailCleanly)
{
    std::vector<std::string> seeds{GuiTest::Fixture("tabs_v1019.kvogui")};
    ASSERT_TRUE(Load(Fixture("tabs_v1019.kvogui")));
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        ASSERT_TRUE(gui.Save(folder.Wide("seed"), mode, true, nullptr));
        seeds.push_back(folder.Read("seed"));
    }
    gui.Clear();

    // At least 31 mutants whatever the machine's load.
    EXPECT_GT(FuzzLoads(seeds, 20261211, std::chrono::seconds(3), 31, 20), 30u);
    gui.Clear();
    ASSERT_TRUE(Load(Fixture("tabs_v1019.kvogui")));
    EXPECT_EQ(gui.GetTabs().GetCount(gui.GetElement(L"tabs", true)), 2);
}

} // namespace
