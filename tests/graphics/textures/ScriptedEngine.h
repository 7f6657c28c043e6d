#pragma once

// The program's engine object (composition root, twelve interfaces) with a
// graphics device opened from C++, for Lua code that drives the IGraphics
// texture and drawing functions against a real device. (Scripts open the
// device themselves with IGraphics:init; these cases open it directly.)

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "support/LuaTestState.h"
#include "graphics/engine/GraphicsEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

class CScriptedEngine
{
public:
    CScriptedEngine()
    {
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        m_engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(m_engine.get());
        graphics = m_engine->GetPart<Graphics::CGraphicsEngine>();
        state = m_engine->GetMainState();
    }
    ~CScriptedEngine()
    {
        m_engine.reset();
        CScriptManager::SetInstance(nullptr);
    }
    CScriptedEngine(const CScriptedEngine&) = delete;
    CScriptedEngine& operator=(const CScriptedEngine&) = delete;

    // Opens the device (tried again a moment later when the X server
    // refuses a connection that follows another's close); frames are drawn
    // while the window is inactive.
    bool Open(const char* driver, uint32_t width, uint32_t height)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            if (graphics->Init(driver, width, height, false, 32, false, false, false, 60, 0, 0, -1, -1,
                               false))
            {
                graphics->SetBackgroundRenderingEnabled(true);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Runs the code on the main state; the error message, or "".
    std::string Run(const std::string& code) { return RunScript(state, code); }

    Graphics::CGraphicsEngine* graphics = nullptr;
    LuaPlus::LuaState* state = nullptr;

private:
    std::unique_ptr<CScriptManager> m_engine;
};
