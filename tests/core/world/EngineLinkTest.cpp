// Parts and engines joined by links: whichever goes first, the other keeps
// no pointer to it (run under the address sanitizer), and each side's step
// runs once, in order.

#include "core/world/EngineLink.h"
#include "core/world/EntityStorage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Journal = std::vector<std::string>;
class CFakeEngine;

class CFakePart
{
public:
    CFakePart(const std::string& partName, Journal& journal) : name(partName), m_journal(journal) {}

    std::string name;
    Misc::World::CEngineLink<CFakeEngine> link{this, &Misc::World::CPartRelease<&CFakePart::Release>::Call};

private:
    void Release()
    {
        // The part is out already when it drops what it held.
        m_journal.push_back(name +
                            (link.IsAttached() || link.GetEngine() != nullptr ? " still in" : " released"));
    }

    Journal& m_journal;
};

class CFakeEngine
{
public:
    CFakeEngine(const std::string& name, Journal& journal) : m_name(name), m_journal(journal) {}
    // Goes down the way every engine does: its parts first.
    ~CFakeEngine() { parts.DetachAll(); }

    Misc::World::CEngineParts<CFakeEngine> parts{*this, &CFakeEngine::Forget};

private:
    static void Forget(CFakeEngine& engine, Misc::World::CEngineLink<CFakeEngine>& link)
    {
        engine.m_journal.push_back(engine.m_name + " forgets " +
                                   static_cast<CFakePart*>(link.GetPart())->name);
    }

    std::string m_name;
    Journal& m_journal;
};

TEST(EngineLinkTest, PartsAndEnginesGoInEveryOrder)
{
    // Step 0 destroys the engine, steps 1 and 2 the parts "a" and "b".
    std::vector<int> order{0, 1, 2};
    do
    {
        SCOPED_TRACE(testing::PrintToString(order));
        Journal journal;
        auto engine = std::make_unique<CFakeEngine>("engine", journal);
        std::unique_ptr<CFakePart> parts[] = {std::make_unique<CFakePart>("a", journal),
                                              std::make_unique<CFakePart>("b", journal)};
        for (auto& part : parts)
            part->link.Attach(engine->parts);
        EXPECT_EQ(parts[0]->link.GetEngine(), engine.get());
        EXPECT_EQ(engine->parts.GetCount(), 2u);

        Journal expected;
        for (int step : order)
        {
            if (step == 0)
            {
                // The engine lets go of its parts, the last joined first.
                for (int index : {1, 0})
                {
                    if (parts[index] != nullptr)
                        expected.insert(expected.end(), {"engine forgets " + parts[index]->name,
                                                         parts[index]->name + " released"});
                }
                engine.reset();
                continue;
            }
            auto& part = parts[step - 1];
            if (engine != nullptr)
                expected.push_back("engine forgets " + part->name);
            part.reset();
        }
        EXPECT_EQ(journal, expected);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(EngineLinkTest, JoiningAnotherEngineLeavesTheFirst)
{
    Journal journal;
    CFakeEngine first("first", journal);
    CFakeEngine second("second", journal);
    CFakePart part("a", journal);
    part.link.Attach(first.parts);
    part.link.Attach(first.parts);
    EXPECT_EQ(first.parts.GetCount(), 1u);
    EXPECT_TRUE(journal.empty());
    part.link.Attach(second.parts);
    EXPECT_EQ(journal, Journal{"first forgets a"});
    EXPECT_EQ(first.parts.GetCount(), 0u);
    EXPECT_EQ(second.parts.GetCount(), 1u);
    EXPECT_EQ(part.link.GetEngine(), &second);
    part.link.Detach();
    part.link.Detach();
    EXPECT_EQ(journal, (Journal{"first forgets a", "second forgets a"}));
    EXPECT_FALSE(part.link.IsAttached());
    second.parts.DetachAll();
    EXPECT_EQ(journal.size(), 2u);
}

// Node-stable containers and containers of owning pointers keep entities
// in place; relocating containers do not.
static_assert(Misc::World::kKeepsEntitiesInPlace<std::map<std::string, CFakePart>>);
static_assert(Misc::World::kKeepsEntitiesInPlace<std::list<CFakePart>>);
static_assert(Misc::World::kKeepsEntitiesInPlace<std::vector<std::unique_ptr<CFakePart>>>);
static_assert(Misc::World::kKeepsEntitiesInPlace<std::list<std::unique_ptr<CFakePart>>>);
static_assert(!Misc::World::kKeepsEntitiesInPlace<std::vector<CFakePart>>);
static_assert(!Misc::World::kKeepsEntitiesInPlace<std::deque<CFakePart>>);
static_assert(!Misc::World::kKeepsEntitiesInPlace<std::vector<CFakePart*>>);

} // namespace
