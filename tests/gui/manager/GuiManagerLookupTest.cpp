// Lookups by id answer without walking the tree, but always with the
// element a depth-first search would find first: checked against such a
// search after each step of a seeded run of GUI changes (elements made,
// removed, moved to other parents, closing themselves, the GUI parent
// moved), and in the cases where several elements share an id.

#include "gui/GuiManagerTestSupport.h"

#include "gui/manager/FaderManager.h"

#include <random>
#include <set>
#include <vector>

namespace
{

using namespace irr;

class GuiManagerLookupTest : public CGuiManagerFixture
{
protected:
    // The search the manager documents: the GUI parent, below it, the
    // root, below the root; menus answer to their items' command ids.
    gui::IGUIElement* Search(int32_t id)
    {
        gui::IGUIElement* parent = gui.GetGuiParent();
        if (parent->getID() == id)
            return parent;
        if (gui::IGUIElement* found = SearchBelow(parent, id))
            return found;
        if (parent != root())
            return root()->getID() == id ? root() : SearchBelow(root(), id);
        return nullptr;
    }

    static gui::IGUIElement* SearchBelow(gui::IGUIElement* start, int32_t id)
    {
        if (start == nullptr)
            return nullptr;
        if (start->getType() == gui::EGUIET_CONTEXT_MENU || start->getType() == gui::EGUIET_MENU)
        {
            auto* menu = static_cast<gui::IGUIContextMenu*>(start);
            for (u32 item = 0; item < menu->getItemCount(); ++item)
            {
                if (menu->getItemCommandId(item) == id)
                    return menu->getSubMenu(item) != nullptr ? menu->getSubMenu(item) : start;
                if (gui::IGUIElement* found = SearchBelow(menu->getSubMenu(item), id))
                    return found;
            }
        }
        for (gui::IGUIElement* child : start->getChildren())
        {
            if (child->getID() == id)
                return child;
            if (gui::IGUIElement* found = SearchBelow(child, id))
                return found;
        }
        return nullptr;
    }

    static void Collect(gui::IGUIElement* start, std::vector<gui::IGUIElement*>& all)
    {
        for (gui::IGUIElement* child : start->getChildren())
        {
            all.push_back(child);
            Collect(child, all);
        }
    }
    std::vector<gui::IGUIElement*> All()
    {
        std::vector<gui::IGUIElement*> all;
        Collect(root(), all);
        return all;
    }

