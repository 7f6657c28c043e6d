// GUI layouts: hand-written files across the version gates, round trips
// through every file form, the blocks every element shares, the errors of
// damaged files, and a seeded fuzz run of the reader.

#include "gui/GuiLayoutFixture.h"

#include "core/io/ArchiveText.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/manager/FaderManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/elements/GuiElementProperties.h"
#include "gui/layout/GuiLayoutReader.h"

namespace
{

using namespace irr;
namespace IrrlichtGui = Graphics::GUI::IrrlichtGui;

// A check box block with the keys of the current version.
std::string CheckBox(const std::string& idKey, const std::string& position, const std::string& label,
                     bool checked, const std::string& trailing = "")
{
    return "Checkbox{\r\n" + idKey + "\r\n-Position " + position + "\r\n-Label \"" + label +
           "\"\r\n-Checked " + (checked ? "1" : "0") + "\r\n" + trailing + "}\r\n";
}

class LayoutTest : public CGuiLayoutFixture
{
};

TEST_F(LayoutTest, NumericIdsBecomeNamesAndTabOrders)
{
    const std::string text = Header(1030) + "Gui{\r\n" + CheckBox("-Id 7", "0.1 0.1 0.3 0.2", "Seven", true) +
                             CheckBox("-Id -3", "10 20 110 40", "Out of the tab order", false) +
                             CheckBox("-IdName \"named\"", "0 0 1 1", "Named", false,
                                      "TabStopInfo{\r\n-TabGroup 1\r\n-TabOrder 40\r\n}\r\n") +
                             "}\r\n";
    ASSERT_EQ(LoadText(text), L"");
    EXPECT_TRUE(loaded);

    gui::IGUIElement* seven = gui.GetElement(L"7", false);
    ASSERT_NE(seven, nullptr);
    // Stored ids are not reused: the name is.
    EXPECT_NE(seven->getID(), 7);
    EXPECT_EQ(seven->getParent(), root());
    EXPECT_EQ(gui.GetElementText(seven), L"Seven");
    EXPECT_TRUE(gui.GetElementProperties().IsCheckBoxChecked(seven));
    EXPECT_EQ(seven->getRelativePosition(), core::rect<s32>(80, 60, 240, 120));
    EXPECT_EQ(seven->getTabOrder(), 7);
    EXPECT_TRUE(seven->isTabStop());

    gui::IGUIElement* out = gui.GetElement(L"-3", false);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->getRelativePosition(), core::rect<s32>(10, 20, 110, 40));
    EXPECT_FALSE(out->isTabStop());

    // A block sets what it names; the rest keeps the defaults.
    gui::IGUIElement* named = gui.GetElement(L"named", false);
    ASSERT_NE(named, nullptr);
    EXPECT_TRUE(named->isTabStop());
    EXPECT_TRUE(named->isTabGroup());
    EXPECT_EQ(named->getTabOrder(), 40);
    // A rectangle of values between -2 and 2 is read as fractions.
    EXPECT_EQ(named->getRelativePosition(), core::rect<s32>(0, 0, 800, 600));
}

