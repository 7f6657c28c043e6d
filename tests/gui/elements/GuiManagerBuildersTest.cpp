// The element builders on a NULL device: what the library hides from
// scripts (title-bar buttons, the spin box's inner parts, the modal
// screen) checked on the elements themselves.

#include "gui/GuiLayoutFixture.h"

#include "core/foundation/Rect.h"
#include "core/io/ArchiveTestUtil.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/elements/GuiElementProperties.h"

#include <fstream>
#include <iterator>

using namespace irr;

namespace
{

class GuiManagerBuildersTest : public CGuiLayoutFixture
{
};

TEST_F(GuiManagerBuildersTest, WindowShowsOnlyTheNamedTitleBarButtons)
{
    gui::IGUIWindow* onlyClose = gui.AddWindowNamed(L"first", nullptr, L"First",
                                                    CRect(0.1f, 0.1f, 0.5f, 0.5f), false, L"close", L"", L"");
    ASSERT_NE(onlyClose, nullptr);
    EXPECT_EQ(onlyClose->getParent(), root());
    EXPECT_TRUE(onlyClose->getCloseButton()->isVisible());
    EXPECT_EQ(onlyClose->getCloseButton()->getID(), gui.GetElementId(L"close", true));
    EXPECT_FALSE(onlyClose->getMinimizeButton()->isVisible());
    EXPECT_FALSE(onlyClose->getMaximizeButton()->isVisible());

    gui::IGUIWindow* all = gui.AddWindowNamed(L"second", onlyClose, L"Second", CRect(10, 30, 200, 150), false,
                                              L"c", L"min", L"max");
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getParent(), onlyClose);
    const int32_t id = all->getID();
    // Ids one, two and three after the window's when free.
    EXPECT_EQ(all->getMinimizeButton()->getID(), gui.GetElementId(L"min", true));
    EXPECT_EQ(all->getMaximizeButton()->getID(), gui.GetElementId(L"max", true));
    EXPECT_TRUE(all->getMinimizeButton()->isVisible());
    EXPECT_TRUE(all->getMaximizeButton()->isVisible());
    if (id < 2147483640)
    {
        EXPECT_EQ(gui.GetElementId(L"max", true), id + 3);
    }
}

TEST_F(GuiManagerBuildersTest, ModalWindowsScreenCoversTheScreen)
{
    gui::IGUIWindow* window =
        gui.AddWindowNamed(L"modal", nullptr, L"", CRect(0.25f, 0.25f, 0.75f, 0.75f), true, L"", L"", L"");
    ASSERT_NE(window, nullptr);
    gui::IGUIElement* screen = window->getParent();
    ASSERT_NE(screen, root());
    EXPECT_EQ(screen->getParent(), root());
    EXPECT_EQ(screen->getRelativePosition(), core::rect<s32>(0, 0, 800, 600));
    EXPECT_EQ(window->getAbsolutePosition(), core::rect<s32>(200, 150, 600, 450));
}

TEST_F(GuiManagerBuildersTest, SpinBoxTabsThroughItsEditBoxAndNamesItsButtons)
{
    CGuiRecorder recorder;
    gui::IGUISpinBox* spin =
        gui.AddSpinBoxNamed(L"spin", L"", CRect(10, 10, 110, 40), 0.0f, 10.0f, 3.0f, 1, L"up", L"down");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(recorder.Of({20}), (std::vector<SGuiRecord>{{L"spin", 20}}));
    EXPECT_FALSE(spin->isTabStop());
    ASSERT_NE(spin->getEditBox(), nullptr);
    EXPECT_EQ(spin->getEditBox()->getID(), spin->getID());
    EXPECT_TRUE(spin->getEditBox()->isTabStop());
    // The name still finds the spin box, not its edit box.
    EXPECT_EQ(gui.GetElement(L"spin", true), spin);

    gui::IGUIButton* up = gui.GetElementProperties().GetSpinBoxButton(spin, true);
    gui::IGUIButton* down = gui.GetElementProperties().GetSpinBoxButton(spin, false);
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_NE(up, down);
    EXPECT_EQ(up->getID(), gui.GetElementId(L"up", true));
    EXPECT_EQ(down->getID(), gui.GetElementId(L"down", true));

    // Tab stop, group and order are the edit box's.
    EXPECT_TRUE(gui.GetElementTabStop(spin));
    gui.SetElementTabStop(spin, false);
    EXPECT_FALSE(spin->getEditBox()->isTabStop());
    gui.SetElementTabOrder(spin, 9);
    EXPECT_EQ(spin->getEditBox()->getTabOrder(), 9);
    EXPECT_EQ(gui.GetElementTabOrder(spin), 9);
    gui.SetElementTabGroup(spin, true);
    EXPECT_TRUE(spin->getEditBox()->isTabGroup());

    // A text stands as the value: nothing published.
    recorder.records.clear();
    gui::IGUISpinBox* texted =
        gui.AddSpinBoxNamed(L"texted", L"4", CRect(10, 50, 110, 80), 0.0f, 10.0f, 3.0f, 0, L"", L"");
    ASSERT_NE(texted, nullptr);
    EXPECT_TRUE(recorder.Of({20}).empty());
    EXPECT_FLOAT_EQ(texted->getValue(), 4.0f);
    EXPECT_NE(gui.GetElementProperties().GetSpinBoxButton(texted, true)->getID(),
              gui.GetElementId(L"up", false));
}

