// Input injected into the device with postEventFromUser reaches the Key,
// Mouse, MouseButton and Gui channels with the numbers scripts know.

#include "GraphicsTestSupport.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngineEventHandler.h"
#include "graphics/engine/InputEventCodes.h"
#include "gui/manager/GuiManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;
using MouseRecord = Graphics::Multicast::CEvtGraphicsMouseEvent;

SEvent MouseEvent(EMOUSE_INPUT_EVENT type, s32 x, s32 y, f32 wheel = 0.0f)
{
    SEvent event;
    event.EventType = EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = type;
    event.MouseInput.X = x;
    event.MouseInput.Y = y;
    event.MouseInput.Wheel = wheel;
    event.MouseInput.Shift = false;
    event.MouseInput.Control = false;
    event.MouseInput.ButtonStates = 0;
    return event;
}

SEvent KeyEvent(EKEY_CODE key, bool pressed, bool shift = false, bool control = false)
{
    SEvent event;
    event.EventType = EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.Char = 0;
    event.KeyInput.PressedDown = pressed;
    event.KeyInput.Shift = shift;
    event.KeyInput.Control = control;
    return event;
}

SEvent GuiEvent(gui::IGUIElement* caller, gui::EGUI_EVENT_TYPE type)
{
    SEvent event;
    event.EventType = EET_GUI_EVENT;
    event.GUIEvent.Caller = caller;
    event.GUIEvent.Element = nullptr;
    event.GUIEvent.EventType = type;
    return event;
}

// Switches an input channel off for one test and on again afterwards.
template <class K> class CSwitchedOff
{
public:
    CSwitchedOff() { CMulticastOf<K>::Enable(false); }
    ~CSwitchedOff() { CMulticastOf<K>::Enable(true); }
};

class EventHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(simulation.InitNull(640, 480)); }

    bool Post(const SEvent& event) { return device()->postEventFromUser(event); }
    bool Receive(const SEvent& event) { return engine.GetEventHandler()->OnEvent(event); }
    IrrlichtDevice* device() { return engine.GetDevice(); }
    gui::IGUIEnvironment* environment() { return device()->getGUIEnvironment(); }
    Graphics::GUI::CGuiManager& gui() { return *engine.GetGuiManager(); }

    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
};

TEST_F(EventHandlerTest, AMoveReachesTheMouseChannelOnlyWithThePreviousPosition)
{
    CRecordListener<Kind::Mouse> mouse;
    CRecordListener<Kind::MouseButton> buttons;
    Post(MouseEvent(EMIE_MOUSE_MOVED, 30, 40));
    Post(MouseEvent(EMIE_MOUSE_WHEEL, 35, 45, -1.5f));

    ASSERT_EQ(mouse.records.size(), 2u);
    EXPECT_TRUE(buttons.records.empty());
    const MouseRecord& first = mouse.records[0];
    EXPECT_EQ(first.source, &engine);
    EXPECT_EQ(first.x, 30);
    EXPECT_EQ(first.y, 40);
    EXPECT_EQ(first.previousX, 0);
    EXPECT_EQ(first.previousY, 0);
    EXPECT_EQ(first.windowWidth, 640);
    EXPECT_EQ(first.windowHeight, 480);
    EXPECT_EQ(first.type, 6u);
    const MouseRecord& second = mouse.records[1];
    EXPECT_EQ(second.previousX, 30);
    EXPECT_EQ(second.previousY, 40);
    EXPECT_FLOAT_EQ(second.wheel, -1.5f);
    EXPECT_EQ(second.type, 7u);
}

TEST_F(EventHandlerTest, ButtonEventsReachTheMouseThenTheButtonChannelWithTheSameRecord)
{
    std::vector<std::string> order;
    CRecordListener<Kind::Mouse> mouse(
        [&](const MouseRecord&)
        {
            order.push_back("Mouse");
            return false;
        });
    CRecordListener<Kind::MouseButton> buttons(
        [&](const MouseRecord&)
        {
            order.push_back("MouseButton");
            return false;
        });
    const EMOUSE_INPUT_EVENT types[] = {EMIE_LMOUSE_PRESSED_DOWN, EMIE_RMOUSE_PRESSED_DOWN,
                                        EMIE_MMOUSE_PRESSED_DOWN, EMIE_LMOUSE_LEFT_UP,
                                        EMIE_RMOUSE_LEFT_UP,      EMIE_MMOUSE_LEFT_UP};
    for (const EMOUSE_INPUT_EVENT type : types)
        Receive(MouseEvent(type, 5, 6));

    ASSERT_EQ(mouse.records.size(), 6u);
    ASSERT_EQ(buttons.records.size(), 6u);
    for (size_t index = 0; index < 6; ++index)
    {
        EXPECT_EQ(mouse.records[index].type, static_cast<uint32_t>(types[index]));
        EXPECT_EQ(buttons.records[index].type, mouse.records[index].type);
        EXPECT_EQ(order[index * 2], "Mouse");
        EXPECT_EQ(order[index * 2 + 1], "MouseButton");
    }
}

