// Tab controls, tabs and scroll bars: pages and their colours, the
// settings the library keeps to itself changed without side effects, and
// the events of changes by the user and by scripts.

#include "gui/GuiManagerTestSupport.h"
#include "gui/elements/GuiScrollBarOperations.h"
#include "gui/elements/GuiTabOperations.h"

namespace
{

using namespace irr;

class TabsTest : public CGuiManagerFixture
{
};

TEST_F(TabsTest, PagesTakeTheirColourOrTheSkinsFaceColour)
{
    gui::IGUITabControl* tabs = gui.AddTabControlNamed(L"tabs", CRect(0.1f, 0.1f, 0.9f, 0.9f), true, false);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->getRelativePosition(), core::rect<s32>(80, 60, 720, 540));
    EXPECT_TRUE(gui.GetTabs().GetControlBackground(tabs));
    EXPECT_FALSE(gui.GetTabs().GetControlBorder(tabs));

    gui::IGUITab* red = gui.AddTabPageNamed(tabs, L"red", L"Red", CColor(1, 0, 0, 1), true);
    gui::IGUITab* plain = gui.AddTabPageNamed(tabs, L"plain", L"Plain", CColor(1, 0, 0, 0), false);
    ASSERT_NE(red, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(red->getBackgroundColor(), video::SColor(255, 255, 0, 0));
    EXPECT_EQ(plain->getBackgroundColor(), environment()->getSkin()->getColor(gui::EGDC_3D_FACE));
    EXPECT_TRUE(gui.GetTabs().GetPageBackground(red));
    EXPECT_FALSE(gui.GetTabs().GetPageBackground(plain));
    EXPECT_EQ(gui.GetTabs().GetCount(tabs), 2);
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, 1), plain);
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, 2), nullptr);
    EXPECT_EQ(gui.GetTabs().GetTab(tabs, -1), nullptr);
    EXPECT_EQ(gui.GetElement(L"plain", true), plain);
    const CColor color = gui.GetTabs().GetPageColor(red);
    EXPECT_FLOAT_EQ(color.r, 1.0f);
    EXPECT_FLOAT_EQ(color.g, 0.0f);
    EXPECT_FLOAT_EQ(color.a, 1.0f);

    // A free-standing tab.
    gui::IGUITab* single = gui.AddTabNamed(L"single", CRect(10, 10, 50, 50), true, CColor(0, 0, 1, 0.5f));
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->getParent(), root());
    EXPECT_EQ(single->getBackgroundColor(), video::SColor(128, 0, 0, 255));

    EXPECT_EQ(ErrorOf([&] { gui.AddTabPageNamed(nullptr, L"x", L"", CColor(), true); }),
              L"[CGuiManager::addTabPage] Parent tab control not defined.");
    EXPECT_EQ(ErrorOf([&] { gui.AddTabPageNamed(single, L"x", L"", CColor(), true); }),
              L"[CGuiManager::addTabPage] Parent tab control not defined.");
    EXPECT_FALSE(gui.ElementExists(L"x"));
    EXPECT_EQ(ErrorOf([&] { gui.GetTabs().GetCount(single); }),
              L"[CGuiManager::GetTabCount] Gui element is not a tab control:single");
    EXPECT_EQ(ErrorOf([&] { gui.GetTabs().GetPageColor(tabs); }),
              L"[CGuiManager::GetTabPageColor] Gui element is not a tab:tabs");
}

TEST_F(TabsTest, ChangingTheActiveTabPublishesTheTabEventOnlyWhenItChanges)
{
    gui::IGUITabControl* tabs = gui.AddTabControlNamed(L"tabs", CRect(0, 0, 400, 300), true, true);
    gui.AddTabPageNamed(tabs, L"first", L"First", CColor(), true);
    gui.AddTabPageNamed(tabs, L"second", L"Second", CColor(), true);
    CGuiRecorder recorder;
    EXPECT_EQ(gui.GetTabs().GetActiveTab(tabs), 0);
    gui.GetTabs().SetActiveTab(tabs, 1);
    gui.GetTabs().SetActiveTab(tabs, 1);
    gui.GetTabs().SetActiveTab(tabs, 2);
    gui.GetTabs().SetActiveTab(tabs, -1);
    EXPECT_EQ(gui.GetTabs().GetActiveTab(tabs), 1);
    EXPECT_EQ(recorder.Of({17}), (std::vector<SGuiRecord>{{L"tabs", 17}}));

    // The border and the background change without announcing a tab
    // change, and the active tab stays.
    gui.GetTabs().SetControlBorder(tabs, false);
    gui.GetTabs().SetControlBackground(tabs, false);
    EXPECT_FALSE(gui.GetTabs().GetControlBorder(tabs));
    EXPECT_FALSE(gui.GetTabs().GetControlBackground(tabs));
    EXPECT_EQ(gui.GetTabs().GetActiveTab(tabs), 1);
    EXPECT_EQ(recorder.Of({17}).size(), 1u);
    EXPECT_EQ(tabs->getRelativePosition(), core::rect<s32>(0, 0, 400, 300));

    // The user's click on the first tab's button is announced as before.
    Click(10, 5);
    EXPECT_EQ(gui.GetTabs().GetActiveTab(tabs), 0);
    EXPECT_EQ(recorder.Of({17}), (std::vector<SGuiRecord>{{L"tabs", 17}, {L"tabs", 17}}));
}

