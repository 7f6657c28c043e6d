// Element names and ids: registration and the name conflict event, id
// allocation, lookup by name, id and point, names that go stale when
// elements close themselves, the GUI parent and the element walk.

#include "gui/GuiManagerTestSupport.h"

#include "gui/manager/GuiElementVisitor.h"

#include <climits>
#include <cstdlib>

namespace
{

using namespace irr;
using Graphics::GUI::CGuiManager;

class GuiManagerNamesTest : public CGuiManagerFixture
{
};

TEST_F(GuiManagerNamesTest, RegisteredNamesResolveToTheirElements)
{
    gui::IGUIElement* first = AddNamed(L"first", core::rect<s32>(0, 0, 10, 10));
    gui::IGUIElement* second = AddNamed(L"second", core::rect<s32>(0, 0, 10, 10), first);
    EXPECT_NE(first->getID(), second->getID());
    EXPECT_NE(first->getID(), 0) << "0 is the GUI parent's";

    EXPECT_EQ(gui.GetElement(L"first", true), first);
    EXPECT_EQ(gui.GetElement(L"second", true), second);
    EXPECT_EQ(gui.GetElement(second->getID(), true), second);
    EXPECT_EQ(gui.GetElementId(L"second", true), second->getID());
    EXPECT_EQ(gui.GetElementName(first->getID(), true), L"first");
    EXPECT_TRUE(gui.ElementExists(L"second"));
    EXPECT_TRUE(gui.ElementIdExists(first->getID()));
    // The empty name is the GUI parent, the root unless set otherwise.
    EXPECT_EQ(gui.GetElement(L"", true), root());
    EXPECT_EQ(gui.GetElement(0, true), root());

    EXPECT_EQ(gui.GetElement(L"third", false), nullptr);
    EXPECT_FALSE(gui.ElementExists(L"third"));
    EXPECT_EQ(gui.GetElementId(L"third", false), 0);
    EXPECT_EQ(ErrorOf([&] { gui.GetElement(L"third", true); }),
              L"[CGuiManager::GetElement] Cannot find gui element:third");
    EXPECT_EQ(ErrorOf([&] { gui.GetElement(-77, true); }),
              L"[CGuiManager::GetElement] Cannot find gui element:-77");
    EXPECT_EQ(ErrorOf([&] { gui.GetElementId(L"third", true); }),
              L"[CGuiManager::GetElementId] Gui element not found: third");
}

TEST_F(GuiManagerNamesTest, ANameInUsePublishesTheConflictAndMovesToTheNewElementWhenNobodyTakesIt)
{
    CGuiRecorder recorder;
    gui::IGUIElement* older = AddNamed(L"twin", core::rect<s32>(0, 0, 10, 10));
    EXPECT_TRUE(recorder.records.empty());
    gui::IGUIElement* newer = AddNamed(L"twin", core::rect<s32>(0, 0, 10, 10));

    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(recorder.records[0].type, kGuiIdConflict);
    const std::wstring& candidate = recorder.records[0].name;
    ASSERT_EQ(candidate.size(), std::wstring(L"twin::").size() + 36) << "name, \"::\" and a UUID";
    EXPECT_EQ(candidate.substr(0, 6), L"twin::");

    // Unhandled: both exist, the name is the newer element's, and the older
    // keeps its id's name.
    EXPECT_EQ(gui.GetElement(L"twin", true), newer);
    EXPECT_EQ(gui.GetElementName(older->getID(), false), L"twin");
    // Removing the older one leaves the newer one its name.
    gui.RemoveElement(older, true);
    EXPECT_EQ(gui.GetElement(L"twin", true), newer);
    // Removing the newer one leaves nothing under the name.
    gui.RemoveElement(newer, true);
    EXPECT_FALSE(gui.ElementExists(L"twin"));
}

TEST_F(GuiManagerNamesTest, AHandledConflictGivesTheNewElementTheNameTheEventCarries)
{
    gui::IGUIElement* older = AddNamed(L"twin", core::rect<s32>(0, 0, 10, 10));
    CGuiRecorder recorder([](const CGuiEvent& event) { return event.type == kGuiIdConflict; });
    gui::IGUIElement* newer = AddNamed(L"twin", core::rect<s32>(0, 0, 10, 10));
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(gui.GetElement(recorder.records[0].name, true), newer);
    EXPECT_EQ(gui.GetElement(L"twin", true), older);

    // With GUI events off nobody hears of it, and the name moves.
    Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Enable(false);
    gui::IGUIElement* third = AddNamed(L"twin", core::rect<s32>(0, 0, 10, 10));
    Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Enable(true);
    EXPECT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(gui.GetElement(L"twin", true), third);
}

TEST_F(GuiManagerNamesTest, IdsAreTheFirstFreeFromTheRequestedOneAndNeverTheLargest)
{
    environment()->addStaticText(L"", core::rect<s32>(0, 0, 1, 1), false, true, nullptr, 500);
    environment()->addStaticText(L"", core::rect<s32>(0, 0, 1, 1), false, true, nullptr, 501);
    EXPECT_EQ(gui.GetNextAvailableId(499), 499);
    EXPECT_EQ(gui.GetNextAvailableId(500), 502);
    EXPECT_EQ(gui.RegisterElementName(L"taken", 501), 502);

    // 2147483647 is never handed out: the search wraps to the lowest id.
    EXPECT_EQ(gui.GetNextAvailableId(INT32_MAX), INT32_MIN);
    EXPECT_EQ(gui.GetNextAvailableId(INT32_MAX - 1), INT32_MAX - 1);
    environment()->addStaticText(L"", core::rect<s32>(0, 0, 1, 1), false, true, nullptr, INT32_MAX - 1);
    environment()->addStaticText(L"", core::rect<s32>(0, 0, 1, 1), false, true, nullptr, INT32_MIN);
    EXPECT_EQ(gui.GetNextAvailableId(INT32_MAX - 1), INT32_MIN + 1);

    // 0 asks for a start from the pseudo-random generator; 0 itself is the
    // root's.
    std::srand(0);
    const int32_t expected = std::rand();
    std::srand(0);
    EXPECT_EQ(gui.GetNextAvailableId(0), expected == 0 ? 1 : expected);
}

TEST_F(GuiManagerNamesTest, MenuItemIdsResolveToTheirMenuOrSubMenu)
{
    gui::IGUIContextMenu* menu = environment()->addContextMenu(core::rect<s32>(0, 0, 100, 100), nullptr, 40);
    menu->addItem(L"plain", 41);
    menu->addItem(L"more", 42, true, true);
    gui::IGUIContextMenu* subMenu = menu->getSubMenu(1);
    ASSERT_NE(subMenu, nullptr);
    subMenu->addItem(L"deep", 43);
    gui.SetElementName(L"plain", 41);
    gui.SetElementName(L"more", 42);
    gui.SetElementName(L"deep", 43);

    EXPECT_EQ(gui.GetElement(41, true), menu);
    EXPECT_EQ(gui.GetElement(42, true), subMenu);
    EXPECT_EQ(gui.GetElement(L"deep", true), subMenu);

    // Removing an item by its name takes it out of its menu.
    gui.Remove(L"deep");
    EXPECT_EQ(subMenu->getItemCount(), 0u);
    gui.Remove(L"plain");
    ASSERT_EQ(menu->getItemCount(), 1u);
    EXPECT_EQ(menu->getItemCommandId(0), 42);
    EXPECT_FALSE(gui.ElementExists(L"plain"));
    EXPECT_EQ(gui.GetElement(40, false), menu);
}

TEST_F(GuiManagerNamesTest, TheNameOfAMessageBoxThatClosedItselfIsNotFoundOnAnElementThatGotItsId)
{
    // The user answers: the box publishes its event and removes itself.
    CGuiRecorder recorder;
    const int32_t id = gui.AddMessageBoxOk(L"text", L"caption", L"question", true);
    gui::IGUIElement* box = gui.GetElement(L"question", true);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(gui.AddMessageBoxOk(L"text", L"caption", L"question", true), id) << "single: the same box";
    gui::IGUIElement* ok = nullptr;
    const std::wstring okText = environment()->getSkin()->getDefaultText(gui::EGDT_MSG_BOX_OK);
    for (gui::IGUIElement* child : box->getChildren())
    {
        if (child->getType() == gui::EGUIET_BUTTON && child->getText() == okText)
            ok = child;
    }
    ASSERT_NE(ok, nullptr);
    const core::position2di centre = ok->getAbsolutePosition().getCenter();
    Click(centre.X, centre.Y);
    simulation.graphics.Step();
    EXPECT_EQ(recorder.Of({14}), (std::vector<SGuiRecord>{{L"question", 14}}));
    EXPECT_EQ(gui.GetElement(L"question", false), nullptr);

    // Its id is free again and goes to a new element.
    gui::IGUIElement* reuse = environment()->addStaticText(L"", core::rect<s32>(0, 0, 5, 5), false, true,
                                                           nullptr, gui.RegisterElementName(L"reuse", id));
    ASSERT_EQ(reuse->getID(), id);
    EXPECT_EQ(gui.GetElement(L"reuse", true), reuse);
    EXPECT_EQ(gui.GetElement(L"question", false), nullptr);
    EXPECT_FALSE(gui.ElementExists(L"question"));
    EXPECT_EQ(gui.GetElementId(L"question", false), 0);
    // A new box under the old name is created, not mistaken for the reuse.
    const int32_t again = gui.AddMessageBoxOk(L"text", L"caption", L"question", true);
    EXPECT_NE(again, id);
    EXPECT_EQ(gui.GetElement(L"question", true)->getType(), gui::EGUIET_MESSAGE_BOX);
}

TEST_F(GuiManagerNamesTest, ChangeElementIdRenamesAndTakesTheShortcuts)
{
    gui::IGUIElement* element = AddNamed(L"old", core::rect<s32>(0, 0, 10, 10));
    gui.AddShortcut(65, false, false, L"old", 5, false);
    gui.ChangeElementId(element, L"new");
    EXPECT_EQ(gui.GetElement(L"new", true), element);
    EXPECT_FALSE(gui.ElementExists(L"old"));
    ASSERT_NE(gui.FindShortcut({65, false, false, false}), nullptr);
    EXPECT_EQ(gui.FindShortcut({65, false, false, false})->elementName, L"new");
    EXPECT_EQ(ErrorOf([&] { gui.ChangeElementId(nullptr, L"x"); }),
              L"[CGuiManager::ChangeElementId] Input GUI element not defined.");
}

TEST_F(GuiManagerNamesTest, TheGuiParentTakesNewElementsAndFallsBackToTheRoot)
{
    gui::IGUIElement* window = AddNamed(L"window", core::rect<s32>(100, 100, 300, 300));
    gui.SetGuiParent(window);
    EXPECT_EQ(gui.GetElement(L"", true), window);
    gui::IGUIElement* inside = AddNamed(L"inside", core::rect<s32>(0, 0, 10, 10));
    EXPECT_EQ(inside->getParent(), window);
    gui.SetGuiParent(nullptr);
    EXPECT_EQ(gui.GetGuiParent(), root());

    // Removing the GUI parent makes the root the GUI parent again.
    gui.SetGuiParent(window);
    gui.Remove(L"window");
    EXPECT_EQ(gui.GetGuiParent(), root());
    EXPECT_EQ(AddNamed(L"later", core::rect<s32>(0, 0, 10, 10))->getParent(), root());
}

TEST_F(GuiManagerNamesTest, ThePointFindsTheTopMostVisibleElement)
{
    gui::IGUIElement* lower = AddNamed(L"lower", core::rect<s32>(0, 0, 200, 200));
    gui::IGUIElement* child = AddNamed(L"child", core::rect<s32>(10, 10, 50, 50), lower);
    gui::IGUIElement* upper = AddNamed(L"upper", core::rect<s32>(100, 100, 300, 300));

    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(20, 20)), child);
    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(60.9f, 60.9f)), lower);
    // The later sibling is drawn over the earlier one.
    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(150, 150)), upper);
    gui.BringToFront(lower->getID());
    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(150, 150)), lower);
    upper->setVisible(false);
    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(250, 250)), root());
    // Below a start element only; the start itself counts.
    EXPECT_EQ(gui.GetElementAtPoint(lower, CPoint(150, 150)), lower);
    EXPECT_EQ(gui.GetElementAtPoint(lower, CPoint(250, 250)), nullptr);

    // An open context menu is found first.
    gui::IGUIContextMenu* menu = environment()->addContextMenu(core::rect<s32>(0, 0, 40, 40), nullptr, 9);
    menu->addItem(L"item", 10);
    gui.BringToFront(lower->getID());
    const core::position2di inMenu = menu->getAbsolutePosition().UpperLeftCorner + core::position2di(2, 2);
    EXPECT_EQ(gui.GetElementAtPoint(nullptr, CPoint(float(inMenu.X), float(inMenu.Y))), menu);
}