TEST_F(EventHandlerTest, ThePressStillReachesTheButtonChannelWhenMousePublishingIsOff)
{
    CSwitchedOff<Kind::Mouse> off;
    CRecordListener<Kind::Mouse> mouse;
    CRecordListener<Kind::MouseButton> buttons([](const MouseRecord&) { return true; });
    EXPECT_TRUE(Receive(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, 1, 2)));
    EXPECT_TRUE(mouse.records.empty());
    ASSERT_EQ(buttons.records.size(), 1u);
    EXPECT_EQ(buttons.records[0].type, 0u);
}

TEST_F(EventHandlerTest, DoubleAndTripleClicksAreNoScriptEvents)
{
    CRecordListener<Kind::Mouse> mouse([](const MouseRecord&) { return true; });
    CRecordListener<Kind::MouseButton> buttons;
    for (const EMOUSE_INPUT_EVENT type :
         {EMIE_LMOUSE_DOUBLE_CLICK, EMIE_RMOUSE_DOUBLE_CLICK, EMIE_MMOUSE_DOUBLE_CLICK,
          EMIE_LMOUSE_TRIPLE_CLICK, EMIE_RMOUSE_TRIPLE_CLICK, EMIE_MMOUSE_TRIPLE_CLICK})
        EXPECT_FALSE(Receive(MouseEvent(type, 7, 8)));
    EXPECT_TRUE(mouse.records.empty());
    EXPECT_TRUE(buttons.records.empty());
    // They do not count as the previous position either.
    Receive(MouseEvent(EMIE_MOUSE_MOVED, 1, 1));
    EXPECT_EQ(mouse.records.at(0).previousX, 0);
}

TEST_F(EventHandlerTest, AHandledEventDoesNotReachTheGui)
{
    // A button under the cursor is pressed only when the press is not
    // consumed on the mouse channel.
    gui::IGUIButton* button = environment()->addButton(core::rect<s32>(10, 10, 100, 50), nullptr, 11);
    {
        CRecordListener<Kind::Mouse> consuming([](const MouseRecord&) { return true; });
        EXPECT_TRUE(Post(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, 20, 20)));
        EXPECT_FALSE(button->isPressed());
    }
    EXPECT_TRUE(Post(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, 20, 20)));
    EXPECT_TRUE(button->isPressed());
}

TEST_F(EventHandlerTest, KeysReachTheKeyChannel)
{
    CRecordListener<Kind::Key> keys;
    EXPECT_FALSE(Receive(KeyEvent(KEY_KEY_A, true, true, false)));
    EXPECT_FALSE(Receive(KeyEvent(KEY_F7, false, false, true)));
    ASSERT_EQ(keys.records.size(), 2u);
    EXPECT_EQ(keys.records[0].source, &engine);
    EXPECT_EQ(keys.records[0].keyCode, 0x41);
    EXPECT_TRUE(keys.records[0].pressed);
    EXPECT_TRUE(keys.records[0].shift);
    EXPECT_FALSE(keys.records[0].control);
    EXPECT_EQ(keys.records[1].keyCode, 0x76);
    EXPECT_FALSE(keys.records[1].pressed);
    EXPECT_TRUE(keys.records[1].control);

    // A handled key is consumed.
    CRecordListener<Kind::Key> consuming([](const Graphics::Multicast::CEvtGraphicsKeyEvent&)
                                         { return true; });
    EXPECT_TRUE(Post(KeyEvent(KEY_RETURN, true)));
}

