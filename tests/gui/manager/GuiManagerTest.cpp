// The GUI manager's part in the engine's frame and input: element names,
// shortcuts, the fader, clearing and letting go of the device, fonts.

#include "graphics/engine/GraphicsTestSupport.h"

#include "core/foundation/KVOError.h"
#include "gui/manager/FaderManager.h"
#include "gui/manager/GuiManager.h"
#include "gui/skin/SkinManager.h"

#include <gtest/gtest.h>

#include <irrlicht.h>

#include <algorithm>
#include <vector>

namespace
{

using namespace irr;
using Graphics::GUI::CGuiManager;
using Key = CGuiManager::SShortcutKey;

class GuiManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(simulation.InitNull()); }

    gui::IGUIEnvironment* environment() { return simulation.graphics.GetDevice()->getGUIEnvironment(); }
    size_t RootChildren() { return environment()->getRootGUIElement()->getChildren().size(); }

    CGraphicsSimulation simulation;
    CGuiManager& gui = *simulation.graphics.GetGuiManager();
};

TEST(GuiShortcutKey, OrdersByCodeThenSetFlagsFirst)
{
    std::vector<Key> keys{{66, false, false, false}, {65, false, false, false}, {65, false, false, true},
                          {65, false, true, false},  {65, true, false, false},  {65, false, true, true}};
    std::sort(keys.begin(), keys.end());
    const std::vector<Key> expected{{65, true, false, false},  {65, false, true, true},
                                    {65, false, true, false},  {65, false, false, true},
                                    {65, false, false, false}, {66, false, false, false}};
    ASSERT_EQ(keys.size(), expected.size());
    for (size_t index = 0; index < keys.size(); ++index)
    {
        SCOPED_TRACE(index);
        EXPECT_FALSE(keys[index] < expected[index]);
        EXPECT_FALSE(expected[index] < keys[index]);
    }
}

TEST_F(GuiManagerTest, ShortcutsBindOneKeyToOneEvent)
{
    EXPECT_EQ(gui.AddShortcut(0x41, true, false, L"first", 5, false), 0x41);
    // Unique: the bound key stays with the first element.
    EXPECT_EQ(gui.AddShortcut(0x41, true, false, L"second", 18, true), 0);
    const CGuiEvent* bound = gui.FindShortcut({0x41, false, true, false});
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(bound->elementName, L"first");
    // Not unique: the key moves to the new element.
    EXPECT_EQ(gui.AddShortcut(0x41, true, false, L"second", 18, false), 0x41);
    bound = gui.FindShortcut({0x41, false, true, false});
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(bound->elementName, L"second");
    EXPECT_EQ(bound->type, 18u);
    EXPECT_EQ(bound->flag, 1);
    EXPECT_EQ(bound->source, &simulation.graphics);

    // All four parts must match.
    EXPECT_EQ(gui.FindShortcut({0x41, true, true, false}), nullptr);
    EXPECT_EQ(gui.FindShortcut({0x41, false, false, false}), nullptr);
    EXPECT_EQ(gui.FindShortcut({0x41, false, true, true}), nullptr);
    EXPECT_EQ(gui.ClearShortcuts(), 1u);
    EXPECT_EQ(gui.FindShortcut({0x41, false, true, false}), nullptr);
}

TEST_F(GuiManagerTest, ElementNames)
{
    gui.SetElementName(L"ok", 12);
    gui.SetElementName(L"renamed", 12);
    EXPECT_EQ(gui.GetElementName(12, false), L"renamed");
    EXPECT_EQ(gui.GetElementName(13, false), L"");
    try
    {
        gui.GetElementName(-42, true);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CGuiManager::GetElementName] Cannot find gui element:-42");
    }
}

TEST_F(GuiManagerTest, ClearRemovesElementsNamesShortcutsAndTheFader)
{
    gui::IGUIButton* button = environment()->addButton(core::rect<s32>(0, 0, 10, 10), nullptr, 3);
    environment()->setFocus(button);
    gui.SetElementName(L"button", 3);
    gui.AddShortcut(13, false, false, L"button", 5, false);
    gui.GetFader().Configure(8, CColor(0, 0, 0, 1), 1000, 500);
    gui.Start();
    ASSERT_EQ(RootChildren(), 2u);

    gui.Clear();
    EXPECT_EQ(RootChildren(), 0u);
    EXPECT_EQ(environment()->getFocus(), nullptr);
    EXPECT_EQ(gui.GetElementName(3, false), L"");
    EXPECT_TRUE(gui.GetShortcuts().GetAll().empty());
    EXPECT_TRUE(gui.GetFader().IsComplete());
    EXPECT_EQ(gui.GetFader().GetId(), -1);
    EXPECT_EQ(gui.GetFader().GetInTime(), 0u);
    EXPECT_EQ(gui.GetFader().GetOutTime(), 0u);
    // The root is the GUI parent again afterwards.
    EXPECT_EQ(gui.GetGuiParent(), environment()->getRootGUIElement());
}