    // Every id seen so far, and ids nobody has, answer as the search does.
    void ExpectLookupsAsTheSearch(const std::set<int32_t>& ids, int step)
    {
        for (int32_t id : ids)
        {
            ASSERT_EQ(gui.GetElement(id, false), Search(id)) << "id " << id << " after step " << step;
            ASSERT_EQ(gui.ElementIdExists(id), Search(id) != nullptr)
                << "id " << id << " after step " << step;
        }
    }
};

TEST_F(GuiManagerLookupTest, LookupsByIdFindWhatTheSearchFindsWhileTheGuiChanges)
{
    std::mt19937 random(2024);
    std::set<int32_t> ids = {-1, 0, 1, 7, 123456};
    int made = 0;
    // A menu whose items carry ids of their own, one with a sub-menu.
    gui::IGUIContextMenu* menu = environment()->addContextMenu(core::rect<s32>(0, 0, 50, 50), nullptr,
                                                               gui.RegisterElementName(L"menu", 0));
    for (const wchar_t* item : {L"open", L"save", L"more"})
    {
        const int32_t id = gui.RegisterElementName(item, 0);
        menu->addItem(item, id, true, std::wstring(item) == L"more");
        ids.insert(id);
    }
    ids.insert(menu->getID());

    for (int step = 0; step < 400; ++step)
    {
        std::vector<gui::IGUIElement*> all = All();
        gui::IGUIElement* some = all.empty() ? nullptr : all[random() % all.size()];
        switch (random() % 8)
        {
        case 0:
        case 1:
        case 2:
        {
            // A new element, under the GUI parent or another element; now
            // and then one whose part answers to the same id, as a spin
            // box's edit box does.
            gui::IGUIElement* element =
                AddNamed(L"e" + std::to_wstring(made++), core::rect<s32>(0, 0, 10, 10),
                         random() % 2 == 0 ? some : nullptr);
            ids.insert(element->getID());
            if (random() % 4 == 0)
                environment()->addStaticText(L"part", core::rect<s32>(0, 0, 5, 5), false, true, element,
                                             element->getID());
            // Looked up once, so that the index remembers it.
            gui.GetElement(element->getID(), false);
            break;
        }
        case 3:
            if (some != nullptr && some->getType() != gui::EGUIET_CONTEXT_MENU)
                gui.RemoveElement(some, true);
            break;
        case 4:
        {
            // Moved under another element that is not below it. Parts stay
            // with their elements, as the builders' parts do.
            gui::IGUIElement* parent = all.empty() ? nullptr : all[random() % all.size()];
            if (some != nullptr && parent != nullptr && parent != some && !some->isMyChild(parent) &&
                std::wstring(some->getText()) != L"part")
                parent->addChild(some);
            break;
        }
        case 5:
            // Gone without the manager, as a message box that closes itself.
            if (some != nullptr)
                some->remove();
            break;
        case 6:
            gui.SetGuiParent(random() % 3 == 0 ? some : nullptr);
            break;
        default:
        {
            // A fresh id handed out: one no element has.
            const int32_t id = gui.GetNextAvailableId(static_cast<int32_t>(random() % 64));
            ASSERT_EQ(Search(id), nullptr) << "id " << id << " handed out at step " << step;
            ids.insert(id);
            break;
        }
        }
        ExpectLookupsAsTheSearch(ids, step);
    }
}

TEST_F(GuiManagerLookupTest, ElementsOfOneIdAnswerInSearchOrderAsTheyComeAndGo)
{
    // The fader takes whatever id its settings name, one in use included:
    // below the GUI parent, ahead of the element there that had the id.
    gui::IGUIElement* window = AddNamed(L"window", core::rect<s32>(0, 0, 100, 100));
    gui::IGUIElement* later = AddNamed(L"later", core::rect<s32>(0, 0, 100, 100));
    gui::IGUIElement* label = AddNamed(L"label", core::rect<s32>(0, 0, 10, 10), later);
    const int32_t id = label->getID();
    EXPECT_EQ(gui.GetElement(L"label", true), label);

    gui.SetGuiParent(window);
    gui.SetFader(id, CColor(0, 0, 0, 1), 500, 500);
    gui.GetFader().FadeIn(CColor(0, 0, 0, 1), 500, false);
    gui::IGUIElement* fader = Search(id);
    ASSERT_NE(fader, label);
    EXPECT_EQ(gui.GetElement(id, true), fader);
    EXPECT_EQ(gui.GetElement(L"label", true), fader) << "the name's id, first found below the GUI parent";

    gui.GetFader().Clear(false);
    EXPECT_EQ(gui.GetElement(id, true), label);
    // Gone as the element the id was remembered for: the search goes on.
    gui.SetGuiParent(nullptr);
    gui.RemoveElement(label, true);
    EXPECT_EQ(gui.GetElement(id, false), nullptr);
    EXPECT_FALSE(gui.ElementIdExists(id));
}

TEST_F(GuiManagerLookupTest, IdsOfElementsMadeOutsideTheManagerAreNotHandedOutAgain)
{
    // The ids in use are gathered once: elements made beside the manager
    // with ids of their own before that count.
    gui::IGUIElement* own =
        environment()->addStaticText(L"own", core::rect<s32>(0, 0, 5, 5), false, true, nullptr, 500);
    EXPECT_EQ(gui.GetNextAvailableId(500), 501);
    // Handed out since: in use once its element is there.
    const int32_t id = gui.RegisterElementName(L"named", 501);
    ASSERT_EQ(id, 501);
    environment()->addStaticText(L"named", core::rect<s32>(0, 0, 5, 5), false, true, nullptr, id);
    EXPECT_EQ(gui.GetNextAvailableId(500), 502);
    // Removed: its id is free again.
    gui.RemoveElement(own, true);
    EXPECT_EQ(gui.GetNextAvailableId(500), 500);
}

} // namespace