TEST_F(EventHandlerTest, AShortcutPublishesTheKeyThenItsGuiEvent)
{
    gui().AddShortcut(0x41, false, true, L"saveButton", 5, false);
    std::vector<std::string> order;
    CRecordListener<Kind::Key> keys(
        [&](const Graphics::Multicast::CEvtGraphicsKeyEvent&)
        {
            order.push_back("Key");
            return false;
        });
    CRecordListener<Kind::Gui> guiEvents(
        [&](const CGuiEvent&)
        {
            order.push_back("Gui");
            // A subscriber may change the shortcuts meanwhile.
            gui().ClearShortcuts();
            return true;
        });

    // Bound keys have the pressed flag clear: the release triggers them,
    // and shift, control and code must all match.
    EXPECT_FALSE(Receive(KeyEvent(KEY_KEY_A, true, false, true)));
    EXPECT_FALSE(Receive(KeyEvent(KEY_KEY_A, false, true, true)));
    EXPECT_FALSE(Receive(KeyEvent(KEY_KEY_A, false, false, false)));
    EXPECT_TRUE(guiEvents.records.empty());
    EXPECT_TRUE(Receive(KeyEvent(KEY_KEY_A, false, false, true)));

    ASSERT_EQ(guiEvents.records.size(), 1u);
    EXPECT_EQ(order, (std::vector<std::string>{"Key", "Key", "Key", "Key", "Gui"}));
    const CGuiEvent& shortcut = guiEvents.records[0];
    EXPECT_EQ(shortcut.source, &engine);
    EXPECT_EQ(shortcut.elementName, L"saveButton");
    EXPECT_EQ(shortcut.type, 5u);
    EXPECT_EQ(shortcut.flag, 1);
    EXPECT_TRUE(gui().GetShortcuts().empty());
}

TEST_F(EventHandlerTest, AShortcutWithGuiPublishingOffStillPublishesTheKey)
{
    gui().AddShortcut(0x0D, false, false, L"ok", 5, false);
    CSwitchedOff<Kind::Gui> off;
    CRecordListener<Kind::Key> keys([](const Graphics::Multicast::CEvtGraphicsKeyEvent&) { return true; });
    CRecordListener<Kind::Gui> guiEvents([](const CGuiEvent&) { return true; });
    EXPECT_TRUE(Receive(KeyEvent(KEY_RETURN, false)));
    EXPECT_EQ(keys.records.size(), 1u);
    EXPECT_TRUE(guiEvents.records.empty());
}

TEST_F(EventHandlerTest, AClickedButtonIsPublishedWithItsRegisteredName)
{
    environment()->addButton(core::rect<s32>(10, 10, 100, 50), nullptr, 77, L"OK");
    environment()->addButton(core::rect<s32>(200, 10, 300, 50), nullptr, 78, L"Unnamed");
    gui().SetElementName(L"okButton", 77);
    CRecordListener<Kind::Gui> guiEvents;

    for (const s32 x : {20, 210})
    {
        Post(MouseEvent(EMIE_MOUSE_MOVED, x, 20));
        Post(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, x, 20));
        Post(MouseEvent(EMIE_LMOUSE_LEFT_UP, x, 20));
    }

    std::vector<std::wstring> clicked;
    for (const CGuiEvent& event : guiEvents.records)
    {
        EXPECT_EQ(event.source, &engine);
        EXPECT_EQ(event.flag, 0);
        if (event.type == 5)
            clicked.push_back(event.elementName);
    }
    // An element the GUI manager did not name is published with no name.
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"okButton", L""}));
    // Hovering and focus events came too, with the old numbers (2, 1).
    bool hovered = false;
    bool focused = false;
    for (const CGuiEvent& event : guiEvents.records)
    {
        hovered = hovered || (event.type == 2 && event.elementName == L"okButton");
        focused = focused || (event.type == 1 && event.elementName == L"okButton");
    }
    EXPECT_TRUE(hovered);
    EXPECT_TRUE(focused);
}

// A subscriber that moves the focus makes the GUI send events of its own
// from inside the publication of the click: the subscribers after it still
// get the click as it was.
TEST_F(EventHandlerTest, GuiEventsCausedByASubscriberLeaveTheClickAsItWas)
{
    environment()->addButton(core::rect<s32>(10, 10, 100, 50), nullptr, 77, L"OK");
    gui::IGUIElement* other =
        environment()->addButton(core::rect<s32>(200, 10, 300, 50), nullptr, 78, L"Other");
    gui().SetElementName(L"okButton", 77);
    gui().SetElementName(L"other", 78);
    CRecordListener<Kind::Gui> later;
    // Subscribed last at the same priority: called first.
    CRecordListener<Kind::Gui> mover(
        [&](const CGuiEvent& event)
        {
            if (event.type == 5)
                environment()->setFocus(other);
            return false;
        });

    Post(MouseEvent(EMIE_MOUSE_MOVED, 20, 20));
    Post(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, 20, 20));
    Post(MouseEvent(EMIE_LMOUSE_LEFT_UP, 20, 20));

    std::vector<std::wstring> seen;
    for (const CGuiEvent& event : later.records)
    {
        if (event.type <= 1 || event.type == 5)
            seen.push_back(event.elementName + L":" + std::to_wstring(event.type));
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"okButton:1", L"okButton:0", L"other:1", L"okButton:5"}));
}