TEST_F(LayoutTest, VersionGates)
{
    // Before 1023 a layout has no fader block; 1014 to 1018 name a font for
    // check boxes.
    const std::string font = Header(1015) +
                             "Gui{\r\nCheckbox{\r\n-Id 1\r\n-Position 0 0 10 10\r\n-Label \"a\"\r\n"
                             "-Checked 1\r\n-Font \"big.xml\"\r\n}\r\n}\r\n";
    EXPECT_EQ(LoadText(font), L"");
    EXPECT_TRUE(gui.ElementExists(L"1"));

    const std::string fontTooLate = Header(1019) +
                                    "Gui{\r\nCheckbox{\r\n-Id 2\r\n-Position 0 0 10 10\r\n-Label \"a\"\r\n"
                                    "-Checked 1\r\n-Font \"big.xml\"\r\n}\r\n}\r\n";
    EXPECT_NE(LoadText(fontTooLate), L"");

    const std::string fader = "Fader{\r\n-Id 5\r\n-Color 1 0 0 1\r\n-InTime 300\r\n-OutTime 200\r\n}\r\n";
    EXPECT_EQ(LoadText(Header(1022) + fader + "Gui{\r\n}\r\n"), L"");
    EXPECT_EQ(gui.GetFader().GetInTime(), 0u);

    // Two fader settings in one layout: the last one wins.
    const std::string second = "Fader{\r\n-Id 6\r\n-Color 0 0 1 1\r\n-InTime 50\r\n-OutTime 60\r\n}\r\n";
    EXPECT_EQ(LoadText(Header(1023) + fader + "Gui{\r\n" + second + "}\r\n"), L"");
    EXPECT_EQ(gui.GetFader().GetId(), 6);
    EXPECT_EQ(gui.GetFader().GetInTime(), 50u);
    EXPECT_EQ(gui.GetFader().GetOutTime(), 60u);
    EXPECT_FLOAT_EQ(gui.GetFader().GetColor().b, 1.0f);
}

TEST_F(LayoutTest, SharedBlocksAndOlderEntriesLoad)
{
    const std::string text =
        Header(1030) +
        "Gui{\r\nBackColor{\r\n-Color 0 0 0 1\r\n}\r\nFonts{\r\n}\r\nFont{\r\n}\r\nSprites{\r\n}\r\n"
        "TooltipInfo{\r\n-Background 1\r\n-BackColor 1 1 1 1\r\n-TextColor 0 0 0 1\r\n}\r\n" +
        CheckBox("-IdName \"box\"", "100 100 200 150", "Box", false,
                 "Tooltip{\r\n-Label \"Tip\"\r\n-Size 0.1 0.05\r\n}\r\n"
                 "AlignmentInfo{\r\n-Alignment 1 2 3 0\r\n-MinSize 0.1 20\r\n-MaxSize 400 0.5\r\n"
                 "-Clipped 0\r\n}\r\n"
                 "Gui{\r\n" +
                     CheckBox("-IdName \"child\"", "1 2 30 40", "Child", true) + "}\r\n") +
        "SubElement{\r\n-IdName \"box\"\r\nTooltip{\r\n-Label \"Later\"\r\n}\r\n}\r\n"
        "SubElement{\r\n-IdName \"nobody\"\r\nTooltip{\r\n-Label \"x\"\r\n}\r\nGui{\r\n" +
        CheckBox("-IdName \"orphan\"", "1 2 30 40", "Orphan", true) + "}\r\n}\r\n}\r\n";
    ASSERT_EQ(LoadText(text), L"");

    gui::IGUIElement* box = gui.GetElement(L"box", true);
    EXPECT_EQ(gui.GetElementToolTip(box), L"Later");
    EXPECT_EQ(gui.GetElementAlignmentLeft(box), 1);
    EXPECT_EQ(gui.GetElementAlignmentTop(box), 2);
    EXPECT_EQ(gui.GetElementAlignmentRight(box), 3);
    EXPECT_EQ(gui.GetElementAlignmentBottom(box), 0);
    IrrlichtGui::SElementLayout layout;
    ASSERT_TRUE(IrrlichtGui::ReadElementLayout(simulation.graphics.GetDevice(), box, layout));
    EXPECT_EQ(layout.minWidth, 80u);
    EXPECT_EQ(layout.minHeight, 20u);
    EXPECT_EQ(layout.maxWidth, 400u);
    EXPECT_EQ(layout.maxHeight, 300u);
    EXPECT_FALSE(gui.IsElementClipped(box));

    gui::IGUIElement* child = gui.GetElement(L"child", true);
    EXPECT_EQ(child->getParent(), box);
    EXPECT_EQ(child->getRelativePosition(), core::rect<s32>(1, 2, 30, 40));
    // What was read for an element that does not exist goes with its
    // stand-in.
    EXPECT_FALSE(gui.ElementExists(L"orphan"));
    EXPECT_EQ(root()->getChildren().size(), 1u);
}

