// IKey and IMouse on the program's real engine object, driven by input the
// device receives from its user: key presses and releases turn the scripts'
// actions on, off and toggled, and the mouse codes scripts receive answer
// IMouse's tests.

#include "app/EngineComposition.h"
#include "core/app/FakeClock.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "gui/manager/GuiManager.h"
#include "support/LuaTestState.h"
#include "support/ScriptRecorder.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

using namespace irr;

class IKeyMouseScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
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
    // The script expression's value as text.
    std::string Value(const std::string& expression)
    {
        return EvalScript(state, "return tostring(" + expression + ")").GetString();
    }

    void InitNull(int width, int height)
    {
        ASSERT_EQ(Run("assert(IGraphics:init('NULL', " + std::to_string(width) + ", " +
                      std::to_string(height) + ", false, 16, false, false, false, 100, false))"),
                  "");
    }

    void Key(EKEY_CODE key, bool pressed, bool shift = false, bool control = false)
    {
        SEvent event{};
        event.EventType = EET_KEY_INPUT_EVENT;
        event.KeyInput.Key = key;
        event.KeyInput.PressedDown = pressed;
        event.KeyInput.Shift = shift;
        event.KeyInput.Control = control;
        graphics->GetDevice()->postEventFromUser(event);
    }

    void Mouse(EMOUSE_INPUT_EVENT type, s32 x, s32 y, f32 wheel = 0)
    {
        SEvent event{};
        event.EventType = EET_MOUSE_INPUT_EVENT;
        event.MouseInput.Event = type;
        event.MouseInput.X = x;
        event.MouseInput.Y = y;
        event.MouseInput.Wheel = wheel;
        graphics->GetDevice()->postEventFromUser(event);
    }

    CFakeClock clock{1000};
    std::unique_ptr<CScriptManager> engine;
    LuaPlus::LuaState* state = nullptr;
    Graphics::CGraphicsEngine* graphics = nullptr;
};

TEST_F(IKeyMouseScript, KeyEventsFromTheUserDriveTheScriptsActions)
{
    InitNull(800, 600);
    ASSERT_EQ(Run(R"(
        IKey:addActionKeyCode("jump", "Jump", 0x20, false, false)
        IKey:addActionKeyCode("sprint", "Sprint", 0x57, true, false)
        IKey:addActionKeyCode("crouch", "Crouch", 0x10, false, false)
        function state(action) return tostring(IKey:isActionOn(action)) .. "/" .. tostring(IKey:isActionToggled(action)) end
    )"),
              "");

    // Space: on while held; the release turns it off and toggles it, and
    // the click is read once.
    Key(KEY_SPACE, true);
    EXPECT_EQ(Value("state('jump')"), "true/false");
    EXPECT_EQ(Value("IKey:isActionKeyOn('jump', 1)"), "true");
    Key(KEY_SPACE, false);
    EXPECT_EQ(Value("state('jump')"), "false/true");
    EXPECT_EQ(Value("IKey:isActionKeyToggled('jump', 0)"), "true");
    EXPECT_EQ(Value("IKey:isActionClicked('jump')"), "true");
    EXPECT_EQ(Value("IKey:isActionClicked('jump')"), "false");
    // Two releases without reading it leave it as it was.
    Key(KEY_SPACE, true);
    Key(KEY_SPACE, false);
    Key(KEY_SPACE, true);
    Key(KEY_SPACE, false);
    EXPECT_EQ(Value("state('jump')"), "false/false");

    // W bound with Shift: W alone leaves it off, with Shift it is on, and
    // the release without Shift still ends it. Every event with Shift held
    // reaches the Shift binding.
    Key(KEY_KEY_W, true);
    EXPECT_EQ(Value("state('sprint')"), "false/false");
    EXPECT_EQ(Value("state('crouch')"), "false/false");
    Key(KEY_KEY_W, true, true);
    EXPECT_EQ(Value("state('sprint')"), "true/false");
    EXPECT_EQ(Value("state('crouch')"), "true/false");
    Key(KEY_KEY_W, false);
    EXPECT_EQ(Value("state('sprint')"), "false/true");

    // Scripts change states as they like; reset clears them all.
    ASSERT_EQ(Run("IKey:setActionOn('jump', true) IKey:setActionToggled('sprint', true)"), "");
    EXPECT_EQ(Value("state('jump')"), "true/false");
    ASSERT_EQ(Run("IKey:reset()"), "");
    EXPECT_EQ(Value("state('jump') .. state('sprint') .. state('crouch')"),
              "false/falsefalse/falsefalse/false");
}