TEST_F(EventHandlerTest, GuiEventNumbersAreTheOnesScriptsKnow)
{
    gui::IGUIElement* button = environment()->addButton(core::rect<s32>(0, 0, 10, 10), nullptr, 9);
    gui().SetElementName(L"element", 9);
    CRecordListener<Kind::Gui> guiEvents([](const CGuiEvent&) { return true; });

    struct SCase
    {
        gui::EGUI_EVENT_TYPE irrlicht;
        int script; // -1: not published
    };
    const SCase cases[] = {
        {gui::EGET_ELEMENT_FOCUS_LOST, 0},
        {gui::EGET_ELEMENT_CLOSED, 4},
        {gui::EGET_BUTTON_CLICKED, 5},
        {gui::EGET_CHECKBOX_CHANGED, 7},
        {gui::EGET_FILE_SELECTED, 10},
        {gui::EGET_DIRECTORY_SELECTED, -1},
        {gui::EGET_FILE_CHOOSE_DIALOG_CANCELLED, 11},
        {gui::EGET_MESSAGEBOX_YES, 12},
        {gui::EGET_MESSAGEBOX_CANCEL, 15},
        {gui::EGET_EDITBOX_ENTER, 16},
        {gui::EGET_EDITBOX_CHANGED, -1},
        {gui::EGET_EDITBOX_MARKING_CHANGED, -1},
        {gui::EGET_TAB_CHANGED, 17},
        {gui::EGET_COMBO_BOX_CHANGED, 19},
        {gui::EGET_SPINBOX_CHANGED, 20},
        {gui::EGET_TABLE_CHANGED, 21},
        {gui::EGET_TABLE_SELECTED_AGAIN, 23},
        {gui::EGET_TREEVIEW_NODE_DESELECT, -1},
        {gui::EGET_TREEVIEW_NODE_COLLAPSE, -1},
        {gui::EGET_COUNT, -1},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(static_cast<int>(test.irrlicht));
        guiEvents.records.clear();
        EXPECT_EQ(Receive(GuiEvent(button, test.irrlicht)), test.script >= 0);
        if (test.script < 0)
        {
            EXPECT_TRUE(guiEvents.records.empty());
            continue;
        }
        ASSERT_EQ(guiEvents.records.size(), 1u);
        EXPECT_EQ(guiEvents.records[0].type, static_cast<uint32_t>(test.script));
        EXPECT_EQ(guiEvents.records[0].elementName, L"element");
    }
}

TEST_F(EventHandlerTest, AMenuSelectionIsNamedByTheSelectedItemsCommandId)
{
    gui::IGUIContextMenu* menu = environment()->addContextMenu(core::rect<s32>(0, 0, 150, 100), nullptr, 31);
    menu->addItem(L"Open", 500);
    menu->addItem(L"Close", 501);
    gui().SetElementName(L"fileMenu", 31);
    gui().SetElementName(L"menuOpen", 500);
    gui().SetElementName(L"menuClose", 501);
    CRecordListener<Kind::Gui> guiEvents;

    // Nothing selected yet: no item name.
    Receive(GuiEvent(menu, gui::EGET_MENU_ITEM_SELECTED));
    ASSERT_EQ(guiEvents.records.size(), 1u);
    EXPECT_EQ(guiEvents.records[0].type, 18u);
    EXPECT_EQ(guiEvents.records[0].elementName, L"");

    // Pointing at the second item of the focused menu and releasing the
    // button selects it.
    guiEvents.records.clear();
    environment()->setFocus(menu);
    const s32 secondItemY = menu->getAbsolutePosition().UpperLeftCorner.Y +
                            static_cast<s32>(environment()->getSkin()->getFont()->getDimension(L"A").Height) +
                            8;
    Post(MouseEvent(EMIE_MOUSE_MOVED, 20, secondItemY));
    Post(MouseEvent(EMIE_LMOUSE_PRESSED_DOWN, 20, secondItemY));
    Post(MouseEvent(EMIE_LMOUSE_LEFT_UP, 20, secondItemY));
    std::vector<std::wstring> selected;
    for (const CGuiEvent& event : guiEvents.records)
    {
        if (event.type == 18)
            selected.push_back(event.elementName);
    }
    EXPECT_EQ(selected, (std::vector<std::wstring>{L"menuClose"}));
}