TEST_F(LayoutTest, RoundTripsThroughEveryFormAreByteEqual)
{
    gui::IGUIElement* panel =
        gui.AddCheckBoxNamed(L"panel", L"Panel \"quoted\"", true, CRect(10, 20, 400, 300));
    gui.SetElementToolTip(panel, L"The panel");
    gui.SetElementAlignment(panel, 3, 0, 3, 2);
    gui.SetElementMinSize(panel, 40, 30);
    gui.SetElementTabGroup(panel, true);
    gui.SetGuiParent(panel);
    gui.AddCheckBoxNamed(L"7", L"Seven", false, CRect(5, 5, 50, 25));
    gui.AddCheckBoxNamed(L"\u00e9t\u00e9", L"\u00c9t\u00e9", true, CRect(5, 30, 50, 50));
    gui.SetGuiParent(nullptr);
    // Windows and what lies below them are not saved.
    gui::IGUIWindow* window = environment()->addWindow(core::rect<s32>(0, 0, 300, 200), false, L"w", root(),
                                                       gui.RegisterElementName(L"window", 0));
    gui.SetGuiParent(window);
    gui.AddCheckBoxNamed(L"inWindow", L"", false, CRect(5, 5, 50, 25));
    gui.SetGuiParent(nullptr);
    gui.GetFader().Configure(-1, CColor(0.5f, 0, 0, 1), 250, 500);

    ASSERT_TRUE(gui.Save(folder.Wide("first.kvogui"), "UTF8", false, nullptr));
    const std::string first = folder.Read("first.kvogui");
    EXPECT_EQ(first.find("inWindow"), std::string::npos);
    EXPECT_EQ(first.find("window"), std::string::npos);
    EXPECT_NE(first.find("Tooltip{"), std::string::npos);

    std::string previous = "first.kvogui";
    for (const char* mode : {"BINARY", "COMPRESSED", "UTF8"})
    {
        gui.Clear();
        ASSERT_EQ(ErrorOf([&] { EXPECT_TRUE(gui.Load(folder.Wide(previous))); }), L"") << mode;
        previous = std::string("next-") + mode + ".kvogui";
        ASSERT_TRUE(gui.Save(folder.Wide(previous), mode, false, nullptr)) << mode;
    }
    EXPECT_EQ(folder.Read(previous), first);

    gui::IGUIElement* reloaded = gui.GetElement(L"panel", true);
    EXPECT_EQ(gui.GetElementText(reloaded), L"Panel \"quoted\"");
    EXPECT_EQ(gui.GetElementToolTip(reloaded), L"The panel");
    EXPECT_EQ(gui.GetElement(L"\u00e9t\u00e9", true)->getParent(), reloaded);
    EXPECT_EQ(gui.GetFader().GetOutTime(), 500u);

    // One element with its children; a window saves nothing at all.
    ASSERT_TRUE(gui.Save(folder.Wide("one.kvogui"), "UTF8", false, gui.GetElement(L"7", true)));
    const std::string one = folder.Read("one.kvogui");
    EXPECT_NE(one.find("-IdName 7"), std::string::npos);
    EXPECT_EQ(one.find("panel"), std::string::npos);
    gui::IGUIWindow* again = environment()->addWindow(core::rect<s32>(0, 0, 300, 200), false, L"w", root(),
                                                      gui.RegisterElementName(L"window2", 0));
    ASSERT_TRUE(gui.Save(folder.Wide("window.kvogui"), "UTF8", false, again));
    EXPECT_EQ(folder.Read("window.kvogui").find("Checkbox{"), std::string::npos);
}

class LayoutAtHalfSizeTest : public LayoutTest
{
protected:
    std::pair<uint32_t, uint32_t> ScreenSize() const override { return {400, 300}; }
};

