#pragma once

#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

// A graphics engine on the NULL driver, drawing also while no window is
// active, without an engine object around it.
class CNullEngine
{
public:
    CNullEngine() : engine(nullptr)
    {
        engine.Init("NULL", 640, 480, false, 16, false, false, false, 60, 0, 0, -1, -1, true);
        engine.SetBackgroundRenderingEnabled(true);
    }
    irr::scene::ISceneManager* Scene() const { return engine.GetDevice()->getSceneManager(); }

    Graphics::CGraphicsEngine engine;
};
