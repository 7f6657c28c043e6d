// Text drawn through the engine's drawing function (IGraphics drawText) in
// the default font (the key "") and in named fonts, in one run: a key
// registered for a bitmap font, a key that names nothing (the built-in font
// answers), and the font file's own name found through the search paths.
// The engine has its application, so a key is first looked up as a file,
// as in a game, with two search paths set. NULL driver: the cost of the
// calls, without pixels.

#include "app/EngineComposition.h"
#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

using namespace irr;

const char* const kFontXml = "<?xml version=\"1.0\"?>\n"
                             "<font type=\"bitmap\">\n"
                             "\t<Texture index=\"0\" filename=\"bench_font0.png\" hasAlpha=\"true\" />\n"
                             "\t<c c=\"A\" r=\"0, 0, 5, 8\" />\n"
                             "\t<c c=\"B\" r=\"6, 0, 13, 8\" />\n"
                             "</font>\n";

class CTextEngine
{
public:
    CTextEngine() : m_manager(Halvane::AddEngineParts)
    {
        m_folder =
            std::filesystem::temp_directory_path() / ("halvane-bench-text-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder / "fonts");
        std::filesystem::create_directories(m_folder / "data");
        m_graphics = static_cast<Graphics::CGraphicsEngine*>(m_manager.GetSubEngines().at("graphics"));
        if (!m_graphics->Init("NULL", 640, 480, false, 32, false, false, false, 60, 0, 0, -1, -1, true))
            std::abort();
        std::ofstream(m_folder / "fonts" / "bench_font.xml") << kFontXml;
        video::IVideoDriver* driver = m_graphics->GetDevice()->getVideoDriver();
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(16, 8));
        image->fill(video::SColor(255, 255, 255, 255));
        driver->writeImageToFile(image, io::path((m_folder / "fonts" / "bench_font0.png").c_str()));
        image->drop();
        CApplication* application = m_manager.GetApplication();
        application->AddSearchPath((m_folder / "data").wstring(), false, 0);
        application->AddSearchPath((m_folder / "fonts").wstring(), false, 0);
        m_graphics->GetGuiManager()->SetFont(L"hud", L"bench_font.xml");
    }
    ~CTextEngine()
    {
        m_graphics->Destroy();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CTextEngine(const CTextEngine&) = delete;
    CTextEngine& operator=(const CTextEngine&) = delete;

    Graphics::CGraphicsEngine& graphics() { return *m_graphics; }

private:
    Simulation::CSimulationManager m_manager;
    Graphics::CGraphicsEngine* m_graphics = nullptr;
    std::filesystem::path m_folder;
};

CTextEngine& Engine()
{
    static CTextEngine engine;
    return engine;
}

void DrawIn(benchmark::State& state, const std::wstring& font)
{
    Graphics::CGraphicsEngine& graphics = Engine().graphics();
    const std::wstring text = L"ABBA";
    const CRect rect(0.1f, 0.1f, 0.5f, 0.2f);
    const CColor color(1, 1, 1, 1);
    for (auto _ : state)
        graphics.DrawText(font, text, rect, color, false, false);
}

void BM_DrawText_DefaultFont(benchmark::State& state)
{
    DrawIn(state, L"");
}

void BM_DrawText_RegisteredKey(benchmark::State& state)
{
    DrawIn(state, L"hud");
}

void BM_DrawText_UnknownKey(benchmark::State& state)
{
    DrawIn(state, L"title");
}

void BM_DrawText_FontFile(benchmark::State& state)
{
    DrawIn(state, L"bench_font.xml");
}

} // namespace

BENCHMARK(BM_DrawText_DefaultFont);
BENCHMARK(BM_DrawText_RegisteredKey);
BENCHMARK(BM_DrawText_UnknownKey);
BENCHMARK(BM_DrawText_FontFile);
