// The element registry on its own, over a bare GUI environment: an id is
// taken once an element carries it (a name registered again before its
// element is made keeps its id), also when the ids in use are gathered
// afresh from the tree; without a GUI names are kept but lead to no
// element.

#include "gui/GuiTestDevice.h"

#include "gui/manager/GuiElementRegistry.h"

#include <gtest/gtest.h>

namespace
{

using namespace irr;
using Graphics::GUI::CGuiElementRegistry;

// The GUI the registry names: the environment's root is the GUI parent.
class CBareTree final : public Graphics::GUI::IGuiElementTree
{
public:
    explicit CBareTree(gui::IGUIEnvironment* environment) : m_environment(environment)
    {
        if (m_environment != nullptr)
            m_environment->getRootGUIElement()->setID(0);
    }
    gui::IGUIElement* GetGuiParent() override
    {
        return m_environment != nullptr ? m_environment->getRootGUIElement() : nullptr;
    }
    uint64_t GetGeneration() const override { return 0; }
    Graphics::CGraphicsEngine* GetEventSource() const override { return nullptr; }

private:
    gui::IGUIEnvironment* m_environment;
};

TEST(GuiElementRegistryTest, AnIdIsTakenOnceAnElementCarriesItAlsoWhenIdsAreGatheredAgain)
{
    CGuiTestDevice device;
    gui::IGUIEnvironment* environment = device.Environment();
    CBareTree tree(environment);
    CGuiElementRegistry registry(tree);
    registry.SetRoot(environment->getRootGUIElement());
    const core::rect<s32> rect(0, 0, 1, 1);

    // Registered twice before its element is made (as the layout reader
    // does for a list box), a name keeps its id.
    const int32_t pending = registry.RegisterElementName(L"pending", 700);
    ASSERT_EQ(pending, 700);
    EXPECT_EQ(registry.RegisterElementName(L"pending", 700), pending);
    EXPECT_EQ(registry.GetElement(L"pending", false), nullptr) << "not made yet";
    gui::IGUIElement* made = environment->addStaticText(L"", rect, false, true, nullptr, pending);
    EXPECT_EQ(registry.GetElement(L"pending", true), made);
    EXPECT_EQ(registry.RegisterElementName(L"next", 700), 701);

    // Elements made and removed behind the registry's back make it gather
    // the ids in use from the tree again.
    gui::IGUIElement* first = environment->addStaticText(L"", rect);
    environment->addStaticText(L"", rect, false, true, nullptr, 702);
    first->remove();
    environment->addStaticText(L"", rect, false, true, nullptr, 701);
    EXPECT_EQ(registry.RegisterElementName(L"later", 700), 703);

    // Renamed, the id leaves its old name behind.
    EXPECT_EQ(registry.RenameElement(pending, L"renamed"), L"pending");
    EXPECT_EQ(registry.GetElement(L"renamed", true), made);
    EXPECT_EQ(registry.FindNamedId(L"pending"), nullptr);
}

TEST(GuiElementRegistryTest, WithoutAGuiNamesAreKeptButLeadToNoElement)
{
    CBareTree tree(nullptr);
    CGuiElementRegistry registry(tree);
    EXPECT_EQ(registry.RegisterElementName(L"a", 5), 5);
    EXPECT_EQ(registry.GetElementId(L"a", true), 5);
    EXPECT_EQ(registry.GetElement(L"a", false), nullptr);
    EXPECT_EQ(registry.GetElement(L"", false), nullptr) << "no GUI parent";
    EXPECT_FALSE(registry.RemoveElementName(6));
    EXPECT_TRUE(registry.RemoveElementName(5));
    EXPECT_EQ(registry.GetElementName(5, false), L"");
}

} // namespace
