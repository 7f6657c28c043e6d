#include "core/script/lua/HandleRegistry.h"

#include <cmath>

namespace LuaPlus
{

HandleRegistry& HandleRegistry::GetInstance()
{
    // Never destroyed: handles may be removed by objects that die late.
    static HandleRegistry* registry = new HandleRegistry;
    return *registry;
}

uint32_t HandleRegistry::AddEntry(void* object, const std::type_info& type)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    do
        ++m_lastId;
    while (m_lastId == 0 || m_entries.count(m_lastId) != 0);
    m_entries.emplace(m_lastId, Entry{object, std::type_index(type)});
    return m_lastId;
}

void* HandleRegistry::GetEntry(uint32_t id, const std::type_info& type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_entries.find(id);
    if (found == m_entries.end() || found->second.type != std::type_index(type))
        return nullptr;
    return found->second.object;
}

bool HandleRegistry::Remove(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.erase(id) != 0;
}

bool HandleRegistry::ToId(double number, uint32_t& id)
{
    if (!(number >= 1.0 && number <= 4294967295.0) || std::trunc(number) != number)
        return false;
    id = static_cast<uint32_t>(number);
    return true;
}

} // namespace LuaPlus
