// Opening and closing the device: driver names, failures without a display,
// what a successful Init keeps, and what Destroy and ClearCache leave.

#include "GraphicsTestSupport.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngineEventHandler.h"
#include "gui/manager/GuiManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace
{

using Graphics::CGraphicsEngine;

std::wstring InitError(CGraphicsEngine& engine, const std::string& driver, bool throwOnError)
{
    try
    {
        engine.Init(driver, 320, 200, false, 32, false, false, false, 50, 0, 0, -1, -1, throwOnError);
    }
    catch (const Misc::Error::CKVOError& error)
    {
        return error.GetMessage();
    }
    return L"(no error)";
}

// Takes the display away for one test, so windowed drivers cannot open.
class CNoDisplay
{
public:
    CNoDisplay()
    {
        if (const char* display = std::getenv("DISPLAY"))
            m_saved = display;
        unsetenv("DISPLAY");
    }
    ~CNoDisplay()
    {
        if (m_saved)
            setenv("DISPLAY", m_saved->c_str(), 1);
    }

private:
    std::optional<std::string> m_saved;
};

TEST(GraphicsEngineInit, NamesOutsideTheTableAreRefusedWhateverTheErrorSwitchSays)
{
    CGraphicsSimulation simulation;
    for (const char* name : {"opengl", "Null", "", "D3D9", "BURNINGS", "SOFTWARE ", "NULL\n"})
    {
        for (const bool throwOnError : {false, true})
        {
            SCOPED_TRACE(std::string("name '") + name + "'");
            EXPECT_EQ(InitError(simulation.graphics, name, throwOnError),
                      L"[CGraphicsEngine::Init] Invalid video driver specified:" +
                          std::wstring(name, name + strlen(name)));
            EXPECT_FALSE(simulation.graphics.IsRunning());
            EXPECT_EQ(simulation.graphics.GetDriverName(), "");
        }
    }
}

TEST(GraphicsEngineInit, WindowedDriversFailWithoutADisplay)
{
    CNoDisplay noDisplay;
    CGraphicsSimulation simulation;
    // DX names have no driver here and ask for OpenGL, which needs a display
    // as the Burnings renderer ("SOFTWARE") does.
    for (const char* name : {"OPENGL", "SOFTWARE", "DX", "DX8", "DX9"})
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(InitError(simulation.graphics, name, true),
                  L"[CGraphicsEngine::Init] Failed to create the graphics device.");
        EXPECT_FALSE(simulation.graphics.IsRunning());

        EXPECT_FALSE(simulation.graphics.Init(name, 320, 200, false, 32, false, false, false, 50, 0, 0, -1,
                                              -1, false));
        EXPECT_FALSE(simulation.graphics.IsRunning());
        // The rate is kept although no device came, so the engine still
        // does not step: it is not running.
        EXPECT_EQ(simulation.graphics.GetDesiredFrameRate(), 50u);
        EXPECT_EQ(simulation.graphics.GetDriverName(), "");
        EXPECT_EQ(simulation.graphics.GetScreenWidth(), 640u);
    }
}

