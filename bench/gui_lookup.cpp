// GUI access by name on GUIs of 100, 1,000 and 10,000 check boxes: the
// calls behind IGraphics setControlText and getCheckbox, once naming the
// control (as scripts do) and once on the element held beforehand, in the
// same run; and the same from a script: IGraphics:getCheckbox, beside two
// bare C functions with the same arguments, one looking the name up and
// one taking the element held. Then building the GUI by name (per element:
// linear when the figure stays the same at every size), loading it from a
// layout, and removing the whole GUI (IGraphics removeGui, and shutdown),
// next to building it.

#include "app/EngineComposition.h"
#include "bench/ScriptLoop.h"
#include "core/script/ScriptManager.h"
#include "core/script/lua/LuaState.h"
#include "core/script/lua/WideString.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/elements/GuiElementProperties.h"
#include "gui/manager/GuiManager.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

using namespace irr;

// The names the lookups cycle through: spread over the whole GUI, so that
// a walk of the tree would pay for early and late elements alike.
constexpr int kLookedUp = 64;

CRect RectOf(int index)
{
    const float x = static_cast<float>((index % 40) * 20);
    const float y = static_cast<float>((index / 40 % 25) * 24);
    return CRect(x, y, x + 18, y + 20);
}

// Written digit by digit: std::to_wstring's wide formatting clones the
// locale's converter on every call, which would be timed with the building.
void WriteName(int index, std::wstring& name)
{
    name.assign(L"box");
    for (const char digit : std::to_string(index))
        name += static_cast<wchar_t>(digit);
}

std::wstring NameOf(int index)
{
    std::wstring name;
    WriteName(index, name);
    return name;
}

// The engine object with its main script state.
class CLookupEngine
{
public:
    CLookupEngine() : m_engine(Halvane::EngineComposition())
    {
        CScriptManager::SetInstance(&m_engine);
        m_graphics = m_engine.GetPart<Graphics::CGraphicsEngine>();
        if (!m_graphics->Init("NULL", 800, 600, false, 32, false, false, false, 60, 0, 0, -1, -1, true))
            std::abort();
        lua_State* L = State()->GetCState();
        const luaL_Reg bare[] = {{"byName", &BareByName}, {"held", &BareHeld}, {nullptr, nullptr}};
        luaL_register(L, "B", bare);
        lua_pop(L, 1);
        m_folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-lookup-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
    }
    ~CLookupEngine()
    {
        CScriptManager::SetInstance(nullptr);
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CLookupEngine(const CLookupEngine&) = delete;
    CLookupEngine& operator=(const CLookupEngine&) = delete;

    Graphics::GUI::CGuiManager& gui() { return *m_graphics->GetGuiManager(); }
    LuaPlus::LuaState* State() const { return m_engine.GetMainState(); }
    // What B:held hands out: held[k].
    std::vector<gui::IGUIElement*> held;

    // A fresh GUI of that many check boxes.
    void Build(int count)
    {
        gui().Clear();
        // The name and the caption in buffers kept from element to element,
        // as a loader keeps them: the harness allocates nothing per element.
        const std::wstring caption = L"Option";
        std::wstring name;
        for (int i = 0; i < count; ++i)
        {
            WriteName(i, name);
            gui().AddCheckBoxNamed(name, caption, i % 2 == 0, RectOf(i));
        }
    }

    // A layout file of that many check boxes, saved once.
    std::wstring Layout(int count)
    {
        const auto found = m_layouts.find(count);
        if (found != m_layouts.end())
            return found->second;
        Build(count);
        const std::wstring path = (m_folder / ("boxes" + std::to_string(count) + ".kvogui")).wstring();
        if (!gui().Save(path, "UTF8", false, nullptr))
            std::abort();
        gui().Clear();
        return m_layouts[count] = path;
    }

private:
    // B:byName(name, k): the name converted and looked up, as the binding
    // does. B:held(name, k): the same arguments, the element held.
    static int BareByName(lua_State* L);
    static int BareHeld(lua_State* L);

    CScriptManager m_engine;
    Graphics::CGraphicsEngine* m_graphics = nullptr;
    std::filesystem::path m_folder;
    std::map<int, std::wstring> m_layouts;
};

CLookupEngine& Engine()
{
    static CLookupEngine engine;
    return engine;
}

int CLookupEngine::BareByName(lua_State* L)
{
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::wstring name = LuaPlus::lua_towstring(L, 2);
    lua_pushboolean(L, gui.GetElementProperties().IsCheckBoxChecked(gui.GetElement(name, true)));
    return 1;
}

int CLookupEngine::BareHeld(lua_State* L)
{
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::wstring name = LuaPlus::lua_towstring(L, 2);
    const auto k = static_cast<size_t>(lua_tointeger(L, 3));
    lua_pushboolean(L, gui.GetElementProperties().IsCheckBoxChecked(Engine().held[k % Engine().held.size()]));
    return 1;
}

std::vector<std::wstring> LookedUpNames(int count)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < kLookedUp; ++i)
        names.push_back(NameOf(static_cast<int>(static_cast<int64_t>(i) * count / kLookedUp)));
    return names;
}

