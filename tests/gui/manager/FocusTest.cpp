// The GUI focus: focus lost and focused, in that order and once each, and
// handlers that refuse the change or remove elements meanwhile.

#include "gui/GuiManagerTestSupport.h"

namespace
{

using namespace irr;

class FocusTest : public CGuiManagerFixture
{
protected:
    void SetUp() override
    {
        CGuiManagerFixture::SetUp();
        first = environment()->addEditBox(L"", core::rect<s32>(0, 0, 100, 20), true, nullptr,
                                          gui.RegisterElementName(L"first", 0));
        second = environment()->addEditBox(L"", core::rect<s32>(0, 30, 100, 50), true, nullptr,
                                           gui.RegisterElementName(L"second", 0));
    }

    gui::IGUIElement* first = nullptr;
    gui::IGUIElement* second = nullptr;
};

TEST_F(FocusTest, MovingTheFocusPublishesFocusLostThenFocusedOnceEach)
{
    CGuiRecorder recorder;
    EXPECT_FALSE(gui.SetFocus(first));
    EXPECT_EQ(gui.GetFocus(), first);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"first", 1}}));

    recorder.records.clear();
    EXPECT_FALSE(gui.SetFocus(second));
    EXPECT_EQ(gui.GetFocus(), second);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"first", 0}, {L"second", 1}}));

    recorder.records.clear();
    EXPECT_FALSE(gui.SetFocus(nullptr));
    EXPECT_EQ(gui.GetFocus(), nullptr);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"second", 0}, {L"", 1}}));

    // Nothing has the focus: only the focused event, with no name. The
    // root stands for no focus.
    recorder.records.clear();
    EXPECT_FALSE(gui.SetFocus(nullptr));
    EXPECT_FALSE(gui.SetFocus(root()));
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"", 1}, {L"", 1}}));

    // Focus changes of the user's own still reach subscribers.
    recorder.records.clear();
    Click(50, 40);
    EXPECT_EQ(recorder.Of({0, 1}), (std::vector<SGuiRecord>{{L"second", 1}}));
}

TEST_F(FocusTest, AHandledFocusLostKeepsTheFocus)
{
    gui.SetFocus(first);
    CGuiRecorder keep([](const CGuiEvent& event) { return event.type == 0; });
    EXPECT_TRUE(gui.SetFocus(second));
    EXPECT_EQ(gui.GetFocus(), first);
    EXPECT_EQ(keep.records, (std::vector<SGuiRecord>{{L"first", 0}}));
    EXPECT_TRUE(gui.SetFocus(nullptr));
    EXPECT_EQ(gui.GetFocus(), first);
}

TEST_F(FocusTest, TheResultIsWhetherTheFocusedEventWasHandled)
{
    CGuiRecorder handled([](const CGuiEvent& event) { return event.type == 1; });
    EXPECT_TRUE(gui.SetFocus(second));
    EXPECT_EQ(gui.GetFocus(), second) << "a handled focused event does not undo the move";
}

TEST_F(FocusTest, AFocusLostHandlerThatRemovesTheTargetLeavesNoFocusOnIt)
{
    gui.SetFocus(first);
    CGuiRecorder remover(
        [&](const CGuiEvent& event)
        {
            if (event.type == 0 && gui.ElementExists(L"second"))
                gui.Remove(L"second");
            return false;
        });
    EXPECT_FALSE(gui.SetFocus(second));
    EXPECT_EQ(gui.GetFocus(), first);
    EXPECT_FALSE(gui.ElementExists(L"second"));
}

TEST_F(FocusTest, StopTakesTheFocusWithItsEvents)
{
    gui.SetFocus(first);
    gui.Start();
    CGuiRecorder recorder;
    gui.Stop();
    EXPECT_EQ(gui.GetFocus(), nullptr);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"first", 0}, {L"", 1}}));

    // With nothing focused, a stop publishes nothing.
    gui.Start();
    recorder.records.clear();
    gui.Stop();
    EXPECT_TRUE(recorder.records.empty());
}

TEST_F(FocusTest, WithoutAnEnvironmentThereIsNoFocus)
{
    gui.DetachDevice();
    EXPECT_EQ(gui.GetFocus(), nullptr);
    EXPECT_FALSE(gui.SetFocus(nullptr));
}

} // namespace
