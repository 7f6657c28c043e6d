// The engine's table as a user drives it: a clicked row reaches scripts
// under the table's name, a clicked header sorts the rows and each cell's
// data goes with its row.

#include "gui/GuiManagerTestSupport.h"

#include "gui/elements/GUITableEx.h"

namespace
{

using namespace irr;
using Graphics::GUI::CGUITableEx;

class GUITableExTest : public CGuiManagerFixture
{
};

TEST_F(GUITableExTest, ClicksSelectRowsAndSortWithTheData)
{
    CGUITableEx* table = gui.AddTableNamed(L"scores", CRect(0, 0, 400, 300), true);
    ASSERT_NE(table, nullptr);
    gui.AddTableColumn(table, L"Name", -1);
    gui.SetTableColumnWidth(table, 0, 200);
    gui.SetTableColumnOrdering(table, 0, gui::EGCO_ASCENDING);
    const wchar_t* names[] = {L"carol", L"alice", L"bob"};
    for (const wchar_t* name : names)
    {
        const int32_t row = gui.AddTableRow(table, -1);
        gui.SetTableCellText(table, row, 0, name);
        gui.SetTableCellData(table, row, 0, std::wstring(L"data ") + name);
    }

    CGuiRecorder recorder;
    // The header row is as high as a row; the click lands on the second row.
    const int header =
        static_cast<int>(environment()->getSkin()->getFont()->getDimension(L"A").Height + 2 * 2);
    Click(50, header + header + header / 2);
    EXPECT_EQ(gui.GetTableSelectedRow(table), 1);
    const std::vector<SGuiRecord> changes = recorder.Of({21});
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.front(), (SGuiRecord{L"scores", 21}));

    // A header click sorts by that column.
    Click(50, header / 2);
    EXPECT_EQ(gui.GetTableCellText(table, 0, 0), L"alice");
    EXPECT_EQ(gui.GetTableCellData(table, 0, 0), L"data alice");
    EXPECT_EQ(gui.GetTableCellData(table, 2, 0), L"data carol");
}

TEST_F(GUITableExTest, CellsOutsideTheTableAreLeftAlone)
{
    CGUITableEx* table = gui.AddTableNamed(L"t", CRect(0, 0, 400, 300), false);
    gui.AddTableColumn(table, L"A", -1);
    gui.AddTableRow(table, -1);
    gui.SetTableCellData(table, 0, 0, L"kept");
    for (int32_t index : {-1, 1, 1000000, INT32_MIN, INT32_MAX})
    {
        table->SetCellData(index, 0, L"x");
        table->SetCellData(0, index, L"x");
        table->SetCellText(index, index, L"x");
        table->SwapRows(0, index);
        table->RemoveRow(index);
        table->RemoveColumn(index);
        EXPECT_EQ(table->GetCellData(index, 0), L"");
        EXPECT_EQ(table->GetColumnText(index), L"");
        EXPECT_FALSE(table->SetActiveColumn(index, true));
    }
    EXPECT_EQ(gui.GetTableCellData(table, 0, 0), L"kept");
    EXPECT_EQ(gui.GetTableRowCount(table), 1);
    EXPECT_EQ(gui.GetTableColumnCount(table), 1);
}

} // namespace
