// The "List", "Combobox" and "Table" blocks of GUI layouts: hand-written
// files of several versions, saves that load back the same in every
// archive form, cells outside a table passed over, and a seeded fuzz of the
// three readers.

#include "gui/GuiLayoutFixture.h"

#include "core/io/ArchiveTestUtil.h"
#include "gui/elements/GUIComboBoxEx.h"
#include "gui/elements/GUIListBoxEx.h"
#include "gui/elements/GUITableEx.h"

namespace
{

using namespace irr;
using Graphics::GUI::CGUIComboBoxEx;
using Graphics::GUI::CGUIListBoxEx;
using Graphics::GUI::CGUITableEx;

class GuiManagerListLayoutTest : public CGuiLayoutFixture
{
protected:
    CGUIListBoxEx* List(const std::wstring& name)
    {
        return CGUIListBoxEx::FromElement(gui.GetElement(name, false));
    }
    CGUIComboBoxEx* Combo(const std::wstring& name)
    {
        return CGUIComboBoxEx::FromElement(gui.GetElement(name, false));
    }
    CGUITableEx* Table(const std::wstring& name)
    {
        return CGUITableEx::FromElement(gui.GetElement(name, false));
    }

    // Loads the fixture; what the load returned.
    bool Load(const std::string& fixture) { return gui.Load(Fixture(fixture)); }

    // What the newest fixture holds, wherever it was loaded from.
    void ExpectNewestFixture()
    {
        CGUIListBoxEx* list = List(L"people");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->IsBackgroundVisible());
        EXPECT_EQ(list->GetScrollBarId(), gui.GetElementId(L"peopleScroll", true));
        EXPECT_EQ(list->GetDownButtonId(), gui.GetElementId(L"peopleDown", true));
        ASSERT_EQ(list->GetItemCount(), 2);
        EXPECT_EQ(list->GetItemText(0), L"Ann");
        EXPECT_EQ(list->GetItemData(0), L"a 1");
        EXPECT_EQ(list->GetItemIcon(0), -1);
        EXPECT_EQ(list->GetItemText(1), L"Bob B.");
        EXPECT_EQ(list->GetItemIcon(1), 3);
        EXPECT_EQ(list->GetItemData(1), L"");
        const bool colours[2][4] = {{false, false, false, true}, {true, false, true, false}};
        for (int32_t item = 0; item < 2; ++item)
        {
            for (int32_t kind = 0; kind < 4; ++kind)
                EXPECT_EQ(list->HasItemColor(item, kind), colours[item][kind]) << item << "/" << kind;
        }
        EXPECT_FLOAT_EQ(list->GetItemColor(1, 2).a, 128.0f / 255.0f);
        EXPECT_FLOAT_EQ(list->GetItemColor(0, 3).g, 1.0f);

        CGUIComboBoxEx* combo = Combo(L"size");
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetMaxItems(), 3u);
        EXPECT_EQ(combo->GetButtonId(), gui.GetElementId(L"sizeButton", true));
        EXPECT_EQ(combo->GetListId(), gui.GetElementId(L"sizeList", true));
        ASSERT_EQ(combo->GetItemCount(), 2);
        EXPECT_EQ(combo->GetItemData(0), L"s");
        EXPECT_EQ(combo->GetItemText(1), L"Large");
        EXPECT_EQ(combo->GetSelected(), 0);

        CGUITableEx* table = Table(L"scores");
        ASSERT_NE(table, nullptr);
        EXPECT_FALSE(table->GetDrawBackground());
        ASSERT_EQ(table->GetColumnCount(), 2);
        EXPECT_EQ(table->GetColumnText(0), L"Name");
        EXPECT_EQ(table->GetColumnWidth(0), 120u);
        EXPECT_EQ(table->GetColumnWidth(1), 200u);
        EXPECT_EQ(table->GetColumnOrdering(0), 2);
        EXPECT_EQ(table->GetColumnOrdering(1), 0);
        ASSERT_EQ(table->GetRowCount(), 3);
        EXPECT_EQ(table->GetCellText(0, 0), L"Ann");
        EXPECT_EQ(table->GetCellData(0, 0), L"player 1");
        EXPECT_EQ(table->GetCellText(1, 1), L"30");
        EXPECT_EQ(table->GetCellData(2, 1), L"late");
        EXPECT_EQ(table->GetCellText(2, 0), L"");
        EXPECT_EQ(table->GetActiveColumn(), 1);
        EXPECT_EQ(table->GetSelected(), 2);
        EXPECT_EQ(table->GetDrawFlags(), 3);
        EXPECT_TRUE(table->GetMoveOverSelect());
        EXPECT_FALSE(table->HasResizableColumns());
    }
};

TEST_F(GuiManagerListLayoutTest, TheNewestFixtureLoadsWithOneTableEvent)
{
    CGuiRecorder recorder;
    ASSERT_TRUE(Load("lists_v1030.kvogui"));
    ExpectNewestFixture();
    // The active row is published as the table's selection; the active
    // column is set without the header event.
    EXPECT_EQ(recorder.Of({21, 22}), (std::vector<SGuiRecord>{{L"scores", 21}}));
    recorder.records.clear();
    gui.RemoveTableAllRows(Table(L"scores"));
    EXPECT_EQ(recorder.Of({21}), (std::vector<SGuiRecord>{{L"scores", 21}}));
}