TEST_F(GuiManagerTest, StartFadesInAndStopFadesOut)
{
    gui.GetFader().Configure(21, CColor(1, 0, 0, 1), 10000, 20000);
    gui.Start();
    EXPECT_TRUE(gui.IsStarted());
    ASSERT_EQ(RootChildren(), 1u);
    gui::IGUIElement* fader = *environment()->getRootGUIElement()->getChildren().begin();
    EXPECT_EQ(fader->getType(), gui::EGUIET_IN_OUT_FADER);
    EXPECT_EQ(fader->getID(), 21);
    EXPECT_EQ(static_cast<gui::IGUIInOutFader*>(fader)->getColor().color & 0xFFFFFFu, 0xFF0000u);
    EXPECT_FALSE(gui.GetFader().IsComplete());

    gui.Stop();
    EXPECT_FALSE(gui.IsStarted());
    EXPECT_EQ(RootChildren(), 1u) << "the fade-out replaces the fade-in";
    EXPECT_FALSE(gui.GetFader().IsComplete());
    // Stopping again does nothing more.
    gui.Stop();
    EXPECT_EQ(RootChildren(), 1u);
}

TEST_F(GuiManagerTest, FadesOfNoTimeChangeNothing)
{
    gui.GetFader().Configure(-1, CColor(0, 0, 0, 1), 0, 0);
    gui.Start();
    gui.Stop();
    gui.GetFader().FadeIn(CColor(1, 1, 1, 1), static_cast<uint32_t>(-5), true);
    EXPECT_EQ(RootChildren(), 0u);
    EXPECT_TRUE(gui.GetFader().IsComplete());
}

TEST_F(GuiManagerTest, AFinishedFadeIsRemovedOnTheNextGraphicsTick)
{
    gui.GetFader().FadeIn(CColor(0, 0, 0, 1), 1, true);
    ASSERT_EQ(RootChildren(), 1u);
    simulation.graphics.SetBackgroundRenderingEnabled(true);
    // The fader runs on the device's timer.
    for (int frame = 0; frame < 100000 && RootChildren() != 0; ++frame)
    {
        simulation.graphics.GetDevice()->run();
        simulation.graphics.Step();
    }
    EXPECT_EQ(RootChildren(), 0u);
    EXPECT_TRUE(gui.GetFader().IsComplete());

    // Ticks of another engine do not concern this fader.
    gui.GetFader().FadeIn(CColor(0, 0, 0, 1), 1, true);
    Graphics::Multicast::CEvtGraphicsTick foreign{nullptr, 0, 0, false};
    EXPECT_FALSE(gui.GetFader().OnEvent(foreign));
}

TEST_F(GuiManagerTest, AFaderRemovedByOthersIsNotTouchedAgain)
{
    gui.GetFader().FadeIn(CColor(0, 0, 0, 1), 100000, false);
    // Something else empties the GUI: the fader still holds its element.
    environment()->clear();
    EXPECT_FALSE(gui.GetFader().IsComplete());
    gui.GetFader().Clear(false);
    EXPECT_TRUE(gui.GetFader().IsComplete());
}

TEST_F(GuiManagerTest, DetachingLetsGoOfTheEnvironment)
{
    gui.GetFader().FadeIn(CColor(0, 0, 0, 1), 100000, false);
    gui.DetachDevice();
    EXPECT_EQ(gui.GetGuiEnvironment(), nullptr);
    EXPECT_EQ(gui.GetDevice(), nullptr);
    EXPECT_EQ(gui.GetGuiParent(), nullptr);
    EXPECT_TRUE(gui.GetFader().IsComplete());
    gui.Clear();
    try
    {
        gui.GetFont(L"font.xml", false);
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(),
                  L"[CGuiManager::GetFont] Font not available. Gui manager not initialised.");
    }
    // A null device keeps the one the manager has: none here.
    gui.SetDevice(nullptr);
    EXPECT_EQ(gui.GetGuiEnvironment(), nullptr);
    gui.SetDevice(simulation.graphics.GetDevice());
    EXPECT_EQ(gui.GetGuiEnvironment(), environment());
}

TEST_F(GuiManagerTest, FontsFallBackToTheRegisteredThenTheBuiltInFont)
{
    gui::IGUIFont* builtIn = environment()->getBuiltInFont();
    EXPECT_EQ(gui.GetFont(L"nowhere.xml", false), builtIn);
    EXPECT_EQ(gui.GetFont(L"", true), builtIn);
    // A key whose file gives the built-in font records the file only; the
    // skin's font slots take it for the keys "0" to "4".
    EXPECT_TRUE(gui.SetFont(L"1", L"nowhere.xml"));
    EXPECT_EQ(environment()->getSkin()->getFont(gui::EGDF_BUTTON), builtIn);
    EXPECT_TRUE(gui.SetFont(L"99999999999999999999", L"nowhere.xml"));
    // A decimal key past the skin's five fonts names no slot: refused.
    try
    {
        gui.SetFont(L"-1", L"nowhere.xml");
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CGuiManager::SetFont] Invalid font key:-1");
    }
    // One registry: the skin manager sees what the GUI manager registered.
    EXPECT_EQ(gui.GetSkins().GetFontFilename(L"1"), L"nowhere.xml");
    gui.ClearFonts();
    EXPECT_TRUE(gui.GetSkins().GetFontFiles().empty());
}

} // namespace