TEST_F(GuiManagerBuildersTest, MissingImageShowsThePlaceholder)
{
    gui::IGUIImage* image =
        gui.AddImageNamed(L"image", L"no such file.png", CRect(0.1f, 0.1f, 0.2f, 0.2f), true, true);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->getImage(), nullptr);
    EXPECT_EQ(gui.GetElementProperties().GetImageTexture(image), L"___NULL_IMAGE___");
    EXPECT_TRUE(image->isImageScaled());
    EXPECT_TRUE(image->isAlphaChannelUsed());
}

TEST_F(GuiManagerBuildersTest, PropertiesRefuseOtherKinds)
{
    gui::IGUIButton* button =
        gui.AddButtonNamed(L"button", L"B", CRect(0, 0, 50, 20), L"", L"", L"", false, false, true);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ErrorOf([&] { gui.SetSpinBoxValue(button, 1.0f); }),
              L"[CGuiManager::SetSpinBoxValue] Gui element is not a spin box:button");
    EXPECT_EQ(ErrorOf([&] { gui.GetElementProperties().GetEditBoxSelection(nullptr); }),
              L"[CGuiManager::GetEditBoxSelection] Gui element is not an edit box:");
    EXPECT_EQ(ErrorOf([&] { gui.SetElementFont(root(), L""); }),
              L"[CGuiManager::SetElementFont] Gui element has no font:");
}

TEST_F(GuiManagerBuildersTest, EditBoxSelectionIsForgottenWithItsElement)
{
    gui::IGUIEditBox* box = gui.AddEditBoxNamed(L"box", L"abcdef", CRect(0, 0, 100, 20), true, L"", 0);
    ASSERT_NE(box, nullptr);
    gui.GetElementProperties().SetEditBoxSelection(box, 2, 4);
    EXPECT_EQ(gui.GetElementProperties().GetEditBoxSelection(box), std::make_pair(2, 4));
    // Another element that happens to take the address starts without one.
    const int32_t id = box->getID();
    box->setID(id + 1);
    EXPECT_EQ(gui.GetElementProperties().GetEditBoxSelection(box), std::make_pair(0, 0));
}

TEST_F(GuiManagerBuildersTest, FontsAreNamedByTheFileOfTheirKey)
{
    folder.Write("tiny_font.xml", GuiTest::Fixture("tiny_font.xml"));
    video::IVideoDriver* driver = simulation.graphics.GetDevice()->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(16, 8));
    image->fill(video::SColor(255, 255, 255, 255));
    driver->writeImageToFile(image, io::path((folder / "tiny_font0.png").c_str()));
    image->drop();
    const std::wstring file = folder.Wide("tiny_font.xml");
    ASSERT_TRUE(gui.SetFont(L"tiny", file));

    gui::IGUIButton* button =
        gui.AddButtonNamed(L"button", L"B", CRect(0, 0, 50, 20), L"tiny", L"", L"", false, false, true);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getOverrideFont(), gui.GetFont(L"tiny", false));
    EXPECT_EQ(gui.GetElementProperties().GetElementFontFile(button), file);
    // Unregistered: the file of no key.
    gui::IGUIStaticText* text =
        gui.AddStaticTextNamed(L"text", L"T", CRect(0, 30, 50, 50), false, false, false, CColor(), L"");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(gui.GetElementProperties().GetElementFontFile(text), std::nullopt);
    gui.SetElementFont(text, L"tiny");
    EXPECT_EQ(gui.GetElementProperties().GetElementFontFile(text), file);
    gui.SetElementFont(button, L"");
    EXPECT_EQ(button->getOverrideFont(), nullptr);
    EXPECT_EQ(gui.GetElementProperties().GetElementFontFile(button), std::nullopt);
}