// Notes the names of the visited elements; answers true at one of them.
class CNameVisitor : public Graphics::GUI::CGuiElementVisitor
{
public:
    CNameVisitor(CGuiManager& gui, std::wstring stopAt) : m_gui(gui), m_stopAt(std::move(stopAt)) {}

    bool IsHidden(gui::IGUIElement* element) override
    {
        return m_gui.GetElementName(element->getID(), false) == L"hidden";
    }

    bool Visit(gui::IGUIElement* element) override
    {
        const std::wstring name = m_gui.GetElementName(element->getID(), false);
        names.push_back(name);
        if (action)
            action(element);
        return name == m_stopAt;
    }

    std::vector<std::wstring> names;
    std::function<void(gui::IGUIElement*)> action;

private:
    CGuiManager& m_gui;
    std::wstring m_stopAt;
};

TEST_F(GuiManagerNamesTest, TheWalkVisitsParentsBeforeChildrenAndATrueVisitEndsItsLevel)
{
    gui::IGUIElement* a = AddNamed(L"a", core::rect<s32>(0, 0, 10, 10));
    gui::IGUIElement* a1 = AddNamed(L"a1", core::rect<s32>(0, 0, 10, 10), a);
    AddNamed(L"a1x", core::rect<s32>(0, 0, 10, 10), a1);
    AddNamed(L"a2", core::rect<s32>(0, 0, 10, 10), a);
    // A hidden element is passed by with its children; its siblings are not.
    gui::IGUIElement* hidden = AddNamed(L"hidden", core::rect<s32>(0, 0, 10, 10));
    AddNamed(L"below hidden", core::rect<s32>(0, 0, 10, 10), hidden);
    AddNamed(L"b", core::rect<s32>(0, 0, 10, 10));
    // A window's title-bar buttons are sub-elements: neither visited nor
    // walked into.
    environment()->addWindow(core::rect<s32>(0, 0, 100, 100), false, L"w", nullptr,
                             gui.RegisterElementName(L"w", 0));

    CNameVisitor all(gui, L"");
    gui.ForEachElement(all, nullptr);
    EXPECT_EQ(all.names, (std::vector<std::wstring>{L"a", L"a1", L"a1x", L"a2", L"b", L"w"}));

    // True at a1: a1's children and its remaining siblings are skipped; the
    // level above goes on.
    CNameVisitor stop(gui, L"a1");
    gui.ForEachElement(stop, nullptr);
    EXPECT_EQ(stop.names, (std::vector<std::wstring>{L"a", L"a1", L"b", L"w"}));

    std::vector<gui::IGUIElement*> children;
    gui.CollectChildren(a, children);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0], a1);
    children.clear();
    gui.CollectChildren(gui.GetElement(L"w", true), children);
    EXPECT_TRUE(children.empty());
}