std::vector<gui::IGUIElement*> HeldElements(const std::vector<std::wstring>& names)
{
    std::vector<gui::IGUIElement*> elements;
    for (const std::wstring& name : names)
        elements.push_back(Engine().gui().GetElement(name, true));
    return elements;
}

void BM_SetTextByName(benchmark::State& state)
{
    Engine().Build(static_cast<int>(state.range(0)));
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::vector<std::wstring> names = LookedUpNames(static_cast<int>(state.range(0)));
    const std::wstring text = L"Changed";
    size_t at = 0;
    for (auto _ : state)
    {
        gui.SetElementText(gui.GetElement(names[at], true), text);
        at = (at + 1) % names.size();
    }
}

void BM_SetTextByPointer(benchmark::State& state)
{
    Engine().Build(static_cast<int>(state.range(0)));
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::vector<gui::IGUIElement*> elements =
        HeldElements(LookedUpNames(static_cast<int>(state.range(0))));
    const std::wstring text = L"Changed";
    size_t at = 0;
    for (auto _ : state)
    {
        gui.SetElementText(elements[at], text);
        at = (at + 1) % elements.size();
    }
}

void BM_GetCheckboxByName(benchmark::State& state)
{
    Engine().Build(static_cast<int>(state.range(0)));
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::vector<std::wstring> names = LookedUpNames(static_cast<int>(state.range(0)));
    size_t at = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(
            gui.GetElementProperties().IsCheckBoxChecked(gui.GetElement(names[at], true)));
        at = (at + 1) % names.size();
    }
}

void BM_GetCheckboxByPointer(benchmark::State& state)
{
    Engine().Build(static_cast<int>(state.range(0)));
    Graphics::GUI::CGuiManager& gui = Engine().gui();
    const std::vector<gui::IGUIElement*> elements =
        HeldElements(LookedUpNames(static_cast<int>(state.range(0))));
    size_t at = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(gui.GetElementProperties().IsCheckBoxChecked(elements[at]));
        at = (at + 1) % elements.size();
    }
}

// A script naming the controls: the prelude puts the looked-up names in
// the table names.
void ScriptLoop(benchmark::State& state, const std::string& body)
{
    const int count = static_cast<int>(state.range(0));
    Engine().Build(count);
    const std::vector<std::wstring> names = LookedUpNames(count);
    Engine().held = HeldElements(names);
    std::string prelude = "local G, B = IGraphics, B local names = {";
    for (const std::wstring& name : names)
        prelude += "'" + std::string(name.begin(), name.end()) + "',";
    prelude += "}";
    RunScriptLoop(state, Engine().State(), prelude, body);
}

void BM_ScriptGetCheckbox(benchmark::State& state)
{
    ScriptLoop(state, "local k = i % 64 if G:getCheckbox(names[k + 1]) then s = s + 1 end");
}

void BM_ScriptBareByName(benchmark::State& state)
{
    ScriptLoop(state, "local k = i % 64 if B:byName(names[k + 1], k) then s = s + 1 end");
}

void BM_ScriptBareHeld(benchmark::State& state)
{
    ScriptLoop(state, "local k = i % 64 if B:held(names[k + 1], k) then s = s + 1 end");
}

// Per element built: the same at every size when building is linear.
void BM_BuildByName(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Engine().Build(count);
    for (auto _ : state)
        Engine().Build(count);
    state.SetItemsProcessed(state.iterations() * count);
}

// The floor: the same check boxes made straight through the library's GUI
// environment, without names (Irrlicht's own tab order search runs for
// each one all the same).
void BM_BuildDirectly(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Engine().Build(count);
    gui::IGUIEnvironment* environment = Engine().gui().GetGuiEnvironment();
    for (auto _ : state)
    {
        Engine().gui().Clear();
        for (int i = 0; i < count; ++i)
        {
            const CRect rect = RectOf(i);
            environment->addCheckBox(i % 2 == 0,
                                     core::rect<s32>(static_cast<s32>(rect.x1), static_cast<s32>(rect.y1),
                                                     static_cast<s32>(rect.x2), static_cast<s32>(rect.y2)),
                                     nullptr, i + 1, L"Option");
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_LoadLayout(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::wstring path = Engine().Layout(count);
    for (auto _ : state)
    {
        Engine().gui().Clear();
        if (!Engine().gui().Load(path))
            state.SkipWithError("the layout did not load");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// Removing the whole GUI, per element; the GUI is built outside the timing.
void BM_ClearGui(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        state.PauseTiming();
        Engine().Build(count);
        state.ResumeTiming();
        Engine().gui().Clear();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_SetTextByPointer)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_SetTextByName)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_GetCheckboxByPointer)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_GetCheckboxByName)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ScriptBareHeld)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ScriptBareByName)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ScriptGetCheckbox)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_BuildByName)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildDirectly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearGui)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