TEST_F(GuiManagerListLayoutTest, SavesLoadBackTheSameInEveryForm)
{
    ASSERT_TRUE(Load("lists_v1030.kvogui"));
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        for (bool relative : {false, true})
        {
            SCOPED_TRACE(std::string(mode) + (relative ? " relative" : " pixels"));
            const std::wstring path = folder.Wide(std::string("saved_") + mode + ".kvogui");
            ASSERT_TRUE(gui.Save(path, mode, relative, nullptr));
            if (std::string(mode) == "UTF8")
            {
                // Only the colours an item has are written.
                const std::string text = folder.Read(std::string("saved_") + mode + ".kvogui");
                for (const auto& [key, count] : {std::pair<std::string, size_t>{"-TextColor", 1},
                                                 {"-TextHighlightColor", 0},
                                                 {"-IconColor", 1},
                                                 {"-IconHighlightColor", 1}})
                {
                    size_t found = 0;
                    for (size_t at = text.find(key + " "); at != std::string::npos;
                         at = text.find(key + " ", at + 1))
                        ++found;
                    EXPECT_EQ(found, count) << key;
                }
            }
            gui.Clear();
            ASSERT_TRUE(gui.Load(path));
            ExpectNewestFixture();
        }
    }
}

TEST_F(GuiManagerListLayoutTest, OlderVersionsLoadWithoutTheirNewerKeys)
{
    ASSERT_TRUE(Load("lists_v1015.kvogui"));
    CGUIListBoxEx* list = List(L"old");
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->IsBackgroundVisible());
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetItemIcon(0), -1);
    EXPECT_EQ(list->GetItemData(0), L"one");
    // "-Id 7" names the combo box "7".
    CGUIComboBoxEx* combo = Combo(L"7");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetItemText(0), L"only");
    EXPECT_EQ(combo->GetMaxItems(), 5u);

    ASSERT_TRUE(Load("lists_v1020.kvogui"));
    combo = Combo(L"mid");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetMaxItems(), 5u);
    EXPECT_EQ(combo->GetButtonId(), gui.GetElementId(L"midButton", true));
    EXPECT_EQ(combo->GetListId(), 0);
}

TEST_F(GuiManagerListLayoutTest, ColumnWidthsFollowTheWidthRule)
{
    CGUITableEx* table = gui.AddTableNamed(L"widths", CRect(0, 0, 400, 300), true);
    for (int column = 0; column < 3; ++column)
        gui.AddTableColumn(table, L"column", -1);
    table->SetColumnWidth(0, 150);
    table->SetColumnWidth(1, 2);
    table->SetColumnWidth(2, 400);
    const std::wstring path = folder.Wide("widths.kvogui");
    ASSERT_TRUE(gui.Save(path, "UTF8", false, table));
    gui.Clear();
    ASSERT_TRUE(gui.Load(path));
    table = Table(L"widths");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetColumnWidth(0), 150u);
    EXPECT_EQ(table->GetColumnWidth(2), 400u);
    // A saved width of 2 pixels or less reads as a fraction of the screen,
    // unless the library widened the column on saving (it keeps a minimum).
    const uint32_t saved = table->GetColumnWidth(1);
    EXPECT_TRUE(saved == 1600u || saved > 2u) << saved;
}

TEST_F(GuiManagerListLayoutTest, CellsOutsideTheTableArePassedOverAndBoundsRefused)
{
    ASSERT_TRUE(Load("table_outside_v1030.kvogui"));
    CGUITableEx* table = Table(L"ghosts");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetRowCount(), 1);
    EXPECT_EQ(table->GetColumnCount(), 1);
    EXPECT_EQ(table->GetCellText(0, 0), L"kept");
    EXPECT_EQ(table->GetCellData(0, 0), L"kept data");

    std::string text = GuiTest::Fixture("lists_v1030.kvogui");
    text.replace(text.find("-RowCount 3"), 11, "-RowCount 4000000");
    folder.Write("huge.kvogui", text);
    EXPECT_EQ(ErrorOf([&] { gui.Load(folder.Wide("huge.kvogui")); }),
              L"[CGuiManager::ReadTable] Too many table cells:4000000");
    text = GuiTest::Fixture("lists_v1030.kvogui");
    text.replace(text.find("-Order 2"), 8, "-Order 99");
    folder.Write("order.kvogui", text);
    EXPECT_EQ(ErrorOf([&] { gui.Load(folder.Wide("order.kvogui")); }),
              L"[CGuiManager::ReadTable] Invalid column ordering:99");
}

// Random damage to the fixtures: every load ends, with or without an
// error, and leaves a GUI that works.
TEST_F(GuiManagerListLayoutTest, FuzzedLayoutsLoadOrFailCleanly)
{
    // The hand-written files, and the three readers' blocks saved in the
    // binary and compressed forms.
    std::vector<std::string> seeds;
    for (const char* name : {"lists_v1030.kvogui", "lists_v1015.kvogui", "lists_v1020.kvogui"})
    {
        seeds.push_back(GuiTest::Fixture(name));
        ASSERT_TRUE(Load(name)) << name;
    }
    for (const char* mode : {"BINARY", "COMPRESSED"})
    {
        ASSERT_TRUE(gui.Save(folder.Wide("seed"), mode, false, nullptr));
        seeds.push_back(folder.Read("seed"));
    }
    gui.Clear();
    EXPECT_GE(FuzzLoads(seeds, 20261210, std::chrono::seconds(3), 50, 1), 50u);
    ASSERT_TRUE(Load("lists_v1030.kvogui"));
    ExpectNewestFixture();
}

} // namespace
