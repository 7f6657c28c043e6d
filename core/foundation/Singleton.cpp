#include "core/foundation/Singleton.h"

#include <list>

namespace Misc::Singleton
{

namespace
{

struct Registry
{
    std::mutex mutex;
    std::list<ISingleton*> registrars;
};

Registry& GetRegistry()
{
    // Never destroyed: singletons outlive static destruction until DestroyAll.
    static Registry* registry = new Registry;
    return *registry;
}

} // namespace

void Register(ISingleton* registrar)
{
    if (registrar == nullptr)
        return;
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto position = registry.registrars.begin();
    while (position != registry.registrars.end() && (*position)->GetPriority() <= registrar->GetPriority())
        ++position;
    registry.registrars.insert(position, registrar);
}

void DestroyAll()
{
    Registry& registry = GetRegistry();
    for (;;)
    {
        ISingleton* registrar = nullptr;
        {
            std::lock_guard<std::mutex> lock(registry.mutex);
            if (registry.registrars.empty())
                return;
            registrar = registry.registrars.front();
            registry.registrars.pop_front();
        }
        // Without the registry's lock: a destructor may use (and so
        // re-create) another singleton.
        registrar->DestroyInstance();
        delete registrar;
    }
}

} // namespace Misc::Singleton