TEST(GraphicsEngineInit, NullDeviceKeepsNameSizeAndSettings)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    engine.SetWindowCaption(L"Caption before the device");
    ASSERT_TRUE(engine.Init("NULL", 801, 333, false, 32, true, true, true, 25, 0, 7, 10, 20, true));

    EXPECT_TRUE(engine.IsRunning());
    EXPECT_EQ(engine.GetDriverName(), "NULL");
    EXPECT_EQ(engine.GetScreenWidth(), 801u);
    EXPECT_EQ(engine.GetScreenHeight(), 333u);
    EXPECT_EQ(engine.GetScreenBits(), 32u);
    EXPECT_TRUE(engine.IsShadowsEnabled());
    EXPECT_TRUE(engine.IsVSyncEnabled());
    EXPECT_FALSE(engine.IsFullScreen());
    EXPECT_EQ(engine.GetDesiredFrameRate(), 25u);
    EXPECT_EQ(engine.GetPeriod(), 40u);
    EXPECT_EQ(engine.GetWindowStyle(), 7u);
    // No window id: background rendering stays as it was.
    EXPECT_FALSE(engine.GetBackgroundRenderingEnabled());
    EXPECT_EQ(engine.GetWindowCaption(), L"Caption before the device");
    // The receiver and the GUI manager are attached to the new device.
    EXPECT_EQ(engine.GetDevice()->getEventReceiver(),
              static_cast<irr::IEventReceiver*>(engine.GetEventHandler()));
    EXPECT_EQ(engine.GetGuiManager()->GetDevice(), engine.GetDevice());
    EXPECT_EQ(engine.GetGuiManager()->GetGuiEnvironment(), engine.GetDevice()->getGUIEnvironment());
    // Every line of the library goes into the engine's log.
    EXPECT_EQ(engine.GetDevice()->getLogger()->getLogLevel(), irr::ELL_INFORMATION);
}

TEST(GraphicsEngineInit, AWindowIdSwitchesBackgroundRenderingOn)
{
    CGraphicsSimulation simulation;
    ASSERT_TRUE(simulation.graphics.Init("NULL", 64, 64, false, 16, false, false, false, 30, 0x1234, 0, -1,
                                         -1, true));
    EXPECT_TRUE(simulation.graphics.GetBackgroundRenderingEnabled());
    EXPECT_TRUE(simulation.graphics.IsWindowActive());
}

TEST(GraphicsEngineInit, ASecondInitReplacesTheDevice)
{
    CGraphicsSimulation simulation;
    ASSERT_TRUE(simulation.InitNull(320, 200));
    CTestCamera camera(simulation.graphics, "first");
    simulation.graphics.SetActiveCamera(&camera);

    ASSERT_TRUE(simulation.InitNull(400, 300));
    EXPECT_EQ(simulation.graphics.GetScreenWidth(), 400u);
    EXPECT_EQ(simulation.graphics.GetGuiManager()->GetGuiEnvironment(),
              simulation.graphics.GetDevice()->getGUIEnvironment());
    // The old device's camera went with its scene.
    EXPECT_EQ(simulation.graphics.GetActiveCamera(), nullptr);
}

TEST(GraphicsEngineInit, DestroyReturnsToTheClosedStateAndInitWorksAgain)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    engine.Destroy();
    engine.ClearCache();
    ASSERT_TRUE(simulation.InitNull());
    engine.Destroy();
    engine.Destroy();

    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.GetDevice(), nullptr);
    EXPECT_EQ(engine.GetDesiredFrameRate(), 0u);
    EXPECT_EQ(engine.GetPeriod(), 0u);
    EXPECT_EQ(engine.GetGuiManager()->GetGuiEnvironment(), nullptr);
    EXPECT_EQ(engine.GetGuiManager()->GetDevice(), nullptr);
    // What the last Init stored stays readable.
    EXPECT_EQ(engine.GetDriverName(), "NULL");

    ASSERT_TRUE(simulation.InitNull());
    EXPECT_TRUE(engine.IsRunning());
}

TEST(GraphicsEngineInit, WorldBoxIsReadableInEveryState)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    auto expectEmptyWorld = [&engine]
    {
        EXPECT_EQ(engine.GetWorldMin().ToString(), CVector(-1, -1, -1).ToString());
        EXPECT_EQ(engine.GetWorldMax().ToString(), CVector(1, 1, 1).ToString());
    };
    expectEmptyWorld();
    ASSERT_TRUE(simulation.InitNull());
    expectEmptyWorld();
    engine.Destroy();
    expectEmptyWorld();
}