TEST_F(LayoutTest, RelativeCoordinatesAreFractionsOfTheScreen)
{
    gui.AddCheckBoxNamed(L"box", L"", false, CRect(80, 60, 400, 300));
    ASSERT_TRUE(gui.Save(folder.Wide("relative.kvogui"), "UTF8", true, nullptr));
    EXPECT_NE(folder.Read("relative.kvogui").find("-Position 0.100000 0.100000 0.500000 0.500000"),
              std::string::npos);
    ASSERT_TRUE(gui.Save(folder.Wide("pixels.kvogui"), "UTF8", false, nullptr));
    EXPECT_NE(folder.Read("pixels.kvogui").find("-Position 80.000000 60.000000 400.000000 300.000000"),
              std::string::npos);
}

TEST_F(LayoutAtHalfSizeTest, FractionsKeepProportionsAndPixelsStay)
{
    ASSERT_EQ(LoadText(Header(1030) + "Gui{\r\n" +
                       CheckBox("-IdName \"rel\"", "0.100000 0.100000 0.500000 0.500000", "", false) +
                       CheckBox("-IdName \"px\"", "80.000000 60.000000 400.000000 300.000000", "", false) +
                       "}\r\n"),
              L"");
    EXPECT_EQ(gui.GetElement(L"rel", true)->getRelativePosition(), core::rect<s32>(40, 30, 200, 150));
    EXPECT_EQ(gui.GetElement(L"px", true)->getRelativePosition(), core::rect<s32>(80, 60, 400, 300));
}

TEST_F(LayoutTest, IncludeLoadsUnderTheElementBeingRead)
{
    folder.Write("inner.kvogui",
                 Header(1030) + "Gui{\r\n" + CheckBox("-IdName \"inner\"", "1 1 9 9", "", false) + "}\r\n");
    // Found by name without the extension too.
    const std::string include = "Include{\r\n-File \"" + (folder / "inner") + "\"\r\n}\r\n";
    ASSERT_EQ(
        LoadText(Header(1030) + "Gui{\r\n" +
                 CheckBox("-IdName \"outer\"", "10 10 300 300", "", false, "Gui{\r\n" + include + "}\r\n") +
                 "}\r\n"),
        L"");
    EXPECT_EQ(gui.GetElement(L"inner", true)->getParent(), gui.GetElement(L"outer", true));
    EXPECT_EQ(gui.GetGuiParent(), root());

    // Loading under a named parent puts the parent back afterwards.
    gui::IGUIElement* outer = gui.GetElement(L"outer", true);
    gui.Remove(L"inner");
    EXPECT_TRUE(gui.GetLayoutReader().LoadUnder(folder.Wide("inner.kvogui"), outer));
    EXPECT_EQ(gui.GetElement(L"inner", true)->getParent(), outer);
    EXPECT_EQ(gui.GetGuiParent(), root());
}

// A file may be included more than once (a shared block under two
// parents), but one load reads a bounded number of includes: files that
// each include the next twice would otherwise load 2^24 times.
TEST_F(LayoutTest, IncludesPerLoadAreBounded)
{
    const auto include = [&](const std::string& name)
    { return "Include{\r\n-File \"" + (folder / name) + "\"\r\n}\r\n"; };
    folder.Write("shared.kvogui", Header(1030) + "Gui{\r\n}\r\n");
    EXPECT_EQ(
        LoadText(Header(1030) + "Gui{\r\n" + include("shared.kvogui") + include("shared.kvogui") + "}\r\n",
                 "twice.kvogui"),
        L"");
    EXPECT_TRUE(loaded);

    folder.Write("f24.kvogui", Header(1030) + "Gui{\r\n}\r\n");
    for (int level = 23; level >= 0; --level)
    {
        const std::string next = "f" + std::to_string(level + 1) + ".kvogui";
        folder.Write("f" + std::to_string(level) + ".kvogui",
                     Header(1030) + "Gui{\r\n" + include(next) + include(next) + "}\r\n");
    }
    const std::wstring error = ErrorOf([&] { gui.Load(folder.Wide("f0.kvogui")); });
    EXPECT_NE(error.find(L"[CGuiManager::Load] Too many included gui definitions (more than 1024)"),
              std::wstring::npos)
        << error;
    // The next load counts from nothing again.
    EXPECT_EQ(LoadText(Header(1030) + "Gui{\r\n" + include("shared.kvogui") + "}\r\n", "again.kvogui"), L"");
}

