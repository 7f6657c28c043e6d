// Removal: the closed event before each element goes, handlers that keep an
// element, and handlers that remove elements while a removal runs.

#include "gui/GuiManagerTestSupport.h"

namespace
{

using namespace irr;
using Graphics::GUI::CGuiManager;

class GuiManagerRemovalTest : public CGuiManagerFixture
{
protected:
    // window > (left > leaf, right)
    void BuildTree()
    {
        window = AddNamed(L"window", core::rect<s32>(0, 0, 300, 300));
        left = AddNamed(L"left", core::rect<s32>(0, 0, 100, 100), window);
        leaf = AddNamed(L"leaf", core::rect<s32>(0, 0, 10, 10), left);
        right = AddNamed(L"right", core::rect<s32>(100, 0, 200, 100), window);
    }

    gui::IGUIElement* window = nullptr;
    gui::IGUIElement* left = nullptr;
    gui::IGUIElement* leaf = nullptr;
    gui::IGUIElement* right = nullptr;
};

TEST_F(GuiManagerRemovalTest, EachElementPublishesItsClosedEventBeforeItGoes)
{
    BuildTree();
    gui.AddShortcut(70, false, false, L"leaf", 5, false);
    gui.AddShortcut(71, false, false, L"other", 5, false);
    CGuiRecorder recorder;
    gui.Remove(L"window");
    EXPECT_EQ(recorder.Of({4}),
              (std::vector<SGuiRecord>{{L"window", 4}, {L"left", 4}, {L"leaf", 4}, {L"right", 4}}));
    EXPECT_TRUE(root()->getChildren().empty());
    for (const wchar_t* name : {L"window", L"left", L"leaf", L"right"})
        EXPECT_FALSE(gui.ElementExists(name)) << name;
    EXPECT_EQ(gui.FindShortcut({70, false, false, false}), nullptr);
    EXPECT_NE(gui.FindShortcut({71, false, false, false}), nullptr);

    EXPECT_EQ(ErrorOf([&] { gui.Remove(L"window"); }),
              L"[CGuiManager::Remove] Cannot find gui element:window");
    // The root stays whatever is asked.
    gui.RemoveElement(root(), true);
    gui.Remove(L"");
    EXPECT_EQ(gui.GetGuiParent(), root());
}

TEST_F(GuiManagerRemovalTest, AHandledClosedEventKeepsTheElementAndItsChildren)
{
    BuildTree();
    CGuiRecorder keepLeft([](const CGuiEvent& event)
                          { return event.type == 4 && event.elementName == L"left"; });
    gui.Remove(L"left");
    EXPECT_EQ(keepLeft.records.size(), 1u) << "the children are not asked";
    EXPECT_EQ(gui.GetElement(L"leaf", true), leaf);

    // Removing the window: left is kept below it, and with it leaf.
    window->grab();
    gui.Remove(L"window");
    EXPECT_EQ(left->getParent(), window);
    EXPECT_EQ(leaf->getParent(), left);
    EXPECT_EQ(window->getParent(), nullptr) << "the window itself went";
    EXPECT_FALSE(gui.ElementExists(L"right"));
    window->drop();
}

TEST_F(GuiManagerRemovalTest, AHandlerMayRemoveTheElementWhoseRemovalItHears)
{
    BuildTree();
    int calls = 0;
    CGuiRecorder recorder(
        [&](const CGuiEvent& event)
        {
            ++calls;
            // Each closed event removes the element again, and the window too.
            if (event.type == 4 && gui.ElementExists(event.elementName))
                gui.Remove(event.elementName);
            if (event.type == 4 && gui.ElementExists(L"window"))
                gui.Remove(L"window");
            return false;
        });
    gui.Remove(L"left");
    EXPECT_EQ(recorder.Of({4}),
              (std::vector<SGuiRecord>{{L"left", 4}, {L"window", 4}, {L"right", 4}, {L"leaf", 4}}));
    EXPECT_TRUE(root()->getChildren().empty());
    EXPECT_LT(calls, 10);
}

TEST_F(GuiManagerRemovalTest, AHandlerMayRemoveSiblingsAndCreateElementsWhileChildrenGo)
{
    BuildTree();
    gui::IGUIElement* created = nullptr;
    CGuiRecorder recorder(
        [&](const CGuiEvent& event)
        {
            if (event.type != 4)
                return false;
            if (event.elementName == L"left" && gui.ElementExists(L"right"))
                gui.Remove(L"right");
            if (event.elementName == L"leaf" && created == nullptr)
                created = AddNamed(L"created", core::rect<s32>(0, 0, 5, 5), window);
            return false;
        });
    gui.RemoveChildren(window);
    // right went while left was heard of, and was not removed twice; the
    // element made meanwhile stays.
    EXPECT_EQ(recorder.Of({4}), (std::vector<SGuiRecord>{{L"left", 4}, {L"right", 4}, {L"leaf", 4}}));
    ASSERT_NE(created, nullptr);
    ASSERT_EQ(window->getChildren().size(), 1u);
    EXPECT_EQ(*window->getChildren().begin(), created);
    EXPECT_EQ(gui.GetElement(L"created", true), created);
}

TEST_F(GuiManagerRemovalTest, RemovingTheFocusedElementTakesTheFocusAndOnlyThen)
{
    BuildTree();
    ASSERT_FALSE(gui.SetFocus(leaf));
    gui.Remove(L"right");
    EXPECT_EQ(environment()->getFocus(), leaf);

    CGuiRecorder recorder;
    gui.Remove(L"left");
    EXPECT_EQ(environment()->getFocus(), nullptr);
    EXPECT_EQ(recorder.records, (std::vector<SGuiRecord>{{L"left", 4}, {L"leaf", 4}, {L"leaf", 0}}));

    // A focused sub-element goes with its element.
    gui::IGUIWindow* dialog = environment()->addWindow(core::rect<s32>(0, 0, 100, 100), false, L"", nullptr,
                                                       gui.RegisterElementName(L"dialog", 0));
    environment()->setFocus(dialog->getCloseButton());
    gui.Remove(L"dialog");
    EXPECT_EQ(environment()->getFocus(), nullptr);
}

TEST_F(GuiManagerRemovalTest, ClearEmptiesEverythingAndRestartsTabOrders)
{
    BuildTree();
    gui.SetElementTabOrder(left, -1);
    gui.SetElementTabOrder(right, -5);
    EXPECT_EQ(gui.GetElementTabOrder(left), 1);
    EXPECT_EQ(gui.GetElementTabOrder(right), 2);
    gui.SetElementTabOrder(right, 7);
    EXPECT_EQ(gui.GetElementTabOrder(right), 7);
    gui.Clear();
    EXPECT_TRUE(root()->getChildren().empty());
    EXPECT_FALSE(gui.ElementExists(L"window"));
    gui::IGUIElement* again = AddNamed(L"again", core::rect<s32>(0, 0, 10, 10));
    gui.SetElementTabOrder(again, -1);
    EXPECT_EQ(gui.GetElementTabOrder(again), 1);
}

} // namespace
