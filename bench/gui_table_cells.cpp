// Reading one cell's colour, a column's name and a cell's data from a
// 200 x 5 table through the table element, which keeps them itself (the
// library's table gives them out only by writing out the whole table).
// The floor is reading the same cell's text straight from the library's
// table. NULL driver, no display needed.
//
// Then a script reading cells with IGraphics:getTableCellData from a
// 1,000 x 5 table among a few others in the engine object's GUI (the name
// lookup, the table behind the element, the cell), beside a bare C
// function doing the same work and the same reads from C++, by name and
// from the element.
#include "app/EngineComposition.h"
#include "bench/ScriptLoop.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/WideString.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/elements/GUITableEx.h"
#include "gui/manager/GuiManager.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

// The engine object's GUI, built by a script: the table "big" (1,000 rows,
// 5 columns, each cell's data its own text) between eight tables of 20 rows.
class CScriptTables
{
public:
    static constexpr int kBigRows = 1000;
    static constexpr int kBigColumns = 5;

    CScriptTables() : m_engine(Halvane::EngineComposition())
    {
        CScriptManager::SetInstance(&m_engine);
        Graphics::CGraphicsEngine* graphics = m_engine.GetPart<Graphics::CGraphicsEngine>();
        if (!graphics->Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true))
            std::abort();
        gui = graphics->GetGuiManager();
        Run(R"(
            local G = IGraphics
            local function small(name)
                G:createTable(name, "0 0 0.5 0.5", true)
                G:addTableColumn(name, "column", -1)
                for row = 0, 19 do
                    G:addTableRow(name, -1)
                    G:setTableCellData(name, row, 0, "data")
                end
            end
            for t = 1, 4 do small("before" .. t) end
            G:createTable("big", "0.1 0.1 0.9 0.9", true)
            for column = 0, 4 do G:addTableColumn("big", "column " .. column, -1) end
            for row = 0, 999 do
                G:addTableRow("big", -1)
                for column = 0, 4 do G:setTableCellData("big", row, column, "data " .. row .. "," .. column) end
            end
            for t = 1, 4 do small("after" .. t) end
        )");
        lua_State* L = State()->GetCState();
        const luaL_Reg bare[] = {{"cellData", &BareCellData}, {nullptr, nullptr}};
        luaL_register(L, "B", bare);
        lua_pop(L, 1);
        s_current = this;
    }
    ~CScriptTables()
    {
        s_current = nullptr;
        CScriptManager::SetInstance(nullptr);
    }
    CScriptTables(const CScriptTables&) = delete;
    CScriptTables& operator=(const CScriptTables&) = delete;

    LuaPlus::LuaState* State() const { return m_engine.GetMainState(); }

    Graphics::GUI::CGuiManager* gui = nullptr;

private:
    void Run(const std::string& code)
    {
        LuaPlus::LuaState* state = State();
        if (state->LoadBuffer(code.data(), code.size(), "=tables") != 0 || state->PCall(0, 0) != 0)
        {
            std::fprintf(stderr, "%s\n", lua_tostring(state->GetCState(), -1));
            std::abort();
        }
    }

    // B:cellData(name, row, column): the same lookup and read by hand.
    static int BareCellData(lua_State* L)
    {
        Graphics::GUI::CGuiManager& gui = *s_current->gui;
        const std::wstring name = LuaPlus::lua_towstring(L, 2);
        const std::wstring data =
            gui.GetTableCellData(gui.GetElement(name, true), static_cast<int32_t>(lua_tointeger(L, 3)),
                                 static_cast<int32_t>(lua_tointeger(L, 4)));
        LuaPlus::lua_pushwstring(L, data);
        return 1;
    }

    static inline CScriptTables* s_current = nullptr;
    CScriptManager m_engine;
};

// 1,000 reads an iteration, one per row, the column going round; the
// script loops read the same cells.
constexpr const char* kScriptCell = "\"big\", i - 1, i % 5";

void BM_ScriptTableCellData(benchmark::State& run)
{
    CScriptTables tables;
    RunScriptLoop(run, tables.State(), "local G = IGraphics",
                  std::string("s = s + #G:getTableCellData(") + kScriptCell + ")");
}

// Floors: a bare C function doing the same lookup and read; the reads from
// C++ by name; the reads from C++ of the element found once.
void BM_ScriptBareCellData(benchmark::State& run)
{
    CScriptTables tables;
    RunScriptLoop(run, tables.State(), "local B = B",
                  std::string("s = s + #B:cellData(") + kScriptCell + ")");
}

void BM_CellDataByName(benchmark::State& run)
{
    CScriptTables tables;
    const std::wstring name = L"big";
    for (auto _ : run)
    {
        for (int i = 1; i <= CScriptTables::kBigRows; ++i)
            benchmark::DoNotOptimize(tables.gui->GetTableCellData(tables.gui->GetElement(name, true), i - 1,
                                                                  i % CScriptTables::kBigColumns));
    }
    run.SetItemsProcessed(run.iterations() * CScriptTables::kBigRows);
}

void BM_CellDataOfElement(benchmark::State& run)
{
    CScriptTables tables;
    gui::IGUIElement* big = tables.gui->GetElement(L"big", true);
    for (auto _ : run)
    {
        for (int i = 1; i <= CScriptTables::kBigRows; ++i)
            benchmark::DoNotOptimize(
                tables.gui->GetTableCellData(big, i - 1, i % CScriptTables::kBigColumns));
    }
    run.SetItemsProcessed(run.iterations() * CScriptTables::kBigRows);
}

BENCHMARK(BM_ScriptTableCellData)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScriptBareCellData)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellDataByName)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellDataOfElement)->Unit(benchmark::kMicrosecond);

} // namespace