// An optional key is not taken for a longer key that begins with it.
TEST_F(LayoutTest, OptionalKeysAreWholeKeys)
{
    const std::string text =
        Header(1030) +
        "Gui{\r\nList{\r\n-IdName list\r\n-Position 0 0 0.5 0.5\r\n-Background 1\r\n-ScrollId \"\"\r\n"
        "-UpButtonId \"\"\r\n-DownButtonId \"\"\r\nItem{\r\n-Label one\r\n"
        "-IconHighlightColor 0.0 1.0 0.0 1.0\r\n}\r\n}\r\n"
        "Button{\r\n-IdName button\r\n-Position 0.5 0.5 0.6 0.6\r\n-Label \"B\"\r\n"
        "-ImageFilenameActive \"\"\r\n}\r\n}\r\n";
    EXPECT_EQ(LoadText(text, "keys.kvogui"), L"");
    auto* list = Graphics::GUI::CGUIListBoxEx::FromElement(gui.GetElement(L"list", false));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItemIcon(0), -1);
    EXPECT_TRUE(list->HasItemColor(0, 3));
    EXPECT_NE(gui.GetElement(L"button", false), nullptr);
}

TEST_F(LayoutTest, DamagedLayoutsFailWithClearErrors)
{
    const std::string a = "Include{\r\n-File \"" + (folder / "b.kvogui") + "\"\r\n}\r\n";
    const std::string b = "Include{\r\n-File \"" + (folder / "a.kvogui") + "\"\r\n}\r\n";
    folder.Write("b.kvogui", Header(1030) + "Gui{\r\n" + b + "}\r\n");
    const std::wstring cycle = LoadText(Header(1030) + "Gui{\r\n" + a + "}\r\n", "a.kvogui");
    EXPECT_NE(cycle.find(L"[CGuiManager::Load] Gui definition includes itself:"), std::wstring::npos)
        << cycle;
    EXPECT_EQ(gui.GetGuiParent(), root());

    const struct
    {
        std::string text;
        std::wstring error;
    } cases[] = {
        {"Gui{\r\nBogus{\r\n}\r\n}\r\n",
         L"[CGuiManager::Read] Element type not availble for serialization:Bogus"},
        // A kind that is built fails in its reader when its keys are missing.
        {"Gui{\r\nTable{\r\n}\r\n}\r\n", L"Error reading:"},
        {"Gui{\r\nCheckbox{\r\n-Position 0 0 1 1\r\n}\r\n}\r\n", L"Error reading:"},
        {"Gui{\r\nCheckbox{\r\n-Id 3\r\n-Position 0 0 x 1\r\n}\r\n}\r\n",
         L"[CGuiManager::Read] Invalid value for key:-Position"},
        {"Gui{\r\nCheckbox{\r\n-Id 3\r\n-Position 0 0 1 1\r\n-Checked 1\r\n-Label \"a\"\r\n}\r\n}\r\n",
         L"Error reading:"},
        {"Gui{\r\n" +
             CheckBox("-Id 4", "0 0 1 1", "", false, "AlignmentInfo{\r\n-Alignment 0 0 0 0\r\n}\r\n") +
             "}\r\n",
         L"Error reading:"},
        {"Gui{\r\n" +
             CheckBox("-Id 5", "0 0 1 1", "", false,
                      "AlignmentInfo{\r\n-Alignment 0 9 0 0\r\n"
                      "-MinSize 1 1\r\n-MaxSize 0 0\r\n-Clipped 1\r\n}\r\n") +
             "}\r\n",
         L"[CGuiManager::SetElementAlignment] Invalid alignment:9"},
        {"Gui{\r\n" + CheckBox("-Id 6", "0 0 1 1", "", false), L"[CGuiManager::Read] Gui block not closed"},
        {"Gui{\r\nCheckbox{\r\n-Id 8\r\n-Position 0 0 1 1\r\n-Label \"\x03\"\r\n-Checked \x03\r\n}\r\n}\r\n",
         L"[CGuiManager::ReadCheckBox] Invalid check box"},
    };
    for (const auto& entry : cases)
    {
        const std::wstring error = LoadText(Header(1030) + entry.text);
        EXPECT_EQ(error.find(entry.error), 0u) << std::string(error.begin(), error.end());
        EXPECT_EQ(gui.GetGuiParent(), root());
    }

    // Nesting deeper than any real GUI is refused before the stack runs out.
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "SubElement{\r\n-Id 1\r\nGui{\r\n";
    const std::wstring tooDeep = LoadText(Header(1030) + "Gui{\r\n" + deep);
    EXPECT_NE(tooDeep.find(L"nested deeper"), std::wstring::npos);

    // A missing file is no error.
    EXPECT_EQ(ErrorOf([&] { EXPECT_FALSE(gui.Load(folder.Wide("missing"))); }), L"");
}