TEST_F(GuiManagerNamesTest, AVisitorMayRemoveElementsWhileTheWalkGoesOn)
{
    AddNamed(L"a", core::rect<s32>(0, 0, 10, 10));
    gui::IGUIElement* b = AddNamed(L"b", core::rect<s32>(0, 0, 10, 10));
    AddNamed(L"b1", core::rect<s32>(0, 0, 10, 10), b);
    AddNamed(L"c", core::rect<s32>(0, 0, 10, 10));

    CNameVisitor visitor(gui, L"");
    visitor.action = [&](gui::IGUIElement* element)
    {
        // At a, b goes (with its child); at c, c itself goes.
        const std::wstring name = gui.GetElementName(element->getID(), false);
        if (name == L"a")
            gui.Remove(L"b");
        if (name == L"c")
            gui.RemoveElement(element, true);
    };
    gui.ForEachElement(visitor, nullptr);
    EXPECT_EQ(visitor.names, (std::vector<std::wstring>{L"a", L"c"}));
    EXPECT_EQ(root()->getChildren().size(), 1u);
}

TEST_F(GuiManagerNamesTest, TheTabGroupOwnerIsTheNearestTabGroupAbove)
{
    gui::IGUIElement* group = AddNamed(L"group", core::rect<s32>(0, 0, 10, 10));
    gui::IGUIElement* middle = AddNamed(L"middle", core::rect<s32>(0, 0, 10, 10), group);
    gui::IGUIElement* leaf = AddNamed(L"leaf", core::rect<s32>(0, 0, 10, 10), middle);
    EXPECT_EQ(gui.GetTabGroupOwner(leaf), nullptr);
    gui.SetElementTabGroup(group, true);
    EXPECT_EQ(gui.GetTabGroupOwner(leaf), group);
    gui.SetElementTabGroup(leaf, true);
    EXPECT_EQ(gui.GetTabGroupOwner(leaf), leaf);
}

} // namespace
