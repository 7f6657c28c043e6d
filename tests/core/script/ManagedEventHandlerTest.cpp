#include "core/script/ManagedEventHandler.h"

#include "core/foundation/KVOError.h"
#include "core/script/lua/CallGuarded.h"
#include "core/foundation/HandleRegistry.h"
#include "support/LuaTestState.h"
#include "support/ScriptRecorder.h"

#include <functional>
#include <string>
#include <vector>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;
using Misc::Error::CKVOError;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;
namespace GM = Graphics::Multicast;
namespace SM = Simulation::Multicast;

namespace
{

// release(handle) releases a handler from inside a script.
int ReleaseFromScript(lua_State* L)
{
    return LuaPlus::CallGuarded(L,
                                [L]
                                {
                                    CManagedEventHandler::Release(
                                        CManagedEventHandler::FromHandle(lua_tonumber(L, 1)));
                                    return 0;
                                });
}

class ManagedEventHandlerTest : public LuaTestState
{
protected:
    void SetUp() override
    {
        LuaTestState::SetUp();
        ASSERT_EQ(Run(kRecorder), "");
        lua_register(L, "release", &ReleaseFromScript);
    }
    void TearDown() override
    {
        CManagedEventHandler::ReleaseAll();
        LuaTestState::TearDown();
    }

    // A handler of `code` (a function expression) with the user data "u".
    CManagedEventHandler* Make(const std::string& code = "record")
    {
        CManagedEventHandler* handler = CManagedEventHandler::Create(Eval("return " + code));
        handler->setUserData(Eval("return 'u'"));
        return handler;
    }