TEST_F(LayoutTest, TruncatedBinaryLayoutsFailOrLoadWhatIsWhole)
{
    for (const char* mode : {"BINARY", "COMPRESSED"})
    {
        gui.Clear();
        gui::IGUIElement* box = gui.AddCheckBoxNamed(L"box", L"Label", true, CRect(0, 0, 100, 100));
        gui.SetElementToolTip(box, L"tip");
        ASSERT_TRUE(gui.Save(folder.Wide("whole"), mode, true, nullptr));
        const std::string whole = folder.Read("whole");
        for (size_t size = 0; size < whole.size(); ++size)
        {
            gui.Clear();
            folder.Write("cut", whole.substr(0, size));
            bool result = true;
            const std::wstring error = ErrorOf([&] { result = gui.Load(folder.Wide("cut")); });
            // A file cut between the fader and the GUI block is a whole
            // layout without elements; any other cut fails.
            if (error.empty() && result)
            {
                EXPECT_FALSE(gui.ElementExists(L"box")) << mode << " cut at " << size;
            }
            EXPECT_EQ(gui.GetGuiParent(), root());
        }
    }
}

TEST_F(LayoutTest, ShortcutTexts)
{
    const struct
    {
        const char* text;
        uint16_t keyCode;
        bool shift;
        bool control;
    } cases[] = {
        {"0x0D", 0x0D, false, false},
        {"0x41+0x11", 0x41, false, true},
        {" 0x41 + 0x10 + 0x11 ", 0x41, true, true},
        {"0x10+0x42", 0x42, true, false},
        {"0X7a", 0x7A, false, false},
        {"65", 0, false, false},
        {"0x41+zz", 0, false, false},
        {"0x10", 0, false, false},
        {"", 0, false, false},
        {"0x1FFFF", 0, false, false},
        {"0x41+", 0, false, false},
    };
    for (const auto& entry : cases)
    {
        gui.ClearShortcuts();
        EXPECT_EQ(gui.AddShortcutText(entry.text, L"button", 5, false), entry.keyCode) << entry.text;
        if (entry.keyCode == 0)
        {
            // A text that does not read binds nothing, not key 0.
            EXPECT_TRUE(gui.GetShortcuts().GetAll().empty()) << entry.text;
            continue;
        }
        const auto* binding = gui.GetShortcuts().FindOf(L"button");
        ASSERT_NE(binding, nullptr);
        EXPECT_EQ(binding->first.shift, entry.shift) << entry.text;
        EXPECT_EQ(binding->first.control, entry.control) << entry.text;
        EXPECT_EQ(binding->second.type, 5u);
    }
    EXPECT_EQ(Graphics::GUI::CGuiShortcuts::Text({0x41, false, true, true}), "0x41+0x10+0x11");
    EXPECT_EQ(Graphics::GUI::CGuiShortcuts::Text({0x0D, false, false, false}), "0x0D");

    // "-Shortcut" through an archive and back.
    gui.ClearShortcuts();
    gui.AddShortcut(0x46, false, true, L"file", 18, false);
    gui.AddShortcut(0x47, true, false, L"file", 18, false);
    {
        Misc::Serialization::CArchiveText archive(folder.Wide("keys"), true, "KVOGUI", 1030);
        EXPECT_TRUE(gui.WriteShortcut(L"file", archive));
        EXPECT_TRUE(gui.WriteShortcut(L"none", archive));
        ASSERT_TRUE(archive.Close());
    }
    EXPECT_NE(folder.Read("keys").find("-Shortcut 0x46+0x11\r\n"), std::string::npos);
    gui.ClearShortcuts();
    Misc::Serialization::CArchiveText archive(folder.Wide("keys"), false, "KVOGUI", 1);
    EXPECT_TRUE(gui.ReadShortcut(archive, 18, L"menuItem"));
    EXPECT_FALSE(gui.ReadShortcut(archive, 18, L"menuItem"));
    EXPECT_TRUE(gui.ShortcutKeyExists(0x46, false, true));
    EXPECT_EQ(gui.RemoveShortcuts(L"menuItem"), 1u);
    EXPECT_FALSE(gui.ShortcutExists(L"menuItem"));
}

