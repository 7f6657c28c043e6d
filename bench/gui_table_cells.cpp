// Reading one cell's colour, a column's name and a cell's data from a
// 200 x 5 table through the table element, which keeps them itself (the
// library's table gives them out only by writing out the whole table).
// The floor is reading the same cell's text straight from the library's
// table. NULL driver, no display needed.
#include "gui/GUITableEx.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

namespace
{

using namespace irr;
using Graphics::GUI::CGUITableEx;

constexpr int kRows = 200;
constexpr int kColumns = 5;

struct STable
{
    STable()
    {
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_NULL;
        parameters.LoggingLevel = ELL_NONE;
        device = createDeviceEx(parameters);
        gui::IGUIEnvironment* environment = device->getGUIEnvironment();
        table = new CGUITableEx(environment, environment->getRootGUIElement(),
                                core::rect<s32>(0, 0, 400, 300), true);
        table->drop();
        for (int column = 0; column < kColumns; ++column)
            table->AddColumn(L"column", -1);
        for (int row = 0; row < kRows; ++row)
        {
            table->AddRow(-1);
            for (int column = 0; column < kColumns; ++column)
            {
                table->SetCellText(row, column, L"cell text");
                table->SetCellData(row, column, L"cell data");
            }
        }
    }
    ~STable() { device->drop(); }

    IrrlichtDevice* device = nullptr;
    CGUITableEx* table = nullptr;
};

STable& Table()
{
    static STable table;
    return table;
}

void BM_CellColor(benchmark::State& state)
{
    CGUITableEx* table = Table().table;
    for (auto _ : state)
        benchmark::DoNotOptimize(table->GetCellColor(kRows / 2, 2));
}
BENCHMARK(BM_CellColor)->Unit(benchmark::kMicrosecond);

void BM_ColumnText(benchmark::State& state)
{
    CGUITableEx* table = Table().table;
    for (auto _ : state)
        benchmark::DoNotOptimize(table->GetColumnText(2));
}
BENCHMARK(BM_ColumnText)->Unit(benchmark::kMicrosecond);

void BM_CellData(benchmark::State& state)
{
    CGUITableEx* table = Table().table;
    for (auto _ : state)
        benchmark::DoNotOptimize(table->GetCellData(kRows / 2, 2));
}
BENCHMARK(BM_CellData)->Unit(benchmark::kMicrosecond);

// The floor: the library's own getter for the cell's text.
void BM_CellTextFloor(benchmark::State& state)
{
    gui::IGUITable* inner = Table().table->GetInnerTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(inner->getCellText(kRows / 2, 2));
}
BENCHMARK(BM_CellTextFloor)->Unit(benchmark::kMicrosecond);

} // namespace