    std::string Calls() { return TakeRecordedCalls(state); }
};

TEST_F(ManagedEventHandlerTest, EachChannelPassesItsFieldsThenUserDataAndHandled)
{
    struct Case
    {
        const char* name;
        std::function<void(CManagedEventHandler*)> subscribeAndPublish;
        std::string expected;
    };
    const CEvtUser user{"", nullptr};
    const std::vector<Case> cases = {
        {"Log",
         [](auto* h)
         {
             h->template Subscribe<Kind::Log>(0);
             CMulticastOf<Kind::Log>::Publish({L"Grüße", -3});
         },
         "Grüße,-3,u,false"},
        {"Close",
         [](auto* h)
         {
             h->template Subscribe<Kind::Close>(0);
             CMulticastOf<Kind::Close>::Publish({});
         },
         "u,false"},
        {"State",
         [](auto* h)
         {
             h->template Subscribe<Kind::State>(0);
             CMulticastOf<Kind::State>::Publish({L"menu", true});
         },
         "menu,true,u,false"},
        {"Run without a running state",
         [](auto* h)
         {
             h->template Subscribe<Kind::Run>(0);
             CMulticastOf<Kind::Run>::Publish({nullptr, true, 5});
         },
         ",true,u,false"},
        {"Gui",
         [](auto* h)
         {
             h->template Subscribe<Kind::Gui>(0);
             CMulticastOf<Kind::Gui>::Publish({nullptr, L"okButton", 7, 0});
         },
         "okButton,7,u,false"},
        {"Key: pressed, control, shift",
         [](auto* h)
         {
             h->template Subscribe<Kind::Key>(0);
             CMulticastOf<Kind::Key>::Publish({nullptr, 65, true, /*shift*/ true, /*control*/ false});
         },
         "65,true,false,true,u,false"},
        {"Mouse as window fractions",
         [](auto* h)
         {
             h->template Subscribe<Kind::Mouse>(0);
             CMulticastOf<Kind::Mouse>::Publish({nullptr, 160, 360, 0, 0, 1.5f, 640, 480, 6});
         },
         "6,0.25,0.75,1.5,u,false"},
        {"MouseButton without a window",
         [](auto* h)
         {
             h->template Subscribe<Kind::MouseButton>(0);
             CMulticastOf<Kind::MouseButton>::Publish({nullptr, 10, 20, 0, 0, 0.0f, 0, 0, 3});
         },
         "3,0,0,0,u,false"},
        {"TickGraphics",
         [](auto* h)
         {
             h->template Subscribe<Kind::TickGraphics>(0);
             CMulticastOf<Kind::TickGraphics>::Publish({nullptr, 20, 10, true});
         },
         "20,10,true,u,false"},
        {"TickPhysics",
         [](auto* h)
         {
             h->template Subscribe<Kind::TickPhysics>(0);
             CMulticastOf<Kind::TickPhysics>::Publish({nullptr, 20, 10});
         },
         "20,10,u,false"},
        {"CameraChange from no camera",
         [](auto* h)
         {
             h->template Subscribe<Kind::CameraChange>(0);
             CMulticastOf<Kind::CameraChange>::Publish({nullptr, "cam2", ""});
         },
         "cam2,,u,false"},
        {"AnimationComplete",
         [](auto* h)
         {
             h->template Subscribe<Kind::AnimationComplete>(0);
             CMulticastOf<Kind::AnimationComplete>::Publish({nullptr, "hero"});
         },
         "hero,u,false"},
        {"DrawPostGui",
         [](auto* h)
         {
             h->template Subscribe<Kind::DrawPostGui>(0);
             CMulticastOf<Kind::DrawPostGui>::Publish({});
         },
         "u,false"},
        {"Activated",
         [](auto* h)
         {
             h->template Subscribe<Kind::Activated>(0);
             CMulticastOf<Kind::Activated>::Publish({nullptr, "box", false});
         },
         "box,false,u,false"},
        {"LeaveWorld",
         [](auto* h)
         {
             h->template Subscribe<Kind::LeaveWorld>(0);
             CMulticastOf<Kind::LeaveWorld>::Publish({nullptr, "box"});
         },
         "box,u,false"},
        {"CollisionExit",
         [](auto* h)
         {
             h->template Subscribe<Kind::CollisionExit>(0);
             CMulticastOf<Kind::CollisionExit>::Publish({nullptr, "Q", "P"});
         },
         "Q,P,u,false"},
        {"WorldUnload",
         [](auto* h)
         {
             h->template Subscribe<Kind::WorldUnload>(0);
             CMulticastOf<Kind::WorldUnload>::Publish({nullptr, L"levels/été.kvo"});
         },
         "levels/été.kvo,u,false"},
        {"UserEvent without arguments",
         [&user](auto* h)
         {
             h->template Subscribe<Kind::UserEvent>(0);
             CMulticastOf<Kind::UserEvent>::Publish(user);
         },
         "nil,u,false"},
    };
    for (const Case& c : cases)
    {
        CManagedEventHandler* handler = Make();
        c.subscribeAndPublish(handler);
        EXPECT_EQ(Calls(), c.expected) << c.name;
        CManagedEventHandler::Release(handler);
    }
}

TEST_F(ManagedEventHandlerTest, FiltersDropEventsBeforeTheScript)
{
    CManagedEventHandler* gui = Make();
    gui->Subscribe<Kind::Gui>(0);
    EXPECT_FALSE(CMulticastOf<Kind::Gui>::Publish({nullptr, L"menu__GuiInternal__scroll", 1, 0}));
    EXPECT_EQ(Calls(), "");

    CManagedEventHandler* box = Make();
    box->setEventFilter("box");
    box->Subscribe<Kind::Activated>(0);
    box->Subscribe<Kind::LeaveWorld>(0);
    CMulticastOf<Kind::Activated>::Publish({nullptr, "crate", true});
    CMulticastOf<Kind::Activated>::Publish({nullptr, "Box", true});
    CMulticastOf<Kind::LeaveWorld>::Publish({nullptr, "box"});
    EXPECT_EQ(Calls(), "box,u,false");

    // A filtered collision handler gets its own entity first.
    CManagedEventHandler* p = Make();
    p->setEventFilter("P");
    p->Subscribe<Kind::CollisionEnter>(0);
    CMulticastOf<Kind::CollisionEnter>::Publish({nullptr, "P", "Q"});
    CMulticastOf<Kind::CollisionEnter>::Publish({nullptr, "Q", "P"});
    CMulticastOf<Kind::CollisionEnter>::Publish({nullptr, "Q", "R"});
    EXPECT_EQ(Calls(), "P,Q,u,false|P,Q,u,false");

    // The user event name filter always applies: "" passes only "".
    CManagedEventHandler* hit = Make();
    hit->setEventFilter("hit");
    hit->Subscribe<Kind::UserEvent>(0);
    CManagedEventHandler* unnamed = Make();
    unnamed->Subscribe<Kind::UserEvent>(0);
    const LuaObject args = Eval("return 42");
    CMulticastOf<Kind::UserEvent>::Publish({"miss", &args});
    CMulticastOf<Kind::UserEvent>::Publish({"hit", &args});
    EXPECT_EQ(Calls(), "42,u,false");
}

TEST_F(ManagedEventHandlerTest, ResultCountsAsHandledAndReachesLaterSubscribers)
{
    ASSERT_EQ(Run("function yes() return 0 end  function nothing() end"), "");
    CManagedEventHandler* first = Make("yes");
    first->Subscribe<Kind::Key>(10);
    CManagedEventHandler* second = Make();
    second->Subscribe<Kind::Key>(0);
    EXPECT_TRUE(CMulticastOf<Kind::Key>::Publish({nullptr, 1, true, false, false}, true));
    EXPECT_EQ(Calls(), "1,true,false,false,u,true");

    CManagedEventHandler::Release(first);
    CManagedEventHandler* silent = Make("nothing");
    silent->Subscribe<Kind::Key>(10);
    EXPECT_FALSE(CMulticastOf<Kind::Key>::Publish({nullptr, 2, false, false, false}, true));
    EXPECT_EQ(Calls(), "2,false,false,false,u,false");
}

TEST_F(ManagedEventHandlerTest, CallbackByNameIsResolvedOnce)
{
    ASSERT_EQ(Run("function onLog(message) calls[#calls + 1] = 'first ' .. message end"), "");
    CManagedEventHandler* handler = Make("'onLog'");
    handler->Subscribe<Kind::Log>(0);
    ASSERT_EQ(Run("onLog = function() calls[#calls + 1] = 'second' end"), "");
    CMulticastOf<Kind::Log>::Publish({L"x", 0});
    EXPECT_EQ(Calls(), "first x");

    for (const char* bad : {"'missingGlobal'", "'calls'", "42", "nil", "{}"})
    {
        try
        {
            CManagedEventHandler::Create(Eval(std::string("return ") + bad));
            ADD_FAILURE() << bad << " was accepted";
        }
        catch (const CKVOError& error)
        {
            EXPECT_EQ(error.GetMessage(), L"[CManagedEventHandler] Callback function if not found") << bad;
        }
    }
    EXPECT_EQ(CManagedEventHandler::GetCount(), 1u);
}

TEST_F(ManagedEventHandlerTest, UserDataMustBeSetAndMayBeNil)
{
    CManagedEventHandler* handler = CManagedEventHandler::Create(Eval("return record"));
    handler->Subscribe<Kind::Close>(0);
    try
    {
        CMulticastOf<Kind::Close>::Publish({});
        ADD_FAILURE() << "no error without user data";
    }
    catch (const CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CManagedEventHandler::getUserData] User data not defined.");
    }
    handler->setUserData(Eval("return nil"));
    CMulticastOf<Kind::Close>::Publish({});
    EXPECT_EQ(Calls(), "nil,false");
}