// Mutated text, binary and compressed layouts: every load ends, with a
// result or an error, and leaves the manager usable.
TEST_F(LayoutTest, FuzzedLayoutsLoadOrFailCleanly)
{
    gui::IGUIElement* panel = gui.AddCheckBoxNamed(L"panel", L"Panel", true, CRect(10, 20, 400, 300));
    gui.SetElementToolTip(panel, L"tip");
    gui.SetGuiParent(panel);
    gui.AddCheckBoxNamed(L"child", L"Child", false, CRect(5, 5, 50, 25));
    gui.SetGuiParent(nullptr);
    gui.GetFader().Configure(-1, CColor(0.5f, 0, 0, 1), 0, 0);

    // Relative coordinates in the text seed, pixels in the binary and
    // compressed ones.
    std::vector<std::string> seeds;
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        ASSERT_TRUE(gui.Save(folder.Wide("seed"), mode, seeds.empty(), nullptr));
        seeds.push_back(folder.Read("seed"));
    }
    // At least 11 mutants of each form whatever the machine's load.
    EXPECT_GT(FuzzLoads(seeds, 20261210, std::chrono::seconds(4), 33, 50), 30u);
}

} // namespace

namespace
{

// New elements never take an id in use: one of a plain element or a menu
// item's command id, which the random start of the id search hits first.
TEST_F(LayoutTest, LoadedElementsTakeIdsNotInUse)
{
    folder.Write("one.kvogui",
                 Header(1030) + "Gui{\r\n" + CheckBox("-IdName \"new\"", "0 0 10 10", "", false) + "}\r\n");
    for (int withMenu = 0; withMenu < 2; ++withMenu)
    {
        gui.Clear();
        std::srand(77);
        const int32_t next = std::rand();
        std::srand(77);
        if (withMenu != 0)
            environment()->addMenu(root(), 5)->addItem(L"item", next);
        else
            environment()->addStaticText(L"taken", core::rect<s32>(0, 0, 5, 5), false, false, root(), next);
        ASSERT_TRUE(gui.Load(folder.Wide("one.kvogui")));
        EXPECT_NE(gui.GetElement(L"new", true)->getID(), next);
        EXPECT_EQ(gui.GetElement(L"new", true)->getID(), next + 1);
    }
}

} // namespace
