#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

std::vector<int>& DestroyedOrder()
{
    static std::vector<int> order;
    return order;
}

class CRecorder : public Misc::Singleton::ISingleton
{
public:
    CRecorder(int id, int32_t priority) : m_id(id), m_priority(priority) {}
    bool DestroyInstance() override
    {
        DestroyedOrder().push_back(m_id);
        return true;
    }
    int32_t GetPriority() const override { return m_priority; }

private:
    int m_id;
    int32_t m_priority;
};

struct CCounted
{
    CCounted() { ++alive; }
    ~CCounted() { --alive; }
    static inline int alive = 0;
};

} // namespace

TEST(Singleton, DestroyedByAscendingPriorityThenRegistrationOrder)
{
    using Misc::Singleton::Register;
    DestroyedOrder().clear();
    Register(new CRecorder(1, 5));
    Register(new CRecorder(2, 0));
    Register(new CRecorder(3, 5));
    Register(new CRecorder(4, -2));
    Register(new CRecorder(5, 0));
    Misc::Singleton::DestroyAll();
    EXPECT_EQ(DestroyedOrder(), (std::vector<int>{4, 2, 5, 1, 3}));

    DestroyedOrder().clear();
    Misc::Singleton::DestroyAll(); // the registry is empty now
    EXPECT_TRUE(DestroyedOrder().empty());
}

TEST(Singleton, InstanceIsCreatedOnceAndDestroyedWithTheRest)
{
    using Counted = Misc::Singleton::CSingleton<CCounted, 3>;
    CCounted* first = Counted::Instance();
    EXPECT_EQ(Counted::Instance(), first);
    EXPECT_EQ(CCounted::alive, 1);

    Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    EXPECT_EQ(Misc::Singleton::CSingleton<Misc::CLogger>::Instance(), logger);

    Misc::Singleton::DestroyAll();
    EXPECT_EQ(CCounted::alive, 0);
    EXPECT_FALSE(Counted().DestroyInstance());
}
