// Scrollers move a parent's children on the graphics tick: the speed per
// second, the order in which added elements enter, what happens to the
// children that leave, and the scroller's life beside its parent.

#include "gui/GuiManagerTestSupport.h"

#include "core/app/FakeClock.h"
#include "gui/manager/Scroller.h"
#include "gui/manager/GuiScrollers.h"

#include <cmath>
#include <memory>

namespace
{

using namespace irr;
using Graphics::GUI::CGuiManager;
using TickChannel = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsTick>;

class Scroller : public CGuiManagerFixture
{
protected:
    // A tick of the fixture's graphics engine at the time.
    void Tick(uint32_t now) { TickChannel::Publish({&simulation.graphics, now, now, false}); }

    // Ticks every step milliseconds from first to last, both included.
    void TickEvery(uint32_t step, uint32_t first, uint32_t last)
    {
        for (uint32_t now = first; now <= last; now += step)
            Tick(now);
    }

    // The element's upper-left corner relative to its parent, in screen
    // fractions.
    CPoint Position(gui::IGUIElement* element)
    {
        CPoint position;
        EXPECT_TRUE(gui.GetElementPosition(element, position));
        return position;
    }

    // The child's corner as its scroller keeps it: the element itself sits
    // on whole pixels.
    CPoint Kept(gui::IGUIElement* parent, gui::IGUIElement* child)
    {
        CPoint kept;
        EXPECT_TRUE(ScrollerOf(parent).GetChildPosition(child, kept));
        return kept;
    }

    // A parent covering most of the screen: 0.75 x 0.5 of 800 x 600.
    gui::IGUIElement* Panel() { return AddNamed(L"panel", core::rect<s32>(100, 100, 700, 400)); }

    CGuiManager::CScroller& ScrollerOf(gui::IGUIElement* parent)
    {
        CGuiManager::CScroller* scroller = gui.GetScrollers().Find(parent);
        EXPECT_NE(scroller, nullptr);
        return *scroller;
    }
};

TEST_F(Scroller, MovesItsChildrenByTheSpeedPerSecondAtEachPeriod)
{
    gui::IGUIElement* panel = Panel();
    // 80 x 60 pixels: 0.1 x 0.1 of the screen, placed by hand.
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    const uint32_t due = ScrollerOf(panel).GetNextDue();
    gui.AddToScroller(item, panel);
    // Moving right, the only element starts one width left of the panel.
    EXPECT_NEAR(Position(item).x, -0.1f, 1e-6);

    // A frame every 10 ms for one second: ten steps, each at its due time,
    // move it a tenth of the screen width; between them it stays.
    int moves = 0;
    float last = Position(item).x;
    for (uint32_t now = due; now < due + 1000; now += 10)
    {
        Tick(now);
        const float x = Position(item).x;
        if (x != last)
        {
            ++moves;
            EXPECT_EQ((now - due) % 100, 0u) << "moved between due times at " << now;
        }
        last = x;
    }
    EXPECT_EQ(moves, 10);
    CPoint kept;
    ASSERT_TRUE(ScrollerOf(panel).GetChildPosition(item, kept));
    EXPECT_NEAR(kept.x, -0.1f + 0.1f, 1e-5);
    EXPECT_NEAR(kept.y, 0.0f, 1e-6);
    // The element itself is where the scroller keeps it, to the pixel.
    EXPECT_NEAR(item->getRelativePosition().UpperLeftCorner.X, kept.x * 800, 1);

    // Frames that come late still move it by the time that has passed: the
    // speed holds whatever the frame rate.
    const float before = kept.x;
    TickEvery(37, due + 1000, due + 2000);
    ASSERT_TRUE(ScrollerOf(panel).GetChildPosition(item, kept));
    // Steps at the first frames past each due time, the last one at +1925.
    EXPECT_NEAR(kept.x - before, 0.1f * 1.025f, 1e-5);
}

TEST_F(Scroller, AddedElementsEnterBehindTheOnesThereFromTheSideTheyMoveFrom)
{
    struct SCase
    {
        float speedX;
        float speedY;
        // Expected corners of the first and the second element (each
        // 0.1 x 0.1 wide, the second 0.2 x 0.2) in the 0.75 x 0.5 panel.
        CPoint first;
        CPoint second;
    };
    const SCase cases[] = {
        {0.1f, 0.0f, {-0.1f, 0.05f}, {-0.3f, 0.05f}},  // right: left of everything
        {-0.1f, 0.0f, {0.75f, 0.05f}, {0.85f, 0.05f}}, // left: right of everything
        {0.0f, 0.1f, {0.05f, -0.1f}, {0.05f, -0.3f}},  // down: above everything
        {0.0f, -0.1f, {0.05f, 0.5f}, {0.05f, 0.6f}},   // up: below everything
        {0.2f, -0.3f, {-0.1f, 0.5f}, {-0.3f, 0.6f}},   // both axes at once
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "speed " << test.speedX << ", " << test.speedY);
        gui.Clear();
        gui::IGUIElement* panel = Panel();
        // Both made elsewhere at (0.05, 0.05) of the screen.
        gui::IGUIElement* first = AddNamed(L"first", core::rect<s32>(40, 30, 120, 90));
        gui::IGUIElement* second = AddNamed(L"second", core::rect<s32>(40, 30, 200, 150));
        ASSERT_TRUE(gui.AddScroller(panel, test.speedX, test.speedY, 100, true));
        gui.AddToScroller(first, panel);
        gui.AddToScroller(second, panel);
        EXPECT_EQ(first->getParent(), panel);
        EXPECT_EQ(second->getParent(), panel);
        EXPECT_NEAR(Position(first).x, test.first.x, 1e-6);
        EXPECT_NEAR(Position(first).y, test.first.y, 1e-6);
        EXPECT_NEAR(Position(second).x, test.second.x, 1e-6);
        EXPECT_NEAR(Position(second).y, test.second.y, 1e-6);
    }
}