TEST(GraphicsEngineInit, ClearCacheEmptiesSceneMeshesTexturesAndGui)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    ASSERT_TRUE(simulation.InitNull());
    irr::IrrlichtDevice* device = engine.GetDevice();
    irr::scene::ISceneManager* scene = device->getSceneManager();
    scene->addCubeSceneNode();
    irr::scene::IMesh* cube = scene->getGeometryCreator()->createCubeMesh();
    irr::scene::SAnimatedMesh* animated = new irr::scene::SAnimatedMesh(cube);
    scene->getMeshCache()->addMesh("first", animated);
    animated->drop();
    cube->drop();
    device->getVideoDriver()->addTexture(irr::core::dimension2d<irr::u32>(4, 4), "made");
    device->getGUIEnvironment()->addButton(irr::core::rect<irr::s32>(0, 0, 10, 10));
    engine.GetGuiManager()->SetElementName(L"named", 5);
    engine.GetGuiManager()->AddShortcut(65, false, false, L"named", 5, false);
    ASSERT_EQ(engine.GetNumberOfLoadedTextures(), 1u);

    engine.ClearCache();

    EXPECT_TRUE(scene->getRootSceneNode()->getChildren().empty());
    EXPECT_EQ(scene->getMeshCache()->getMeshCount(), 0u);
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 0u);
    EXPECT_TRUE(device->getGUIEnvironment()->getRootGUIElement()->getChildren().empty());
    EXPECT_EQ(engine.GetGuiManager()->GetElementName(5, false), L"");
    EXPECT_TRUE(engine.GetGuiManager()->GetShortcuts().empty());
    EXPECT_TRUE(engine.IsRunning());
}

// The frame must not reach nodes that ClearCache, ClearScene or Destroy
// removed: the cameras and the entities that follow nodes are forgotten
// with them (under the address sanitizer a use of a freed node fails).
TEST(GraphicsEngineInit, NothingKeepsANodeThatIsGone)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    engine.SetBackgroundRenderingEnabled(true);
    const std::vector<std::string> scenePasses{"DrawPreScene", "DrawPostScene"};

    for (const char* clearing : {"ClearCache", "ClearScene", "Destroy"})
    {
        SCOPED_TRACE(clearing);
        ASSERT_TRUE(simulation.InitNull());
        CTestCamera active(engine, "active");
        CTestCamera secondary(engine, "secondary");
        CTestFrameEntity moved;
        CTestFrameEntity animated;
        engine.SetActiveCamera(&active);
        engine.AddSecondaryCamera(&secondary);
        engine.AddPendingNodeUpdate(&moved);
        engine.AddAutoAnimatedEntity(&animated);

        if (std::string(clearing) == "ClearCache")
            engine.ClearCache();
        else if (std::string(clearing) == "ClearScene")
            engine.ClearScene();
        else
            engine.Destroy();

        EXPECT_EQ(engine.GetActiveCamera(), nullptr);
        EXPECT_TRUE(engine.GetSecondaryCameras().empty());
        EXPECT_FALSE(engine.RemoveAutoAnimatedEntity(&animated));
        if (!engine.IsRunning())
        {
            ASSERT_TRUE(simulation.InitNull());
        }
        CChannelRecorder recorder;
        EXPECT_TRUE(engine.Draw(false, false, false));
        EXPECT_EQ(recorder.Without({}), (std::vector<std::string>{"DrawPreGui", "DrawPostGui"}));
        EXPECT_EQ(moved.updates, 0);
        EXPECT_EQ(animated.animations, 0);
    }
}

TEST(GraphicsEngineInit, DestructionClosesAnOpenDevice)
{
    // Left open, the device (and its window) would outlive the engine; the
    // leak checker reports it when the engine does not close it.
    auto simulation = std::make_unique<CGraphicsSimulation>();
    ASSERT_TRUE(simulation->InitNull());
    simulation->graphics.GetDevice()->getSceneManager()->addCubeSceneNode();
    simulation.reset();
}

} // namespace