TEST_F(IKeyMouseScript, BindingsOutliveGuisAndDevicesWhileHeldKeysDoNot)
{
    InitNull(800, 600);
    ASSERT_EQ(Run("IKey:addActionKeyCode('fire', 'Fire', 0x11, false, false)"), "");
    Key(KEY_CONTROL, true, false, true);
    EXPECT_EQ(Value("IKey:isActionOn('fire')"), "true");

    // Emptying the GUI leaves the keys alone.
    ASSERT_EQ(Run("IGraphics:clearCache()"), "");
    EXPECT_EQ(Value("IKey:isActionOn('fire')"), "true");

    // A new device never sends the release of a key held before it: the
    // held states start afresh, the bindings stay.
    InitNull(640, 480);
    EXPECT_EQ(Value("IKey:isActionOn('fire')"), "false");
    EXPECT_EQ(Value("IKey:getActionKeyDescription('fire', 1)"), "Fire");
    Key(KEY_CONTROL, true, false, true);
    EXPECT_EQ(Value("IKey:isActionOn('fire')"), "true");
    ASSERT_EQ(Run("IGraphics:destroy()"), "");
    EXPECT_EQ(Value("IKey:isActionOn('fire')"), "false");
    EXPECT_EQ(Value("IKey:actionExists('fire')"), "true");
}

TEST_F(IKeyMouseScript, MouseCodesFromTheUserAnswerTheButtonAndWheelTests)
{
    InitNull(800, 600);
    ASSERT_EQ(Run(R"(
        local tests = {"leftButtonDown", "rightButtonDown", "centreButtonDown", "leftButtonClicked",
                       "rightButtonClicked", "centreButtonClicked", "wheelMoved"}
        IEvents:subscribeMouse(function(code, x, y, wheel)
            local answers = {}
            for _, test in ipairs(tests) do
                if IMouse[test](IMouse, code) then answers[#answers + 1] = test end
            end
            record(code, table.concat(answers, "+"), x, y, wheel)
        end, nil, 0)
    )"),
              "");
    Mouse(EMIE_MOUSE_MOVED, 200, 150);
    Mouse(EMIE_LMOUSE_PRESSED_DOWN, 200, 150);
    Mouse(EMIE_LMOUSE_LEFT_UP, 200, 150);
    Mouse(EMIE_RMOUSE_PRESSED_DOWN, 400, 300);
    Mouse(EMIE_RMOUSE_LEFT_UP, 400, 300);
    Mouse(EMIE_MMOUSE_PRESSED_DOWN, 0, 0);
    Mouse(EMIE_MMOUSE_LEFT_UP, 0, 0);
    Mouse(EMIE_MOUSE_WHEEL, 800, 600, -1.5f);
    EXPECT_EQ(Calls(), "6,,0.25,0.25,0|0,leftButtonDown,0.25,0.25,0|3,leftButtonClicked,0.25,0.25,0|"
                       "1,rightButtonDown,0.5,0.5,0|4,rightButtonClicked,0.5,0.5,0|"
                       "2,centreButtonDown,0,0,0|5,centreButtonClicked,0,0,0|7,wheelMoved,1,1,-1.5");
}

} // namespace