TEST_F(Scroller, ALongQueueWaitsFarOutsideTheScreen)
{
    gui::IGUIElement* panel = Panel();
    ASSERT_TRUE(gui.AddScroller(panel, 0.5f, 0.0f, 100, true));
    // Lines of credits 0.9 of the screen wide: the third one waits 2.7
    // screen widths to the left, in pixels as much, not at a pixel near 0.
    std::vector<gui::IGUIElement*> lines;
    for (int index = 0; index < 3; ++index)
    {
        lines.push_back(AddNamed(L"line" + std::to_wstring(index), core::rect<s32>(0, 0, 720, 30)));
        gui.AddToScroller(lines.back(), panel);
    }
    // (Read back from whole pixels, each place may be a pixel off.)
    EXPECT_NEAR(Position(lines[2]).x, -2.7f, 0.003f);
    EXPECT_NEAR(lines[2]->getRelativePosition().UpperLeftCorner.X, -2160, 2);
}

TEST_F(Scroller, ChildrenThatLeaveAreRemovedOrStayWhereTheyStopped)
{
    for (const bool removeWhenOut : {true, false})
    {
        SCOPED_TRACE(removeWhenOut ? "remove when out" : "keep");
        gui.Clear();
        gui::IGUIElement* panel = Panel();
        gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
        ASSERT_TRUE(gui.AddScroller(panel, 1.0f, 0.0f, 100, removeWhenOut));
        gui.AddToScroller(item, panel);
        const uint32_t due = ScrollerOf(panel).GetNextDue();
        const CGuiRecorder recorder;
        // One screen width a second across a panel 0.75 wide, from -0.1 at
        // 0.1 a step: at 0.8 after the ninth step, out at the tenth.
        TickEvery(100, due, due + 800);
        EXPECT_NEAR(Kept(panel, item).x, 0.8f, 1e-5);
        EXPECT_TRUE(recorder.Of({kGuiElementClosed}).empty());
        Tick(due + 900);
        if (removeWhenOut)
        {
            EXPECT_EQ(recorder.Of({kGuiElementClosed}),
                      (std::vector<SGuiRecord>{{L"item", kGuiElementClosed}}));
            EXPECT_FALSE(gui.ElementExists(L"item"));
            EXPECT_TRUE(panel->getChildren().empty());
            CPoint kept;
            EXPECT_FALSE(ScrollerOf(panel).GetChildPosition(item, kept));
        }
        else
        {
            // Out, it is not moved again.
            TickEvery(100, due + 1000, due + 2000);
            EXPECT_NEAR(Kept(panel, item).x, 0.8f, 1e-5);
            EXPECT_NEAR(item->getRelativePosition().UpperLeftCorner.X, 640, 1);
            EXPECT_TRUE(gui.ElementExists(L"item"));
        }
    }
}

