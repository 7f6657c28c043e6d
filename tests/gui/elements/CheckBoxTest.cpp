// Check boxes: built from screen fractions, toggled by the user's clicks,
// set from scripts with their event.

#include "gui/GuiManagerTestSupport.h"
#include "gui/elements/GuiElementProperties.h"

namespace
{

using namespace irr;

class CheckBoxTest : public CGuiManagerFixture
{
};

TEST_F(CheckBoxTest, ClicksToggleTheStateAndPublishTheCheckBoxEvent)
{
    gui::IGUICheckBox* box = gui.AddCheckBoxNamed(L"sound", L"Sound on", true, CRect(0.1f, 0.1f, 0.3f, 0.2f));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getRelativePosition(), core::rect<s32>(80, 60, 240, 120));
    EXPECT_EQ(box->getParent(), root());
    EXPECT_EQ(gui.GetElement(L"sound", true), box);
    EXPECT_EQ(gui.GetElementText(box), L"Sound on");
    EXPECT_EQ(gui.GetElementType(box), 1);
    EXPECT_TRUE(gui.GetElementProperties().IsCheckBoxChecked(box));

    CGuiRecorder recorder;
    Click(100, 80);
    EXPECT_FALSE(gui.GetElementProperties().IsCheckBoxChecked(box));
    EXPECT_EQ(recorder.Of({7}), (std::vector<SGuiRecord>{{L"sound", 7}}));
    Click(100, 80);
    EXPECT_TRUE(gui.GetElementProperties().IsCheckBoxChecked(box));
    EXPECT_EQ(recorder.Of({7}).size(), 2u);
    // A click that is let go outside the box changes nothing.
    gui.SetFocus(nullptr);
    PostMouse(EMIE_LMOUSE_PRESSED_DOWN, 100, 80);
    PostMouse(EMIE_LMOUSE_LEFT_UP, 400, 400);
    EXPECT_TRUE(gui.GetElementProperties().IsCheckBoxChecked(box));
    EXPECT_EQ(recorder.Of({7}).size(), 2u);
}

TEST_F(CheckBoxTest, SettingTheStatePublishesTheEventEvenWhenItStays)
{
    gui::IGUICheckBox* box = gui.AddCheckBoxNamed(L"box", L"", false, CRect(0, 0, 20, 20));
    CGuiRecorder recorder([](const CGuiEvent&) { return true; });
    gui.SetCheckBoxChecked(box, true);
    gui.SetCheckBoxChecked(box, true);
    EXPECT_TRUE(gui.GetElementProperties().IsCheckBoxChecked(box));
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"box", 7}, {L"box", 7}}));
}

TEST_F(CheckBoxTest, OtherElementsAreNoCheckBoxes)
{
    gui::IGUIElement* text = AddNamed(L"text", core::rect<s32>(0, 0, 10, 10));
    EXPECT_EQ(ErrorOf([&] { gui.SetCheckBoxChecked(text, true); }),
              L"[CGuiManager::SetCheckBoxChecked] Gui element is not a check box:text");
    EXPECT_EQ(ErrorOf([&] { gui.GetElementProperties().IsCheckBoxChecked(nullptr); }),
              L"[CGuiManager::IsCheckBoxChecked] Gui element is not a check box:");
    EXPECT_EQ(ErrorOf([&] { gui.GetOpenDialogFileName(text->getID()); }),
              L"[CGuiManager::GetOpenDialogFileName] Gui element is not a file open dialog:text");
}

TEST_F(CheckBoxTest, NothingIsCreatedWithoutAnEnvironment)
{
    gui.DetachDevice();
    EXPECT_EQ(gui.AddCheckBoxNamed(L"box", L"", false, CRect(0, 0, 20, 20)), nullptr);
    EXPECT_EQ(gui.AddCheckBox(5, L"", false, CRect(0, 0, 20, 20)), nullptr);
    EXPECT_EQ(gui.GetElementId(L"box", false), 0);
}

} // namespace
