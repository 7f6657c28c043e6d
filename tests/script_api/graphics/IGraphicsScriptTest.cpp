// IGraphics on the program's real engine object, seen from scripts where a
// script alone cannot make the situation: camera passes (cameras come with
// the world map), input the device receives from the user, the user closing
// the window, the caption of a new device, and meshes and textures that
// Irrlicht loads from a zip the script mounted.

#include "app/EngineComposition.h"
#include "core/app/Application.h"
#include "core/app/FakeClock.h"
#include "support/TestFolder.h"
#include "core/io/ZipTestWriter.h"
#include "core/script/ScriptManager.h"
#include "support/ScriptRecorder.h"
#include "support/LuaTestState.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/engine/GraphicsTestSupport.h"
#include "gui/manager/GuiManager.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace
{

using namespace irr;

// A 1 x 1 bitmap of 24 bits: one white pixel.
std::string WhitePixelBitmap()
{
    std::string bitmap;
    auto put = [&](uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            bitmap += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bitmap += "BM";
    put(58, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(1, 4);
    put(1, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(4, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    put(0x00FFFFFF, 4); // the pixel, padded to four bytes
    return bitmap;
}

// The program's engine object (every part, the twelve interfaces) with the
// recorder of ScriptRecorder.h on its main state.
class IGraphicsScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("HALVANE_MESSAGEBOX", "no", 1);
        engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
        CScriptManager::SetInstance(engine.get());
        engine->EnableThrottling(false);
        state = engine->GetMainState();
        graphics = engine->GetPart<Graphics::CGraphicsEngine>();
        ASSERT_NE(graphics, nullptr);
        ASSERT_EQ(Run(kRecorder), "");
    }
    void TearDown() override
    {
        engine.reset();
        CScriptManager::SetInstance(nullptr);
    }

    std::string Run(const std::string& code) { return RunScript(state, code); }
    std::string Calls() { return TakeRecordedCalls(state); }

    // Opens the NULL device from the script: width x height, 100 frames a
    // second, drawn while the (window-less) device is inactive.
    void InitNull(int width, int height)
    {
        ASSERT_EQ(Run("assert(IGraphics:init('NULL', " + std::to_string(width) + ", " +
                      std::to_string(height) +
                      ", false, 16, false, false, false, 100, false))\n"
                      "IGraphics:setBackgroundRenderingEnabled(true)"),
                  "");
    }

    IrrlichtDevice* Device() const { return graphics->GetDevice(); }

    CFakeClock clock{1000};
    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
    Graphics::CGraphicsEngine* graphics = nullptr;
};

TEST_F(IGraphicsScript, EachCameraPassReachesTheScriptsBeforeTheGuiAndTheTick)
{
    InitNull(801, 600);
    ASSERT_EQ(Run(R"(
        for _, channel in ipairs({"DrawPreScene", "DrawPostScene", "DrawPreGui", "DrawPostGui",
                                  "TickGraphics", "CameraChange"}) do
            IEvents["subscribe" .. channel](IEvents, function(...) record(channel, ...) end, "data", 0)
        end
    )"),
              "");
    CTestCamera active(*graphics, "active");
    CTestCamera second(*graphics, "second");
    CTestCamera third(*graphics, "third");
    graphics->SetActiveCamera(&active);
    ASSERT_TRUE(graphics->AddSecondaryCamera(&second));
    ASSERT_TRUE(graphics->AddSecondaryCamera(&third));
    EXPECT_EQ(Calls(), "CameraChange,active,,data,false");

    clock.Advance(100);
    engine->Tick();
    const std::string pass = "DrawPreScene,data,false|DrawPostScene,data,false|";
    EXPECT_EQ(Calls(),
              pass + pass + pass +
                  "DrawPreGui,data,false|DrawPostGui,data,false|TickGraphics,1100,0,false,data,false");

    // A frame on request has the same passes and no tick.
    ASSERT_TRUE(graphics->RemoveSecondaryCamera(&second));
    ASSERT_EQ(Run("assert(IGraphics:draw(false, false, true))"), "");
    EXPECT_EQ(Calls(), pass + pass + "DrawPreGui,data,false|DrawPostGui,data,false");

    // Destroying the device forgets the cameras.
    ASSERT_EQ(Run("IGraphics:destroy()"), "");
    EXPECT_EQ(graphics->GetActiveCamera(), nullptr);
    EXPECT_TRUE(graphics->GetSecondaryCameras().empty());
}

TEST_F(IGraphicsScript, InputFromTheUserReachesTheScriptChannelsWithTheirNumbers)
{
    InitNull(800, 600);
    ASSERT_EQ(Run(R"(
        IEvents:subscribeKey(function(...) record("Key", ...) end, nil, 0)
        IEvents:subscribeMouse(function(...) record("Mouse", ...) end, nil, 0)
        IEvents:subscribeMouseButton(function(...) record("MouseButton", ...) end, nil, 0)
        IEvents:subscribeGui(function(...) record("Gui", ...) end, nil, 0)
    )"),
              "");
    gui::IGUIButton* button =
        Device()->getGUIEnvironment()->addButton(core::rect<s32>(100, 100, 300, 200), nullptr, 42, L"OK");
    graphics->GetGuiManager()->SetElementName(L"okButton", 42);

    SEvent key{};
    key.EventType = EET_KEY_INPUT_EVENT;
    key.KeyInput.Key = KEY_KEY_A;
    key.KeyInput.PressedDown = true;
    key.KeyInput.Shift = true;
    key.KeyInput.Control = false;
    Device()->postEventFromUser(key);
    key.KeyInput.PressedDown = false;
    key.KeyInput.Shift = false;
    key.KeyInput.Control = true;
    Device()->postEventFromUser(key);
    EXPECT_EQ(Calls(), "Key,65,true,false,true,nil,false|Key,65,false,true,false,nil,false");

    // A click on the button: moving there, pressing and releasing the left
    // button; Irrlicht's button answers with its own GUI events.
    auto mouse = [&](EMOUSE_INPUT_EVENT type, s32 x, s32 y, f32 wheel)
    {
        SEvent event{};
        event.EventType = EET_MOUSE_INPUT_EVENT;
        event.MouseInput.Event = type;
        event.MouseInput.X = x;
        event.MouseInput.Y = y;
        event.MouseInput.Wheel = wheel;
        Device()->postEventFromUser(event);
    };
    mouse(EMIE_MOUSE_MOVED, 200, 150, 0);
    mouse(EMIE_LMOUSE_PRESSED_DOWN, 200, 150, 0);
    mouse(EMIE_LMOUSE_LEFT_UP, 200, 150, 0);
    EXPECT_EQ(Calls(), "Mouse,6,0.25,0.25,0,nil,false|Gui,okButton,2,nil,false|"
                       "Mouse,0,0.25,0.25,0,nil,false|MouseButton,0,0.25,0.25,0,nil,false|"
                       "Gui,okButton,1,nil,false|"
                       "Mouse,3,0.25,0.25,0,nil,false|MouseButton,3,0.25,0.25,0,nil,false|"
                       "Gui,okButton,5,nil,false");

    // The wheel; the newer library's double click has no number for
    // scripts.
    mouse(EMIE_MOUSE_WHEEL, 400, 300, -2);
    mouse(EMIE_LMOUSE_DOUBLE_CLICK, 400, 300, 0);
    EXPECT_EQ(Calls(), "Mouse,7,0.5,0.5,-2,nil,false|Gui,okButton,3,nil,false");

    // GUI events keep the older library's numbers: message box OK (15 in
    // Irrlicht 1.8) is 14 for scripts; the edit box's "changed" (18) has
    // none.
    SEvent gui{};
    gui.EventType = EET_GUI_EVENT;
    gui.GUIEvent.Caller = button;
    gui.GUIEvent.EventType = gui::EGET_MESSAGEBOX_OK;
    Device()->postEventFromUser(gui);
    gui.GUIEvent.EventType = gui::EGET_EDITBOX_CHANGED;
    Device()->postEventFromUser(gui);
    gui.GUIEvent.EventType = gui::EGET_TABLE_SELECTED_AGAIN;
    Device()->postEventFromUser(gui);
    EXPECT_EQ(Calls(), "Gui,okButton,14,nil,false|Gui,okButton,23,nil,false");
}

TEST_F(IGraphicsScript, InitGivesTheWindowTheProductCaption)
{
    CApplication& application = *engine->GetApplication();
    application.SetAppName(L"Demo");
    application.SetAppMajorVersion(3);
    application.SetAppMinorVersion(16);
    application.SetAppCopyright(L"(c) Makers");
    application.SetAppWebsite(L"example.org");
    graphics->SetWindowCaption(L"before");
    // A device that does not open leaves the caption alone.
    EXPECT_NE(Run("IGraphics:init('VULKAN', 64, 64, false, 16, false, false, false, 100, true)"), "");
    EXPECT_EQ(graphics->GetWindowCaption(), L"before");
    InitNull(64, 64);
    EXPECT_EQ(graphics->GetWindowCaption(), L"Demo v3.16 (c) Makers [example.org]");

    // The caption has room for 1023 characters.
    application.SetAppName(std::wstring(2000, L'n'));
    InitNull(64, 64);
    EXPECT_EQ(graphics->GetWindowCaption(), std::wstring(1023, L'n'));
}

TEST_F(IGraphicsScript, MeshesAndTexturesFromAMountedZipAreCountedApart)
{
    CTestFolder folder;
    const char* const mesh = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    WriteTestZip(
        folder / "assets.zip",
        {{"models/one.obj", mesh}, {"models/two.obj", mesh}, {"images/white.bmp", WhitePixelBitmap()}});
    InitNull(64, 64);
    ASSERT_EQ(Run("assert(IApp:addSearchZip([[" + folder / "assets.zip" + "]], true, 0, ''))"), "");

    // The script has no loader yet: Irrlicht loads through the bridge.
    ASSERT_NE(Device()->getSceneManager()->getMesh("one.obj"), nullptr);
    ASSERT_NE(Device()->getSceneManager()->getMesh("two.obj"), nullptr);
    ASSERT_NE(Device()->getVideoDriver()->getTexture("white.bmp"), nullptr);
    EXPECT_EQ(EvalScript(state, "return IGraphics:getNumberOfLoadedMeshes() .. ',' .. "
                                "IGraphics:getNumberOfLoadedTextures()")
                  .GetString(),
              std::string("2,1"));
    ASSERT_EQ(Run("IGraphics:clearCache()"), "");
    EXPECT_EQ(EvalScript(state, "return IGraphics:getNumberOfLoadedMeshes() .. ',' .. "
                                "IGraphics:getNumberOfLoadedTextures()")
                  .GetString(),
              std::string("0,0"));
}

// The real program ends with status 1 when the user closes the window while
// the loop runs; the scripts hear of it on the Close channel first.
TEST(IGraphicsScriptDeathTest, ClosingTheWindowEndsTheLoopAndTheProgramWithStatusOne)
{
    ::setenv("HALVANE_MESSAGEBOX", "no", 1);
    EXPECT_EXIT(
        {
            CScriptManager engine(Halvane::EngineComposition());
            CScriptManager::SetInstance(&engine);
            lua_State* L = engine.GetMainState()->GetCState();
            lua_register(L, "closeWindow",
                         [](lua_State*) -> int
                         {
                             CScriptManager::GetInstance()
                                 ->GetPart<Graphics::CGraphicsEngine>()
                                 ->GetDevice()
                                 ->closeDevice();
                             return 0;
                         });
            const std::string error = RunScript(engine.GetMainState(), R"(
                IEvents:subscribeClose(function() io.stderr:write("closed after ", frames, " frames\n") end, nil, 0)
                frames = 0
                IEvents:subscribeTickGraphics(function()
                    frames = frames + 1
                    if frames == 3 then closeWindow() end
                end, nil, 0)
                assert(IGraphics:init("NULL", 64, 64, false, 16, false, false, false, 100, false))
                IGraphics:setBackgroundRenderingEnabled(true)
                IApp:run(0)
                io.stderr:write("the loop returned\n")
            )");
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "^closed after 3 frames\n$");
}

} // namespace