TEST_F(Scroller, AChildKeptByAScriptStaysOutAndInPlace)
{
    gui::IGUIElement* panel = Panel();
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, -1.0f, 0.0f, 100, true));
    gui.AddToScroller(item, panel);
    const uint32_t due = ScrollerOf(panel).GetNextDue();
    // A subscriber answers the removal: the element stays.
    const CGuiRecorder keeper([](const CGuiEvent& event) { return event.type == kGuiElementClosed; });
    TickEvery(100, due, due + 2000);
    EXPECT_TRUE(gui.ElementExists(L"item"));
    EXPECT_LT(Position(item).x + 0.1f, 0.0f);
    EXPECT_GT(Position(item).x + 0.1f, -0.2f);
    // Asked at every step, and never moved back into view.
    EXPECT_GT(keeper.Of({kGuiElementClosed}).size(), 5u);
}

TEST_F(Scroller, AChildPlacedByHandStartsFromTheCornerAndSlowSpeedsNeverLeave)
{
    gui::IGUIElement* panel = Panel();
    gui::IGUIElement* hand = AddNamed(L"hand", core::rect<s32>(400, 150, 480, 210), panel);
    // Slower than the dead band on x; the panel's own height on y moves it.
    ASSERT_TRUE(gui.AddScroller(panel, 0.0009f, 0.0f, 100, true));
    const uint32_t due = ScrollerOf(panel).GetNextDue();
    Tick(due);
    EXPECT_NEAR(Kept(panel, hand).x, 0.0009f * 0.1f, 1e-7);
    EXPECT_EQ(Kept(panel, hand).y, 0.0f);
    EXPECT_EQ(hand->getRelativePosition().UpperLeftCorner, core::position2di(0, 0));

    // Hours later it is far beyond the right edge, and still not out on an
    // axis this slow: it goes on moving.
    Tick(due + 10000000);
    const float far = Kept(panel, hand).x;
    EXPECT_GT(far, 8.0f);
    Tick(due + 20000000);
    EXPECT_TRUE(gui.ElementExists(L"hand"));
    EXPECT_GT(Kept(panel, hand).x, far + 8.0f);
}

TEST_F(Scroller, AParentsOwnPartsStayWhereTheyAre)
{
    // A window scrolls its content; its title-bar buttons are parts of the
    // window, not content.
    gui::IGUIWindow* window = environment()->addWindow(core::rect<s32>(100, 100, 700, 400), false, L"Credits",
                                                       nullptr, gui.RegisterElementName(L"window", 0));
    gui::IGUIElement* close = window->getCloseButton();
    const core::rect<s32> closePlace = close->getRelativePosition();
    gui::IGUIElement* line = AddNamed(L"line", core::rect<s32>(0, 0, 80, 60), window);
    ASSERT_TRUE(gui.AddScroller(window, 0.0f, -0.1f, 100, true));
    gui.AddToScroller(line, window);
    // Below everything there: the window's bottom, whatever its buttons.
    EXPECT_NEAR(Kept(window, line).y, 0.5f, 1e-6);
    const uint32_t due = ScrollerOf(window).GetNextDue();
    TickEvery(100, due, due + 1000);
    EXPECT_EQ(close->getRelativePosition(), closePlace);
    CPoint kept;
    EXPECT_FALSE(ScrollerOf(window).GetChildPosition(close, kept));
    EXPECT_NEAR(Kept(window, line).y, 0.5f - 0.11f, 1e-5);
}