TEST_F(EventHandlerTest, WithGuiPublishingOffAGuiEventIsNotHandled)
{
    gui::IGUIElement* button = environment()->addButton(core::rect<s32>(0, 0, 10, 10), nullptr, 9);
    CSwitchedOff<Kind::Gui> off;
    CRecordListener<Kind::Gui> guiEvents([](const CGuiEvent&) { return true; });
    EXPECT_FALSE(Receive(GuiEvent(button, gui::EGET_BUTTON_CLICKED)));
    EXPECT_TRUE(guiEvents.records.empty());
}

TEST_F(EventHandlerTest, OtherEventsAreNotPublished)
{
    CChannelRecorder recorder;
    SEvent log;
    log.EventType = EET_LOG_TEXT_EVENT;
    log.LogEvent.Text = "a line";
    log.LogEvent.Level = ELL_ERROR;
    SEvent user;
    user.EventType = EET_USER_EVENT;
    user.UserEvent.UserData1 = 1;
    user.UserEvent.UserData2 = 2;
    // The library's log line is taken (it went into the engine's log and,
    // as an error, to standard error), so Irrlicht does not print it.
    EXPECT_TRUE(Receive(log));
    EXPECT_FALSE(Receive(user));
    EXPECT_TRUE(recorder.Without({"Log"}).empty());
}

// An error a subscriber raises inside Irrlicht does not unwind through the
// library: the event counts as handled, and the error reaches the engine's
// caller once the device has returned.
TEST_F(EventHandlerTest, ASubscribersErrorWaitsForTheEngineAndIsRaisedThere)
{
    struct SCase
    {
        const char* what;
        std::function<void()> raise;
        std::wstring message;
    };
    const SCase cases[] = {
        {"engine error", [] { throw Misc::Error::CKVOError(L"[Test] key handler failed"); },
         L"[Test] key handler failed"},
        {"standard error", [] { throw std::runtime_error("out of range"); }, L"out of range"},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.what);
        int calls = 0;
        CRecordListener<Kind::Key> failing(
            [&](const Graphics::Multicast::CEvtGraphicsKeyEvent&)
            {
                if (calls++ < 2)
                    test.raise();
                return false;
            });
        EXPECT_TRUE(Post(KeyEvent(KEY_KEY_X, true)));
        EXPECT_TRUE(Post(KeyEvent(KEY_KEY_X, false)));
        std::wstring message;
        try
        {
            engine.Draw(false, false, true);
        }
        catch (const Misc::Error::CKVOError& error)
        {
            message = error.GetMessage();
        }
        catch (const std::exception& error)
        {
            message = std::wstring(error.what(), error.what() + strlen(error.what()));
        }
        // The first error; the second one is dropped.
        EXPECT_EQ(message, test.message);
        EXPECT_TRUE(engine.IsRunning());
        EXPECT_NO_THROW(engine.Draw(false, false, true));
    }
}

TEST(InputEventCodes, PredicatesOnMouseCodes)
{
    using namespace Graphics;
    for (uint32_t code = 0; code < 16; ++code)
    {
        SCOPED_TRACE(code);
        EXPECT_EQ(IsLeftButtonDown(code), code == 0);
        EXPECT_EQ(IsRightButtonDown(code), code == 1);
        EXPECT_EQ(IsCentreButtonDown(code), code == 2);
        EXPECT_EQ(IsLeftButtonClicked(code), code == 3);
        EXPECT_EQ(IsRightButtonClicked(code), code == 4);
        EXPECT_EQ(IsCentreButtonClicked(code), code == 5);
        EXPECT_EQ(IsWheelMoved(code), code == 7);
        EXPECT_EQ(IsMouseButtonEvent(code), code <= 5);
    }
    EXPECT_FALSE(IsMouseButtonEvent(0xFFFFFFFFu));
}

} // namespace