TEST_F(TabsTest, ScrollBarStepsAreFractionsOfTheMaximumAtLeastOne)
{
    CGuiRecorder recorder;
    gui::IGUIScrollBar* bar =
        gui.AddScrollBarNamed(L"bar", true, CRect(0.1f, 0.1f, 0.5f, 0.15f), 100, 30, L"barUp", L"barDown");
    ASSERT_NE(bar, nullptr);
    // Creating it publishes one event for its position.
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"bar", 6}}));
    EXPECT_EQ(bar->getMax(), 100);
    EXPECT_EQ(bar->getPos(), 30);
    EXPECT_EQ(bar->getSmallStep(), 10);
    EXPECT_EQ(bar->getLargeStep(), 20);
    const s32 id = bar->getID();
    EXPECT_EQ(gui.GetScrollBars().GetUpButtonId(bar), gui.GetElementId(L"barUp", true));
    EXPECT_EQ(gui.GetScrollBars().GetDownButtonId(bar), gui.GetElementId(L"barDown", true));
    EXPECT_EQ(gui.GetScrollBars().GetUpButtonId(nullptr), -1);
    // The preferred ids follow the bar's when they are free.
    if (id < INT32_MAX - 2)
    {
        EXPECT_EQ(gui.GetScrollBars().GetUpButtonId(bar), id + 1);
        EXPECT_EQ(gui.GetScrollBars().GetDownButtonId(bar), id + 2);
    }

    struct SCase
    {
        uint32_t maximum;
        float smallFraction;
        float largeFraction;
        s32 smallStep;
        s32 largeStep;
    };
    const float nan = std::nanf("");
    const SCase cases[] = {
        {5, 0.1f, 0.2f, 1, 1},
        {100, 0.0f, 5.0f, 10, 100},
        {3, 0.0f, 0.0f, 1, 1},
        {100, -1.0f, 0.5f, 10, 50},
        {1000, nan, nan, 100, 200},
        {0, 0.5f, 0.5f, 1, 1},
        {4000000000u, 1.0f, 0.0001f, INT32_MAX, 214748},
    };
    for (const SCase& entry : cases)
    {
        gui.SetScrollBarLimit(bar, entry.maximum, entry.smallFraction, entry.largeFraction);
        EXPECT_EQ(bar->getSmallStep(), entry.smallStep) << entry.maximum;
        EXPECT_EQ(bar->getLargeStep(), entry.largeStep) << entry.maximum;
    }
    EXPECT_EQ(bar->getMax(), INT32_MAX);
    gui.SetScrollBarLimit(bar, 0, 0.5f, 0.5f);
    EXPECT_EQ(gui.GetScrollBars().GetSmallStep(bar), 0.0f);
    gui.SetScrollBarLimit(bar, 200, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(gui.GetScrollBars().GetSmallStep(bar), 0.25f);
    EXPECT_FLOAT_EQ(gui.GetScrollBars().GetLargeStep(bar), 0.5f);

    // Setting the position publishes the user's event, within the range.
    recorder.records.clear();
    gui.SetScrollBarPos(bar, 500);
    EXPECT_EQ(gui.GetScrollBars().GetPosition(bar), 200);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"bar", 6}}));

    // The orientation turns without losing the range or the position.
    EXPECT_TRUE(gui.GetScrollBars().IsHorizontal(bar));
    gui.GetScrollBars().SetHorizontal(bar, false);
    EXPECT_FALSE(gui.GetScrollBars().IsHorizontal(bar));
    EXPECT_EQ(gui.GetScrollBars().GetMaximum(bar), 200);
    EXPECT_EQ(gui.GetScrollBars().GetPosition(bar), 200);
    EXPECT_EQ(gui.GetScrollBars().GetUpButtonId(bar), gui.GetElementId(L"barUp", true));
    EXPECT_EQ(recorder.records.size(), 1u);

    EXPECT_EQ(ErrorOf([&] { gui.GetScrollBars().GetPosition(root()); }),
              L"[CGuiManager::GetScrollBarPos] Gui element is not a scroll bar:");
}

TEST_F(TabsTest, ClickingAScrollBarsButtonPublishesTheScrollBarEvent)
{
    gui::IGUIScrollBar* bar = gui.AddScrollBarNamed(L"bar", true, CRect(0, 0, 200, 20), 10, 0, L"", L"");
    ASSERT_NE(bar, nullptr);
    CGuiRecorder recorder;
    // The right-hand button steps up.
    Click(195, 10);
    EXPECT_EQ(bar->getPos(), 1);
    EXPECT_EQ(recorder.Of({6}), (std::vector<SGuiRecord>{{L"bar", 6}}));
}

} // namespace
