// Loading a GUI layout of 1,000 check boxes (text, BINARY and COMPRESSED)
// next to building the same check boxes straight through Irrlicht's GUI
// environment, in the same run. Each iteration starts from an empty GUI.

#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

using namespace irr;

constexpr int kElements = 1000;
const char* const kModes[] = {"UTF8", "BINARY", "COMPRESSED"};

core::rect<s32> RectOf(int index)
{
    const s32 x = (index % 40) * 20;
    const s32 y = (index / 40) * 24;
    return core::rect<s32>(x, y, x + 18, y + 20);
}

// The engine with a NULL device and the layouts saved once.
class CLayoutEngine
{
public:
    CLayoutEngine() : m_engine(nullptr)
    {
        m_engine.Init("NULL", 800, 600, false, 32, false, false, false, 60, 0, 0, -1, -1, true);
        m_folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-layout-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
        Graphics::GUI::CGuiManager& manager = gui();
        for (int i = 0; i < kElements; ++i)
        {
            const core::rect<s32> rect = RectOf(i);
            manager.AddCheckBoxNamed(L"box" + std::to_wstring(i), L"Option " + std::to_wstring(i), i % 2 == 0,
                                     CRect(static_cast<float>(rect.UpperLeftCorner.X),
                                           static_cast<float>(rect.UpperLeftCorner.Y),
                                           static_cast<float>(rect.LowerRightCorner.X),
                                           static_cast<float>(rect.LowerRightCorner.Y)));
        }
        for (const char* mode : kModes)
        {
            if (!manager.Save(Path(mode), mode, false, nullptr))
                std::abort();
        }
        manager.Clear();
    }
    ~CLayoutEngine()
    {
        m_engine.Destroy();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CLayoutEngine(const CLayoutEngine&) = delete;
    CLayoutEngine& operator=(const CLayoutEngine&) = delete;

    Graphics::GUI::CGuiManager& gui() { return *m_engine.GetGuiManager(); }
    gui::IGUIEnvironment* environment() { return m_engine.GetDevice()->getGUIEnvironment(); }
    std::wstring Path(const char* mode) const
    {
        return (m_folder / (std::string(mode) + ".kvogui")).wstring();
    }

private:
    Graphics::CGraphicsEngine m_engine;
    std::filesystem::path m_folder;
};

CLayoutEngine& Engine()
{
    static CLayoutEngine engine;
    return engine;
}

void BM_LoadLayout(benchmark::State& state)
{
    CLayoutEngine& engine = Engine();
    const std::wstring path = engine.Path(kModes[state.range(0)]);
    state.SetLabel(kModes[state.range(0)]);
    for (auto _ : state)
    {
        engine.gui().Clear();
        if (!engine.gui().Load(path))
            state.SkipWithError("the layout did not load");
    }
    if (engine.environment()->getRootGUIElement()->getChildren().size() != kElements)
        state.SkipWithError("not every element loaded");
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_LoadLayout)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The floor: the same check boxes made directly, with the same ids the
// manager would hand out, without names or a file.
void BM_BuildDirectly(benchmark::State& state)
{
    CLayoutEngine& engine = Engine();
    for (auto _ : state)
    {
        engine.gui().Clear();
        gui::IGUIElement* root = engine.environment()->getRootGUIElement();
        for (int i = 0; i < kElements; ++i)
        {
            const std::wstring caption = L"Option " + std::to_wstring(i);
            engine.environment()->addCheckBox(i % 2 == 0, RectOf(i), root, i + 1, caption.c_str());
        }
    }
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_BuildDirectly)->Unit(benchmark::kMillisecond);

} // namespace