TEST_F(ManagedEventHandlerTest, TickPeriodCountsFromItsStartAndFromEachDeliveredTick)
{
    using Tick = CMulticastOf<Kind::Tick>;
    CManagedEventHandler* plain = Make();
    plain->Subscribe<Kind::Tick>(0);
    Tick::Publish({nullptr, 5, 0});
    Tick::Publish({nullptr, 9, 5});
    EXPECT_EQ(Calls(), "5,0,nil,u,false|9,5,nil,u,false");
    CManagedEventHandler::Release(plain);

    CManagedEventHandler* periodic = Make();
    periodic->setTickPeriod(100, false, 1000);
    periodic->Subscribe<Kind::Tick>(0);
    for (uint32_t time : {1050u, 1099u, 1100u, 1150u, 1199u, 1230u, 1329u, 1330u})
        Tick::Publish({nullptr, time, 0});
    EXPECT_EQ(Calls(), "1100,1000,nil,u,false|1230,1100,nil,u,false|1330,1230,nil,u,false");

    // Across the wrap of the 32-bit clock; a tick before the start is not due.
    periodic->setTickPeriod(100, false, 0xFFFFFFF0u);
    for (uint32_t time : {0xFFFFFF00u, 0x50u, 0x54u})
        Tick::Publish({nullptr, time, 0});
    EXPECT_EQ(Calls(), "84,4294967280,nil,u,false");
}