TEST_F(Scroller, LivesNoLongerThanItsParent)
{
    // Removing the parent drops its scroller.
    gui::IGUIElement* panel = Panel();
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    EXPECT_EQ(gui.GetScrollers().GetCount(), 1u);
    gui.Remove(L"panel");
    EXPECT_EQ(gui.GetScrollers().GetCount(), 0u);

    // A parent the library removes on its own (a window's close button)
    // stays valid for the scroller, which drops itself at its next step.
    panel = Panel();
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    gui.AddToScroller(item, panel);
    const uint32_t due = ScrollerOf(panel).GetNextDue();
    panel->remove();
    Tick(due);
    EXPECT_EQ(gui.GetScrollers().GetCount(), 0u);

    // Replacing, removing and clearing.
    panel = Panel();
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    ASSERT_TRUE(gui.AddScroller(panel, -0.2f, 0.0f, 50, false));
    EXPECT_EQ(gui.GetScrollers().GetCount(), 1u);
    EXPECT_EQ(ScrollerOf(panel).GetSpeedX(), -0.2f);
    EXPECT_FALSE(ScrollerOf(panel).GetRemoveWhenOut());
    EXPECT_TRUE(gui.GetScrollers().Remove(panel));
    EXPECT_FALSE(gui.GetScrollers().Remove(panel));
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    gui.Clear();
    EXPECT_EQ(gui.GetScrollers().GetCount(), 0u);

    // A device going away takes the scrollers with it.
    panel = Panel();
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    ASSERT_TRUE(simulation.InitNull(800, 600));
    EXPECT_EQ(gui.GetScrollers().GetCount(), 0u);
}

TEST_F(Scroller, ScriptsAnsweringARemovalMayDropTheScrollerOrItsChildren)
{
    // Each answer to the removal of the first child that leaves does
    // something else to the scroller in the middle of its step.
    const std::function<void(CGuiManager&, gui::IGUIElement*)> answers[] = {
        [](CGuiManager& manager, gui::IGUIElement* panel) { manager.GetScrollers().Remove(panel); },
        [](CGuiManager& manager, gui::IGUIElement*) { manager.Remove(L"panel"); },
        [](CGuiManager& manager, gui::IGUIElement*) { manager.Remove(L"b"); },
        [](CGuiManager& manager, gui::IGUIElement*) { manager.Clear(); },
        [](CGuiManager& manager, gui::IGUIElement* panel)
        { manager.AddScroller(panel, 0.3f, 0.0f, 10, true); },
    };
    for (size_t index = 0; index < std::size(answers); ++index)
    {
        SCOPED_TRACE(index);
        gui.Clear();
        gui::IGUIElement* panel = Panel();
        ASSERT_TRUE(gui.AddScroller(panel, 1.0f, 0.0f, 100, true));
        for (const wchar_t* name : {L"a", L"b", L"c"})
            gui.AddToScroller(AddNamed(name, core::rect<s32>(0, 0, 80, 60)), panel);
        bool answered = false;
        const CGuiRecorder recorder(
            [&](const CGuiEvent& event)
            {
                if (event.type == kGuiElementClosed && event.elementName == L"a" && !answered)
                {
                    answered = true;
                    answers[index](gui, panel);
                }
                return false;
            });
        const uint32_t due = ScrollerOf(panel).GetNextDue();
        // One screen width a second: all three leave within two seconds.
        TickEvery(100, due, due + 2000);
        EXPECT_TRUE(answered);
        TickEvery(100, due + 2100, due + 3000);
    }
}

