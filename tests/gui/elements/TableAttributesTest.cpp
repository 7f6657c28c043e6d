// Settings the library's table takes only as a whole (column captions, the
// background, move-over-select) leave every cell as it was: texts, data,
// colours, the order the user sorted, the selection and the active column.

#include "gui/GuiManagerTestSupport.h"

#include "gui/elements/GUITableEx.h"

#include <functional>
#include <string>
#include <vector>

namespace
{

using namespace irr;
using Graphics::GUI::CGUITableEx;

struct SCellState
{
    std::wstring text;
    std::wstring data;
    u32 color = 0;
    // What the library's table draws the cell with.
    bool drawnOverride = false;
    u32 drawnColor = 0;

    bool operator==(const SCellState& other) const
    {
        return text == other.text && data == other.data && color == other.color &&
               drawnOverride == other.drawnOverride && (!drawnOverride || drawnColor == other.drawnColor);
    }
};

std::ostream& operator<<(std::ostream& out, const SCellState& cell)
{
    std::string text(cell.text.begin(), cell.text.end());
    std::string data(cell.data.begin(), cell.data.end());
    return out << "{" << text << ", " << data << ", " << std::hex << cell.color << ", " << cell.drawnOverride
               << ", " << cell.drawnColor << std::dec << "}";
}

class TableAttributesTest : public CGuiManagerFixture
{
protected:
    // Every cell, row by row, with the colours the inner table draws.
    std::vector<SCellState> CellsOf(CGUITableEx* table)
    {
        io::IAttributes* drawn =
            simulation.graphics.GetDevice()->getFileSystem()->createEmptyAttributes(nullptr);
        table->GetInnerTable()->serializeAttributes(drawn);
        std::vector<SCellState> cells;
        for (int32_t row = 0; row < table->GetRowCount(); ++row)
        {
            for (int32_t column = 0; column < table->GetColumnCount(); ++column)
            {
                const std::string key = "Row" + std::to_string(row) + "cell" + std::to_string(column);
                cells.push_back({table->GetCellText(row, column), table->GetCellData(row, column),
                                 table->GetCellColor(row, column).color,
                                 drawn->getAttributeAsBool((key + "IsOverrideColor").c_str()),
                                 drawn->getAttributeAsColor((key + "color").c_str()).color});
            }
        }
        drawn->drop();
        return cells;
    }
};

TEST_F(TableAttributesTest, WholeTableSettingsKeepCellsSortingSelectionAndActiveColumn)
{
    CGUITableEx* table = gui.AddTableNamed(L"scores", CRect(0, 0, 400, 300), true);
    ASSERT_NE(table, nullptr);
    gui.AddTableColumn(table, L"Name", -1);
    gui.AddTableColumn(table, L"Score", -1);
    gui.SetTableColumnWidth(table, 0, 150);
    table->SetColumnOrdering(0, gui::EGCO_ASCENDING);
    const wchar_t* names[] = {L"dave", L"alice", L"erin", L"carol", L"bob"};
    for (int32_t index = 0; index < 5; ++index)
    {
        const int32_t row = table->AddRow(-1);
        table->SetCellText(row, 0, names[index]);
        if (index == 3)
            table->SetCellData(row, 1, L"data without text");
        else
            table->SetCellText(row, 1, std::to_wstring(100 - index));
        // Data only, colour only, both, and neither.
        if (index % 2 == 0)
            table->SetCellData(row, 0, std::wstring(L"id ") + names[index]);
        if (index % 3 != 2)
            table->SetCellColor(row, 1, video::SColor(255, 10 * index, 200, 7));
    }
    ASSERT_TRUE(table->OrderRows(0, gui::EGOM_ASCENDING));
    ASSERT_EQ(table->GetCellText(0, 0), L"alice");
    table->SetSelected(3);
    table->SetActiveColumnQuietly(1);
    table->SetDrawFlags(gui::EGTDF_ROWS | gui::EGTDF_COLUMNS);
    const std::vector<SCellState> before = CellsOf(table);
    ASSERT_EQ(before.size(), 10u);
    ASSERT_TRUE(before[1].drawnOverride) << "alice's score has its own colour";

    CGuiRecorder recorder;
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"caption", [&] { table->SetColumnText(1, L"Points"); }},
        {"background off", [&] { table->SetDrawBackground(false); }},
        {"move-over-select on", [&] { table->SetMoveOverSelect(true); }},
        {"same background", [&] { table->SetDrawBackground(false); }},
        {"background on", [&] { table->SetDrawBackground(true); }},
    };
    for (const auto& [what, change] : changes)
    {
        SCOPED_TRACE(what);
        change();
        EXPECT_EQ(CellsOf(table), before);
        EXPECT_EQ(table->GetSelected(), 3);
        EXPECT_EQ(table->GetActiveColumn(), 1);
        EXPECT_EQ(table->GetColumnWidth(0), 150u);
        EXPECT_EQ(table->GetColumnOrdering(0), gui::EGCO_ASCENDING);
        EXPECT_EQ(table->GetDrawFlags(), gui::EGTDF_ROWS | gui::EGTDF_COLUMNS);
    }
    EXPECT_TRUE(recorder.records.empty()) << "no events from the settings";
    EXPECT_EQ(table->GetColumnText(1), L"Points");
    EXPECT_EQ(table->GetColumnText(0), L"Name");
    EXPECT_TRUE(table->GetDrawBackground());
    EXPECT_TRUE(table->GetMoveOverSelect());

    // Data and colours still travel with their rows when sorted again.
    ASSERT_TRUE(table->OrderRows(0, gui::EGOM_DESCENDING));
    std::vector<SCellState> reversed;
    const std::vector<SCellState> after = CellsOf(table);
    for (int32_t row = 4; row >= 0; --row)
        reversed.insert(reversed.end(), before.begin() + 2 * row, before.begin() + 2 * row + 2);
    EXPECT_EQ(after, reversed);
}

TEST_F(TableAttributesTest, ACellKeepsItsColourWhenItsTextChanges)
{
    CGUITableEx* table = gui.AddTableNamed(L"colours", CRect(0, 0, 200, 100), false);
    ASSERT_NE(table, nullptr);
    gui.AddTableColumn(table, L"A", -1);
    const int32_t row = table->AddRow(-1);
    const video::SColor red(255, 200, 0, 0);
    // Coloured before it has a text, then given one and another.
    table->SetCellColor(row, 0, red);
    for (const wchar_t* text : {L"first", L"second"})
    {
        table->SetCellText(row, 0, text);
        const std::vector<SCellState> cells = CellsOf(table);
        ASSERT_EQ(cells.size(), 1u);
        EXPECT_EQ(cells[0].color, red.color) << "reported";
        EXPECT_TRUE(cells[0].drawnOverride);
        EXPECT_EQ(cells[0].drawnColor, red.color) << "drawn";
    }
}

TEST_F(TableAttributesTest, SettingsOnAnEmptyOrColumnlessTableStick)
{
    CGUITableEx* table = gui.AddTableNamed(L"empty", CRect(0, 0, 200, 100), false);
    ASSERT_NE(table, nullptr);
    table->SetMoveOverSelect(true);
    table->SetDrawBackground(true);
    EXPECT_TRUE(table->GetMoveOverSelect());
    EXPECT_TRUE(table->GetDrawBackground());
    gui.AddTableColumn(table, L"A", -1);
    table->SetColumnText(0, L"B");
    EXPECT_EQ(table->GetColumnText(0), L"B");
    EXPECT_EQ(table->GetRowCount(), 0);
    EXPECT_EQ(table->GetSelected(), -1);
}

} // namespace