TEST_F(ManagedEventHandlerTest, SingleShotLeavesOnlyTheTickChannel)
{
    using Tick = CMulticastOf<Kind::Tick>;
    CManagedEventHandler* once = Make();
    once->setTickPeriod(50, true, 0);
    once->Subscribe<Kind::Tick>(0);
    once->Subscribe<Kind::Close>(0);
    for (uint32_t time : {40u, 60u, 200u, 400u})
        Tick::Publish({nullptr, time, 0});
    EXPECT_EQ(Calls(), "60,0,nil,u,false");
    EXPECT_FALSE(Tick::IsSubscribed(once->Base<Kind::Tick>()));
    EXPECT_EQ(CManagedEventHandler::FromHandle(once->GetHandle()), once);
    CMulticastOf<Kind::Close>::Publish({});
    EXPECT_EQ(Calls(), "u,false");
}

TEST_F(ManagedEventHandlerTest, HandlerReleasedInsideItsOwnCallbackIsNotTouchedAgain)
{
    using Tick = CMulticastOf<Kind::Tick>;
    CManagedEventHandler* self = Make("function(t, p, n, handle) release(handle); return true end");
    self->setUserData(Eval("return " + std::to_string(self->GetHandle())));
    self->setTickPeriod(0, true, 0);
    self->Subscribe<Kind::Tick>(5);
    self->Subscribe<Kind::Log>(0);

    // The next subscriber releases the one after it: that one is not called.
    CManagedEventHandler* killer = Make("function(t, p, n, handle) record('killer'); release(handle) end");
    CManagedEventHandler* victim = Make();
    killer->setUserData(Eval("return " + std::to_string(victim->GetHandle())));
    killer->Subscribe<Kind::Tick>(4);
    victim->Subscribe<Kind::Tick>(3);

    const uint32_t selfHandle = self->GetHandle();
    EXPECT_TRUE(Tick::Publish({nullptr, 10, 0}));
    EXPECT_EQ(Calls(), "killer");
    EXPECT_EQ(CManagedEventHandler::FromHandle(selfHandle), nullptr);
    EXPECT_EQ(CManagedEventHandler::GetCount(), 1u);
    EXPECT_FALSE(CMulticastOf<Kind::Log>::Publish({L"after", 0}));
}

TEST_F(ManagedEventHandlerTest, ScriptErrorLeavesThePublicationAndKeepsTheHandler)
{
    CManagedEventHandler* failing = Make("function() error('tick failed') end");
    failing->Subscribe<Kind::Tick>(1);
    CManagedEventHandler* later = Make();
    later->Subscribe<Kind::Tick>(0);
    try
    {
        CMulticastOf<Kind::Tick>::Publish({nullptr, 1, 0});
        ADD_FAILURE() << "the error did not reach the publisher";
    }
    catch (const LuaException& error)
    {
        EXPECT_NE(std::string(error.GetErrorMessage()).find("tick failed"), std::string::npos)
            << error.GetErrorMessage();
    }
    EXPECT_EQ(Calls(), "");
    EXPECT_TRUE(CMulticastOf<Kind::Tick>::IsSubscribed(failing->Base<Kind::Tick>()));
}

TEST_F(ManagedEventHandlerTest, HandlesAreValidatedAndReleaseAllEmptiesTheChannels)
{
    CManagedEventHandler* a = Make();
    CManagedEventHandler* b = Make();
    a->Subscribe<Kind::Tick>(0);
    b->Subscribe<Kind::Key>(0);
    const uint32_t handleA = a->GetHandle();
    EXPECT_NE(handleA, b->GetHandle());
    EXPECT_EQ(CManagedEventHandler::FromHandle(handleA), a);

    int other = 0;
    const uint32_t otherHandle = Misc::CHandleRegistry::GetInstance().Add(&other);
    for (double bad : {0.0, -1.0, handleA + 0.5, 4294967296.0, static_cast<double>(otherHandle)})
        EXPECT_EQ(CManagedEventHandler::FromHandle(bad), nullptr) << bad;
    Misc::CHandleRegistry::GetInstance().Remove(otherHandle);

    CManagedEventHandler::ReleaseAll();
    EXPECT_EQ(CManagedEventHandler::GetCount(), 0u);
    EXPECT_EQ(CManagedEventHandler::FromHandle(handleA), nullptr);
    EXPECT_FALSE(CMulticastOf<Kind::Tick>::Publish({nullptr, 1, 0}));
    EXPECT_FALSE(CMulticastOf<Kind::Key>::Publish({nullptr, 1, true, false, false}));
    EXPECT_EQ(Calls(), "");
}

} // namespace