TEST_F(Scroller, RefusesWhatItCannotScroll)
{
    gui::IGUIElement* panel = Panel();
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    EXPECT_EQ(ErrorOf([&] { gui.AddScroller(nullptr, 0.1f, 0.1f, 100, true); }),
              L"[CGuiManager::AddScroller] Invalid parent element");
    for (const float bad : {NAN, INFINITY, -INFINITY})
    {
        EXPECT_EQ(ErrorOf([&] { gui.AddScroller(panel, bad, 0.1f, 100, true); }),
                  L"[CGuiManager::AddScroller] Invalid scroller speed");
        EXPECT_EQ(ErrorOf([&] { gui.AddScroller(panel, 0.1f, bad, 100, true); }),
                  L"[CGuiManager::AddScroller] Invalid scroller speed");
    }
    EXPECT_EQ(gui.GetScrollers().GetCount(), 0u);
    EXPECT_EQ(ErrorOf([&] { gui.AddToScroller(item, panel); }),
              L"[CGuiManager::AddToScroller] Scroller does not exist");
    EXPECT_EQ(ErrorOf([&] { gui.AddToScroller(item, nullptr); }),
              L"[CGuiManager::AddToScroller] Invalid parent element");
    EXPECT_EQ(ErrorOf([&] { gui.AddToScroller(nullptr, panel); }),
              L"[CGuiManager::AddToScroller] Invalid element");

    // Nothing may become its own ancestor.
    ASSERT_TRUE(gui.AddScroller(item, 0.1f, 0.0f, 100, true));
    for (gui::IGUIElement* ancestor : {item, panel, root()})
    {
        EXPECT_EQ(ErrorOf([&] { gui.AddToScroller(ancestor, item); }),
                  L"[CGuiManager::AddToScroller] Invalid element");
    }
    EXPECT_EQ(item->getParent(), panel);
}

TEST_F(Scroller, StepsOnlyOnItsOwnEnginesTicksAndFollowsTheClockAroundItsWrap)
{
    gui::IGUIElement* panel = Panel();
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, true));
    gui.AddToScroller(item, panel);
    const uint32_t due = ScrollerOf(panel).GetNextDue();

    // Another engine's tick and a tick before the due time move nothing.
    CGraphicsSimulation other;
    TickChannel::Publish({&other.graphics, due, due, false});
    Tick(due - 1);
    EXPECT_NEAR(Position(item).x, -0.1f, 1e-6);

    // The clock wraps around: hops of less than half its range bring the
    // due time to just before the wrap, and the step after it moves by the
    // time that really passed.
    gui.Clear();
    panel = Panel();
    item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 100, false));
    gui.AddToScroller(item, panel);
    for (const uint32_t now : {0x70000000u, 0xE0000000u, 0xFFFFFF00u})
        Tick(now);
    EXPECT_GT(static_cast<int32_t>(ScrollerOf(panel).GetNextDue() - 0xFFFFFF00u), 0);
    EXPECT_LE(static_cast<int32_t>(ScrollerOf(panel).GetNextDue() - 0xFFFFFF00u), 100);
    // Back to where it enters: out, it would not move.
    gui.AddToScroller(item, panel);
    const float before = Kept(panel, item).x;
    Tick(0x10Cu);
    EXPECT_NEAR(Kept(panel, item).x - before, 0.1f * 0.524f, 1e-5);
    EXPECT_GT(static_cast<int32_t>(ScrollerOf(panel).GetNextDue() - 0x10Cu), 0);

    // A period of 0 steps at every tick, by the time since the last one.
    // (A new scroller of the parent knows none of its children: they start
    // from the corner, and the first step moves nothing with no period.)
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 0, true));
    Tick(1000);
    const float zeroBefore = Kept(panel, item).x;
    EXPECT_EQ(zeroBefore, 0.0f);
    Tick(1010);
    Tick(1010);
    Tick(1030);
    EXPECT_NEAR(Kept(panel, item).x - zeroBefore, 0.1f * 0.03f, 1e-6);
}

TEST_F(Scroller, RunsOnTheGraphicsTickOfTheLoop)
{
    CFakeClock clock(5000);
    gui::IGUIElement* panel = Panel();
    gui::IGUIElement* item = AddNamed(L"item", core::rect<s32>(0, 0, 80, 60), panel);
    ASSERT_TRUE(gui.AddScroller(panel, 0.1f, 0.0f, 0, true));
    gui.AddToScroller(item, panel);
    const float start = Position(item).x;
    simulation.graphics.SetBackgroundRenderingEnabled(true);
    // The loop's frames publish the graphics tick: 100 frames a second for
    // half a second move the element about a twentieth of the screen.
    for (int frame = 0; frame < 50; ++frame)
    {
        clock.Advance(10);
        simulation.Tick();
    }
    EXPECT_NEAR(Position(item).x - start, 0.05f, 0.005f);
}

} // namespace