TEST_F(GuiManagerBuildersTest, ButtonSpritesComeFromTheBankByName)
{
    video::IVideoDriver* driver = simulation.graphics.GetDevice()->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(16, 16));
    driver->addTexture("star.png", image);
    image->drop();
    ASSERT_EQ(gui.AddSpriteBankEntry(L"star", L"star.png", {CRect(0, 0, 8, 8)}, 0), L"star");

    gui::IGUIButton* button =
        gui.AddButtonNamed(L"button", L"B", CRect(0, 0, 50, 20), L"", L"", L"", false, false, true);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ErrorOf([&] { gui.SetButtonSprite(button, gui::EGBS_BUTTON_DOWN, L"star", true); }), L"");
    // A name the bank does not have shows no sprite.
    EXPECT_EQ(ErrorOf([&] { gui.SetButtonSprite(button, gui::EGBS_BUTTON_UP, L"none", false); }), L"");
    EXPECT_EQ(ErrorOf([&] { gui.SetButtonSprite(button, gui::EGBS_COUNT, L"star", true); }),
              L"[CGuiManager::SetButtonSprite] Invalid button state:6");
    EXPECT_EQ(ErrorOf([&] { gui.SetButtonSprite(button, -1, L"star", true); }),
              L"[CGuiManager::SetButtonSprite] Invalid button state:-1");
    simulation.graphics.GetDevice()->getVideoDriver()->beginScene(true, true, video::SColor(0));
    environment()->drawAll();
    simulation.graphics.GetDevice()->getVideoDriver()->endScene();
}

TEST_F(GuiManagerBuildersTest, ButtonReadUnderAToolBarIsLaidOutByIt)
{
    gui::IGUIToolBar* bar = environment()->addToolBar(root(), gui.RegisterElementName(L"bar", 0));
    ASSERT_NE(bar, nullptr);
    folder.Write("bar.kvogui",
                 "KVOGUI\r\nVersion{\r\n\t-Version 1019\r\n}\r\nGui{\r\n"
                 "Button{\r\n-IdName first\r\n-Position 300 300 400 400\r\n-Label \"One\"\r\n}\r\n"
                 "Button{\r\n-IdName second\r\n-Position 300 300 400 400\r\n-Label \"Two\"\r\n"
                 "-Border 0\r\n-IsPushButton 1\r\n}\r\n}\r\n");
    gui.SetGuiParent(bar);
    EXPECT_TRUE(gui.Load(folder.Wide("bar.kvogui")));
    gui.SetGuiParent(nullptr);
    auto* first = static_cast<gui::IGUIButton*>(gui.GetElement(L"first", true));
    auto* second = static_cast<gui::IGUIButton*>(gui.GetElement(L"second", true));
    EXPECT_EQ(first->getParent(), bar);
    EXPECT_NE(first->getRelativePosition(), core::rect<s32>(300, 300, 400, 400));
    // One after the other.
    EXPECT_GT(second->getRelativePosition().UpperLeftCorner.X,
              first->getRelativePosition().UpperLeftCorner.X);
    EXPECT_TRUE(first->isDrawingBorder());
    EXPECT_FALSE(second->isDrawingBorder());
    EXPECT_TRUE(second->isPushButton());
}

// Mutated layouts of every builder kind in each file form: every load ends,
// with a result or an error, and the manager stays usable.
TEST_F(GuiManagerBuildersTest, FuzzedBuilderLayoutsLoadOrFailCleanly)
{
    gui.AddButtonNamed(L"button", L"B", CRect(10, 10, 60, 30), L"", L"", L"", true, true, false);
    gui.AddImageNamed(L"image", L"", CRect(0.1f, 0.5f, 0.3f, 0.7f), true, true);
    gui::IGUIStaticText* text = gui.AddStaticTextNamed(L"text", L"Text", CRect(100, 10, 200, 30), true, true,
                                                       true, CColor(1, 0, 0, 1), L"");
    gui.GetElementProperties().SetStaticTextAlignment(text, 2, 1);
    gui::IGUIEditBox* box = gui.AddEditBoxNamed(L"box", L"edit", CRect(100, 40, 200, 60), true, L"", 9);
    gui.SetEditBoxPassword(box, true, L'#');
    gui.GetElementProperties().SetEditBoxColor(box, CColor(0, 1, 0, 1));
    gui.AddSpinBoxNamed(L"spin", L"", CRect(100, 70, 200, 90), 0.0f, 50.0f, 5.0f, 2, L"up", L"down");

    // Relative coordinates in the text seed, pixels in the binary and
    // compressed ones; and the older builder grammars the scripts load.
    std::vector<std::string> seeds;
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        ASSERT_TRUE(gui.Save(folder.Wide("seed"), mode, seeds.empty(), nullptr));
        seeds.push_back(folder.Read("seed"));
    }
    for (const char* name : {"builders_v1012.kvogui", "builders_v1019.kvogui"})
    {
        std::ifstream in(std::string(HALVANE_SOURCE_DIR) + "/tests/scripts/igraphics/fixtures/" + name,
                         std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_FALSE(seeds.back().empty()) << name;
    }
    // At least 11 mutants of each form whatever the machine's load.
    EXPECT_GT(FuzzLoads(seeds, 20261211, std::chrono::seconds(4), 55, 40), 30u);
    // Still a working GUI.
    EXPECT_NE(gui.AddButtonNamed(L"after", L"A", CRect(0, 0, 10, 10), L"", L"", L"", false, false, true),
              nullptr);
}

} // namespace
