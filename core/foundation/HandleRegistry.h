#pragma once

#include <cstdint>
#include <mutex>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

namespace Misc
{

// Native objects that scripts hold as numbers (texture locks, event
// handlers, font builders). A script never sees an address it could forge:
// it gets a 32-bit id, and every id it hands back is looked up here with the
// type the caller expects. Unknown, removed and
// mistyped ids give null. Ids are not reused until the 32-bit counter wraps.
class CHandleRegistry
{
public:
    static CHandleRegistry& GetInstance();

    // The new id of the object (never 0). Look it up with the same T.
    template <typename T> uint32_t Add(T* object) { return AddEntry(object, typeid(T)); }
    template <typename T> T* Get(uint32_t id) const { return static_cast<T*>(GetEntry(id, typeid(T))); }
    // A number from a script: only a whole number in the id range names an
    // object.
    template <typename T> T* Get(double number) const
    {
        uint32_t id = 0;
        return ToId(number, id) ? Get<T>(id) : nullptr;
    }
    // False when the id is unknown.
    bool Remove(uint32_t id);

    static bool ToId(double number, uint32_t& id);

private:
    struct Entry
    {
        void* object;
        std::type_index type;
    };

    uint32_t AddEntry(void* object, const std::type_info& type);
    void* GetEntry(uint32_t id, const std::type_info& type) const;

    mutable std::mutex m_mutex;
    std::unordered_map<uint32_t, Entry> m_entries;
    uint32_t m_lastId = 0;
};

} // namespace Misc
