#pragma once

// Process-wide objects created on first use and destroyed together at
// shutdown, in ascending priority order.

#include <atomic>
#include <cstdint>
#include <mutex>

namespace Misc::Singleton
{

// The registrar of one singleton: it knows how to destroy the object.
class ISingleton
{
public:
    virtual ~ISingleton() = default;
    // Destroys the singleton's object; true when there was one.
    virtual bool DestroyInstance() = 0;
    virtual int32_t GetPriority() const { return 0; }
};

// Enters a registrar (the registry owns it from now on) before the first one
// of greater priority; equal priorities keep their order of registration.
void Register(ISingleton* registrar);

// Destroys every registered singleton from the lowest priority on and deletes
// the registrars. A singleton created while this runs is destroyed as well.
void DestroyAll();

// The registrar and access point of the singleton of class T, with the
// priority N.
template <typename T, int32_t N = 0> class CSingleton : public ISingleton
{
public:
    // The object, created and registered on the first call.
    static T* Instance()
    {
        T* instance = s_instance.load(std::memory_order_acquire);
        if (instance != nullptr)
            return instance;

        std::lock_guard<std::mutex> lock(s_mutex);
        instance = s_instance.load(std::memory_order_relaxed);
        if (instance == nullptr)
        {
            instance = new T;
            s_instance.store(instance, std::memory_order_release);
            Register(new CSingleton<T, N>);
        }
        return instance;
    }

    bool DestroyInstance() override
    {
        T* instance = nullptr;
        {
            std::lock_guard<std::mutex> lock(s_mutex);
            instance = s_instance.exchange(nullptr);
        }
        if (instance == nullptr)
            return false;
        delete instance;
        return true;
    }

    int32_t GetPriority() const override { return N; }

private:
    static inline std::atomic<T*> s_instance{nullptr};
    static inline std::mutex s_mutex;
};

} // namespace Misc::Singleton
